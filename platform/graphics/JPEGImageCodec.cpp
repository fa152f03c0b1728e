#include "platform/graphics/JPEGImageCodec.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

extern "C" {
#include <jerror.h>
#include <jpeglib.h>
}

#include "platform/base/Exceptions.h"

namespace graphics {

namespace {

// Legitimate progressive files have a few dozen scans; crafted ones with thousands
// make decoding take minutes.
constexpr int MaxScans = 1000;

// libjpeg reports failures through error_exit, which must not return. It jumps back to
// the setjmp in Decode or Encode; the frames in between are libjpeg's and the
// callbacks below, none of which holds an object with a destructor.
struct TErrorManager {
  jpeg_error_mgr Manager;  // first, so libjpeg's pointer is ours
  std::jmp_buf Jump;
  char Message[JMSG_LENGTH_MAX];
};

[[noreturn]] void Jump(TErrorManager* Error) { std::longjmp(Error->Jump, 1); }

[[noreturn]] void ErrorExit(j_common_ptr Info) {
  auto* Error = reinterpret_cast<TErrorManager*>(Info->err);
  Error->Manager.format_message(Info, Error->Message);
  Jump(Error);
}

// Warnings (corrupt data that decoding gets over) are not printed.
void OutputMessage(j_common_ptr) {}

void InitError(TErrorManager& Error) {
  jpeg_std_error(&Error.Manager);
  Error.Manager.error_exit = ErrorExit;
  Error.Manager.output_message = OutputMessage;
  Error.Message[0] = '\0';
}

[[noreturn]] void Fail(const char* Message) {
  throw base::EInvalidGraphic(std::string("Invalid JPEG data: ") + Message);
}

// A source over bytes in memory; running out inserts an end-of-image marker, so a
// truncated file decodes as far as it goes.
void InitSource(j_decompress_ptr) {}

boolean FillInput(j_decompress_ptr Info) {
  static const JOCTET EndOfImage[2] = {0xFF, JPEG_EOI};
  WARNMS(Info, JWRN_JPEG_EOF);
  Info->src->next_input_byte = EndOfImage;
  Info->src->bytes_in_buffer = 2;
  return TRUE;
}

void SkipInput(j_decompress_ptr Info, long Count) {
  if (Count <= 0) return;
  while (static_cast<size_t>(Count) > Info->src->bytes_in_buffer) {
    Count -= static_cast<long>(Info->src->bytes_in_buffer);
    FillInput(Info);
  }
  Info->src->next_input_byte += Count;
  Info->src->bytes_in_buffer -= static_cast<size_t>(Count);
}

void TermSource(j_decompress_ptr) {}

void ScanLimit(j_common_ptr Info) {
  auto* Decompress = reinterpret_cast<j_decompress_ptr>(Info);
  if (Decompress->input_scan_number <= MaxScans) return;
  auto* Error = reinterpret_cast<TErrorManager*>(Info->err);
  std::snprintf(Error->Message, sizeof Error->Message, "more than %d scans", MaxScans);
  Jump(Error);
}

struct TDecompressGuard {
  jpeg_decompress_struct* Info;
  ~TDecompressGuard() { jpeg_destroy_decompress(Info); }
};

uint8_t Clamp255(int Value) { return static_cast<uint8_t>(Value < 0 ? 0 : Value > 255 ? 255 : Value); }

// One decoded row (as libjpeg gives it) into a bottom-up image row.
void StoreRow(const jpeg_decompress_struct& Info, const JSAMPLE* Source, uint8_t* Dest) {
  const JDIMENSION Width = Info.output_width;
  switch (Info.out_color_space) {
    case JCS_GRAYSCALE:
      std::memcpy(Dest, Source, Width);
      break;
    case JCS_CMYK:
      // Adobe's files store the inks inverted; plain CMYK files do not.
      for (JDIMENSION X = 0; X < Width; ++X, Source += 4, Dest += 3) {
        int C = Source[0], M = Source[1], Y = Source[2], K = Source[3];
        if (!Info.saw_Adobe_marker) C = 255 - C, M = 255 - M, Y = 255 - Y, K = 255 - K;
        Dest[0] = Clamp255(Y * K / 255);
        Dest[1] = Clamp255(M * K / 255);
        Dest[2] = Clamp255(C * K / 255);
      }
      break;
    default:
      for (JDIMENSION X = 0; X < Width; ++X, Source += 3, Dest += 3) {
        Dest[0] = Source[2];
        Dest[1] = Source[1];
        Dest[2] = Source[0];
      }
      break;
  }
}

// False with Error.Message set when libjpeg fails; Image is then incomplete.
bool Decode(const std::vector<uint8_t>& Data, const TJPEGReadOptions& Options, TDIBImage& Image,
            TErrorManager& Error) {
  jpeg_decompress_struct Info;
  jpeg_source_mgr Source;
  jpeg_progress_mgr Progress;
  Info.err = &Error.Manager;
  jpeg_create_decompress(&Info);
  TDecompressGuard Guard{&Info};
  if (setjmp(Error.Jump) != 0) return false;

  Source.init_source = InitSource;
  Source.fill_input_buffer = FillInput;
  Source.skip_input_data = SkipInput;
  Source.resync_to_restart = jpeg_resync_to_restart;
  Source.term_source = TermSource;
  Source.next_input_byte = Data.data();
  Source.bytes_in_buffer = Data.size();
  Info.src = &Source;
  Progress.progress_monitor = ScanLimit;
  Info.progress = &Progress;

  jpeg_read_header(&Info, TRUE);
  if (int64_t(Info.image_width) * Info.image_height > Options.MaxPixels) {
    std::snprintf(Error.Message, sizeof Error.Message, "the image of %u x %u pixels is too large",
                  Info.image_width, Info.image_height);
    return false;
  }
  switch (Info.jpeg_color_space) {
    case JCS_GRAYSCALE: Info.out_color_space = JCS_GRAYSCALE; break;
    case JCS_CMYK:
    case JCS_YCCK: Info.out_color_space = JCS_CMYK; break;
    default: Info.out_color_space = JCS_RGB; break;
  }
  Info.do_block_smoothing = Options.Smoothing ? TRUE : FALSE;
  jpeg_start_decompress(&Info);

  const bool Gray = Info.out_color_space == JCS_GRAYSCALE;
  Image.Width = static_cast<int32_t>(Info.output_width);
  Image.Height = static_cast<int32_t>(Info.output_height);
  Image.BitCount = Gray ? 8 : 24;
  const size_t RowBytes = static_cast<size_t>(Image.RowBytes());
  Image.Bits.assign(RowBytes * Image.Height, 0);
  JSAMPARRAY Row = (*Info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&Info), JPOOL_IMAGE,
                                               Info.output_width * Info.output_components, 1);
  while (Info.output_scanline < Info.output_height) {
    const JDIMENSION Y = Info.output_scanline;
    if (jpeg_read_scanlines(&Info, Row, 1) != 1) break;
    StoreRow(Info, Row[0], Image.Bits.data() + (Image.Height - 1 - Y) * RowBytes);
  }
  jpeg_finish_decompress(&Info);
  return true;
}

// A destination growing a byte vector. Growth that fails is carried out of libjpeg as
// an error, with the exception kept for the caller.
struct TDestination {
  jpeg_destination_mgr Manager;  // first, so libjpeg's pointer is ours
  std::vector<uint8_t>* Bytes;
  std::exception_ptr Failure;
};

constexpr size_t DestinationChunk = 64 * 1024;

bool Grow(TDestination* Dest) {
  try {
    const size_t Used = Dest->Bytes->size();
    Dest->Bytes->resize(Used + DestinationChunk);
    Dest->Manager.next_output_byte = Dest->Bytes->data() + Used;
    Dest->Manager.free_in_buffer = DestinationChunk;
    return true;
  } catch (...) {
    Dest->Failure = std::current_exception();
    return false;
  }
}

void InitDestination(j_compress_ptr Info) {
  auto* Dest = reinterpret_cast<TDestination*>(Info->dest);
  if (!Grow(Dest)) ERREXIT(Info, JERR_OUT_OF_MEMORY);
}

boolean EmptyOutput(j_compress_ptr Info) {
  // libjpeg calls this with the whole chunk full; the next one goes after it.
  auto* Dest = reinterpret_cast<TDestination*>(Info->dest);
  if (!Grow(Dest)) ERREXIT(Info, JERR_OUT_OF_MEMORY);
  return TRUE;
}

void TermDestination(j_compress_ptr Info) {
  auto* Dest = reinterpret_cast<TDestination*>(Info->dest);
  Dest->Bytes->resize(Dest->Bytes->size() - Dest->Manager.free_in_buffer);
}

struct TCompressGuard {
  jpeg_compress_struct* Info;
  ~TCompressGuard() { jpeg_destroy_compress(Info); }
};

bool Encode(const TDIBImage& Image, int Quality, bool Grayscale, TDestination& Dest, TErrorManager& Error) {
  jpeg_compress_struct Info;
  Info.err = &Error.Manager;
  jpeg_create_compress(&Info);
  TCompressGuard Guard{&Info};
  if (setjmp(Error.Jump) != 0) return false;

  Info.dest = &Dest.Manager;
  Info.image_width = static_cast<JDIMENSION>(Image.Width);
  Info.image_height = static_cast<JDIMENSION>(Image.Height);
  Info.input_components = 3;
  Info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&Info);
  if (Grayscale) jpeg_set_colorspace(&Info, JCS_GRAYSCALE);
  jpeg_set_quality(&Info, Quality, TRUE);
  jpeg_start_compress(&Info, TRUE);

  const size_t RowBytes = static_cast<size_t>(Image.RowBytes());
  JSAMPARRAY Row = (*Info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&Info), JPOOL_IMAGE,
                                               Info.image_width * 3, 1);
  while (Info.next_scanline < Info.image_height) {
    const uint8_t* Source = Image.Bits.data() + (Image.Height - 1 - Info.next_scanline) * RowBytes;
    for (JDIMENSION X = 0; X < Info.image_width; ++X) {
      Row[0][3 * X] = Source[3 * X + 2];
      Row[0][3 * X + 1] = Source[3 * X + 1];
      Row[0][3 * X + 2] = Source[3 * X];
    }
    jpeg_write_scanlines(&Info, Row, 1);
  }
  jpeg_finish_compress(&Info);
  return true;
}

}  // namespace

TDIBImage ReadJPEG(base::TStream& Stream, const TJPEGReadOptions& Options) {
  const int64_t Count = Stream.Size() - Stream.Position();
  std::vector<uint8_t> Data(static_cast<size_t>(Count > 0 ? Count : 0));
  Stream.ReadBuffer(Data.data(), static_cast<int64_t>(Data.size()));
  TErrorManager Error;
  InitError(Error);
  TDIBImage Image;
  if (!Decode(Data, Options, Image, Error)) Fail(Error.Message);
  if (Image.BitCount == 8)
    for (int I = 0; I < 256; ++I) {
      const auto Level = static_cast<uint8_t>(I);
      Image.Colors.push_back({Level, Level, Level, 0});
    }
  return Image;
}

std::vector<uint8_t> EncodeJPEG(const TDIBImage& Image, int Quality, bool Grayscale) {
  if (Image.BitCount != 24 || Image.Width < 1 || Image.Height < 1 || Image.Width > JPEG_MAX_DIMENSION ||
      Image.Height > JPEG_MAX_DIMENSION || static_cast<int64_t>(Image.Bits.size()) < Image.RowBytes() * Image.Height)
    throw base::EInvalidGraphicOperation("A JPEG image is written from 24-bit pixels of 1 to 65500 per side");
  std::vector<uint8_t> Bytes;
  TDestination Dest{{}, &Bytes, nullptr};
  Dest.Manager.init_destination = InitDestination;
  Dest.Manager.empty_output_buffer = EmptyOutput;
  Dest.Manager.term_destination = TermDestination;
  TErrorManager Error;
  InitError(Error);
  if (!Encode(Image, Quality, Grayscale, Dest, Error)) {
    if (Dest.Failure) std::rethrow_exception(Dest.Failure);
    throw base::EInvalidGraphicOperation(std::string("JPEG encoding failed: ") + Error.Message);
  }
  return Bytes;
}

}  // namespace graphics
