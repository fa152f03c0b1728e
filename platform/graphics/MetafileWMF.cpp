// The records of placeable Windows metafiles. Their parameters are 16-bit words,
// most of them stored last argument first.
#include <algorithm>
#include <vector>

#include "platform/base/Exceptions.h"
#include "platform/graphics/MetafileBytes.h"
#include "platform/graphics/MetafileDIB.h"
#include "platform/graphics/MetafileReader.h"

namespace graphics {

namespace {

enum : uint16_t {
  META_EOF = 0x0000, META_SAVEDC = 0x001E, META_CREATEPALETTE = 0x00F7, META_SETBKMODE = 0x0102,
  META_SETMAPMODE = 0x0103, META_SETROP2 = 0x0104, META_SETPOLYFILLMODE = 0x0106,
  META_SETSTRETCHBLTMODE = 0x0107, META_RESTOREDC = 0x0127, META_SELECTOBJECT = 0x012D,
  META_SETTEXTALIGN = 0x012E, META_DIBCREATEPATTERNBRUSH = 0x0142, META_DELETEOBJECT = 0x01F0,
  META_CREATEPATTERNBRUSH = 0x01F9, META_SETBKCOLOR = 0x0201, META_SETTEXTCOLOR = 0x0209,
  META_SETWINDOWORG = 0x020B, META_SETWINDOWEXT = 0x020C, META_OFFSETWINDOWORG = 0x020F,
  META_LINETO = 0x0213, META_MOVETO = 0x0214, META_CREATEPENINDIRECT = 0x02FA,
  META_CREATEFONTINDIRECT = 0x02FB, META_CREATEBRUSHINDIRECT = 0x02FC, META_POLYGON = 0x0324,
  META_POLYLINE = 0x0325, META_SCALEWINDOWEXT = 0x0410, META_ELLIPSE = 0x0418, META_RECTANGLE = 0x041B,
  META_SETPIXEL = 0x041F, META_TEXTOUT = 0x0521, META_POLYPOLYGON = 0x0538, META_ROUNDRECT = 0x061C,
  META_PATBLT = 0x061D, META_CREATEREGION = 0x06FF, META_ARC = 0x0817, META_PIE = 0x081A,
  META_CHORD = 0x0830, META_DIBBITBLT = 0x0940, META_EXTTEXTOUT = 0x0A32, META_DIBSTRETCHBLT = 0x0B41,
  META_STRETCHDIB = 0x0F43,
};

constexpr size_t PlaceableSize = 22;
constexpr size_t MetaHeaderSize = 18;

[[noreturn]] void Fail(const std::string& Message) { throw base::EInvalidGraphic(Message); }

class TWMFParser {
 public:
  explicit TWMFParser(TMetafileContent& Content) : FContent(Content) {}

  void Record(const TRecordBytes& R, uint16_t Function) {
    switch (Function) {
      case META_SAVEDC: Add(TMetaOp::SaveDC); return;
      case META_RESTOREDC: Add(TMetaOp::RestoreDC).Args = {W(R, 0)}; return;
      case META_SETBKMODE: return Value(TMetaOp::SetBkMode, W(R, 0));
      case META_SETMAPMODE: return Value(TMetaOp::SetMapMode, W(R, 0));
      case META_SETROP2: return Value(TMetaOp::SetROP2, W(R, 0));
      case META_SETPOLYFILLMODE: return Value(TMetaOp::SetPolyFillMode, W(R, 0));
      case META_SETSTRETCHBLTMODE: return Value(TMetaOp::SetStretchBltMode, W(R, 0));
      case META_SETTEXTALIGN: return Value(TMetaOp::SetTextAlign, U(R, 0));
      case META_SETBKCOLOR: return Value(TMetaOp::SetBkColor, Color(R, 0));
      case META_SETTEXTCOLOR: return Value(TMetaOp::SetTextColor, Color(R, 0));
      case META_SETWINDOWORG: Add(TMetaOp::SetWindowOrg).Args = {W(R, 1), W(R, 0)}; return;
      case META_SETWINDOWEXT: Add(TMetaOp::SetWindowExt).Args = {W(R, 1), W(R, 0)}; return;
      case META_OFFSETWINDOWORG: Add(TMetaOp::OffsetWindowOrg).Args = {W(R, 1), W(R, 0)}; return;
      case META_SCALEWINDOWEXT:
        Add(TMetaOp::ScaleWindowExt).Args = {W(R, 3), W(R, 2), W(R, 1), W(R, 0)};
        return;
      case META_MOVETO: Add(TMetaOp::MoveTo).Points = {P(R, 0)}; return;
      case META_LINETO: Add(TMetaOp::LineTo).Points = {P(R, 0)}; return;
      case META_RECTANGLE: Add(TMetaOp::Rectangle).Points = {P(R, 2), P(R, 0)}; return;
      case META_ELLIPSE: Add(TMetaOp::Ellipse).Points = {P(R, 2), P(R, 0)}; return;
      case META_ROUNDRECT: {
        TMetaRecord& M = Add(TMetaOp::RoundRect);
        M.Points = {P(R, 4), P(R, 2)};
        M.Args = {W(R, 1), W(R, 0)};
        return;
      }
      case META_ARC: return Arc(R, TMetaOp::Arc);
      case META_PIE: return Arc(R, TMetaOp::Pie);
      case META_CHORD: return Arc(R, TMetaOp::Chord);
      case META_SETPIXEL: {
        TMetaRecord& M = Add(TMetaOp::SetPixel);
        M.Points = {P(R, 2)};
        M.Args = {Color(R, 0)};
        return;
      }
      case META_POLYLINE: Add(TMetaOp::Polyline).Points = Points(R, 1, U(R, 0)); return;
      case META_POLYGON: {
        TMetaRecord& M = Add(TMetaOp::PolyPolygon);
        M.Points = Points(R, 1, U(R, 0));
        M.Counts = {static_cast<int32_t>(M.Points.size())};
        return;
      }
      case META_POLYPOLYGON: return PolyPolygon(R);
      case META_TEXTOUT: return TextOut(R);
      case META_EXTTEXTOUT: return ExtTextOut(R);
      case META_CREATEPENINDIRECT: {
        const int32_t Slot = Allocate();
        Add(TMetaOp::CreatePen).Args = {Slot, U(R, 0) & 0xF, W(R, 1), Color(R, 3)};
        return;
      }
      case META_CREATEBRUSHINDIRECT: {
        const int32_t Slot = Allocate();
        Add(TMetaOp::CreateBrush).Args = {Slot, U(R, 0), Color(R, 1), U(R, 3)};
        return;
      }
      case META_CREATEFONTINDIRECT: return Font(R);
      case META_CREATEPALETTE:
      case META_CREATEPATTERNBRUSH:
      case META_DIBCREATEPATTERNBRUSH:
      case META_CREATEREGION: Add(TMetaOp::CreateOther).Args = {Allocate()}; return;
      case META_SELECTOBJECT: Add(TMetaOp::SelectObject).Args = {U(R, 0)}; return;
      case META_DELETEOBJECT: return Delete(R);
      case META_PATBLT: {
        TMetaRecord& M = Add(TMetaOp::Blit);
        M.Args = {W(R, 5), W(R, 4), W(R, 3), W(R, 2), 0, 0, 0, 0, Rop(R)};
        return;
      }
      case META_DIBBITBLT: return DIBBitBlt(R);
      case META_DIBSTRETCHBLT: return DIBStretchBlt(R);
      case META_STRETCHDIB: return StretchDIB(R);
      default: return;
    }
  }

 private:
  TMetaRecord& Add(TMetaOp Op) {
    FContent.Records.push_back({});
    FContent.Records.back().Op = Op;
    return FContent.Records.back();
  }
  void Value(TMetaOp Op, int32_t V) { Add(Op).Args = {V}; }

  // Parameter word I as a signed and as an unsigned value.
  static int32_t W(const TRecordBytes& R, size_t I) { return R.I16(6 + 2 * I); }
  static int32_t U(const TRecordBytes& R, size_t I) { return R.U16(6 + 2 * I); }
  static int32_t Color(const TRecordBytes& R, size_t I) { return static_cast<int32_t>(R.U32(6 + 2 * I)); }
  static int32_t Rop(const TRecordBytes& R) { return static_cast<int32_t>(R.U32(6)); }
  // The point whose y is word I and x word I + 1.
  static base::TPoint P(const TRecordBytes& R, size_t I) { return {W(R, I + 1), W(R, I)}; }

  static std::vector<base::TPoint> Points(const TRecordBytes& R, size_t First, uint32_t Count) {
    R.Bytes(6 + 2 * First, size_t(Count) * 4);
    std::vector<base::TPoint> Out(Count);
    for (uint32_t I = 0; I < Count; ++I) Out[I] = {W(R, First + 2 * I), W(R, First + 2 * I + 1)};
    return Out;
  }

  // Objects take the lowest free slot; deleting one frees it.
  int32_t Allocate() {
    for (size_t I = 0; I < FUsed.size(); ++I)
      if (!FUsed[I]) {
        FUsed[I] = true;
        return static_cast<int32_t>(I);
      }
    FUsed.push_back(true);
    return static_cast<int32_t>(FUsed.size() - 1);
  }
  void Delete(const TRecordBytes& R) {
    const int32_t Slot = U(R, 0);
    if (Slot < static_cast<int32_t>(FUsed.size())) FUsed[Slot] = false;
    Add(TMetaOp::DeleteObject).Args = {Slot};
  }

  void Arc(const TRecordBytes& R, TMetaOp Op) { Add(Op).Points = {P(R, 6), P(R, 4), P(R, 2), P(R, 0)}; }

  void PolyPolygon(const TRecordBytes& R) {
    const uint32_t Polys = U(R, 0);
    std::vector<int32_t> Counts;
    uint32_t Total = 0;
    for (uint32_t I = 0; I < Polys; ++I) {
      Counts.push_back(U(R, 1 + I));
      Total += static_cast<uint32_t>(Counts.back());
    }
    TMetaRecord& M = Add(TMetaOp::PolyPolygon);
    M.Points = Points(R, 1 + Polys, Total);
    M.Counts = std::move(Counts);
  }

  // Height, width, escapement, orientation, weight, then bytes: italic, underline,
  // strike-out, charset, four more, and the face.
  void Font(const TRecordBytes& R) {
    const uint8_t* Flags = R.Bytes(16, 3);
    const size_t FaceAt = 24;
    const size_t FaceBytes = R.Size() > FaceAt ? std::min<size_t>(R.Size() - FaceAt, 32) : 0;
    TMetaRecord& M = Add(TMetaOp::CreateFont);
    M.Args = {0, W(R, 0), W(R, 1), W(R, 2), W(R, 4), Flags[0], Flags[1], Flags[2]};
    M.Text = Latin1ToUtf8(R.Bytes(FaceAt, FaceBytes), FaceBytes);
    M.Args[0] = Allocate();
  }

  // Length, the string (padded to a word), y, x.
  void TextOut(const TRecordBytes& R) {
    const uint32_t Length = U(R, 0);
    const size_t Words = (Length + 1) / 2;
    TMetaRecord& M = Add(TMetaOp::TextOut);
    M.Text = Latin1ToUtf8(R.Bytes(8, Length), Length);
    M.Points = {P(R, 1 + Words)};
    M.Args = {0};
  }

  // y, x, length, options, the rectangle when the options ask for one, the string
  // (padded to a word), and the advances when the record has room for them.
  void ExtTextOut(const TRecordBytes& R) {
    const uint32_t Length = U(R, 2);
    const int32_t Options = U(R, 3) & (ETO_OPAQUE | ETO_CLIPPED);
    TMetaRecord& M = Add(TMetaOp::TextOut);
    M.Points = {P(R, 0)};
    size_t At = 14;
    if (Options != 0) {
      M.Points.push_back({R.I16(14), R.I16(16)});
      M.Points.push_back({R.I16(18), R.I16(20)});
      At += 8;
    }
    M.Text = Latin1ToUtf8(R.Bytes(At, Length), Length);
    M.Args = {Options};
    At += (Length + 1) / 2 * 2;
    if (R.Size() >= At + size_t(Length) * 2)
      for (uint32_t I = 0; I < Length; ++I) M.Counts.push_back(R.I16(At + 2 * I));
  }

  std::shared_ptr<const TDIBImage> Packed(const TRecordBytes& R, size_t At, bool& TopDown) {
    if (At > R.Size()) R.Malformed();
    const size_t Size = R.Size() - At;
    const TMetafileDIB DIB = ReadPackedDIB(R.Bytes(At, Size), Size, FBudget);
    TopDown = DIB.TopDown;
    return DIB.Image;
  }

  // Operation, source y, x, height, width, destination y, x, bitmap; without a bitmap
  // one reserved word more and a pattern blit.
  void DIBBitBlt(const TRecordBytes& R) {
    TMetaRecord& M = Add(TMetaOp::Blit);
    if (R.Size() == 6 + 2 * 9) {
      M.Args = {W(R, 8), W(R, 7), W(R, 6), W(R, 5), 0, 0, 0, 0, Rop(R)};
      return;
    }
    const int32_t Height = W(R, 4), Width = W(R, 5);
    M.Args = {W(R, 7), W(R, 6), Width, Height, W(R, 3), W(R, 2), Width, Height, Rop(R)};
    bool TopDown = false;
    M.Image = Packed(R, 6 + 2 * 8, TopDown);
  }

  // Operation, source height, width, y, x, destination height, width, y, x, bitmap;
  // without a bitmap one reserved word more.
  void DIBStretchBlt(const TRecordBytes& R) {
    TMetaRecord& M = Add(TMetaOp::Blit);
    if (R.Size() == 6 + 2 * 11) {
      M.Args = {W(R, 10), W(R, 9), W(R, 8), W(R, 7), 0, 0, 0, 0, Rop(R)};
      return;
    }
    M.Args = {W(R, 9), W(R, 8), W(R, 7), W(R, 6), W(R, 5), W(R, 4), W(R, 3), W(R, 2), Rop(R)};
    bool TopDown = false;
    M.Image = Packed(R, 6 + 2 * 10, TopDown);
  }

  // Operation, colour usage, source height, width, y, x, destination height, width,
  // y, x, bitmap; the source y counts from the bottom of a bottom-up bitmap.
  void StretchDIB(const TRecordBytes& R) {
    if (U(R, 2) != 0) return;
    bool TopDown = false;
    auto Image = Packed(R, 6 + 2 * 11, TopDown);
    const int32_t SourceY = W(R, 5), SourceH = W(R, 3);
    TMetaRecord& M = Add(TMetaOp::Blit);
    M.Args = {W(R, 10), W(R, 9), W(R, 8), W(R, 7), W(R, 6), TopDown ? SourceY : Saturate(int64_t(Image->Height) - SourceY - SourceH),
              W(R, 4), SourceH, Rop(R)};
    M.Image = std::move(Image);
  }

  TMetafileContent& FContent;
  std::vector<bool> FUsed;
  int64_t FBudget = MaxMetafilePixels;
};

}  // namespace

uint16_t PlaceableChecksum(const uint8_t* Header) {
  uint16_t Sum = 0;
  for (int I = 0; I < 10; ++I) Sum ^= static_cast<uint16_t>(Header[2 * I] | Header[2 * I + 1] << 8);
  return Sum;
}

TMetafileContent ReadPlaceableMetafile(const std::vector<uint8_t>& File) {
  if (File.size() < PlaceableSize + MetaHeaderSize) Fail("Invalid metafile header");
  const TRecordBytes H(File.data(), File.size(), 0, 0);
  if (H.U32(0) != PlaceableKey) Fail("Not a placeable metafile");
  if (H.U16(20) != PlaceableChecksum(File.data())) Fail("Invalid placeable metafile checksum");
  TMetafileContent Content;
  Content.Kind = TMetafileKind::Placeable;
  Content.Frame = {H.I16(6), H.I16(8), H.I16(10), H.I16(12)};
  Content.UnitsPerInch = H.U16(14);
  if (Content.Frame.IsEmpty() || Content.UnitsPerInch == 0) Fail("Invalid metafile dimensions");
  // The memory-or-disk type, the header's size in words (9) and the version.
  const uint16_t Type = H.U16(PlaceableSize), Words = H.U16(PlaceableSize + 2);
  if ((Type != 1 && Type != 2) || Words != 9) Fail("Invalid metafile header");

  TWMFParser Parser(Content);
  size_t At = PlaceableSize + MetaHeaderSize;
  while (At < File.size()) {
    if (File.size() - At < 6) Fail("Metafile record at offset " + std::to_string(At) + " is truncated");
    const TRecordBytes Head(File.data() + At, 6, 0, At);
    const uint64_t Size = uint64_t(Head.U32(0)) * 2;
    const uint16_t Function = Head.U16(4);
    if (Size < 6) Fail("Invalid metafile record size at offset " + std::to_string(At));
    if (Size > File.size() - At) Fail("Metafile record at offset " + std::to_string(At) + " is truncated");
    if (Function == META_EOF) break;
    Parser.Record(TRecordBytes(File.data() + At, static_cast<size_t>(Size), Function, At), Function);
    At += static_cast<size_t>(Size);
  }
  return Content;
}

TMetafileContent ReadMetafile(const std::vector<uint8_t>& File) {
  if (File.size() >= 4 && TRecordBytes(File.data(), File.size(), 0, 0).U32(0) == PlaceableKey)
    return ReadPlaceableMetafile(File);
  if (File.size() >= 44 && TRecordBytes(File.data(), File.size(), 0, 0).U32(0) == 1 &&
      TRecordBytes(File.data(), File.size(), 0, 0).U32(40) == 0x464D4520)
    return ReadEnhancedMetafile(File);
  Fail("Not a metafile");
}

}  // namespace graphics
