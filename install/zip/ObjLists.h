// The lists that hold the zip library's entries: TObjectList, a growable array of object
// references that can own its items and store itself in a stream, and
// TSortedObjectList, which keeps them ordered by a descendant's Compare.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/base/Exceptions.h"
#include "platform/base/Persistent.h"

namespace base {
class TStream;
}

namespace zip {

// A stream names a class that is not registered.
class EClassNotFound : public base::EFilerError {
 public:
  using base::EFilerError::EFilerError;
};

constexpr int MaxObjectListSize = 0xFFFE;

// How a list stores and re-creates items of one class by its name (at most 63 characters).
struct tRegisterRec {
  std::string Name;
  std::function<base::TObject*()> Create;
  std::function<void(base::TObject* Object, base::TStream& Stream)> Read;
  std::function<void(base::TObject* Object, base::TStream& Stream)> Write;
};

// Adds or replaces the record under its name.
void RegisterObjectClass(const tRegisterRec& Record);
// The record for Name, or none.
const tRegisterRec* FindObjectClass(const std::string& Name);

class TObjectList : public base::TPersistent {
 public:
  ANIMORA_CLASS(TObjectList)
  TObjectList() = default;
  ~TObjectList() override;
  TObjectList(const TObjectList&) = delete;
  TObjectList& operator=(const TObjectList&) = delete;

  int Count() const { return static_cast<int>(FItems.size()); }
  // New slots hold none; an owning list frees the items it drops.
  void SetCount(int N);
  int Capacity() const { return FCapacity; }
  void SetCapacity(int N);
  bool OwnsItems() const { return FOwnsItems; }
  void SetOwnsItems(bool Value) { FOwnsItems = Value; }

  base::TObject* Items(int Index) const;
  void SetItems(int Index, base::TObject* Item) { Put(Index, Item); }

  // The index the item went to, or -1 when a sorted list dropped it (the caller keeps it).
  virtual int Add(base::TObject* Item);
  virtual int Insert(int Index, base::TObject* Item);
  // Replaces an item; an owning list frees the one replaced.
  virtual void Put(int Index, base::TObject* Item);
  virtual int IndexOf(base::TObject* Item) const;
  // Empties the list; an owning list frees every item once.
  virtual void Clear();
  void FreeAll() { Clear(); }
  // Frees Item when the list owns its items.
  virtual void FreeItem(base::TObject* Item);

  base::TObject* First() const;
  base::TObject* Last() const;
  // Direction 0 = previous, 1 = next; with no Item the last or the first item.
  base::TObject* Neighbour(base::TObject* Item, int Direction) const;

  // The stream form: owns-items byte, count (4 bytes), then per item its class name
  // (length byte and characters) and what the class's write procedure writes.
  virtual void ReadData(base::TStream& Stream);
  virtual void WriteData(base::TStream& Stream) const;

 protected:
  // EListError "List index out of bounds (%d)".
  [[noreturn]] virtual void Error(int Index) const;
  virtual void Grow();
  void InsertAt(int Index, base::TObject* Item);

 private:
  std::vector<base::TObject*> FItems;
  int FCapacity = 0;
  bool FOwnsItems = true;
};

enum TDuplicates : uint8_t { dupIgnore = 0, dupAccept = 1, dupError = 2 };

class TSortedObjectList : public TObjectList {
 public:
  ANIMORA_CLASS(TSortedObjectList)
  explicit TSortedObjectList(TDuplicates Duplicates) : FDuplicates(Duplicates) {}

  TDuplicates Duplicates() const { return FDuplicates; }

  int Add(base::TObject* Item) override;
  // Index is ignored: the item goes where Search puts it. An equal item already held
  // drops the new one (dupIgnore), raises "Duplicate object index" (dupError) or is
  // followed by it (dupAccept, the newer first).
  int Insert(int Index, base::TObject* Item) override;
  // Always raises "Cannot <Put> an object in a sorted list!".
  void Put(int Index, base::TObject* Item) override;
  int IndexOf(base::TObject* Item) const override;

  virtual base::TObject* KeyOf(base::TObject* Item) const { return Item; }
  // Negative, zero or positive as Key1 sorts before, with or after Key2.
  virtual int Compare(base::TObject* Key1, base::TObject* Key2) const = 0;
  // Binary search: true when an equal item exists; Index is where Key belongs.
  virtual bool Search(base::TObject* Key, int& Index) const;

  // The stream form starts with the duplicates byte.
  void ReadData(base::TStream& Stream) override;
  void WriteData(base::TStream& Stream) const override;

 private:
  TDuplicates FDuplicates;
};

}  // namespace zip
