#include "platform/gdi/DrawText.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/gdi/LastError.h"
#include "platform/gdi/Paint.h"
#include "platform/gdi/TextRun.h"

namespace gdi {
namespace {

// A line as shown: its text (tabs kept) and where its mnemonics stand.
struct Line {
  std::string Text;
  std::vector<size_t> Mnemonics;  // byte offsets into Text
};

class Layout {
 public:
  Layout(const LOGFONT& Font, GlyphRasterizer& Glyphs, uint32_t Format)
      : Font(Font), Glyphs(Glyphs), Format(Format), TabStop(std::max(Glyphs.Metrics(Font).AveCharWidth * 8, 1)) {}

  // The start of every tab-separated piece of the line and the line's width.
  struct Piece {
    size_t Begin, End;
    int32_t X;
  };
  std::vector<Piece> Pieces(const std::string& Text, int32_t& Width) const {
    std::vector<Piece> Result;
    int32_t X = 0;
    size_t Begin = 0;
    const bool Tabs = (Format & DT_EXPANDTABS) != 0;
    while (true) {
      const size_t End = Tabs ? std::min(Text.find('\t', Begin), Text.size()) : Text.size();
      Result.push_back({Begin, End, X});
      X += Glyphs.Advance(Font, std::string_view(Text).substr(Begin, End - Begin));
      if (End == Text.size()) break;
      X = (X / TabStop + 1) * TabStop;
      Begin = End + 1;
    }
    Width = X;
    return Result;
  }
  int32_t Width(const std::string& Text) const {
    int32_t W = 0;
    Pieces(Text, W);
    return W;
  }

  const LOGFONT& Font;
  GlyphRasterizer& Glyphs;
  const uint32_t Format;
  const int32_t TabStop;
};

// Removes the mnemonic prefixes of one paragraph.
Line WithoutPrefixes(std::string_view Text, bool Prefixes) {
  Line Result;
  for (size_t I = 0; I < Text.size(); ++I) {
    if (Prefixes && Text[I] == '&') {
      if (++I >= Text.size()) break;
      if (Text[I] != '&') Result.Mnemonics.push_back(Result.Text.size());
    }
    Result.Text += Text[I];
  }
  return Result;
}

std::vector<std::string_view> Paragraphs(std::string_view Text, bool Single, std::string& Joined) {
  if (Single) {
    Joined.assign(Text);
    std::replace_if(
        Joined.begin(), Joined.end(), [](char C) { return C == '\r' || C == '\n'; }, ' ');
    return {Joined};
  }
  std::vector<std::string_view> Result;
  size_t Begin = 0;
  for (size_t I = 0; I <= Text.size(); ++I) {
    if (I < Text.size() && Text[I] != '\r' && Text[I] != '\n') continue;
    Result.push_back(Text.substr(Begin, I - Begin));
    if (I + 1 < Text.size() && Text[I] == '\r' && Text[I + 1] == '\n') ++I;
    Begin = I + 1;
  }
  return Result;
}

// Splits a paragraph into lines no wider than Limit, breaking at spaces; the spaces
// at a break are dropped and a line keeps at least one word.
void Wrap(const Layout& Measure, const Line& Paragraph, int32_t Limit, std::vector<Line>& Lines) {
  const std::string& T = Paragraph.Text;
  constexpr size_t None = std::string::npos;
  size_t Start = 0;
  while (true) {
    size_t Fit = None;
    for (size_t Scan = Start;;) {
      const size_t WordStart = T.find_first_not_of(' ', Scan);
      if (WordStart == None) break;
      const size_t WordEnd = std::min(T.find(' ', WordStart), T.size());
      if (Fit != None && Measure.Width(T.substr(Start, WordEnd - Start)) > Limit) break;
      Fit = Scan = WordEnd;
      if (WordEnd == T.size()) break;
    }
    if (Fit == None) Fit = T.size();
    Line Piece;
    Piece.Text = T.substr(Start, Fit - Start);
    for (size_t M : Paragraph.Mnemonics)
      if (M >= Start && M < Fit) Piece.Mnemonics.push_back(M - Start);
    Lines.push_back(std::move(Piece));
    Start = T.find_first_not_of(' ', Fit);
    if (Start == None) return;
  }
}

}  // namespace

int DrawText(HDC DC, std::string_view Text, base::TRect* Rect, uint32_t Format) {
  GlyphRasterizer* Glyphs = CurrentGlyphRasterizer();
  if (DC == nullptr || Rect == nullptr || Glyphs == nullptr) {
    SetLastError(DC == nullptr ? ERROR_INVALID_HANDLE : ERROR_INVALID_PARAMETER);
    return 0;
  }
  const bool Measuring = (Format & DT_CALCRECT) != 0;
  Surface Target;
  if (!Measuring && !DrawingTarget(DC, Target)) return 0;
  const LOGFONT& Font = DC->Font->Description;
  const FontMetrics Metrics = Glyphs->Metrics(Font);
  const int32_t LineHeight = Metrics.Height() + ((Format & DT_EXTERNALLEADING) ? Metrics.ExternalLeading : 0);
  const Layout Measure(Font, *Glyphs, Format);

  std::vector<Line> Lines;
  std::string Joined;
  const bool Single = (Format & DT_SINGLELINE) != 0;
  if (!Text.empty()) {
    for (std::string_view P : Paragraphs(Text, Single, Joined)) {
      Line Plain = WithoutPrefixes(P, (Format & DT_NOPREFIX) == 0);
      if ((Format & DT_WORDBREAK) && !Single)
        Wrap(Measure, Plain, Rect->Width(), Lines);
      else
        Lines.push_back(std::move(Plain));
    }
  }
  std::vector<int32_t> Widths;
  int32_t Widest = 0;
  for (const Line& L : Lines) {
    Widths.push_back(Measure.Width(L.Text));
    Widest = std::max(Widest, Widths.back());
  }
  const int32_t Height = LineHeight * static_cast<int32_t>(Lines.size());
  if (Measuring) {
    if (!(Format & DT_WORDBREAK) || Single || Widest > Rect->Width()) Rect->Right = Rect->Left + Widest;
    Rect->Bottom = Rect->Top + Height;
    return Height;
  }
  int32_t Y = Rect->Top;
  if (Format & DT_BOTTOM)
    Y = Rect->Bottom - Height;
  else if (Format & DT_VCENTER)
    Y = Rect->Top + (Rect->Height() - Height) / 2;
  TextRun Run;
  Run.Opaque = DC->BkMode == OPAQUE;
  Run.Clip = (Format & DT_NOCLIP) ? nullptr : Rect;
  for (size_t I = 0; I < Lines.size(); ++I, Y += LineHeight) {
    int32_t X = Rect->Left;
    if (Format & DT_RIGHT)
      X = Rect->Right - Widths[I];
    else if (Format & DT_CENTER)
      X = Rect->Left + (Rect->Width() - Widths[I]) / 2;
    int32_t Ignored = 0;
    for (const Layout::Piece& P : Measure.Pieces(Lines[I].Text, Ignored)) {
      const std::string_view Piece = std::string_view(Lines[I].Text).substr(P.Begin, P.End - P.Begin);
      Run.Text = Piece;
      Run.X = X + P.X;
      Run.Y = Y;
      Run.Underline.reset();
      PaintTextRun(*DC, *Glyphs, Run);
      for (size_t M : Lines[I].Mnemonics) {
        if (M < P.Begin || M >= P.End) continue;
        const size_t Offset = M - P.Begin;
        const size_t Length = CodePoints(Piece.substr(Offset)).front().size();
        TextRun Mark = Run;
        Mark.Text = {};
        Mark.Opaque = false;
        Mark.Underline = {Glyphs->Advance(Font, Piece.substr(0, Offset)),
                          Glyphs->Advance(Font, Piece.substr(0, Offset + Length))};
        PaintTextRun(*DC, *Glyphs, Mark);
      }
    }
  }
  return Height;
}

}  // namespace gdi
