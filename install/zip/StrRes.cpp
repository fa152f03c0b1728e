#include "install/zip/StrRes.h"

#include <map>
#include <memory>
#include <utility>

#include "platform/base/Exceptions.h"
#include "platform/base/Format.h"

namespace zip {

namespace {

std::string Upper(std::string Text) {
  for (char& C : Text)
    if (C >= 'a' && C <= 'z') C = char(C - 'a' + 'A');
  return Text;
}

std::vector<uint8_t> BuildTable(const std::vector<std::pair<int16_t, std::string>>& Records) {
  std::vector<uint8_t> Table;
  for (const auto& [Id, Text] : Records) {
    Table.push_back(uint8_t(Id));
    Table.push_back(uint8_t(uint16_t(Id) >> 8));
    Table.push_back(uint8_t(Text.size()));
    Table.insert(Table.end(), Text.begin(), Text.end());
  }
  Table.insert(Table.end(), {0, 0, 0});
  return Table;
}

// The compiled-in tables, by upper-case name.
const std::map<std::string, std::vector<uint8_t>>& Tables() {
  static const std::map<std::string, std::vector<uint8_t>> All{
      {"S_STREAM", BuildTable({{SSeekError, "Seek error"},
                               {SInvalidSeekOrigin, "Invalid seek origin (%d)"},
                               {SPutbackOverflow, "Putback overflow"},
                               {SCannotFindResource, "Cannot find resource"},
                               {SCannotAccessResource, "Cannot access resource"},
                               {SSeekPastResourceEnd, "Seek past end of resource stream"},
                               {SCannotWriteResource, "Cannot write to a resource stream"}})},
  };
  return All;
}

}  // namespace

TS_StringResource::TS_StringResource(const std::string& Name) {
  if (!Name.empty()) Open(Name);
}

TS_StringResource::~TS_StringResource() { Close(); }

void TS_StringResource::Open(const std::string& Name) {
  Close();
  const auto Found = Tables().find(Upper(Name));
  if (Found == Tables().end())
    throw base::Exception(base::Format("No such string resource: %s", Name.c_str()));
  FData = &Found->second;
}

void TS_StringResource::Close() {
  FLocks = 0;
  FData = nullptr;
}

void TS_StringResource::Lock() {
  if (!FData) throw base::EOutOfResources("Cannot lock string resource");
  ++FLocks;
}

void TS_StringResource::Unlock() {
  if (FLocks > 0) --FLocks;
}

int64_t TS_StringResource::NextRecord(int64_t Offset) const {
  const int64_t Size = int64_t(FData->size());
  if (Offset + 3 > Size) return -1;
  const int64_t Next = Offset + 3 + (*FData)[size_t(Offset) + 2];
  return Next + 3 <= Size ? Next : -1;
}

int64_t TS_StringResource::FindRecord(int Id) const {
  for (int64_t Offset = 0; Offset >= 0 && Offset + 3 <= int64_t(FData->size()); Offset = NextRecord(Offset)) {
    const auto* P = FData->data() + Offset;
    const int RecordId = int16_t(uint16_t(P[0] | P[1] << 8));
    if (RecordId == 0 && P[2] == 0) break;
    if (RecordId == Id) return Offset;
  }
  return -1;
}

std::string TS_StringResource::GetString(int Id) {
  Lock();
  const int64_t Offset = FindRecord(Id);
  std::string Text;
  if (Offset >= 0 && Offset + 3 + (*FData)[size_t(Offset) + 2] <= int64_t(FData->size()))
    Text.assign(reinterpret_cast<const char*>(FData->data() + Offset + 3), (*FData)[size_t(Offset) + 2]);
  Unlock();
  return Text;
}

std::string GetTableString(const std::string& TableName, int Id) {
  static std::map<std::string, std::unique_ptr<TS_StringResource>> Cache;
  auto& Entry = Cache[Upper(TableName)];
  if (!Entry) Entry = std::make_unique<TS_StringResource>(TableName);
  return Entry->GetString(Id);
}

}  // namespace zip
