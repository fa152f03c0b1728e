#include "platform/graphics/MetafilePlayer.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <vector>

#include "platform/gdi/Blit.h"
#include "platform/gdi/DIBits.h"
#include "platform/gdi/DrawModes.h"
#include "platform/gdi/Font.h"
#include "platform/gdi/Lines.h"
#include "platform/gdi/Pen.h"
#include "platform/gdi/Pixel.h"
#include "platform/gdi/Shapes.h"
#include "platform/gdi/Text.h"
#include "platform/gdi/TextRun.h"
#include "platform/graphics/MetafileBytes.h"
#include "platform/graphics/MetafileCurves.h"
#include "platform/graphics/MetafileMapping.h"

namespace graphics {

namespace {

// Coordinates far outside any picture are pinned, so that nothing overflows.
constexpr double MaxCoordinate = 1 << 24;
// Pens and fonts beyond these are drawn at these sizes.
constexpr int32_t MaxPenWidth = 1024;
constexpr int32_t MaxFontSize = 2048;

gdi::COLORREF Rgb(int32_t Value) { return static_cast<uint32_t>(Value) & 0x00FFFFFF; }

struct TPenDesc {
  int Style = gdi::PS_SOLID;
  int32_t Width = 0;  // logical units; 0: one pixel
  gdi::COLORREF Color = 0;
};

struct TBrushDesc {
  uint32_t Style = gdi::BS_SOLID;
  gdi::COLORREF Color = gdi::RGB(255, 255, 255);
  int Hatch = 0;
};

struct TFontDesc {
  gdi::LOGFONT Font;
  bool Scaled = false;  // sizes in logical units (stock fonts are in pixels)
};

struct TObject {
  enum class TKind { Pen, Brush, Font, Other } Kind = TKind::Other;
  TPenDesc Pen;
  TBrushDesc Brush;
  TFontDesc Font;
};

struct TState {
  explicit TState(const TMetaMapping& M) : Mapping(M) {}
  TMetaMapping Mapping;
  TPenDesc Pen;
  TBrushDesc Brush;
  TFontDesc Font;
  gdi::COLORREF TextColor = 0;
  gdi::COLORREF BkColor = gdi::RGB(255, 255, 255);
  int BkMode = gdi::OPAQUE;
  int Rop2 = gdi::R2_COPYPEN;
  int FillMode = gdi::ALTERNATE;
  int StretchMode = gdi::BLACKONWHITE;
  uint32_t Align = gdi::TA_LEFT | gdi::TA_TOP;
  TVertex Position;  // destination pixels
};

// The stock object Index as a pen, brush or font; none for the others.
std::optional<TObject> StockObject(uint32_t Index) {
  TObject O;
  const auto Brush = [&](gdi::COLORREF Color, uint32_t Style = gdi::BS_SOLID) {
    O.Kind = TObject::TKind::Brush;
    O.Brush = {Style, Color, 0};
    return O;
  };
  const auto Pen = [&](gdi::COLORREF Color, int Style = gdi::PS_SOLID) {
    O.Kind = TObject::TKind::Pen;
    O.Pen = {Style, 0, Color};
    return O;
  };
  switch (Index) {
    case gdi::WHITE_BRUSH: return Brush(gdi::RGB(255, 255, 255));
    case gdi::LTGRAY_BRUSH: return Brush(gdi::RGB(192, 192, 192));
    case gdi::GRAY_BRUSH: return Brush(gdi::RGB(128, 128, 128));
    case gdi::DKGRAY_BRUSH: return Brush(gdi::RGB(64, 64, 64));
    case gdi::BLACK_BRUSH: return Brush(gdi::RGB(0, 0, 0));
    case gdi::NULL_BRUSH: return Brush(0, gdi::BS_NULL);
    case gdi::WHITE_PEN: return Pen(gdi::RGB(255, 255, 255));
    case gdi::BLACK_PEN: return Pen(gdi::RGB(0, 0, 0));
    case gdi::NULL_PEN: return Pen(0, gdi::PS_NULL);
    default: break;
  }
  // The fixed, variable, system and device fonts all draw with the default face.
  if (Index >= 10 && Index <= 17 && Index != gdi::DEFAULT_PALETTE) {
    O.Kind = TObject::TKind::Font;
    O.Font = {gdi::DefaultFontDescription(), false};
    return O;
  }
  return std::nullopt;
}

class TPlayer {
 public:
  TPlayer(gdi::HDC DC, const TMetafileContent& Content, const base::TRect& Dest)
      : FDC(DC), FState(TMetaMapping(Content, Dest)) {
    FState.Font = {gdi::DefaultFontDescription(), false};
    gdi::GetCurrentPositionEx(DC, &FOldPosition);
    FOld = {DC->TextColor, DC->BkColor, DC->BkMode, DC->Rop2, DC->PolyFillMode, DC->StretchBltMode, DC->TextAlign};
    ApplyModes();
  }
  ~TPlayer() {
    FState.TextColor = FOld.TextColor;
    FState.BkColor = FOld.BkColor;
    FState.BkMode = FOld.BkMode;
    FState.Rop2 = FOld.Rop2;
    FState.FillMode = FOld.FillMode;
    FState.StretchMode = FOld.StretchMode;
    FState.Align = FOld.Align;
    ApplyModes();
    gdi::MoveToEx(FDC, FOldPosition.X, FOldPosition.Y, nullptr);
  }
  TPlayer(const TPlayer&) = delete;
  TPlayer& operator=(const TPlayer&) = delete;

  void Play(const TMetaRecord& R) {
    if (FState.Mapping.Apply(R)) return;
    switch (R.Op) {
      case TMetaOp::SaveDC: FSaved.push_back(FState); return;
      case TMetaOp::RestoreDC: return Restore(R.Args[0]);
      case TMetaOp::SetBkMode: FState.BkMode = R.Args[0]; return ApplyModes();
      case TMetaOp::SetBkColor: FState.BkColor = Rgb(R.Args[0]); return ApplyModes();
      case TMetaOp::SetTextColor: FState.TextColor = Rgb(R.Args[0]); return ApplyModes();
      case TMetaOp::SetTextAlign: FState.Align = static_cast<uint32_t>(R.Args[0]); return ApplyModes();
      case TMetaOp::SetROP2: FState.Rop2 = R.Args[0]; return ApplyModes();
      case TMetaOp::SetPolyFillMode: FState.FillMode = R.Args[0]; return ApplyModes();
      case TMetaOp::SetStretchBltMode: FState.StretchMode = R.Args[0]; return ApplyModes();
      case TMetaOp::CreatePen: {
        TObject& O = FObjects[R.Args[0]] = {};
        O.Kind = TObject::TKind::Pen;
        const int32_t Style = R.Args[1] >= gdi::PS_SOLID && R.Args[1] <= gdi::PS_INSIDEFRAME ? R.Args[1] : gdi::PS_SOLID;
        O.Pen = {Style, Saturate(std::abs(int64_t(R.Args[2]))), Rgb(R.Args[3])};
        return;
      }
      case TMetaOp::CreateBrush: {
        TObject& O = FObjects[R.Args[0]] = {};
        O.Kind = TObject::TKind::Brush;
        const auto Style = static_cast<uint32_t>(R.Args[1]);
        O.Brush = {Style <= gdi::BS_HATCHED ? Style : gdi::BS_NULL, Rgb(R.Args[2]),
                   std::clamp(R.Args[3], 0, static_cast<int32_t>(gdi::HS_DIAGCROSS))};
        return;
      }
      case TMetaOp::CreateFont: {
        TObject& O = FObjects[R.Args[0]] = {};
        O.Kind = TObject::TKind::Font;
        gdi::LOGFONT& F = O.Font.Font;
        F.lfHeight = R.Args[1];
        F.lfWidth = R.Args[2];
        F.lfEscapement = R.Args[3];
        F.lfWeight = R.Args[4];
        F.lfItalic = static_cast<uint8_t>(R.Args[5]);
        F.lfUnderline = static_cast<uint8_t>(R.Args[6]);
        F.lfStrikeOut = static_cast<uint8_t>(R.Args[7]);
        F.SetFaceName(R.Text);
        O.Font.Scaled = true;
        return;
      }
      case TMetaOp::CreateOther: FObjects[R.Args[0]] = {}; return;
      case TMetaOp::SelectObject: return Select(static_cast<uint32_t>(R.Args[0]));
      case TMetaOp::DeleteObject: FObjects.erase(R.Args[0]); return;
      case TMetaOp::MoveTo: FState.Position = Map(R.Points[0]); return;
      case TMetaOp::LineTo: {
        const TVertex To = Map(R.Points[0]);
        Lines({FState.Position, To});
        FState.Position = To;
        return;
      }
      case TMetaOp::Polyline: return Lines(MapAll(R.Points));
      case TMetaOp::PolylineTo: return LinesFromPosition(MapAll(R.Points));
      case TMetaOp::PolyBezier:
        if (!R.Points.empty())
          Lines(Prepend(Map(R.Points[0]),
                        MapAll(BezierVertices(R.Points[0], {R.Points.begin() + 1, R.Points.end()}))));
        return;
      case TMetaOp::PolyBezierTo: return LinesFromPosition(MapAll(BezierVertices(Logical(FState.Position), R.Points)));
      case TMetaOp::PolyPolyline: {
        size_t At = 0;
        for (const int32_t Count : R.Counts) {
          Lines(MapAll(std::vector<base::TPoint>(R.Points.begin() + At, R.Points.begin() + At + Count)));
          At += Count;
        }
        return;
      }
      case TMetaOp::PolyPolygon: return Polygons(R);
      case TMetaOp::Rectangle: return Box(R, false);
      case TMetaOp::Ellipse: return Box(R, true);
      case TMetaOp::RoundRect:
        return Shape({MapAll(RoundRectVertices(R.Points[0], R.Points[1], R.Args[0], R.Args[1]))});
      case TMetaOp::Arc: return Lines(MapAll(Arc(R)));
      case TMetaOp::ArcTo: {
        const std::vector<TVertex> Points = MapAll(Arc(R));
        return LinesFromPosition(Points);
      }
      case TMetaOp::Chord: return Shape({MapAll(Arc(R))});
      case TMetaOp::Pie: {
        const base::TPoint A = R.Points[0], B = R.Points[1];
        return Shape({Prepend(Map(TVertex{(double(A.X) + B.X) / 2, (double(A.Y) + B.Y) / 2}), MapAll(Arc(R)))});
      }
      case TMetaOp::SetPixel: {
        const base::TPoint P = Pixel(Map(R.Points[0]));
        gdi::SetPixel(FDC, P.X, P.Y, Rgb(R.Args[0]));
        return;
      }
      case TMetaOp::TextOut: return Text(R);
      case TMetaOp::Blit: return Blit(R);
      default: return;
    }
  }

 private:
  struct TModes {
    gdi::COLORREF TextColor, BkColor;
    int BkMode, Rop2, FillMode, StretchMode;
    uint32_t Align;
  };

  void ApplyModes() {
    gdi::SetTextColor(FDC, FState.TextColor);
    gdi::SetBkColor(FDC, FState.BkColor);
    gdi::SetBkMode(FDC, FState.BkMode);
    gdi::SetROP2(FDC, FState.Rop2);
    gdi::SetPolyFillMode(FDC, FState.FillMode);
    gdi::SetStretchBltMode(FDC, FState.StretchMode);
    gdi::SetTextAlign(FDC, FState.Align & ~uint32_t(1));  // the current-position flag is handled here
  }

  void Restore(int32_t Which) {
    const int64_t Count = static_cast<int64_t>(FSaved.size());
    const int64_t Index = Which < 0 ? Count + Which : Which - 1;
    if (Index < 0 || Index >= Count) return;
    FState = FSaved[static_cast<size_t>(Index)];
    FSaved.erase(FSaved.begin() + Index, FSaved.end());
    ApplyModes();
  }

  void Select(uint32_t Handle) {
    std::optional<TObject> Object;
    if ((Handle & StockObjectFlag) != 0) {
      Object = StockObject(Handle & ~StockObjectFlag);
    } else if (const auto Found = FObjects.find(static_cast<int32_t>(Handle)); Found != FObjects.end()) {
      Object = Found->second;
    }
    if (!Object) return;
    switch (Object->Kind) {
      case TObject::TKind::Pen: FState.Pen = Object->Pen; break;
      case TObject::TKind::Brush: FState.Brush = Object->Brush; break;
      case TObject::TKind::Font: FState.Font = Object->Font; break;
      case TObject::TKind::Other: break;
    }
  }

  TVertex Map(base::TPoint P) const { return Map(TVertex{double(P.X), double(P.Y)}); }
  TVertex Map(TVertex P) const {
    const TAffine& T = FState.Mapping.Total();
    return {T.X(P.X, P.Y), T.Y(P.X, P.Y)};
  }
  template <class Point>
  std::vector<TVertex> MapAll(const std::vector<Point>& Points) const {
    std::vector<TVertex> Out;
    Out.reserve(Points.size());
    for (const Point& P : Points) Out.push_back(Map(P));
    return Out;
  }
  // A destination point back in logical units (the start of PolyBezierTo).
  base::TPoint Logical(TVertex P) const {
    const TAffine& T = FState.Mapping.Total();
    const double Det = T.A * T.D - T.B * T.C;
    if (Det == 0) return {};
    const double X = P.X - T.E, Y = P.Y - T.F;
    return {static_cast<int32_t>(std::lround(std::clamp((T.D * X - T.C * Y) / Det, -MaxCoordinate, MaxCoordinate))),
            static_cast<int32_t>(std::lround(std::clamp((T.A * Y - T.B * X) / Det, -MaxCoordinate, MaxCoordinate)))};
  }
  static int32_t Round(double V) {
    if (std::isnan(V)) return 0;
    return static_cast<int32_t>(std::lround(std::clamp(V, -MaxCoordinate, MaxCoordinate)));
  }
  static base::TPoint Pixel(TVertex P) { return {Round(P.X), Round(P.Y)}; }
  static std::vector<gdi::POINT> Pixels(const std::vector<TVertex>& Points) {
    std::vector<gdi::POINT> Out;
    Out.reserve(Points.size());
    for (const TVertex& P : Points) Out.push_back(Pixel(P));
    return Out;
  }
  static std::vector<TVertex> Prepend(TVertex First, std::vector<TVertex> Rest) {
    Rest.insert(Rest.begin(), First);
    return Rest;
  }

  // The pen, brush and font of the state made for this drawing step and selected into
  // the DC; the ones before come back afterwards.
  class TTools {
   public:
    TTools(TPlayer& P, bool NoPen = false, bool NoBrush = false) : FDC(P.FDC) {
      const TPenDesc& Pen = P.FState.Pen;
      const int PenWidth =
          Pen.Width == 0 ? 1 : std::clamp(Round(Pen.Width * P.FState.Mapping.ScaleX()), 1, MaxPenWidth);
      FPen = gdi::CreatePen(NoPen ? gdi::PS_NULL : Pen.Style, PenWidth, Pen.Color);
      gdi::LOGBRUSH Brush{NoBrush ? gdi::BS_NULL : P.FState.Brush.Style, P.FState.Brush.Color,
                          static_cast<uintptr_t>(P.FState.Brush.Hatch)};
      FBrush = gdi::CreateBrushIndirect(&Brush);
      gdi::LOGFONT Font = P.FState.Font.Font;
      if (P.FState.Font.Scaled) {
        Font.lfHeight = std::clamp(Round(Font.lfHeight * P.FState.Mapping.ScaleY()), -MaxFontSize, MaxFontSize);
        Font.lfWidth = std::clamp(Round(Font.lfWidth * P.FState.Mapping.ScaleX()), -MaxFontSize, MaxFontSize);
      }
      FFont = gdi::CreateFontIndirect(&Font);
      FOldPen = gdi::SelectObject(FDC, FPen);
      FOldBrush = gdi::SelectObject(FDC, FBrush);
      FOldFont = gdi::SelectObject(FDC, FFont);
    }
    ~TTools() {
      for (gdi::HGDIOBJ Old : {FOldPen, FOldBrush, FOldFont})
        if (Old != nullptr) gdi::SelectObject(FDC, Old);
      for (gdi::HGDIOBJ Made : {static_cast<gdi::HGDIOBJ>(FPen), static_cast<gdi::HGDIOBJ>(FBrush),
                                static_cast<gdi::HGDIOBJ>(FFont)})
        if (Made != nullptr) gdi::DeleteObject(Made);
    }
    TTools(const TTools&) = delete;
    TTools& operator=(const TTools&) = delete;

   private:
    gdi::HDC FDC;
    gdi::HPEN FPen = nullptr;
    gdi::HBRUSH FBrush = nullptr;
    gdi::HFONT FFont = nullptr;
    gdi::HGDIOBJ FOldPen = nullptr, FOldBrush = nullptr, FOldFont = nullptr;
  };

  void Lines(const std::vector<TVertex>& Points) {
    if (Points.size() < 2) return;
    const TTools Tools(*this);
    const std::vector<gdi::POINT> P = Pixels(Points);
    gdi::Polyline(FDC, P.data(), static_cast<int>(P.size()));
  }
  void LinesFromPosition(const std::vector<TVertex>& Points) {
    if (Points.empty()) return;
    Lines(Prepend(FState.Position, Points));
    FState.Position = Points.back();
  }

  // Closed outlines filled with the brush. Several are filled as one polygon (joined
  // through seams that cancel out, so holes stay holes) and outlined one by one.
  void Shape(const std::vector<std::vector<TVertex>>& Outlines) {
    std::vector<gdi::POINT> All;
    for (const auto& Outline : Outlines) {
      if (Outline.empty()) continue;
      const std::vector<gdi::POINT> P = Pixels(Outline);
      All.insert(All.end(), P.begin(), P.end());
      All.push_back(P.front());
      All.push_back(All.front());
    }
    if (All.empty()) return;
    if (Outlines.size() == 1) {
      const TTools Tools(*this);
      const std::vector<gdi::POINT> P = Pixels(Outlines[0]);
      gdi::Polygon(FDC, P.data(), static_cast<int>(P.size()));
      return;
    }
    {
      const TTools Fill(*this, true, false);
      gdi::Polygon(FDC, All.data(), static_cast<int>(All.size()));
    }
    const TTools Outline(*this, false, true);
    for (const auto& O : Outlines) {
      const std::vector<gdi::POINT> P = Pixels(O);
      if (!P.empty()) gdi::Polygon(FDC, P.data(), static_cast<int>(P.size()));
    }
  }

  void Polygons(const TMetaRecord& R) {
    std::vector<std::vector<TVertex>> Outlines;
    size_t At = 0;
    for (const int32_t Count : R.Counts) {
      Outlines.push_back(MapAll(std::vector<base::TPoint>(R.Points.begin() + At, R.Points.begin() + At + Count)));
      At += Count;
    }
    Shape(Outlines);
  }

  void Box(const TMetaRecord& R, bool Elliptic) {
    const base::TPoint A = R.Points[0], B = R.Points[1];
    if (!FState.Mapping.Total().AxisAligned()) {
      const auto Middle = static_cast<int32_t>((int64_t(A.Y) + B.Y) / 2);
      const std::vector<TVertex> Corners =
          Elliptic ? ArcVertices(A, B, {B.X, Middle}, {B.X, Middle}, false)
                : std::vector<TVertex>{{double(A.X), double(A.Y)}, {double(B.X), double(A.Y)},
                                       {double(B.X), double(B.Y)}, {double(A.X), double(B.Y)}};
      return Shape({MapAll(Corners)});
    }
    const base::TPoint P = Pixel(Map(A)), Q = Pixel(Map(B));
    const TTools Tools(*this);
    if (Elliptic)
      gdi::Ellipse(FDC, P.X, P.Y, Q.X, Q.Y);
    else
      gdi::Rectangle(FDC, P.X, P.Y, Q.X, Q.Y);
  }

  // Counter-clockwise as it appears in the picture.
  std::vector<TVertex> Arc(const TMetaRecord& R) const {
    return ArcVertices(R.Points[0], R.Points[1], R.Points[2], R.Points[3], FState.Mapping.Total().Mirrors());
  }

  void Text(const TMetaRecord& R) {
    const bool FromPosition = (FState.Align & 1) != 0;
    const base::TPoint At = Pixel(FromPosition ? FState.Position : Map(R.Points[0]));
    std::optional<base::TRect> Box;
    if (R.Points.size() == 3) {
      const base::TPoint P = Pixel(Map(R.Points[1])), Q = Pixel(Map(R.Points[2]));
      Box = base::Rect(std::min(P.X, Q.X), std::min(P.Y, Q.Y), std::max(P.X, Q.X), std::max(P.Y, Q.Y));
    }
    std::vector<int32_t> Advances;
    for (const int32_t Dx : R.Counts) Advances.push_back(Round(Dx * FState.Mapping.ScaleX()));
    // Advances are given per character of the file; the text has as many code points.
    const bool UseAdvances = !Advances.empty() && Advances.size() >= gdi::CodePoints(R.Text).size();
    const TTools Tools(*this);
    gdi::ExtTextOut(FDC, At.X, At.Y, static_cast<uint32_t>(R.Args[0]), Box ? &*Box : nullptr, R.Text,
                    UseAdvances ? Advances.data() : nullptr);
  }

  void Blit(const TMetaRecord& R) {
    const int32_t X = R.Args[0], Y = R.Args[1], W = R.Args[2], H = R.Args[3];
    const base::TPoint P = Pixel(Map(base::TPoint{X, Y})), Q = Pixel(Map(TVertex{double(X) + W, double(Y) + H}));
    const auto Rop = static_cast<uint32_t>(R.Args[8]);
    const TTools Tools(*this);
    if (R.Image == nullptr) {
      gdi::PatBlt(FDC, P.X, P.Y, Q.X - P.X, Q.Y - P.Y, Rop);
      return;
    }
    const TDIBImage& Image = *R.Image;
    const gdi::BITMAPINFO Info = BitmapInfoOf(Image);
    const int32_t SourceX = R.Args[4], SourceW = R.Args[6], SourceH = R.Args[7];
    const int32_t SourceY = Saturate(int64_t(Image.Height) - R.Args[5] - SourceH);
    gdi::StretchDIBits(FDC, P.X, P.Y, Q.X - P.X, Q.Y - P.Y, SourceX, SourceY, SourceW, SourceH, Image.Bits.data(),
                       &Info, gdi::DIB_RGB_COLORS, Rop);
  }

  gdi::HDC FDC;
  TState FState;
  std::vector<TState> FSaved;
  std::map<int32_t, TObject> FObjects;
  TModes FOld{};
  gdi::POINT FOldPosition;
};

}  // namespace

void PlayMetafile(gdi::HDC DC, const TMetafileContent& Content, const base::TRect& Dest) {
  if (DC == nullptr || Dest.Width() == 0 || Dest.Height() == 0) return;
  TPlayer Player(DC, Content, Dest);
  for (const TMetaRecord& Record : Content.Records) Player.Play(Record);
}

}  // namespace graphics
