#include "platform/gdi/Transfer.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/gdi/DC.h"
#include "platform/gdi/RasterOp.h"

namespace gdi {
namespace {

// Source range [First, Last) of one destination column or row.
struct Span {
  int32_t First;
  int32_t Last;
};

struct AxisMap {
  int32_t Start = 0;  // first destination coordinate inside the clip
  std::vector<Span> Spans;
  bool Straight = false;      // no scaling and no mirroring: Spans[i].First = Spans[0].First + i
  int32_t Low = 0, High = 0;  // source coordinates used
};

AxisMap MapAxis(int64_t DstPos, int64_t DstExtent, int32_t DstLimit, int64_t SrcPos, int64_t SrcExtent,
                int32_t SrcLimit, bool Merge) {
  AxisMap Map;
  const bool Mirror = (DstExtent < 0) != (SrcExtent < 0);
  const int64_t Left = DstExtent < 0 ? DstPos + DstExtent + 1 : DstPos;
  const int64_t Count = DstExtent < 0 ? -DstExtent : DstExtent;
  const int64_t SrcLeft = SrcExtent < 0 ? SrcPos + SrcExtent + 1 : SrcPos;
  const int64_t SrcCount = SrcExtent < 0 ? -SrcExtent : SrcExtent;
  Map.Straight = Count == SrcCount && !Mirror;
  const int64_t From = std::max<int64_t>(0, -Left);
  const int64_t To = std::min<int64_t>(Count, DstLimit - Left);
  for (int64_t I = From; I < To; ++I) {
    int64_t Lo = I * SrcCount / Count;
    int64_t Hi = Merge && SrcCount > Count ? (I + 1) * SrcCount / Count : Lo + 1;
    if (Mirror) std::tie(Lo, Hi) = std::pair(SrcCount - Hi, SrcCount - Lo);
    const int64_t First = std::max<int64_t>(SrcLeft + Lo, 0);
    const int64_t Last = std::min<int64_t>(SrcLeft + Hi, SrcLimit);
    if (First >= Last) {
      if (!Map.Spans.empty()) break;
      continue;
    }
    if (Map.Spans.empty()) Map.Start = static_cast<int32_t>(Left + I);
    Map.Spans.push_back({static_cast<int32_t>(First), static_cast<int32_t>(Last)});
  }
  if (!Map.Spans.empty()) {
    Map.Low = std::min(Map.Spans.front().First, Map.Spans.back().First);
    Map.High = std::max(Map.Spans.front().Last, Map.Spans.back().Last);
  }
  return Map;
}

// Destination columns or rows only, for operations without a source.
AxisMap ClipAxis(int64_t Pos, int64_t Extent, int32_t Limit) {
  const int64_t Left = Extent < 0 ? Pos + Extent + 1 : Pos;
  const int64_t Count = Extent < 0 ? -Extent : Extent;
  AxisMap Map;
  Map.Straight = true;
  const int64_t From = std::max<int64_t>(Left, 0);
  const int64_t To = std::min<int64_t>(Left + Count, Limit);
  for (int64_t X = From; X < To; ++X) Map.Spans.push_back({static_cast<int32_t>(X), static_cast<int32_t>(X + 1)});
  Map.Start = static_cast<int32_t>(From);
  return Map;
}

void ApplyRop(uint8_t Index, uint32_t P, const uint32_t* S, const uint32_t* D, uint32_t* Out, int32_t Count) {
  switch (Index) {
    case 0xCC: std::memcpy(Out, S, sizeof(uint32_t) * static_cast<size_t>(Count)); break;
    case 0xAA: std::memcpy(Out, D, sizeof(uint32_t) * static_cast<size_t>(Count)); break;
    case 0xF0: std::fill_n(Out, Count, P); break;
    case 0x88:
      for (int32_t I = 0; I < Count; ++I) Out[I] = S[I] & D[I];
      break;
    case 0xEE:
      for (int32_t I = 0; I < Count; ++I) Out[I] = S[I] | D[I];
      break;
    case 0x66:
      for (int32_t I = 0; I < Count; ++I) Out[I] = S[I] ^ D[I];
      break;
    case 0x33:
      for (int32_t I = 0; I < Count; ++I) Out[I] = ~S[I];
      break;
    case 0x55:
      for (int32_t I = 0; I < Count; ++I) Out[I] = ~D[I];
      break;
    default:
      for (int32_t I = 0; I < Count; ++I) Out[I] = Rop3(Index, P, S[I], D[I]);
      break;
  }
}

// An operation ready to run: BLACKNESS and WHITENESS become a fill with the
// destination's black or white, so that indexed bitmaps get those colours.
struct PreparedRop {
  uint8_t Index;
  uint32_t Pattern;
};

PreparedRop Prepare(uint8_t Index, const Surface& Destination, XRGB Pattern) {
  if (Index == 0x00) return {0xF0, ValueOfColor(Destination, 0x000000)};
  if (Index == 0xFF) return {0xF0, ValueOfColor(Destination, 0xFFFFFF)};
  return {Index, RopUsesPattern(Index) ? ValueOfColor(Destination, Pattern) : 0};
}

class Engine {
 public:
  explicit Engine(const TransferRequest& Request);
  void Run();

 private:
  bool CopyRowsDirectly();
  void SourceRow(int32_t Row, uint32_t* Values);
  void AveragedRow(const Span& Rows, uint32_t* Values);

  const TransferRequest& R;
  const Surface& Dst;
  PreparedRop Fore;
  PreparedRop Back;
  bool UsesSource;
  bool UsesDestination;
  AxisMap Columns;
  AxisMap Rows;
  bool Merge = false;
  bool Average = false;
  std::unique_ptr<ColorTranslation> Colors;
  std::vector<uint32_t> Line, Scratch;
};

Engine::Engine(const TransferRequest& Request)
    : R(Request),
      Dst(*Request.Destination),
      Fore(Prepare(Request.Foreground, Dst, Request.Pattern)),
      Back(Prepare(Request.Mask ? Request.Background : Request.Foreground, Dst, Request.Pattern)) {
  UsesSource = (RopUsesSource(Fore.Index) || RopUsesSource(Back.Index)) && R.Source != nullptr;
  UsesDestination = RopUsesDestination(Fore.Index) || RopUsesDestination(Back.Index);
  if (!UsesSource) {
    Columns = ClipAxis(R.DstX, R.DstWidth, Dst.Width);
    Rows = ClipAxis(R.DstY, R.DstHeight, Dst.Height);
    return;
  }
  const Surface& Src = *R.Source;
  const bool Shrinks = std::abs(int64_t{R.SrcWidth}) > std::abs(int64_t{R.DstWidth}) ||
                       std::abs(int64_t{R.SrcHeight}) > std::abs(int64_t{R.DstHeight});
  Average = R.StretchMode == HALFTONE && Shrinks && !Dst.Monochrome;
  Merge = (R.StretchMode == BLACKONWHITE || R.StretchMode == WHITEONBLACK) && Shrinks;
  Columns = MapAxis(R.DstX, R.DstWidth, Dst.Width, R.SrcX, R.SrcWidth, Src.Width, Merge || Average);
  Rows = MapAxis(R.DstY, R.DstHeight, Dst.Height, R.SrcY, R.SrcHeight, Src.Height, Merge || Average);
  Colors = std::make_unique<ColorTranslation>(Src, Dst, R.Rules);
}

// Same-size SRCCOPY where rows can be copied without per-pixel operations.
bool Engine::CopyRowsDirectly() {
  if (R.Mask != nullptr || Fore.Index != 0xCC || !Columns.Straight || !Rows.Straight) return false;
  const Surface& Src = *R.Source;
  const int32_t N = static_cast<int32_t>(Columns.Spans.size());
  const int32_t SrcX = Columns.Spans.front().First;
  const int32_t X = Columns.Start;
  const uint32_t* Table = Colors->ByteTable();
  const bool Bytes = Colors->Identity() && Src.BitCount >= 8;
  const bool Expand = Table != nullptr && Dst.BitCount >= 24;
  const bool Repack = Colors->SameRGB();
  if (!Bytes && !Expand && !Repack) return false;
  const int SrcStep = Src.BitCount / 8;
  const int DstStep = Dst.BitCount / 8;
  for (size_t K = 0; K < Rows.Spans.size(); ++K) {
    const uint8_t* From = Src.Row(Rows.Spans[K].First) + int64_t{SrcX} * SrcStep;
    uint8_t* To = Dst.Row(Rows.Start + static_cast<int32_t>(K)) + int64_t{X} * DstStep;
    if (Bytes) {
      std::memmove(To, From, static_cast<size_t>(N) * static_cast<size_t>(SrcStep));
      continue;
    }
    for (int32_t I = 0; I < N; ++I, From += SrcStep, To += DstStep) {
      const uint32_t V = Expand ? Table[*From] : From[0] | (uint32_t{From[1]} << 8) | (uint32_t{From[2]} << 16);
      To[0] = static_cast<uint8_t>(V);
      To[1] = static_cast<uint8_t>(V >> 8);
      To[2] = static_cast<uint8_t>(V >> 16);
      if (DstStep == 4) To[3] = Expand ? static_cast<uint8_t>(V >> 24) : 0;
    }
  }
  return true;
}

// Source values for every destination column of one destination row, merged with AND
// or OR over the source pixels that fall together when shrinking.
void Engine::SourceRow(int32_t Row, uint32_t* Values) {
  const Surface& Src = *R.Source;
  const Span& Lines = Rows.Spans[static_cast<size_t>(Row)];
  const int32_t N = static_cast<int32_t>(Columns.Spans.size());
  const int32_t Width = Columns.High - Columns.Low;
  const bool Or = R.StretchMode == WHITEONBLACK;
  if (Columns.Straight && !Merge) {
    ReadPixels(Src, Columns.Low, Lines.First, N, Values);
    return;
  }
  Line.resize(static_cast<size_t>(Width));
  ReadPixels(Src, Columns.Low, Lines.First, Width, Line.data());
  if (Merge) {
    Scratch.resize(static_cast<size_t>(Width));
    for (int32_t Y = Lines.First + 1; Y < Lines.Last; ++Y) {
      ReadPixels(Src, Columns.Low, Y, Width, Scratch.data());
      for (int32_t I = 0; I < Width; ++I) Line[I] = Or ? Line[I] | Scratch[I] : Line[I] & Scratch[I];
    }
  }
  for (int32_t I = 0; I < N; ++I) {
    const Span& C = Columns.Spans[static_cast<size_t>(I)];
    uint32_t V = Line[C.First - Columns.Low];
    if (Merge)
      for (int32_t X = C.First + 1; X < C.Last; ++X) V = Or ? V | Line[X - Columns.Low] : V & Line[X - Columns.Low];
    Values[I] = V;
  }
}

// Destination values of the averaged colours of the source pixels that fall together.
void Engine::AveragedRow(const Span& Lines, uint32_t* Values) {
  const Surface& Src = *R.Source;
  const int32_t N = static_cast<int32_t>(Columns.Spans.size());
  const int32_t Width = Columns.High - Columns.Low;
  std::vector<uint64_t> Sums(static_cast<size_t>(Width) * 3, 0);
  Line.resize(static_cast<size_t>(Width));
  std::vector<XRGB> Shown(static_cast<size_t>(std::max(Width, N)));
  for (int32_t Y = Lines.First; Y < Lines.Last; ++Y) {
    ReadPixels(Src, Columns.Low, Y, Width, Line.data());
    Colors->SourceColors(Line.data(), Shown.data(), Width);
    for (int32_t I = 0; I < Width; ++I) {
      Sums[3 * I] += Shown[I] >> 16;
      Sums[3 * I + 1] += (Shown[I] >> 8) & 0xFF;
      Sums[3 * I + 2] += Shown[I] & 0xFF;
    }
  }
  const uint64_t Height = static_cast<uint64_t>(Lines.Last - Lines.First);
  for (int32_t I = 0; I < N; ++I) {
    const Span& C = Columns.Spans[static_cast<size_t>(I)];
    uint64_t Red = 0, Green = 0, Blue = 0;
    for (int32_t X = C.First - Columns.Low; X < C.Last - Columns.Low; ++X) {
      Red += Sums[3 * X];
      Green += Sums[3 * X + 1];
      Blue += Sums[3 * X + 2];
    }
    const uint64_t Count = Height * static_cast<uint64_t>(C.Last - C.First);
    Shown[I] =
        MakeXRGB(static_cast<uint32_t>((Red + Count / 2) / Count), static_cast<uint32_t>((Green + Count / 2) / Count),
                 static_cast<uint32_t>((Blue + Count / 2) / Count));
  }
  Colors->Encode(Shown.data(), Values, N);
}

void Engine::Run() {
  if (Columns.Spans.empty() || Rows.Spans.empty()) return;
  if (UsesSource && CopyRowsDirectly()) return;
  const int32_t N = static_cast<int32_t>(Columns.Spans.size());
  const int32_t X = Columns.Start;
  std::vector<uint32_t> S(static_cast<size_t>(N)), D(static_cast<size_t>(N)), Out(static_cast<size_t>(N));
  std::vector<uint32_t> Masked, Bits;
  if (R.Mask != nullptr) {
    Masked.resize(static_cast<size_t>(N));
    Bits.resize(static_cast<size_t>(N));
  }
  const int32_t MaskLeft = R.MaskX + (X - R.DstX);
  for (size_t K = 0; K < Rows.Spans.size(); ++K) {
    const int32_t Y = Rows.Start + static_cast<int32_t>(K);
    if (UsesSource) {
      if (Average) {
        AveragedRow(Rows.Spans[K], S.data());
      } else {
        SourceRow(static_cast<int32_t>(K), S.data());
        Colors->Convert(S.data(), S.data(), N);
      }
    }
    if (UsesDestination) ReadPixels(Dst, X, Y, N, D.data());
    ApplyRop(Fore.Index, Fore.Pattern, S.data(), D.data(), Out.data(), N);
    if (R.Mask != nullptr) {
      ApplyRop(Back.Index, Back.Pattern, S.data(), D.data(), Masked.data(), N);
      ReadPixels(*R.Mask, MaskLeft, R.MaskY + (Y - R.DstY), N, Bits.data());
      for (int32_t I = 0; I < N; ++I)
        if (Bits[I] == 0) Out[I] = Masked[I];
    }
    WritePixels(Dst, X, Y, N, Out.data());
  }
}

}  // namespace

void Transfer(const TransferRequest& Request) {
  if (Request.Destination == nullptr || Request.DstWidth == 0 || Request.DstHeight == 0) return;
  if (Request.Source != nullptr && (Request.SrcWidth == 0 || Request.SrcHeight == 0)) return;
  Engine(Request).Run();
}

}  // namespace gdi
