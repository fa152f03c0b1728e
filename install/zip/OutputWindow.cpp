#include "install/zip/OutputWindow.h"

#include <algorithm>
#include <cstring>

namespace zip {

namespace {
constexpr size_t Capacity = TOutputWindow::HistorySize + TOutputWindow::ChunkSize;
}

TOutputWindow::TOutputWindow() : FBuffer(new uint8_t[Capacity + Slack]) {}

void TOutputWindow::Begin(TOutputSink& Sink, uint64_t Limit) {
  FSink = &Sink;
  FLimit = Limit;
  FBase = 0;
  FOut = FFlushed = FBuffer.get();
  SetStop();
}

void TOutputWindow::SetStop() {
  uint8_t* End = FBuffer.get() + Capacity;
  uint64_t Left = FLimit - Total();
  FStop = Left < static_cast<uint64_t>(End - FOut) ? FOut + Left : End;
}

void TOutputWindow::Flush() {
  if (FOut > FFlushed) FSink->Write(FFlushed, static_cast<size_t>(FOut - FFlushed));
  FFlushed = FOut;
}

bool TOutputWindow::MakeRoom() {
  if (Total() >= FLimit) return false;
  Flush();
  uint8_t* Start = FBuffer.get();
  size_t Shift = static_cast<size_t>(FOut - Start) - HistorySize;
  std::memmove(Start, FOut - HistorySize, HistorySize);
  FBase += Shift;
  FOut = FFlushed = Start + HistorySize;
  SetStop();
  return true;
}

bool TOutputWindow::PutBytes(const uint8_t* Data, size_t Count) {
  while (Count > 0) {
    if (FOut == FStop && !MakeRoom()) return false;
    size_t Part = std::min(Count, static_cast<size_t>(FStop - FOut));
    std::memcpy(FOut, Data, Part);
    FOut += Part;
    Data += Part;
    Count -= Part;
  }
  return true;
}

bool TOutputWindow::CopyMatch(size_t Distance, size_t Length) {
  if (Distance == 0 || Distance > static_cast<size_t>(FOut - FBuffer.get())) return false;
  while (Length > 0) {
    if (FOut == FStop) {
      if (!MakeRoom()) return false;
    }
    size_t Part = std::min(Length, static_cast<size_t>(FStop - FOut));
    const uint8_t* From = FOut - Distance;
    for (size_t I = 0; I < Part; ++I) FOut[I] = From[I];
    FOut += Part;
    Length -= Part;
  }
  return true;
}

}  // namespace zip
