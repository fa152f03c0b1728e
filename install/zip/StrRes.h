// Message tables compiled into the library. A table is a run of records: a 16-bit
// little-endian id (signed), a length byte and that many characters; id 0 with
// length 0 ends it. Tables are found by name without regard to case.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/base/Object.h"

namespace zip {

class TS_StringResource : public base::TObject {
 public:
  ANIMORA_CLASS(TS_StringResource)
  // Opens the named table when a name is given.
  explicit TS_StringResource(const std::string& Name = "");
  ~TS_StringResource() override;

  // Exception "No such string resource: %s" when no table has that name.
  virtual void Open(const std::string& Name);
  virtual void Close();
  virtual void Lock();
  virtual void Unlock();
  // The text of record Id, empty when the table holds none.
  std::string GetString(int Id);

 protected:
  // The offset of the record after the one at Offset, or -1 at the end of the table.
  virtual int64_t NextRecord(int64_t Offset) const;
  // The offset of the record with Id, or -1.
  virtual int64_t FindRecord(int Id) const;

 private:
  const std::vector<uint8_t>* FData = nullptr;
  int FLocks = 0;
};

// The text of record Id of the table TableName, through one process-wide cache.
std::string GetTableString(const std::string& TableName, int Id);

// The messages of the buffered streams.
inline constexpr const char* S_Stream = "S_Stream";
enum : int {
  SSeekError = 1,
  SInvalidSeekOrigin = 2,
  SPutbackOverflow = 3,
  SCannotFindResource = 4,
  SCannotAccessResource = 5,
  SSeekPastResourceEnd = 6,
  SCannotWriteResource = 7,
};

}  // namespace zip
