#include "install/zip/ObjLists.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/base/Stream.h"

namespace {

using base::EListError;
using base::TObject;
using zip::TObjectList;
using zip::TSortedObjectList;

int Alive = 0;

class TNumber : public TObject {
 public:
  ANIMORA_CLASS(TNumber)
  explicit TNumber(int V = 0) : Value(V) { ++Alive; }
  ~TNumber() override { --Alive; }
  int Value;
};

class TNumbers : public TSortedObjectList {
 public:
  using TSortedObjectList::TSortedObjectList;
  int Compare(TObject* A, TObject* B) const override {
    return static_cast<TNumber*>(A)->Value - static_cast<TNumber*>(B)->Value;
  }
};

std::string MessageOf(const std::function<void()>& Action) {
  try {
    Action();
  } catch (const base::Exception& E) {
    return E.Message();
  }
  return "";
}

class ObjLists : public ::testing::Test {
 protected:
  void SetUp() override { Alive = 0; }
  void TearDown() override { EXPECT_EQ(Alive, 0); }
};

TEST_F(ObjLists, CapacityGrowsInStepsOfFourEightAndSixteen) {
  TObjectList List;
  std::vector<int> Capacities{List.Capacity()};
  for (int I = 0; I < 20; ++I) {
    List.Add(new TNumber(I));
    if (List.Capacity() != Capacities.back()) Capacities.push_back(List.Capacity());
  }
  EXPECT_EQ(Capacities, (std::vector<int>{0, 4, 8, 16, 32}));
  EXPECT_EQ(static_cast<TNumber*>(List.Items(19))->Value, 19);
}

TEST_F(ObjLists, RangeErrorsCarryTheIndex) {
  TObjectList List;
  EXPECT_EQ(MessageOf([&] { List.SetCapacity(65535); }), "List index out of bounds (65535)");
  EXPECT_EQ(MessageOf([&] { List.Items(0); }), "List index out of bounds (0)");
  EXPECT_EQ(MessageOf([&] { List.Neighbour(nullptr, 1); }), "List index out of bounds (0)");
  EXPECT_EQ(MessageOf([&] { List.SetCount(-1); }), "List index out of bounds (-1)");
  EXPECT_EQ(MessageOf([&] { List.Insert(1, nullptr); }), "List index out of bounds (1)");
  List.SetCapacity(65534);
  EXPECT_EQ(List.Capacity(), 65534);
}

TEST_F(ObjLists, InsertNeighbourAndIndexOf) {
  TObjectList List;
  auto* A = new TNumber(1);
  auto* B = new TNumber(2);
  auto* C = new TNumber(3);
  List.Add(A);
  List.Add(C);
  EXPECT_EQ(List.Insert(1, B), 1);
  EXPECT_EQ(List.IndexOf(C), 2);
  EXPECT_EQ(List.First(), A);
  EXPECT_EQ(List.Last(), C);
  EXPECT_EQ(List.Neighbour(nullptr, 0), C);
  EXPECT_EQ(List.Neighbour(nullptr, 1), A);
  EXPECT_EQ(List.Neighbour(B, 0), A);
  EXPECT_EQ(List.Neighbour(B, 1), C);
  EXPECT_EQ(List.Neighbour(C, 1), nullptr);
  TNumber Stranger;
  EXPECT_EQ(List.IndexOf(&Stranger), -1);
  EXPECT_EQ(MessageOf([&] { List.Neighbour(&Stranger, 1); }), "Not in item list");
}

TEST_F(ObjLists, OwningListFreesEachItemOnce) {
  {
    TObjectList List;
    for (int I = 0; I < 5; ++I) List.Add(new TNumber(I));
    List.Put(0, new TNumber(9));
    EXPECT_EQ(Alive, 5);
    List.SetCount(3);
    EXPECT_EQ(Alive, 3);
    List.Clear();
    EXPECT_EQ(Alive, 0);
    EXPECT_EQ(List.Count(), 0);
    EXPECT_EQ(List.Capacity(), 0);
    List.Add(new TNumber(1));
    List.FreeAll();
    EXPECT_EQ(Alive, 0);
    List.Add(new TNumber(2));
  }
  EXPECT_EQ(Alive, 0);
  TNumber Kept(1);
  {
    TObjectList Borrowing;
    Borrowing.SetOwnsItems(false);
    Borrowing.Add(&Kept);
    Borrowing.Clear();
    Borrowing.Add(&Kept);
  }
  EXPECT_EQ(Alive, 1);
}

TEST_F(ObjLists, SortedListDuplicatePolicies) {
  TNumbers Ignore(zip::dupIgnore);
  auto* First = new TNumber(5);
  EXPECT_EQ(Ignore.Add(new TNumber(7)), 0);
  EXPECT_EQ(Ignore.Add(First), 0);
  TNumber Equal(5);
  EXPECT_EQ(Ignore.Add(&Equal), -1);
  EXPECT_EQ(Ignore.Count(), 2);
  EXPECT_EQ(Ignore.Items(0), First);
  EXPECT_EQ(Ignore.IndexOf(&Equal), 0);

  TNumbers Error(zip::dupError);
  Error.Add(new TNumber(5));
  EXPECT_EQ(MessageOf([&] { Error.Add(&Equal); }), "Duplicate object index");
  EXPECT_EQ(Error.Count(), 1);

  TNumbers Accept(zip::dupAccept);
  auto* Older = new TNumber(5);
  auto* Newer = new TNumber(5);
  Accept.Add(new TNumber(9));
  Accept.Add(Older);
  Accept.Add(new TNumber(1));
  Accept.Add(Newer);
  ASSERT_EQ(Accept.Count(), 4);
  EXPECT_EQ(Accept.Items(1), Newer);
  EXPECT_EQ(Accept.Items(2), Older);
  EXPECT_EQ(MessageOf([&] { Accept.Put(0, nullptr); }), "Cannot <Put> an object in a sorted list!");
}

TEST_F(ObjLists, SortedListKeepsOrder) {
  TNumbers List(zip::dupAccept);
  for (int V : {8, 3, 5, 1, 9, 3, 0, 7}) List.Add(new TNumber(V));
  for (int I = 1; I < List.Count(); ++I)
    EXPECT_LE(static_cast<TNumber*>(List.Items(I - 1))->Value, static_cast<TNumber*>(List.Items(I))->Value);
}

TEST_F(ObjLists, StreamFormRoundTripsThroughTheRegistry) {
  zip::RegisterObjectClass({"TNumber", [] { return new TNumber; },
                            [](TObject* O, base::TStream& S) { S.ReadBuffer(&static_cast<TNumber*>(O)->Value, 4); },
                            [](TObject* O, base::TStream& S) { S.WriteBuffer(&static_cast<TNumber*>(O)->Value, 4); }});
  TNumbers Source(zip::dupError);
  for (int V : {4, 2}) Source.Add(new TNumber(V));
  base::TMemoryStream Stream;
  Source.WriteData(Stream);
  const std::vector<uint8_t> Head(Stream.Bytes().begin(), Stream.Bytes().begin() + 7);
  EXPECT_EQ(Head, (std::vector<uint8_t>{2, 1, 2, 0, 0, 0, 7}));

  Stream.SetPosition(0);
  TNumbers Copy(zip::dupIgnore);
  Copy.ReadData(Stream);
  EXPECT_EQ(Copy.Duplicates(), zip::dupError);
  ASSERT_EQ(Copy.Count(), 2);
  EXPECT_EQ(static_cast<TNumber*>(Copy.Items(0))->Value, 2);

  // An unknown class name fails and leaves the list as it was.
  base::TMemoryStream Bad(std::vector<uint8_t>{0, 1, 1, 0, 0, 0, 3, 'T', 'Z', 'Z'});
  EXPECT_EQ(MessageOf([&] { Copy.ReadData(Bad); }), "Can not registere");
  EXPECT_EQ(Copy.Count(), 2);
  EXPECT_EQ(Copy.Duplicates(), zip::dupError);

  class TUnknown : public TObject {};
  TObjectList Plain;
  Plain.SetOwnsItems(false);
  TUnknown Unknown;
  Plain.Add(&Unknown);
  EXPECT_EQ(MessageOf([&] { Plain.WriteData(Stream); }), "class not registered");
  Plain.Put(0, nullptr);
  EXPECT_EQ(MessageOf([&] { Plain.WriteData(Stream); }), "Nil source class");
}

}  // namespace
