#include "platform/graphics/ColorText.h"

#include <array>
#include <cctype>
#include <charconv>
#include <cstdint>
#include <cstdio>

namespace graphics {

namespace {

struct TColorName {
  const char* Name;
  uint32_t Value;
};

constexpr std::array<TColorName, 20> PlainColors{{
    {"clBlack", 0x000000},  {"clMaroon", 0x000080},  {"clGreen", 0x008000},  {"clOlive", 0x008080},
    {"clNavy", 0x800000},   {"clPurple", 0x800080},  {"clTeal", 0x808000},   {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0}, {"clRed", 0x0000FF},     {"clLime", 0x00FF00},   {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},   {"clFuchsia", 0xFF00FF}, {"clAqua", 0xFFFF00},   {"clLtGray", 0xC0C0C0},
    {"clDkGray", 0x808080}, {"clWhite", 0xFFFFFF},   {"clNone", 0x1FFFFFFF}, {"clDefault", 0x20000000},
}};

// System colours in the order of their indexes.
constexpr std::array<const char*, 25> SystemColors{
    "clScrollBar",    "clBackground",     "clActiveCaption", "clInactiveCaption", "clMenu",
    "clWindow",       "clWindowFrame",    "clMenuText",      "clWindowText",      "clCaptionText",
    "clActiveBorder", "clInactiveBorder", "clAppWorkSpace",  "clHighlight",       "clHighlightText",
    "clBtnFace",      "clBtnShadow",      "clGrayText",      "clBtnText",         "clInactiveCaptionText",
    "clBtnHighlight", "cl3DDkShadow",     "cl3DLight",       "clInfoText",        "clInfoBk",
};

bool SameName(const std::string& Text, const char* Name) {
  size_t I = 0;
  for (; Name[I] != 0; ++I)
    if (I >= Text.size() || std::tolower(static_cast<unsigned char>(Text[I])) != std::tolower(Name[I])) return false;
  return I == Text.size();
}

std::optional<base::TColor> NumberToColor(const std::string& Text) {
  const bool Hex = !Text.empty() && Text[0] == '$';
  const char* First = Text.data() + (Hex ? 1 : 0);
  const char* Last = Text.data() + Text.size();
  int64_t Value = 0;
  const auto [Ptr, Error] = std::from_chars(First, Last, Value, Hex ? 16 : 10);
  if (Error != std::errc() || Ptr != Last || First == Last) return std::nullopt;
  if (Hex ? (Value < 0 || Value > 0xFFFFFFFF) : (Value < INT32_MIN || Value > INT32_MAX)) return std::nullopt;
  return static_cast<base::TColor>(static_cast<uint32_t>(Value));
}

}  // namespace

std::optional<base::TColor> StringToColor(const std::string& Text) {
  for (const TColorName& Entry : PlainColors)
    if (SameName(Text, Entry.Name)) return static_cast<base::TColor>(Entry.Value);
  for (size_t Index = 0; Index < SystemColors.size(); ++Index)
    if (SameName(Text, SystemColors[Index])) return static_cast<base::TColor>(0x80000000u | Index);
  return NumberToColor(Text);
}

std::string ColorToString(base::TColor Color) {
  const auto Value = static_cast<uint32_t>(Color);
  for (const TColorName& Entry : PlainColors)
    if (Entry.Value == Value) return Entry.Name;
  if ((Value & 0xFFFFFF00u) == 0x80000000u && (Value & 0xFF) < SystemColors.size()) return SystemColors[Value & 0xFF];
  char Text[10];
  std::snprintf(Text, sizeof Text, "$%.8X", Value);
  return Text;
}

std::vector<std::string> PlainColorNames() {
  std::vector<std::string> Names;
  for (const TColorName& Entry : PlainColors) Names.emplace_back(Entry.Name);
  return Names;
}

}  // namespace graphics
