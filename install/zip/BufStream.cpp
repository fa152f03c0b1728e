#include "install/zip/BufStream.h"

#include <algorithm>
#include <cstring>

#include "install/zip/StrRes.h"
#include "platform/base/Exceptions.h"
#include "platform/base/Format.h"

namespace zip {

using base::TSeekOrigin;

TS_BufferStream::TS_BufferStream(base::TStream& Stream)
    : FStream(Stream), FBuffer(size_t(DefaultBufferSize)), FUnderPos(Stream.Position()) {}

TS_BufferStream::~TS_BufferStream() {
  try {
    Flush();
  } catch (const base::Exception&) {
  }
}

int64_t TS_BufferStream::LogicalPosition() const {
  switch (FState) {
    case TState::Reading: return FUnderPos - (FBufEnd - FBufPos);
    case TState::Writing: return FUnderPos + FBufPos;
    case TState::Idle: break;
  }
  return FUnderPos;
}

void TS_BufferStream::Forget() {
  FBufPos = 0;
  FBufEnd = 0;
  FState = TState::Idle;
}

bool TS_BufferStream::FillBuffer() {
  const int64_t N = FStream.Read(FBuffer.data(), int64_t(FBuffer.size()));
  FUnderPos += std::max<int64_t>(N, 0);
  FBufPos = 0;
  FBufEnd = std::max<int64_t>(N, 0);
  FState = FBufEnd > 0 ? TState::Reading : TState::Idle;
  DoAfterFill();
  return FBufEnd > 0;
}

void TS_BufferStream::FlushBuffer() {
  const int64_t Pending = FBufPos;
  Forget();
  if (Pending > 0) {
    const int64_t N = FStream.Write(FBuffer.data(), Pending);
    FUnderPos += std::max<int64_t>(N, 0);
    if (N != Pending) throw base::EWriteError("Stream write error");
  }
  DoAfterFlush();
}

void TS_BufferStream::Flush() {
  if (FState == TState::Writing) FlushBuffer();
}

void TS_BufferStream::DoAfterFill() {
  if (AfterFill) AfterFill(*this);
}

void TS_BufferStream::DoAfterFlush() {
  if (AfterFlush) AfterFlush(*this);
}

int64_t TS_BufferStream::Read(void* Buffer, int64_t Count) {
  Flush();
  auto* Out = static_cast<uint8_t*>(Buffer);
  int64_t Done = 0;
  while (Count > 0) {
    if (FState != TState::Reading || FBufPos >= FBufEnd) {
      if (!FillBuffer()) break;
    }
    const int64_t N = std::min(FBufEnd - FBufPos, Count);
    std::memcpy(Out + Done, FBuffer.data() + FBufPos, size_t(N));
    FBufPos += N;
    Done += N;
    Count -= N;
  }
  return Done;
}

int64_t TS_BufferStream::Write(const void* Buffer, int64_t Count) {
  if (FState == TState::Reading) {
    // The read-ahead is dropped and the underlying stream put back where we are.
    const int64_t Here = LogicalPosition();
    FUnderPos = FStream.Seek(Here, TSeekOrigin::soBeginning);
    Forget();
    if (FUnderPos != Here) throw base::EStreamError(GetTableString(S_Stream, SSeekError));
  }
  const auto* In = static_cast<const uint8_t*>(Buffer);
  int64_t Done = 0;
  while (Count > 0) {
    const int64_t N = std::min(int64_t(FBuffer.size()) - FBufPos, Count);
    std::memcpy(FBuffer.data() + FBufPos, In + Done, size_t(N));
    FBufPos += N;
    FState = TState::Writing;
    Done += N;
    Count -= N;
    if (FBufPos == int64_t(FBuffer.size())) FlushBuffer();
  }
  if (FBufPos > 0) FState = TState::Writing;
  return Done;
}

int64_t TS_BufferStream::Size() {
  const int64_t Here = FUnderPos;
  const int64_t End = FStream.Seek(0, TSeekOrigin::soEnd);
  FStream.Seek(Here, TSeekOrigin::soBeginning);
  return std::max(End, FState == TState::Writing ? FUnderPos + FBufPos : FUnderPos);
}

int64_t TS_BufferStream::Seek(int64_t Offset, TSeekOrigin Origin) {
  int64_t Target = 0;
  switch (Origin) {
    case TSeekOrigin::soBeginning: Target = Offset; break;
    case TSeekOrigin::soCurrent: Target = LogicalPosition() + Offset; break;
    case TSeekOrigin::soEnd: Target = Size() - (Offset < 0 ? -Offset : Offset); break;
    default:
      throw base::Exception(base::Format(GetTableString(S_Stream, SInvalidSeekOrigin).c_str(), int(Origin)));
  }
  if (Target == LogicalPosition()) return Target;
  if (Target < 0) throw base::EStreamError(GetTableString(S_Stream, SSeekError));
  try {
    Flush();
  } catch (const base::EWriteError&) {
    throw base::EStreamError(GetTableString(S_Stream, SSeekError));
  }
  Forget();
  FUnderPos = FStream.Seek(Target, TSeekOrigin::soBeginning);
  if (FUnderPos != Target) throw base::EStreamError(GetTableString(S_Stream, SSeekError));
  return Target;
}

void TS_BufferStream::SetSize(int64_t NewSize) {
  const int64_t Here = LogicalPosition();
  Flush();
  Forget();
  FStream.SetSize(NewSize);
  FUnderPos = FStream.Seek(std::min(Here, NewSize), TSeekOrigin::soBeginning);
}

void TS_BufferStream::PutBack(uint8_t Value) {
  if (FState != TState::Reading || FBufPos <= 0)
    throw base::EStreamError(GetTableString(S_Stream, SPutbackOverflow));
  FBuffer[size_t(--FBufPos)] = Value;
}

}  // namespace zip
