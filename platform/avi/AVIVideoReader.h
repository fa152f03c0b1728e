// The first video stream of an AVI file, opened for decoding frame by frame through the
// AVI file service. Each step that fails raises EAVIError with its own text, after the
// steps before it are undone; the destructor undoes them all in reverse order.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/avi/AVIFile.h"
#include "platform/avi/AVIReader.h"

namespace avi {

class TAVIVideoReader {
 public:
  explicit TAVIVideoReader(const std::string& FileName);
  explicit TAVIVideoReader(std::unique_ptr<base::TStream> Stream);
  ~TAVIVideoReader();
  TAVIVideoReader(const TAVIVideoReader&) = delete;
  TAVIVideoReader& operator=(const TAVIVideoReader&) = delete;

  const AVISTREAMINFOA& Info() const { return FInfo; }
  // The stream's format: a bitmap information header and its colour table.
  const std::vector<uint8_t>& Format() const { return FFormat; }
  // Frames lie at the positions Start() to Start() + Length() - 1.
  int32_t Start() const { return static_cast<int32_t>(FInfo.dwStart); }
  int32_t Length() const { return static_cast<int32_t>(FInfo.dwLength); }

  // The packed DIB at Position; "Failed to decompress AVI frame" when there is none.
  const gdi::BITMAPINFOHEADER& Frame(int32_t Position);
  // Whether the frame at Position shows the picture of the position before it.
  bool Repeats(int32_t Position) { return AVIStreamFrameRepeats(FGetFrame, Position); }
  // That frame as a BMP file: a 14-byte file header in front of the packed DIB.
  void WriteFrameBMP(int32_t Position, base::TStream& Stream);

 private:
  void Open(PAVIFILE OpenedFile, HRESULT OpenResult);
  void Release();

  PAVIFILE FFile = nullptr;
  PAVISTREAM FStream = nullptr;
  bool FStreaming = false;
  PGETFRAME FGetFrame = nullptr;
  AVISTREAMINFOA FInfo;
  std::vector<uint8_t> FFormat;
};

// The bytes of colour table or masks a packed DIB of Header holds between the header
// and its rows, as a BMP file of it does.
uint32_t ColorTableBytes(const gdi::BITMAPINFOHEADER& Header);

}  // namespace avi
