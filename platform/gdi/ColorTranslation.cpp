#include "platform/gdi/ColorTranslation.h"

#include <cstring>

namespace gdi {
namespace {

bool StandardMasks(const Surface& S) {
  return (S.BitCount == 24 || S.BitCount == 32) && std::memcmp(S.Masks, DefaultMasks32, sizeof S.Masks) == 0;
}

}  // namespace

ColorTranslation::ColorTranslation(const Surface& Source, const Surface& Destination, const MonochromeRules& Rules)
    : Source(Source),
      Destination(Destination),
      Rules(Rules),
      SourceBits(Source.BitCount),
      SourceCodec(Source.Masks),
      DestinationCodec(Destination.Masks) {
  this->Rules.Apply = Rules.Apply && Source.Monochrome != Destination.Monochrome;
  if (Source.Indexed()) {
    const uint32_t Values = 1u << Source.BitCount;
    bool Same = Source.BitCount == Destination.BitCount;
    Table.resize(Values);
    for (uint32_t V = 0; V < Values; ++V) {
      XRGB Color = 0;
      SourceColors(&V, &Color, 1);
      if (Source.Monochrome && Destination.Monochrome) {
        Table[V] = V;
      } else if (this->Rules.Apply && Destination.Monochrome) {
        Table[V] = Color == this->Rules.Key ? 1 : 0;
      } else if (Destination.Indexed() && !this->Rules.Apply && V < Destination.ColorCount &&
                 XRGBOf(Destination.Colors[V]) == Color) {
        Table[V] = V;
      } else {
        Table[V] = ValueOfColor(Destination, Color);
      }
      Same = Same && Table[V] == V;
    }
    Kind = Same ? Mode::Identity : Mode::Table;
  } else if (this->Rules.Apply && Destination.Monochrome) {
    Kind = Mode::Key;
    KeyBits = SourceCodec.ColorBits();
    KeyValue = SourceCodec.Encode(this->Rules.Key) & KeyBits;
  } else if (Destination.Indexed()) {
    Kind = Mode::Nearest;
  } else if (Source.BitCount == Destination.BitCount &&
             std::memcmp(Source.Masks, Destination.Masks, sizeof Source.Masks) == 0) {
    Kind = Mode::Identity;
  } else if (StandardMasks(Source) && StandardMasks(Destination)) {
    Kind = Mode::LowBits;
  } else {
    Kind = Mode::Codec;
  }
}

NearestCache& ColorTranslation::Cache() {
  if (!Nearest) Nearest = std::make_unique<NearestCache>(Destination.Colors, Destination.ColorCount);
  return *Nearest;
}

void ColorTranslation::Convert(const uint32_t* In, uint32_t* Out, int32_t Count) {
  switch (Kind) {
    case Mode::Identity:
      if (In != Out) std::memcpy(Out, In, sizeof(uint32_t) * static_cast<size_t>(Count));
      break;
    case Mode::Table:
      for (int32_t I = 0; I < Count; ++I) Out[I] = Table[In[I]];
      break;
    case Mode::Key:
      for (int32_t I = 0; I < Count; ++I) Out[I] = (In[I] & KeyBits) == KeyValue ? 1 : 0;
      break;
    case Mode::LowBits:
      for (int32_t I = 0; I < Count; ++I) Out[I] = In[I] & 0xFFFFFF;
      break;
    case Mode::Codec:
      for (int32_t I = 0; I < Count; ++I) Out[I] = DestinationCodec.Encode(SourceCodec.Decode(In[I]));
      break;
    case Mode::Nearest: {
      NearestCache& Colors = Cache();
      for (int32_t I = 0; I < Count; ++I) Out[I] = Colors.Find(SourceCodec.Decode(In[I]));
      break;
    }
  }
}

void ColorTranslation::SourceColors(const uint32_t* In, XRGB* Out, int32_t Count) const {
  if (Source.Monochrome && Rules.Apply) {
    for (int32_t I = 0; I < Count; ++I) Out[I] = In[I] ? Rules.One : Rules.Zero;
  } else if (Source.Indexed()) {
    for (int32_t I = 0; I < Count; ++I) Out[I] = In[I] < Source.ColorCount ? XRGBOf(Source.Colors[In[I]]) : 0;
  } else if (StandardMasks(Source)) {
    for (int32_t I = 0; I < Count; ++I) Out[I] = In[I] & 0xFFFFFF;
  } else {
    for (int32_t I = 0; I < Count; ++I) Out[I] = SourceCodec.Decode(In[I]);
  }
}

void ColorTranslation::Encode(const XRGB* In, uint32_t* Out, int32_t Count) {
  if (Destination.Indexed()) {
    NearestCache& Colors = Cache();
    for (int32_t I = 0; I < Count; ++I) Out[I] = Colors.Find(In[I]);
  } else {
    for (int32_t I = 0; I < Count; ++I) Out[I] = DestinationCodec.Encode(In[I]);
  }
}

}  // namespace gdi
