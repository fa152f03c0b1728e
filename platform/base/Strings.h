// TStrings, an ordered list of text lines, and TStringList, its plain implementation.
#pragma once

#include <string>
#include <vector>

#include "platform/base/Persistent.h"

namespace base {

class TStream;

class TStrings : public TPersistent {
 public:
  ANIMORA_CLASS(TStrings)
  virtual int Count() const = 0;
  // Out-of-range indexes raise EListError "List index out of bounds (%d)".
  virtual std::string Strings(int Index) const = 0;
  virtual void SetStrings(int Index, const std::string& Value) = 0;
  virtual void Insert(int Index, const std::string& Value) = 0;
  virtual void Delete(int Index) = 0;
  virtual void Clear() = 0;

  int Add(const std::string& Value);
  int IndexOf(const std::string& Value) const;
  // Lines joined with LF after each; SetText splits at CR, LF or CR LF.
  std::string Text() const;
  void SetText(const std::string& Value);
  void Assign(const TPersistent* Source) override;
  void LoadFromStream(TStream& Stream);
  void SaveToStream(TStream& Stream) const;
  void LoadFromFile(const std::string& FileName);
  void SaveToFile(const std::string& FileName) const;
};

class TStringList : public TStrings {
 public:
  ANIMORA_CLASS(TStringList)
  TStringList() = default;
  TStringList(std::initializer_list<std::string> Values) : Lines(Values) {}

  int Count() const override { return static_cast<int>(Lines.size()); }
  std::string Strings(int Index) const override;
  void SetStrings(int Index, const std::string& Value) override;
  void Insert(int Index, const std::string& Value) override;
  void Delete(int Index) override;
  void Clear() override { Lines.clear(); }

 private:
  std::vector<std::string> Lines;
};

// Raises EListError "List index out of bounds (%d)" unless 0 <= Index < Count.
void CheckListIndex(int Index, int Count);

}  // namespace base
