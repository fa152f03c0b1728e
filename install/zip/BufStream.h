// A stream that buffers another one in 8192-byte blocks, so byte-wise reads and small
// record reads cost no system call each; the last bytes read can be put back.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/base/Stream.h"

namespace zip {

class TS_BufferStream : public base::TStream {
 public:
  ANIMORA_CLASS(TS_BufferStream)
  static constexpr int64_t DefaultBufferSize = 8192;

  // Stream is not owned and must outlive this one.
  explicit TS_BufferStream(base::TStream& Stream);
  // Flushes what waits to be written; a failure there is lost, so writers call Flush first.
  ~TS_BufferStream() override;
  TS_BufferStream(const TS_BufferStream&) = delete;
  TS_BufferStream& operator=(const TS_BufferStream&) = delete;

  int64_t Read(void* Buffer, int64_t Count) override;
  // Takes every byte or raises EWriteError.
  int64_t Write(const void* Buffer, int64_t Count) override;
  // soEnd counts back from the end for either sign of Offset.
  int64_t Seek(int64_t Offset, base::TSeekOrigin Origin) override;
  void SetSize(int64_t NewSize) override;
  int64_t Size() override;

  // The next Read returns Value; EStreamError "Putback overflow" with no byte before.
  virtual void PutBack(uint8_t Value);
  // Writes what waits in the buffer; raises when the underlying stream takes less.
  void Flush();

  std::function<void(TS_BufferStream& Stream)> AfterFill;
  std::function<void(TS_BufferStream& Stream)> AfterFlush;

 protected:
  // Reads the next block; true when bytes came.
  virtual bool FillBuffer();
  virtual void FlushBuffer();
  virtual void DoAfterFill();
  virtual void DoAfterFlush();
  base::TStream& Underlying() { return FStream; }

 private:
  enum class TState { Idle, Reading, Writing };
  int64_t LogicalPosition() const;
  void Forget();

  base::TStream& FStream;
  std::vector<uint8_t> FBuffer;
  int64_t FBufPos = 0;
  int64_t FBufEnd = 0;
  // Where the underlying stream stands, kept here so a position query is no system call.
  int64_t FUnderPos = 0;
  TState FState = TState::Idle;
};

}  // namespace zip
