#include "gif/AppExtNSLoop.h"

#include "gif/StreamHelpers.h"

namespace gif {
namespace {

constexpr uint8_t LoopKind = 1;
constexpr uint8_t BufferingKind = 2;

}  // namespace

const TGIFExtensionClass& TGIFAppExtNSLoop::Class() {
  static const TGIFExtensionClass Descriptor{"TGIFAppExtNSLoop", &CreateExtension<TGIFAppExtNSLoop>};
  return Descriptor;
}

TGIFAppExtNSLoop::TGIFAppExtNSLoop(TGIFSubImage* ASubImage) : TGIFApplicationExtension(ASubImage) {
  SetIdentifier("NETSCAPE");
  SetAuthentication("2.0");
}

void TGIFAppExtNSLoop::WriteAppData(base::TStream& Stream) {
  const uint8_t Loop[4] = {3, LoopKind, static_cast<uint8_t>(FLoops), static_cast<uint8_t>(FLoops >> 8)};
  Stream.WriteBuffer(Loop, sizeof Loop);
  if (FBufferingSize != 0) {
    uint8_t Buffering[6] = {5, BufferingKind};
    for (int I = 0; I < 4; ++I) Buffering[2 + I] = static_cast<uint8_t>(FBufferingSize >> (8 * I));
    Stream.WriteBuffer(Buffering, sizeof Buffering);
  }
  const uint8_t Terminator = 0;
  Stream.WriteBuffer(&Terminator, 1);
}

void TGIFAppExtNSLoop::ReadAppData(base::TStream& Stream) {
  uint8_t Size = 0;
  uint8_t Bytes[255];
  while (TryReadByte(Stream, Size) && Size != 0) {
    const uint8_t Kind = ReadByte(Stream) & 7;
    int Read = 1;
    if (Kind == LoopKind) {
      if (Size < 3) RaiseGIFError("Invalid GIF data");
      ReadExactly(Stream, Bytes, 2);
      FLoops = static_cast<uint16_t>(Bytes[0] | Bytes[1] << 8);
      Read = 3;
    } else if (Kind == BufferingKind) {
      if (Size < 5) RaiseGIFError("Invalid GIF data");
      ReadExactly(Stream, Bytes, 4);
      FBufferingSize =
          static_cast<uint32_t>(Bytes[0] | Bytes[1] << 8 | Bytes[2] << 16) | static_cast<uint32_t>(Bytes[3]) << 24;
      Read = 5;
    }
    ReadExactly(Stream, Bytes, Size - Read);
  }
}

}  // namespace gif
