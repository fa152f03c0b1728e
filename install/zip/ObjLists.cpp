#include "install/zip/ObjLists.h"

#include <algorithm>
#include <map>
#include <memory>

#include "platform/base/Format.h"
#include "platform/base/Stream.h"

namespace zip {

using base::EListError;
using base::TObject;
using base::TStream;

namespace {

constexpr size_t MaxClassNameLength = 63;

std::map<std::string, tRegisterRec>& Registry() {
  static std::map<std::string, tRegisterRec> Records;
  return Records;
}

uint8_t ReadByte(TStream& Stream) {
  uint8_t Value = 0;
  Stream.ReadBuffer(&Value, 1);
  return Value;
}

}  // namespace

void RegisterObjectClass(const tRegisterRec& Record) {
  Registry()[Record.Name.substr(0, MaxClassNameLength)] = Record;
}

const tRegisterRec* FindObjectClass(const std::string& Name) {
  const auto Found = Registry().find(Name.substr(0, MaxClassNameLength));
  return Found == Registry().end() ? nullptr : &Found->second;
}

TObjectList::~TObjectList() {
  for (TObject* Item : FItems) FreeItem(Item);
}

void TObjectList::Error(int Index) const {
  throw EListError(base::Format("List index out of bounds (%d)", Index));
}

void TObjectList::Grow() {
  const int Delta = FCapacity > 8 ? 16 : FCapacity > 4 ? 8 : 4;
  if (FCapacity >= MaxObjectListSize) Error(FCapacity + 1);
  SetCapacity(std::min(FCapacity + Delta, MaxObjectListSize));
}

void TObjectList::SetCapacity(int N) {
  if (N < Count() || N > MaxObjectListSize) Error(N);
  FItems.reserve(size_t(N));
  FCapacity = N;
}

void TObjectList::SetCount(int N) {
  if (N < 0 || N > MaxObjectListSize) Error(N);
  if (N > FCapacity) SetCapacity(N);
  while (Count() > N) {
    TObject* Item = FItems.back();
    FItems.pop_back();
    FreeItem(Item);
  }
  FItems.resize(size_t(N), nullptr);
}

TObject* TObjectList::Items(int Index) const {
  if (Index < 0 || Index >= Count()) Error(Index);
  return FItems[size_t(Index)];
}

void TObjectList::InsertAt(int Index, TObject* Item) {
  if (Index < 0 || Index > Count()) Error(Index);
  if (Count() == FCapacity) Grow();
  FItems.insert(FItems.begin() + Index, Item);
}

int TObjectList::Add(TObject* Item) {
  const int Index = Count();
  InsertAt(Index, Item);
  return Index;
}

int TObjectList::Insert(int Index, TObject* Item) {
  InsertAt(Index, Item);
  return Index;
}

void TObjectList::Put(int Index, TObject* Item) {
  if (Index < 0 || Index >= Count()) Error(Index);
  TObject* Old = FItems[size_t(Index)];
  FItems[size_t(Index)] = Item;
  if (Old != Item) FreeItem(Old);
}

int TObjectList::IndexOf(TObject* Item) const {
  const auto Found = std::find(FItems.begin(), FItems.end(), Item);
  return Found == FItems.end() ? -1 : static_cast<int>(Found - FItems.begin());
}

void TObjectList::Clear() {
  // Detach first so an item's destructor never sees a half-emptied list.
  std::vector<TObject*> Old;
  Old.swap(FItems);
  FCapacity = 0;
  for (TObject* Item : Old) FreeItem(Item);
}

void TObjectList::FreeItem(TObject* Item) {
  if (FOwnsItems) delete Item;
}

TObject* TObjectList::First() const { return Items(0); }

TObject* TObjectList::Last() const { return Items(Count() - 1); }

TObject* TObjectList::Neighbour(TObject* Item, int Direction) const {
  if (!Item) return Direction == 0 ? Last() : First();
  const int Index = IndexOf(Item);
  if (Index < 0) throw EListError("Not in item list");
  const int Other = Direction == 0 ? Index - 1 : Index + 1;
  return Other >= 0 && Other < Count() ? FItems[size_t(Other)] : nullptr;
}

void TObjectList::WriteData(TStream& Stream) const {
  const uint8_t Owns = FOwnsItems ? 1 : 0;
  Stream.WriteBuffer(&Owns, 1);
  const uint32_t N = uint32_t(Count());
  const uint8_t CountBytes[4] = {uint8_t(N), uint8_t(N >> 8), uint8_t(N >> 16), uint8_t(N >> 24)};
  Stream.WriteBuffer(CountBytes, 4);
  for (TObject* Item : FItems) {
    if (!Item) throw EClassNotFound("Nil source class");
    const std::string Name = Item->ClassName().substr(0, MaxClassNameLength);
    const tRegisterRec* Record = FindObjectClass(Name);
    if (!Record) throw EClassNotFound("class not registered");
    const uint8_t Length = uint8_t(Name.size());
    Stream.WriteBuffer(&Length, 1);
    Stream.WriteBuffer(Name.data(), Length);
    Record->Write(Item, Stream);
  }
}

void TObjectList::ReadData(TStream& Stream) {
  const bool Owns = ReadByte(Stream) != 0;
  uint8_t CountBytes[4];
  Stream.ReadBuffer(CountBytes, 4);
  const uint64_t N = uint64_t(CountBytes[0]) | uint64_t(CountBytes[1]) << 8 |
                     uint64_t(CountBytes[2]) << 16 | uint64_t(CountBytes[3]) << 24;
  if (uint64_t(Count()) + N > uint64_t(MaxObjectListSize)) Error(int(std::min<uint64_t>(Count() + N, INT32_MAX)));
  // Items are made apart first, so a failure leaves the list as it was.
  std::vector<std::unique_ptr<TObject>> Made;
  for (uint64_t I = 0; I < N; ++I) {
    std::string Name(ReadByte(Stream), '\0');
    Stream.ReadBuffer(Name.data(), int64_t(Name.size()));
    const tRegisterRec* Record = FindObjectClass(Name);
    if (!Record) throw EClassNotFound("Can not registere");
    Made.emplace_back(Record->Create());
    Record->Read(Made.back().get(), Stream);
  }
  SetCapacity(std::max(FCapacity, Count() + int(N)));
  FOwnsItems = Owns;
  for (auto& Item : Made) {
    TObject* Raw = Item.get();
    if (Add(Raw) >= 0) Item.release();
  }
}

bool TSortedObjectList::Search(TObject* Key, int& Index) const {
  int Lo = 0;
  int Hi = Count() - 1;
  bool Found = false;
  while (Lo <= Hi) {
    const int Mid = (Lo + Hi) / 2;
    const int C = Compare(KeyOf(Items(Mid)), Key);
    if (C < 0) {
      Lo = Mid + 1;
    } else {
      Hi = Mid - 1;
      if (C == 0) {
        Found = true;
        if (FDuplicates != dupAccept) Lo = Mid;
      }
    }
  }
  Index = Lo;
  return Found;
}

int TSortedObjectList::Add(TObject* Item) { return Insert(0, Item); }

int TSortedObjectList::Insert(int, TObject* Item) {
  int Index = 0;
  if (Search(KeyOf(Item), Index)) {
    if (FDuplicates == dupIgnore) return -1;
    if (FDuplicates == dupError) throw EListError("Duplicate object index");
  }
  InsertAt(Index, Item);
  return Index;
}

void TSortedObjectList::Put(int, TObject*) {
  throw EListError("Cannot <Put> an object in a sorted list!");
}

int TSortedObjectList::IndexOf(TObject* Item) const {
  int Index = 0;
  return Search(KeyOf(Item), Index) ? Index : -1;
}

void TSortedObjectList::WriteData(TStream& Stream) const {
  const uint8_t Policy = FDuplicates;
  Stream.WriteBuffer(&Policy, 1);
  TObjectList::WriteData(Stream);
}

void TSortedObjectList::ReadData(TStream& Stream) {
  const uint8_t Policy = ReadByte(Stream);
  if (Policy > dupError) throw base::EReadError("Stream read error");
  const TDuplicates Old = FDuplicates;
  FDuplicates = TDuplicates(Policy);
  try {
    TObjectList::ReadData(Stream);
  } catch (...) {
    FDuplicates = Old;
    throw;
  }
}

}  // namespace zip
