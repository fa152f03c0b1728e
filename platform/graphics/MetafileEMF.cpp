// The records of enhanced metafiles.
#include <algorithm>
#include <cmath>

#include "platform/base/Exceptions.h"
#include "platform/graphics/MetafileBytes.h"
#include "platform/graphics/MetafileDIB.h"
#include "platform/graphics/MetafileReader.h"

namespace graphics {

namespace {

enum : uint32_t {
  EMR_HEADER = 1, EMR_POLYBEZIER = 2, EMR_POLYGON = 3, EMR_POLYLINE = 4, EMR_POLYBEZIERTO = 5,
  EMR_POLYLINETO = 6, EMR_POLYPOLYLINE = 7, EMR_POLYPOLYGON = 8, EMR_SETWINDOWEXTEX = 9,
  EMR_SETWINDOWORGEX = 10, EMR_SETVIEWPORTEXTEX = 11, EMR_SETVIEWPORTORGEX = 12, EMR_EOF = 14,
  EMR_SETPIXELV = 15, EMR_SETMAPMODE = 17, EMR_SETBKMODE = 18, EMR_SETPOLYFILLMODE = 19, EMR_SETROP2 = 20,
  EMR_SETSTRETCHBLTMODE = 21, EMR_SETTEXTALIGN = 22, EMR_SETTEXTCOLOR = 24, EMR_SETBKCOLOR = 25,
  EMR_MOVETOEX = 27, EMR_SCALEVIEWPORTEXTEX = 31, EMR_SCALEWINDOWEXTEX = 32, EMR_SAVEDC = 33,
  EMR_RESTOREDC = 34, EMR_SETWORLDTRANSFORM = 35, EMR_MODIFYWORLDTRANSFORM = 36, EMR_SELECTOBJECT = 37,
  EMR_CREATEPEN = 38, EMR_CREATEBRUSHINDIRECT = 39, EMR_DELETEOBJECT = 40, EMR_ELLIPSE = 42,
  EMR_RECTANGLE = 43, EMR_ROUNDRECT = 44, EMR_ARC = 45, EMR_CHORD = 46, EMR_PIE = 47, EMR_CREATEPALETTE = 49,
  EMR_LINETO = 54, EMR_ARCTO = 55, EMR_BITBLT = 76, EMR_STRETCHBLT = 77, EMR_STRETCHDIBITS = 81,
  EMR_EXTCREATEFONTINDIRECTW = 82, EMR_EXTTEXTOUTA = 83, EMR_EXTTEXTOUTW = 84, EMR_POLYBEZIER16 = 85,
  EMR_POLYGON16 = 86, EMR_POLYLINE16 = 87, EMR_POLYBEZIERTO16 = 88, EMR_POLYLINETO16 = 89,
  EMR_POLYPOLYLINE16 = 90, EMR_POLYPOLYGON16 = 91, EMR_CREATEMONOBRUSH = 93, EMR_CREATEDIBPATTERNBRUSHPT = 94,
  EMR_EXTCREATEPEN = 95,
};

constexpr uint32_t EMFSignature = 0x464D4520;  // " EMF"
constexpr size_t HeaderSize = 88;
constexpr uint32_t ETO_GLYPH_INDEX = 0x0010;
constexpr uint32_t ETO_PDY = 0x2000;
constexpr uint32_t DIB_RGB_COLORS = 0;
constexpr uint32_t PS_GEOMETRIC = 0x00010000;

[[noreturn]] void Fail(const std::string& Message) { throw base::EInvalidGraphic(Message); }

class TEMFParser {
 public:
  explicit TEMFParser(TMetafileContent& Content) : FContent(Content) {}

  void Record(const TRecordBytes& R, uint32_t Type) {
    switch (Type) {
      case EMR_POLYBEZIER: return Points(R, TMetaOp::PolyBezier, false);
      case EMR_POLYGON: return Polygon(R, false);
      case EMR_POLYLINE: return Points(R, TMetaOp::Polyline, false);
      case EMR_POLYBEZIERTO: return Points(R, TMetaOp::PolyBezierTo, false);
      case EMR_POLYLINETO: return Points(R, TMetaOp::PolylineTo, false);
      case EMR_POLYBEZIER16: return Points(R, TMetaOp::PolyBezier, true);
      case EMR_POLYGON16: return Polygon(R, true);
      case EMR_POLYLINE16: return Points(R, TMetaOp::Polyline, true);
      case EMR_POLYBEZIERTO16: return Points(R, TMetaOp::PolyBezierTo, true);
      case EMR_POLYLINETO16: return Points(R, TMetaOp::PolylineTo, true);
      case EMR_POLYPOLYLINE: return PolyPoly(R, TMetaOp::PolyPolyline, false);
      case EMR_POLYPOLYGON: return PolyPoly(R, TMetaOp::PolyPolygon, false);
      case EMR_POLYPOLYLINE16: return PolyPoly(R, TMetaOp::PolyPolyline, true);
      case EMR_POLYPOLYGON16: return PolyPoly(R, TMetaOp::PolyPolygon, true);
      case EMR_SETWINDOWEXTEX: return Ints(R, TMetaOp::SetWindowExt, 2);
      case EMR_SETWINDOWORGEX: return Ints(R, TMetaOp::SetWindowOrg, 2);
      case EMR_SETVIEWPORTEXTEX: return Ints(R, TMetaOp::SetViewportExt, 2);
      case EMR_SETVIEWPORTORGEX: return Ints(R, TMetaOp::SetViewportOrg, 2);
      case EMR_SCALEVIEWPORTEXTEX: return Ints(R, TMetaOp::ScaleViewportExt, 4);
      case EMR_SCALEWINDOWEXTEX: return Ints(R, TMetaOp::ScaleWindowExt, 4);
      case EMR_SETMAPMODE: return Ints(R, TMetaOp::SetMapMode, 1);
      case EMR_SETBKMODE: return Ints(R, TMetaOp::SetBkMode, 1);
      case EMR_SETPOLYFILLMODE: return Ints(R, TMetaOp::SetPolyFillMode, 1);
      case EMR_SETROP2: return Ints(R, TMetaOp::SetROP2, 1);
      case EMR_SETSTRETCHBLTMODE: return Ints(R, TMetaOp::SetStretchBltMode, 1);
      case EMR_SETTEXTALIGN: return Ints(R, TMetaOp::SetTextAlign, 1);
      case EMR_SETTEXTCOLOR: return Ints(R, TMetaOp::SetTextColor, 1);
      case EMR_SETBKCOLOR: return Ints(R, TMetaOp::SetBkColor, 1);
      case EMR_SAVEDC: return Ints(R, TMetaOp::SaveDC, 0);
      case EMR_RESTOREDC: return Ints(R, TMetaOp::RestoreDC, 1);
      case EMR_SELECTOBJECT: return Ints(R, TMetaOp::SelectObject, 1);
      case EMR_DELETEOBJECT: return Ints(R, TMetaOp::DeleteObject, 1);
      case EMR_CREATEPALETTE:
      case EMR_CREATEMONOBRUSH:
      case EMR_CREATEDIBPATTERNBRUSHPT: return Ints(R, TMetaOp::CreateOther, 1);
      case EMR_SETWORLDTRANSFORM: return Transform(R, false);
      case EMR_MODIFYWORLDTRANSFORM: return Transform(R, true);
      case EMR_SETPIXELV: {
        TMetaRecord& M = Add(TMetaOp::SetPixel);
        M.Points = {Point32(R, 8)};
        M.Args = {R.I32(16)};
        return;
      }
      case EMR_MOVETOEX: Add(TMetaOp::MoveTo).Points = {Point32(R, 8)}; return;
      case EMR_LINETO: Add(TMetaOp::LineTo).Points = {Point32(R, 8)}; return;
      case EMR_RECTANGLE: return Box(R, TMetaOp::Rectangle, 0);
      case EMR_ELLIPSE: return Box(R, TMetaOp::Ellipse, 0);
      case EMR_ROUNDRECT: {
        Box(R, TMetaOp::RoundRect, 0);
        FContent.Records.back().Args = {R.I32(24), R.I32(28)};
        return;
      }
      case EMR_ARC: return Box(R, TMetaOp::Arc, 2);
      case EMR_ARCTO: return Box(R, TMetaOp::ArcTo, 2);
      case EMR_CHORD: return Box(R, TMetaOp::Chord, 2);
      case EMR_PIE: return Box(R, TMetaOp::Pie, 2);
      case EMR_CREATEPEN: {
        TMetaRecord& M = Add(TMetaOp::CreatePen);
        M.Args = {R.I32(8), static_cast<int32_t>(R.U32(12) & 0xF), R.I32(16), R.I32(24)};
        return;
      }
      case EMR_EXTCREATEPEN: {
        // ihPen, the pattern bitmap's offsets and sizes, then the extended pen.
        const uint32_t Style = R.U32(28);
        const int32_t Width = (Style & PS_GEOMETRIC) != 0 ? R.I32(32) : 0;
        TMetaRecord& M = Add(TMetaOp::CreatePen);
        M.Args = {R.I32(8), static_cast<int32_t>(Style & 0xF), Width, R.I32(40)};
        return;
      }
      case EMR_CREATEBRUSHINDIRECT: {
        TMetaRecord& M = Add(TMetaOp::CreateBrush);
        M.Args = {R.I32(8), R.I32(12), R.I32(16), R.I32(20)};
        return;
      }
      case EMR_EXTCREATEFONTINDIRECTW: return Font(R);
      case EMR_EXTTEXTOUTA: return Text(R, false);
      case EMR_EXTTEXTOUTW: return Text(R, true);
      case EMR_BITBLT: return BitBlt(R, false);
      case EMR_STRETCHBLT: return BitBlt(R, true);
      case EMR_STRETCHDIBITS: return StretchDIBits(R);
      default: return;
    }
  }

 private:
  TMetaRecord& Add(TMetaOp Op) {
    FContent.Records.push_back({});
    FContent.Records.back().Op = Op;
    return FContent.Records.back();
  }

  static base::TPoint Point32(const TRecordBytes& R, size_t At) { return {R.I32(At), R.I32(At + 4)}; }
  static base::TPoint Point16(const TRecordBytes& R, size_t At) { return {R.I16(At), R.I16(At + 2)}; }

  static std::vector<base::TPoint> PointArray(const TRecordBytes& R, size_t At, uint32_t Count, bool Short) {
    const size_t Each = Short ? 4 : 8;
    R.Bytes(At, size_t(Count) * Each);
    std::vector<base::TPoint> Points(Count);
    for (uint32_t I = 0; I < Count; ++I) Points[I] = Short ? Point16(R, At + I * Each) : Point32(R, At + I * Each);
    return Points;
  }

  void Ints(const TRecordBytes& R, TMetaOp Op, int Count) {
    TMetaRecord& M = Add(Op);
    for (int I = 0; I < Count; ++I) M.Args.push_back(R.I32(8 + 4 * I));
  }

  // Bounds, count, points.
  void Points(const TRecordBytes& R, TMetaOp Op, bool Short) { Add(Op).Points = PointArray(R, 28, R.U32(24), Short); }

  void Polygon(const TRecordBytes& R, bool Short) {
    TMetaRecord& M = Add(TMetaOp::PolyPolygon);
    M.Points = PointArray(R, 28, R.U32(24), Short);
    M.Counts = {static_cast<int32_t>(M.Points.size())};
  }

  // Bounds, polygon count, point count, the counts, the points.
  void PolyPoly(const TRecordBytes& R, TMetaOp Op, bool Short) {
    const uint32_t Polys = R.U32(24);
    const uint32_t Total = R.U32(28);
    R.Bytes(32, size_t(Polys) * 4);
    std::vector<int32_t> Counts(Polys);
    uint64_t Sum = 0;
    for (uint32_t I = 0; I < Polys; ++I) {
      Counts[I] = static_cast<int32_t>(R.U32(32 + 4 * I));
      Sum += R.U32(32 + 4 * I);
    }
    if (Sum != Total) R.Malformed();
    TMetaRecord& M = Add(Op);
    M.Points = PointArray(R, 32 + size_t(Polys) * 4, Total, Short);
    M.Counts = std::move(Counts);
  }

  // A box and, for arcs, the start and end points after it.
  void Box(const TRecordBytes& R, TMetaOp Op, int Extra) {
    TMetaRecord& M = Add(Op);
    M.Points = {Point32(R, 8), Point32(R, 16)};
    for (int I = 0; I < Extra; ++I) M.Points.push_back(Point32(R, 24 + 8 * I));
  }

  void Transform(const TRecordBytes& R, bool Modify) {
    TMetaRecord& M = Add(Modify ? TMetaOp::ModifyWorldTransform : TMetaOp::SetWorldTransform);
    for (int I = 0; I < 6; ++I) {
      M.Xform[I] = R.F32(8 + 4 * I);
      if (!std::isfinite(M.Xform[I])) R.Malformed();
    }
    if (Modify) M.Args = {R.I32(32)};
  }

  // ihFont, then the logical font: height, width, escapement, orientation, weight,
  // italic, underline, strike-out, charset and four more bytes, the face in UTF-16.
  void Font(const TRecordBytes& R) {
    TMetaRecord& M = Add(TMetaOp::CreateFont);
    const uint8_t* Flags = R.Bytes(32, 3);
    M.Args = {R.I32(8), R.I32(12), R.I32(16), R.I32(20), R.I32(28), Flags[0], Flags[1], Flags[2]};
    M.Text = Utf16ToUtf8(R.Bytes(40, 64), 32);
  }

  // Bounds, graphics mode, scales, then the text: reference point, character count,
  // string offset, options, rectangle, advances offset.
  void Text(const TRecordBytes& R, bool Wide) {
    const uint32_t Chars = R.U32(44);
    const uint32_t StringAt = R.U32(48);
    const uint32_t Options = R.U32(52);
    const uint32_t DxAt = R.U32(72);
    const uint8_t* String = R.Bytes(StringAt, size_t(Chars) * (Wide ? 2 : 1));
    // Glyph indexes name no characters this player could draw.
    if ((Options & ETO_GLYPH_INDEX) != 0) return;
    TMetaRecord& M = Add(TMetaOp::TextOut);
    M.Points = {Point32(R, 36)};
    if ((Options & (ETO_OPAQUE | ETO_CLIPPED)) != 0) {
      M.Points.push_back(Point32(R, 56));
      M.Points.push_back(Point32(R, 64));
    }
    M.Args = {static_cast<int32_t>(Options & (ETO_OPAQUE | ETO_CLIPPED))};
    M.Text = Wide ? Utf16ToUtf8(String, Chars) : Latin1ToUtf8(String, Chars);
    if (DxAt != 0 && Chars != 0) {
      const size_t Step = (Options & ETO_PDY) != 0 ? 8 : 4;
      R.Bytes(DxAt, Chars * Step);
      for (uint32_t I = 0; I < Chars; ++I) M.Counts.push_back(R.I32(DxAt + I * Step));
    }
  }

  TMetafileDIB Bitmap(const TRecordBytes& R, size_t Fields) {
    const uint32_t InfoAt = R.U32(Fields), InfoSize = R.U32(Fields + 4);
    const uint32_t BitsAt = R.U32(Fields + 8), BitsSize = R.U32(Fields + 12);
    return ReadMetafileDIB(R.Bytes(InfoAt, InfoSize), InfoSize, R.Bytes(BitsAt, BitsSize), BitsSize, FBudget);
  }

  // Bounds, destination x, y, cx, cy, raster operation, source x, y, source transform,
  // source background, usage, bitmap offsets and sizes; StretchBlt adds source cx, cy.
  void BitBlt(const TRecordBytes& R, bool Stretch) {
    const int32_t DestW = R.I32(32), DestH = R.I32(36);
    const int32_t SourceW = Stretch ? R.I32(100) : DestW;
    const int32_t SourceH = Stretch ? R.I32(104) : DestH;
    const uint32_t Usage = R.U32(80);
    const uint32_t InfoSize = R.U32(88);
    std::shared_ptr<const TDIBImage> Image;
    if (InfoSize != 0) {
      if (Usage != DIB_RGB_COLORS) return;
      Image = Bitmap(R, 84).Image;
    }
    TMetaRecord& M = Add(TMetaOp::Blit);
    M.Args = {R.I32(24), R.I32(28), DestW, DestH, R.I32(44), R.I32(48), SourceW, SourceH, R.I32(40)};
    M.Image = std::move(Image);
  }

  // Bounds, destination x, y, source x, y, cx, cy, bitmap offsets and sizes, usage,
  // raster operation, destination cx, cy. The source y counts from the bottom of a
  // bottom-up bitmap.
  void StretchDIBits(const TRecordBytes& R) {
    if (R.U32(64) != DIB_RGB_COLORS || R.U32(52) == 0) return;
    const TMetafileDIB DIB = Bitmap(R, 48);
    const int32_t SourceY = R.I32(36), SourceH = R.I32(44);
    TMetaRecord& M = Add(TMetaOp::Blit);
    M.Args = {R.I32(24), R.I32(28), R.I32(72), R.I32(76), R.I32(32),
              DIB.TopDown ? SourceY : Saturate(int64_t(DIB.Image->Height) - SourceY - SourceH), R.I32(40), SourceH,
              R.I32(68)};
    M.Image = DIB.Image;
  }

  TMetafileContent& FContent;
  int64_t FBudget = MaxMetafilePixels;
};

}  // namespace

TMetafileContent ReadEnhancedMetafile(const std::vector<uint8_t>& File) {
  if (File.size() < HeaderSize) Fail("Invalid metafile header");
  const TRecordBytes Header(File.data(), File.size(), EMR_HEADER, 0);
  const uint32_t Size = Header.U32(4);
  if (Header.U32(0) != EMR_HEADER || Header.U32(40) != EMFSignature || Size < HeaderSize || Size % 4 != 0 ||
      Size > File.size())
    Fail("Invalid metafile header");
  TMetafileContent Content;
  Content.Kind = TMetafileKind::Enhanced;
  Content.Frame = {Header.I32(24), Header.I32(28), Header.I32(32), Header.I32(36)};
  Content.UnitsPerInch = 2540;
  Content.DevicePixels = {Header.I32(72), Header.I32(76)};
  Content.DeviceMillimeters = {Header.I32(80), Header.I32(84)};
  if (Content.DevicePixels.X <= 0 || Content.DevicePixels.Y <= 0 || Content.DeviceMillimeters.X <= 0 ||
      Content.DeviceMillimeters.Y <= 0)
    Fail("Invalid metafile header");
  if (Content.Frame.IsEmpty()) Fail("Invalid metafile dimensions");

  TEMFParser Parser(Content);
  size_t At = Size;
  while (At < File.size()) {
    if (File.size() - At < 8) Fail("Metafile record at offset " + std::to_string(At) + " is truncated");
    const TRecordBytes Head(File.data() + At, 8, 0, At);
    const uint32_t Type = Head.U32(0);
    const uint32_t RecordSize = Head.U32(4);
    if (RecordSize < 8 || RecordSize % 4 != 0)
      Fail("Invalid metafile record size at offset " + std::to_string(At));
    if (RecordSize > File.size() - At) Fail("Metafile record at offset " + std::to_string(At) + " is truncated");
    if (Type == EMR_EOF) break;
    Parser.Record(TRecordBytes(File.data() + At, RecordSize, Type, At), Type);
    At += RecordSize;
  }
  return Content;
}

}  // namespace graphics
