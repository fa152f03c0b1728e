// TFont: the canvas's tool for text. Its size is kept as a pixel height (negative: the
// character height, positive: the cell height); Size gives it in points at the
// screen's 96 pixels per inch. A handle adopted through SetHandle is kept, with its
// escapement and orientation, until a property of the font data changes; the colour
// is not part of the handle.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

#include "platform/base/Events.h"
#include "platform/base/Persistent.h"
#include "platform/gdi/Font.h"
#include "platform/graphics/Colors.h"

namespace graphics {

enum class TFontStyle : uint8_t { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using enum TFontStyle;

// A set of font styles.
class TFontStyles {
 public:
  constexpr TFontStyles() = default;
  constexpr TFontStyles(std::initializer_list<TFontStyle> Styles) {
    for (TFontStyle S : Styles) Bits |= Bit(S);
  }
  constexpr bool Contains(TFontStyle S) const { return (Bits & Bit(S)) != 0; }
  constexpr TFontStyles& Include(TFontStyle S) {
    Bits |= Bit(S);
    return *this;
  }
  constexpr bool Empty() const { return Bits == 0; }
  friend constexpr bool operator==(TFontStyles, TFontStyles) = default;

 private:
  static constexpr uint8_t Bit(TFontStyle S) { return static_cast<uint8_t>(1u << static_cast<unsigned>(S)); }
  uint8_t Bits = 0;
};

class TFont : public base::TPersistent {
 public:
  ANIMORA_CLASS(TFont)
  static constexpr int PixelsPerInch = 96;

  // "MS Sans Serif", 8 points (height -11), no style, the window-text colour.
  TFont() = default;
  ~TFont() override;
  TFont(const TFont&) = delete;
  TFont& operator=(const TFont&) = delete;

  void Assign(const base::TPersistent* Source) override;

  const std::string& Name() const { return FName; }
  void SetName(const std::string& Value);
  int Height() const { return FHeight; }
  void SetHeight(int Value);
  // Points: -Height x 72 / 96, rounded; a positive size sets a negative height.
  int Size() const;
  void SetSize(int Value);
  TFontStyles Style() const { return FStyle; }
  void SetStyle(TFontStyles Value);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);

  // Made on demand from the font data; remade after a change.
  gdi::HFONT Handle();
  // Adopts Value (owned from now on) and takes the font data from its description.
  void SetHandle(gdi::HFONT Value);

  base::TNotifyEvent OnChange;

 private:
  void DataChanged();
  void Notify();
  std::string FName = "MS Sans Serif";
  int FHeight = -11;
  TFontStyles FStyle;
  TColor FColor = clWindowText;
  int32_t FEscapement = 0;
  int32_t FOrientation = 0;
  gdi::HFONT FHandle = nullptr;
};

}  // namespace graphics
