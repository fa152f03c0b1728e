#include "platform/avi/AVIVideoReader.h"

#include <utility>

namespace avi {

namespace {

PAVIFILE OpenFile(const std::string& FileName, HRESULT& Result) {
  AVIFileInit();
  PAVIFILE File = nullptr;
  Result = AVIFileOpenA(&File, FileName, OF_READ | OF_SHARE_DENY_WRITE);
  return File;
}

PAVIFILE OpenStream(std::unique_ptr<base::TStream> Stream, HRESULT& Result) {
  AVIFileInit();
  PAVIFILE File = nullptr;
  Result = AVIFileOpenStream(&File, std::move(Stream));
  return File;
}

}  // namespace

uint32_t ColorTableBytes(const gdi::BITMAPINFOHEADER& Header) {
  if (Header.biBitCount <= 8) return 4u << Header.biBitCount;
  return (Header.biCompression & 3) == gdi::BI_BITFIELDS ? 12 : 0;
}

TAVIVideoReader::TAVIVideoReader(const std::string& FileName) {
  HRESULT Result = AVIERR_OK;
  PAVIFILE File = OpenFile(FileName, Result);
  Open(File, Result);
}

TAVIVideoReader::TAVIVideoReader(std::unique_ptr<base::TStream> Stream) {
  HRESULT Result = AVIERR_OK;
  PAVIFILE File = OpenStream(std::move(Stream), Result);
  Open(File, Result);
}

TAVIVideoReader::~TAVIVideoReader() { Release(); }

void TAVIVideoReader::Open(PAVIFILE OpenedFile, HRESULT OpenResult) {
  FFile = OpenedFile;
  const auto Fail = [this](const char* Message) {
    Release();
    throw EAVIError(Message);
  };
  if (OpenResult != AVIERR_OK) Fail("Failed to open AVI file");
  if (AVIFileGetStream(FFile, &FStream, streamtypeVIDEO, 0) != AVIERR_OK) Fail("Failed to open AVI stream");
  if (AVIStreamInfo(FStream, &FInfo, sizeof FInfo) != AVIERR_OK) Fail("Failed to get AVI stream info");
  int32_t Size = 0;
  if (AVIStreamReadFormat(FStream, 0, nullptr, &Size) != AVIERR_OK) Fail("Failed to get AVI stream format size");
  FFormat.resize(static_cast<size_t>(Size));
  if (Size > 0 && AVIStreamReadFormat(FStream, 0, FFormat.data(), &Size) != AVIERR_OK)
    Fail("Failed to get AVI stream format");
  if (AVIStreamBeginStreaming(FStream, 0, 0, 1000) != AVIERR_OK) Fail("Failed to start AVI stream");
  FStreaming = true;
  FGetFrame = AVIStreamGetFrameOpen(FStream, nullptr);
  if (!FGetFrame) Fail("Failed to start AVI decompression");
}

void TAVIVideoReader::Release() {
  if (FGetFrame) AVIStreamGetFrameClose(std::exchange(FGetFrame, nullptr));
  if (FStreaming) AVIStreamEndStreaming(FStream);
  FStreaming = false;
  if (FStream) AVIStreamRelease(std::exchange(FStream, nullptr));
  if (FFile) AVIFileRelease(std::exchange(FFile, nullptr));
  AVIFileExit();
}

const gdi::BITMAPINFOHEADER& TAVIVideoReader::Frame(int32_t Position) {
  const gdi::BITMAPINFOHEADER* Packed = AVIStreamGetFrame(FGetFrame, Position);
  if (!Packed) throw EAVIError("Failed to decompress AVI frame");
  return *Packed;
}

void TAVIVideoReader::WriteFrameBMP(int32_t Position, base::TStream& Stream) {
  const gdi::BITMAPINFOHEADER& Packed = Frame(Position);
  const uint32_t PackedSize = sizeof Packed + ColorTableBytes(Packed) + Packed.biSizeImage;
  gdi::BITMAPFILEHEADER Header;
  Header.bfOffBits = sizeof Header + sizeof Packed + ColorTableBytes(Packed);
  Stream.WriteBuffer(&Header, sizeof Header);
  Stream.WriteBuffer(&Packed, PackedSize);
}

}  // namespace avi
