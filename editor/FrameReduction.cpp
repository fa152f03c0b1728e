#include "editor/FrameReduction.h"

#include <array>
#include <limits>
#include <vector>

#include "gif/ColorReduction.h"
#include "gif/GIFImage.h"

namespace editor {

namespace {

int Distance(const uint8_t* A, const uint8_t* B) {
  int Sum = 0;
  for (int C = 0; C < 3; ++C) Sum += (A[C] - B[C]) * (A[C] - B[C]);
  return Sum;
}

// An index of Frame's table that no opaque pixel uses: a new entry, or the least
// used one, whose pixels move to the nearest other entry.
uint8_t FreeIndex(gif::TGIFSubImage& Frame, const std::vector<bool>& Hidden) {
  gif::TGIFColorMap& Table = *Frame.ColorMap();
  if (Table.Count() < 256) return static_cast<uint8_t>(Table.Add(gif::GIFLibraryDefaults().TransparentFill));
  std::array<int64_t, 256> Uses{};
  uint8_t* Pixels = Frame.Data();
  for (int32_t I = 0; I < Frame.PixelBytes(); ++I)
    if (!Hidden[static_cast<size_t>(I)]) ++Uses[Pixels[I]];
  int Least = 0;
  for (int E = 1; E < 256; ++E)
    if (Uses[static_cast<size_t>(E)] < Uses[static_cast<size_t>(Least)]) Least = E;
  int Nearest = Least == 0 ? 1 : 0, Best = std::numeric_limits<int>::max();
  for (int E = 0; E < 256; ++E) {
    const int D = Distance(Table.Data() + E * 3, Table.Data() + Least * 3);
    if (E != Least && D < Best) {
      Best = D;
      Nearest = E;
    }
  }
  for (int32_t I = 0; I < Frame.PixelBytes(); ++I)
    if (Pixels[I] == Least) Pixels[I] = static_cast<uint8_t>(Nearest);
  return static_cast<uint8_t>(Least);
}

}  // namespace

void ReduceFrameColors(gif::TGIFImage& Project, gif::TGIFSubImage& Frame) {
  graphics::TBitmap* Bitmap = Frame.GetBitmap();
  if (Bitmap == nullptr) return;
  std::vector<bool> Hidden;
  gif::TGIFGraphicControlExtension* Control = Frame.Transparent() ? Frame.GraphicControlExtension() : nullptr;
  if (Control != nullptr)
    for (int32_t I = 0; I < Frame.PixelBytes(); ++I) Hidden.push_back(Frame.Data()[I] == Control->TransparentColor());
  std::unique_ptr<graphics::TBitmap> Reduced =
      gif::ReduceBitmapColors(*Bitmap, Project.ReductionMethod(), Project.DitherKind(), Project.QuantizeBits(), nullptr);
  Frame.SetBitmap(Reduced.get());
  if (Control == nullptr || static_cast<size_t>(Frame.PixelBytes()) != Hidden.size()) return;
  const uint8_t Index = FreeIndex(Frame, Hidden);
  for (int32_t I = 0; I < Frame.PixelBytes(); ++I)
    if (Hidden[static_cast<size_t>(I)]) Frame.Data()[I] = Index;
  // The extension stays the frame's through SetBitmap; the new pixels only cleared its flag.
  gif::TGIFGraphicControlExtension* Kept = Frame.GraphicControlExtension();
  if (Kept == nullptr) return;
  Kept->SetTransparent(true);
  Kept->SetTransparentColor(Index);
  Frame.ReleaseBitmap();
}

}  // namespace editor
