// Arbitrary bytes through the icon reader: a refusal must be EInvalidGraphic, and every
// image it decodes must have a colour image and a mask of the size its entry gives.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/base/Exceptions.h"
#include "platform/graphics/IconCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  const std::vector<uint8_t> File(Data, Data + Size);
  std::vector<graphics::TIconEntry> Entries;
  try {
    Entries = graphics::ReadIconDirectory(File);
  } catch (const base::EInvalidGraphic&) {
    return 0;
  }
  if (Entries.empty() || graphics::ChooseIconEntry(Entries) >= Entries.size()) std::abort();
  for (const graphics::TIconEntry& Entry : Entries) {
    try {
      const graphics::TIconImage Image = graphics::DecodeIconImage(File, Entry);
      const auto& C = Image.Color;
      const auto& M = Image.Mask;
      if (C.Width != Entry.Width || C.Height != Entry.Height || M.Width != C.Width || M.Height != C.Height ||
          M.BitCount != 1 || C.Bits.size() != static_cast<size_t>(C.RowBytes() * C.Height) ||
          M.Bits.size() != static_cast<size_t>(M.RowBytes() * M.Height))
        std::abort();
    } catch (const base::EInvalidGraphic&) {
    }
  }
  return 0;
}
