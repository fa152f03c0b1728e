// What loading arbitrary bytes into a TGIFImage must give, shared by the fuzz harness
// and the test that replays the inputs it once failed on: either a GIFException with
// the stream back at its start, or an image whose frames are consistent and copy
// unchanged.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "gif/GIFImage.h"
#include "platform/base/Stream.h"

namespace fuzzcheck {

inline std::string CheckFrame(const gif::TGIFSubImage& Frame) {
  const int64_t Pixels = static_cast<int64_t>(Frame.Width()) * Frame.Height();
  if (Frame.Data() != nullptr && Frame.PixelBytes() != Pixels) return "pixel count differs from the size";
  if ((Frame.Data() == nullptr) != (Frame.PixelBytes() == 0)) return "pixel buffer and count disagree";
  const gif::TGIFGraphicControlExtension* Control = Frame.GraphicControlExtension();
  if (Control != nullptr && Frame.Extensions()->IndexOf(Control) < 0) return "graphic control not in the frame's list";
  for (int I = 0; I < Frame.Extensions()->Count(); ++I)
    if (Frame.Extensions()->Extensions(I)->SubImage() != &Frame) return "extension of another frame";
  return {};
}

inline std::string CheckSameFrame(const gif::TGIFSubImage& A, const gif::TGIFSubImage& B) {
  if (A.BoundsRect() != B.BoundsRect() || A.PackedFields() != B.PackedFields()) return "copied descriptor differs";
  if (A.PixelBytes() != B.PixelBytes() ||
      (A.PixelBytes() > 0 && std::memcmp(A.Data(), B.Data(), static_cast<size_t>(A.PixelBytes())) != 0))
    return "copied pixels differ";
  if (A.Extensions()->Count() != B.Extensions()->Count()) return "copied extensions differ";
  if (A.ColorMap()->Count() != B.ColorMap()->Count()) return "copied local table differs";
  return {};
}

// Empty when the bytes were handled soundly; else what went wrong.
inline std::string CheckGIFRead(const uint8_t* Data, size_t Size) {
  base::TMemoryStream Stream(std::vector<uint8_t>(Data, Data + Size));
  gif::TGIFImage Image;
  Image.OnGIFWarning = [](base::TObject*, gif::TGIFSeverity, const std::string&) {};
  try {
    Image.LoadFromStream(Stream);
  } catch (const gif::GIFException&) {
    return Stream.Position() == 0 ? std::string() : "failed load left the stream moved";
  } catch (const std::exception& E) {
    return std::string("unexpected exception: ") + E.what();
  }
  for (int I = 0; I < Image.Frames().Count(); ++I) {
    const std::string Failure = CheckFrame(*Image.Frames().SubImages(I));
    if (!Failure.empty()) return Failure;
  }
  gif::TGIFImage Copy;
  try {
    Copy.Assign(&Image);
  } catch (const std::exception& E) {
    return std::string("copy failed: ") + E.what();
  }
  if (Copy.Frames().Count() != Image.Frames().Count()) return "copy has another frame count";
  for (int I = 0; I < Image.Frames().Count(); ++I) {
    // An empty frame is copied without its descriptor.
    if (Image.Frames().SubImages(I)->Empty()) continue;
    const std::string Failure = CheckSameFrame(*Image.Frames().SubImages(I), *Copy.Frames().SubImages(I));
    if (!Failure.empty()) return Failure;
  }
  return {};
}

}  // namespace fuzzcheck
