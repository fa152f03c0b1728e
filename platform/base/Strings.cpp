#include "platform/base/Strings.h"

#include "platform/base/Exceptions.h"
#include "platform/base/Format.h"
#include "platform/base/Stream.h"

namespace base {

void CheckListIndex(int Index, int Count) {
  if (Index < 0 || Index >= Count) throw EListError(Format("List index out of bounds (%d)", Index));
}

int TStrings::Add(const std::string& Value) {
  const int Index = Count();
  Insert(Index, Value);
  return Index;
}

int TStrings::IndexOf(const std::string& Value) const {
  for (int I = 0; I < Count(); ++I)
    if (Strings(I) == Value) return I;
  return -1;
}

std::string TStrings::Text() const {
  std::string Result;
  for (int I = 0; I < Count(); ++I) Result += Strings(I) + '\n';
  return Result;
}

void TStrings::SetText(const std::string& Value) {
  Clear();
  size_t Start = 0;
  while (Start < Value.size()) {
    size_t End = Value.find_first_of("\r\n", Start);
    if (End == std::string::npos) End = Value.size();
    Add(Value.substr(Start, End - Start));
    if (End < Value.size() && Value[End] == '\r' && End + 1 < Value.size() && Value[End + 1] == '\n') ++End;
    Start = End + 1;
  }
}

void TStrings::Assign(const TPersistent* Source) {
  if (const auto* Other = dynamic_cast<const TStrings*>(Source)) {
    if (Other == this) return;
    Clear();
    for (int I = 0; I < Other->Count(); ++I) Add(Other->Strings(I));
    return;
  }
  TPersistent::Assign(Source);
}

void TStrings::LoadFromStream(TStream& Stream) {
  const int64_t Remaining = Stream.Size() - Stream.Position();
  std::string Bytes(static_cast<size_t>(Remaining > 0 ? Remaining : 0), '\0');
  Stream.ReadBuffer(Bytes.data(), static_cast<int64_t>(Bytes.size()));
  SetText(Bytes);
}

void TStrings::SaveToStream(TStream& Stream) const {
  const std::string Bytes = Text();
  Stream.WriteBuffer(Bytes.data(), static_cast<int64_t>(Bytes.size()));
}

void TStrings::LoadFromFile(const std::string& FileName) {
  TFileStream Stream(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(Stream);
}

void TStrings::SaveToFile(const std::string& FileName) const {
  WriteFileAtomically(FileName, [this](TStream& Stream) { SaveToStream(Stream); });
}

std::string TStringList::Strings(int Index) const {
  CheckListIndex(Index, Count());
  return Lines[static_cast<size_t>(Index)];
}

void TStringList::SetStrings(int Index, const std::string& Value) {
  CheckListIndex(Index, Count());
  Lines[static_cast<size_t>(Index)] = Value;
}

void TStringList::Insert(int Index, const std::string& Value) {
  if (Index != Count()) CheckListIndex(Index, Count());
  Lines.insert(Lines.begin() + Index, Value);
}

void TStringList::Delete(int Index) {
  CheckListIndex(Index, Count());
  Lines.erase(Lines.begin() + Index);
}

}  // namespace base
