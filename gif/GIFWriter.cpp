#include "gif/GIFWriter.h"

#include <algorithm>
#include <cstring>

#include "platform/base/Exceptions.h"

namespace gif {
namespace {

[[noreturn]] void InvalidOperation() { throw base::Exception("Invalid stream operation"); }

}  // namespace

int64_t TGIFStream::Read(void*, int64_t) { InvalidOperation(); }
int64_t TGIFStream::Write(const void*, int64_t) { InvalidOperation(); }
int64_t TGIFStream::Seek(int64_t, base::TSeekOrigin) { InvalidOperation(); }
void TGIFStream::SetSize(int64_t) { InvalidOperation(); }

TGIFWriter::~TGIFWriter() {
  if (!Dirty) return;
  try {
    Flush();
  } catch (...) {  // the data is incomplete anyway; the error that got us here counts
  }
}

int64_t TGIFWriter::Write(const void* Data, int64_t Count) {
  auto Bytes = static_cast<const uint8_t*>(Data);
  for (int64_t Left = Count; Left > 0;) {
    const int64_t Chunk = std::min<int64_t>(Left, static_cast<int64_t>(sizeof Buffer) - Position);
    std::memcpy(Buffer + Position, Bytes, static_cast<size_t>(Chunk));
    Position += static_cast<int32_t>(Chunk);
    Bytes += Chunk;
    Left -= Chunk;
    // Set after each copy: a flush on the way must not hide the bytes that follow it.
    Dirty = true;
    if (Position == sizeof Buffer) Flush();
  }
  return Count;
}

void TGIFWriter::Flush() {
  // An empty sub-block would read as the terminator.
  const int32_t Count = Position;
  Position = 1;
  Dirty = false;
  if (Count > 1) {
    Buffer[0] = static_cast<uint8_t>(Count - 1);
    Target->WriteBuffer(Buffer, Count);
  }
}

}  // namespace gif
