// Reading metafiles into record lists (MetafileRecords.h). Records that draw nothing
// this player supports (clipping, paths, regions, palettes, comments, other blits)
// are dropped; the records kept are checked field by field, and a malformed file
// raises EInvalidGraphic with what is wrong and where.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/graphics/MetafileRecords.h"

namespace graphics {

// An enhanced metafile or a placeable Windows metafile, told apart by their first bytes.
TMetafileContent ReadMetafile(const std::vector<uint8_t>& File);
TMetafileContent ReadEnhancedMetafile(const std::vector<uint8_t>& File);
TMetafileContent ReadPlaceableMetafile(const std::vector<uint8_t>& File);

// The placeable header's key and its checksum (the XOR of its first ten words).
inline constexpr uint32_t PlaceableKey = 0x9AC6CDD7;
uint16_t PlaceableChecksum(const uint8_t* Header);

}  // namespace graphics
