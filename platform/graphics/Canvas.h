// TCanvas: drawing on a device context through the graphics layer's colours, with the
// brush that fills. TBrush is the first of the canvas's drawing tools.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "platform/base/Events.h"
#include "platform/base/Persistent.h"
#include "platform/base/Types.h"
#include "platform/gdi/Brush.h"
#include "platform/gdi/DC.h"
#include "platform/gdi/RasterOp.h"
#include "platform/graphics/Colors.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/Pen.h"

namespace graphics {

class TGraphic;

// In the order of the editor's brush-style list: the hatches follow solid and clear.
enum class TBrushStyle : uint8_t {
  bsSolid,
  bsClear,
  bsHorizontal,
  bsVertical,
  bsFDiagonal,
  bsBDiagonal,
  bsCross,
  bsDiagCross
};
using enum TBrushStyle;

// A drawing tool: its platform handle is made on demand and remade after a change.
class TBrush : public base::TPersistent {
 public:
  ANIMORA_CLASS(TBrush)
  TBrush() = default;
  ~TBrush() override;
  TBrush(const TBrush&) = delete;
  TBrush& operator=(const TBrush&) = delete;

  void Assign(const base::TPersistent* Source) override;

  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  TBrushStyle Style() const { return FStyle; }
  void SetStyle(TBrushStyle Value);
  // A solid or hatched brush of Color; none for bsClear.
  gdi::HBRUSH Handle();

  base::TNotifyEvent OnChange;

 private:
  void Changed();
  TColor FColor = clWhite;
  TBrushStyle FStyle = bsSolid;
  gdi::HBRUSH FHandle = nullptr;
};

using TCopyMode = uint32_t;
constexpr TCopyMode cmBlackness = gdi::BLACKNESS;
constexpr TCopyMode cmDstInvert = gdi::DSTINVERT;
constexpr TCopyMode cmMergeCopy = gdi::MERGECOPY;
constexpr TCopyMode cmMergePaint = gdi::MERGEPAINT;
constexpr TCopyMode cmNotSrcCopy = gdi::NOTSRCCOPY;
constexpr TCopyMode cmNotSrcErase = gdi::NOTSRCERASE;
constexpr TCopyMode cmPatCopy = gdi::PATCOPY;
constexpr TCopyMode cmPatInvert = gdi::PATINVERT;
constexpr TCopyMode cmPatPaint = gdi::PATPAINT;
constexpr TCopyMode cmSrcAnd = gdi::SRCAND;
constexpr TCopyMode cmSrcCopy = gdi::SRCCOPY;
constexpr TCopyMode cmSrcErase = gdi::SRCERASE;
constexpr TCopyMode cmSrcInvert = gdi::SRCINVERT;
constexpr TCopyMode cmSrcPaint = gdi::SRCPAINT;
constexpr TCopyMode cmWhiteness = gdi::WHITENESS;

// FloodFill: the area of the given colour, or the area up to a border of it.
enum class TFillStyle : uint8_t { fsSurface, fsBorder };
using enum TFillStyle;

class TCanvas : public base::TPersistent {
 public:
  ANIMORA_CLASS(TCanvas)
  TCanvas();
  ~TCanvas() override = default;
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  // The device context drawn on; a canvas that makes its own creates it here.
  gdi::HDC Handle();
  // A context the caller keeps owning.
  void SetHandle(gdi::HDC Value) { FHandle = Value; }
  bool HandleAllocated() const { return FHandle != nullptr; }

  TBrush& Brush() { return FBrush; }
  TCopyMode CopyMode() const { return FCopyMode; }
  void SetCopyMode(TCopyMode Value) { FCopyMode = Value; }

  // The area drawing reaches: the bitmap the context holds; empty without one.
  base::TRect ClipRect();
  // The pixel's colour; -1 outside the picture.
  TColor Pixels(int X, int Y);
  void SetPixels(int X, int Y, TColor Value);
  // Fills Rect (right and bottom exclusive) with the brush; a clear brush fills nothing.
  void FillRect(const base::TRect& Rect);
  // Graphic at its own size with its top-left corner at (X, Y).
  void Draw(int X, int Y, TGraphic* Graphic);
  void StretchDraw(const base::TRect& Rect, TGraphic* Graphic);
  // Source of Canvas scaled onto Dest of this canvas with CopyMode.
  void CopyRect(const base::TRect& Dest, TCanvas& Canvas, const base::TRect& Source);

  // Lines, shapes and text (CanvasDrawing.cpp). Lines and outlines use the pen and its
  // mode, insides the brush; text uses the font and, unless the brush is clear, the
  // brush colour as its background. Rectangles exclude their right and bottom edges.
  TPen& Pen() { return FPen; }
  TFont& Font() { return FFont; }
  base::TPoint PenPos();
  void SetPenPos(base::TPoint Value) { MoveTo(Value.X, Value.Y); }
  void MoveTo(int X, int Y);
  // From the pen position to (X, Y), that point excluded; (X, Y) becomes the position.
  void LineTo(int X, int Y);
  void Rectangle(int X1, int Y1, int X2, int Y2);
  void Rectangle(const base::TRect& Rect) { Rectangle(Rect.Left, Rect.Top, Rect.Right, Rect.Bottom); }
  void Ellipse(int X1, int Y1, int X2, int Y2);
  void Ellipse(const base::TRect& Rect) { Ellipse(Rect.Left, Rect.Top, Rect.Right, Rect.Bottom); }
  void Polygon(std::span<const base::TPoint> Points);
  void Polyline(std::span<const base::TPoint> Points);
  // A one-pixel frame inside Rect in the brush.
  void FrameRect(const base::TRect& Rect);
  void FloodFill(int X, int Y, TColor Color, TFillStyle FillStyle);
  void TextOut(int X, int Y, const std::string& Text);
  // Text clipped to Rect, its top-left corner at (X, Y); a brush that is not clear
  // fills Rect first.
  void TextRect(const base::TRect& Rect, int X, int Y, const std::string& Text);
  int TextWidth(const std::string& Text);
  int TextHeight(const std::string& Text);
  // gdi::DrawText with the font and brush (gdi/DrawText.h); returns the text's height.
  int DrawText(const std::string& Text, base::TRect& Rect, uint32_t Format);

  virtual void Changing();
  virtual void Changed();

  base::TNotifyEvent OnChanging;
  base::TNotifyEvent OnChange;

 protected:
  // Called by Handle when there is none yet.
  virtual void CreateHandle() {}
  gdi::HDC FHandle = nullptr;

 private:
  TBrush FBrush;
  TPen FPen;
  TFont FFont;
  TCopyMode FCopyMode = cmSrcCopy;
};

}  // namespace graphics
