// Turns stored values of one surface into stored values of another for a transfer.
// Indexed sources go through one table for all their values; an entry whose colour the
// destination's table holds at the same index keeps its index, so bitmaps that share a
// colour table exchange their stored values unchanged. Other colours are matched to
// the nearest entry of an indexed destination.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gdi/ColorMatch.h"
#include "platform/gdi/Surface.h"

namespace gdi {

// The rules of blits between DCs for monochrome device bitmaps. DIB transfers do not
// use them: there a monochrome bitmap is black and white.
struct MonochromeRules {
  bool Apply = false;
  XRGB Zero = 0;  // colour of a 0 bit of a monochrome source: the destination DC's text colour
  XRGB One = 0;   // colour of a 1 bit: the destination DC's background colour
  XRGB Key = 0;   // source colour that becomes 1 in a monochrome destination: the source DC's background colour
};

class ColorTranslation {
 public:
  ColorTranslation(const Surface& Source, const Surface& Destination, const MonochromeRules& Rules);

  // The destination's values are the source's values.
  bool Identity() const { return Kind == Mode::Identity; }
  // For an 8-bit indexed source: the destination value of each source value, else null.
  const uint32_t* ByteTable() const { return Kind == Mode::Table && SourceBits == 8 ? Table.data() : nullptr; }
  // Both sides hold 0x00RRGGBB in their low 24 bits (24 and 32 bits, standard masks).
  bool SameRGB() const { return Kind == Mode::LowBits; }

  // Source values to destination values; In and Out may be the same buffer.
  void Convert(const uint32_t* In, uint32_t* Out, int32_t Count);
  // The colours source values show.
  void SourceColors(const uint32_t* In, XRGB* Out, int32_t Count) const;
  // Colours to destination values.
  void Encode(const XRGB* In, uint32_t* Out, int32_t Count);

 private:
  enum class Mode { Identity, Table, Key, LowBits, Codec, Nearest };

  NearestCache& Cache();

  const Surface& Source;
  const Surface& Destination;
  MonochromeRules Rules;
  Mode Kind = Mode::Identity;
  int SourceBits = 0;
  std::vector<uint32_t> Table;
  TrueColorCodec SourceCodec;
  TrueColorCodec DestinationCodec;
  uint32_t KeyBits = 0;
  uint32_t KeyValue = 0;
  std::unique_ptr<NearestCache> Nearest;
};

}  // namespace gdi
