// Decoded bytes of one entry: a buffer that keeps the last 32 KiB as history for
// back-references, hands the bytes to a sink in large pieces and refuses output past
// the entry's declared size and references before its first byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace zip {

class TOutputSink {
 public:
  virtual ~TOutputSink() = default;
  virtual void Write(const uint8_t* Data, size_t Count) = 0;
};

class TOutputWindow {
 public:
  static constexpr size_t HistorySize = 32768;
  // Fresh bytes gathered before the sink sees them.
  static constexpr size_t ChunkSize = 1 << 18;
  // Writable bytes after the end of the buffer, for copies that run over a little.
  static constexpr size_t Slack = 64;

  TOutputWindow();

  // Starts an entry of at most Limit bytes.
  void Begin(TOutputSink& Sink, uint64_t Limit);
  // False when the byte would pass the limit.
  bool PutByte(uint8_t Value) {
    if (FOut == FStop && !MakeRoom()) return false;
    *FOut++ = Value;
    return true;
  }
  bool PutBytes(const uint8_t* Data, size_t Count);
  // Repeats Length bytes from Distance back; false for a distance before the first
  // byte of the entry or output past the limit.
  bool CopyMatch(size_t Distance, size_t Length);
  // Hands every byte not yet handed to the sink.
  void Flush();
  // Bytes of the entry so far.
  uint64_t Total() const { return FBase + static_cast<uint64_t>(FOut - FBuffer.get()); }

 private:
  friend class TInflate;

  // Flushes and slides the history to the front when the buffer is full; recomputes
  // the stop. False when the limit is reached.
  bool MakeRoom();
  void SetStop();

  std::unique_ptr<uint8_t[]> FBuffer;
  uint8_t* FOut = nullptr;
  // Where the next write must stop: the buffer end or the limit, whichever is first.
  uint8_t* FStop = nullptr;
  // Start of the bytes the sink has not seen.
  uint8_t* FFlushed = nullptr;
  TOutputSink* FSink = nullptr;
  uint64_t FLimit = 0;
  // Entry bytes that lie before the buffer's first byte.
  uint64_t FBase = 0;
};

}  // namespace zip
