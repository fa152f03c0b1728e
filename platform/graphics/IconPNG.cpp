#include "platform/graphics/IconPNG.h"

#include <png.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/base/Exceptions.h"

namespace graphics {

namespace {

struct TReader {
  const uint8_t* Data;
  size_t Left;
  char Message[128];
};

void Error(png_structp Png, png_const_charp Message) {
  auto* Reader = static_cast<TReader*>(png_get_error_ptr(Png));
  std::strncpy(Reader->Message, Message, sizeof Reader->Message - 1);
  png_longjmp(Png, 1);
}

void Warning(png_structp, png_const_charp) {}

void Read(png_structp Png, png_bytep Out, size_t Count) {
  auto* Reader = static_cast<TReader*>(png_get_io_ptr(Png));
  if (Count > Reader->Left) png_error(Png, "PNG data is truncated");
  std::memcpy(Out, Reader->Data, Count);
  Reader->Data += Count;
  Reader->Left -= Count;
}

struct TReadGuard {
  png_structp Png;
  png_infop Info;
  ~TReadGuard() { png_destroy_read_struct(&Png, Info != nullptr ? &Info : nullptr, nullptr); }
};

// False with Reader.Message set when libpng fails.
bool Decode(TReader& Reader, int MaxSide, TDIBImage& Image, std::vector<png_bytep>& Rows) {
  TReadGuard Guard{png_create_read_struct(PNG_LIBPNG_VER_STRING, &Reader, Error, Warning), nullptr};
  if (Guard.Png == nullptr) throw base::EOutOfMemory("Out of memory");
  Guard.Info = png_create_info_struct(Guard.Png);
  if (Guard.Info == nullptr) throw base::EOutOfMemory("Out of memory");
  png_structp Png = Guard.Png;
  png_infop Info = Guard.Info;
  if (setjmp(png_jmpbuf(Png)) != 0) return false;

  png_set_read_fn(Png, &Reader, Read);
  png_set_user_limits(Png, static_cast<png_uint_32>(MaxSide), static_cast<png_uint_32>(MaxSide));
  png_read_info(Png, Info);
  png_set_expand(Png);
  png_set_strip_16(Png);
  png_set_gray_to_rgb(Png);
  png_set_add_alpha(Png, 0xFF, PNG_FILLER_AFTER);
  png_set_bgr(Png);
  png_set_interlace_handling(Png);
  png_read_update_info(Png, Info);

  Image.Width = static_cast<int32_t>(png_get_image_width(Png, Info));
  Image.Height = static_cast<int32_t>(png_get_image_height(Png, Info));
  Image.BitCount = 32;
  const size_t RowBytes = static_cast<size_t>(Image.RowBytes());
  if (png_get_rowbytes(Png, Info) != RowBytes) png_error(Png, "unexpected PNG row layout");
  Image.Bits.resize(RowBytes * Image.Height);
  Rows.resize(Image.Height);
  for (int32_t Y = 0; Y < Image.Height; ++Y) Rows[Y] = Image.Bits.data() + (Image.Height - 1 - Y) * RowBytes;
  png_read_image(Png, Rows.data());
  png_read_end(Png, nullptr);
  return true;
}

}  // namespace

TDIBImage DecodePNG(const uint8_t* Data, size_t Size, int MaxSide) {
  TReader Reader{Data, Size, {}};
  TDIBImage Image;
  std::vector<png_bytep> Rows;
  if (!Decode(Reader, MaxSide, Image, Rows))
    throw base::EInvalidGraphic(std::string("Invalid PNG image in icon: ") + Reader.Message);
  return Image;
}

}  // namespace graphics
