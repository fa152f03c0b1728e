// What opening arbitrary bytes as an AVI video must give, shared by the fuzz harness and
// the test that replays the inputs it once failed on: either EAVIError, or a stream
// whose frames either fail with EAVIError or come out as BMP files that read back at
// the format's size.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/avi/AVIVideoReader.h"
#include "platform/graphics/BmpCodec.h"

namespace fuzzcheck {

inline std::string CheckAVIRead(const uint8_t* Data, size_t Size) {
  // Enough frames to reach deltas and palette changes, few enough to stay fast.
  constexpr int32_t MaxFrames = 64;
  try {
    avi::TAVIVideoReader Video(std::make_unique<base::TMemoryStream>(std::vector<uint8_t>(Data, Data + Size)));
    const int32_t Count = std::min(Video.Length(), MaxFrames);
    // Forwards, then one step back, which restarts RLE decoding and the palette.
    for (int32_t Each = 0; Each <= Count; ++Each) {
      const int32_t Index = Each < Count ? Each : Count / 2;
      base::TMemoryStream File;
      try {
        Video.WriteFrameBMP(Video.Start() + Index, File);
      } catch (const avi::EAVIError&) {
        continue;
      }
      File.SetPosition(0);
      const graphics::TDIBImage Image = graphics::ReadBMP(File);
      const auto& Format = *reinterpret_cast<const gdi::BITMAPINFOHEADER*>(Video.Format().data());
      if (Image.Width != Format.biWidth || Image.Height != std::abs(Format.biHeight))
        return "frame size differs from the format";
    }
  } catch (const avi::EAVIError&) {
    return {};
  } catch (const std::exception& Error) {
    return std::string("unexpected exception: ") + Error.what();
  }
  return {};
}

}  // namespace fuzzcheck
