// Small builders for GIF byte streams and a recorder for library warnings.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "gif/GIFImage.h"
#include "platform/base/Stream.h"

namespace giftest {

using Bytes = std::vector<uint8_t>;

inline Bytes Concat(std::initializer_list<Bytes> Parts) {
  Bytes Result;
  for (const Bytes& Part : Parts) Result.insert(Result.end(), Part.begin(), Part.end());
  return Result;
}

inline Bytes Text(const std::string& S) { return Bytes(S.begin(), S.end()); }

// Appends to Frame's extensions a graphic control extension with Delay and Disposal,
// and with Transparent as its transparent index when that is 0 or more.
inline void AddGraphicControl(gif::TGIFSubImage* Frame, int Delay, int Disposal, int Transparent) {
  auto Control = std::make_unique<gif::TGIFGraphicControlExtension>(Frame);
  Control->SetDelay(static_cast<uint16_t>(Delay));
  Control->SetDisposal(static_cast<gif::TFrameDisposal>(Disposal));
  if (Transparent >= 0) {
    Control->SetTransparent(true);
    Control->SetTransparentColor(static_cast<uint8_t>(Transparent));
  }
  Frame->Extensions()->Add(std::move(Control));
}

// "GIF89a", a logical screen and, when Colors is not empty, a global table of
// 2^(SizeBits + 1) entries whose first entries are Colors (R, G, B each).
inline Bytes Header(uint16_t Width, uint16_t Height, const Bytes& Colors = {}, uint8_t SizeBits = 0,
                    uint8_t Extra = 0) {
  Bytes Result = Text("GIF89a");
  const uint8_t Packed = static_cast<uint8_t>((Colors.empty() ? 0 : 0x80 | SizeBits) | Extra);
  Bytes Descriptor = {static_cast<uint8_t>(Width), static_cast<uint8_t>(Width >> 8), static_cast<uint8_t>(Height),
                      static_cast<uint8_t>(Height >> 8), Packed, 0, 0};
  Result.insert(Result.end(), Descriptor.begin(), Descriptor.end());
  if (!Colors.empty()) {
    Bytes Table = Colors;
    Table.resize(static_cast<size_t>(3 << (SizeBits + 1)), 0);
    Result.insert(Result.end(), Table.begin(), Table.end());
  }
  return Result;
}

struct Warning {
  base::TObject* Sender;
  gif::TGIFSeverity Severity;
  std::string Message;
};

// Attaches itself to an image and keeps every warning it reports.
struct WarningLog {
  explicit WarningLog(gif::TGIFImage& Image) {
    Image.OnGIFWarning = [this](base::TObject* Sender, gif::TGIFSeverity Severity, const std::string& Message) {
      Items.push_back({Sender, Severity, Message});
    };
  }
  std::vector<std::string> Messages() const {
    std::vector<std::string> Result;
    for (const Warning& W : Items) Result.push_back(W.Message);
    return Result;
  }
  std::vector<Warning> Items;
};

inline base::TMemoryStream StreamOf(const Bytes& Data) { return base::TMemoryStream(Data); }

}  // namespace giftest
