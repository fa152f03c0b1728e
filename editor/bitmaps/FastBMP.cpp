#include "editor/bitmaps/FastBMP.h"

namespace editor {

TFastBMP::TFastBMP() : TFastRGB(24) {}

void TFastBMP::LoadFromFile(const std::string& FileName) { TakePixels(ReadFile(FileName)); }

std::unique_ptr<TFastRGB> TFastBMP::NewLike() const { return std::make_unique<TFastBMP>(); }

}  // namespace editor
