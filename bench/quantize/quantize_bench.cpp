// Times ReduceBitmapColors (rdQuantize, 256 colours) on true-colour pictures and
// measures the peak signal-to-noise ratio of any reduced picture against its source.
//
//   quantize_bench reduce SOURCE.ppm RUNS   one line per dither kind:
//                                           "none|fs SECONDS PSNR", the least processor
//                                           time of the runs
//   quantize_bench psnr SOURCE.ppm OTHER    the PSNR of OTHER (PPM or PNG as PPM) in dB
//
// Pictures are binary PPM files (P6, maxval 255), which ImageMagick writes.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <limits>
#include <memory>
#include <stdexcept>
#include <string>
#include <ctime>
#include <vector>

#include "gif/ColorReduction.h"
#include "platform/graphics/Bitmap.h"

namespace {

struct Image {
  int Width = 0;
  int Height = 0;
  std::vector<uint8_t> RGB;  // rows from the top, red, green, blue
};

// The next header number of a PPM file, skipping white space and comments.
int HeaderNumber(std::istream& In) {
  int C = In.get();
  while (C == '#' || std::isspace(C)) {
    if (C == '#')
      while (C != '\n' && C != EOF) C = In.get();
    C = In.get();
  }
  int Value = 0;
  if (!std::isdigit(C)) throw std::runtime_error("bad PPM header");
  while (std::isdigit(C)) {
    Value = Value * 10 + (C - '0');
    C = In.get();
  }
  return Value;
}

Image ReadPPM(const std::string& Path) {
  std::ifstream In(Path, std::ios::binary);
  if (!In || In.get() != 'P' || In.get() != '6') throw std::runtime_error(Path + ": not a binary PPM file");
  Image I;
  I.Width = HeaderNumber(In);
  I.Height = HeaderNumber(In);
  if (HeaderNumber(In) != 255) throw std::runtime_error(Path + ": maxval must be 255");
  I.RGB.resize(static_cast<size_t>(I.Width) * static_cast<size_t>(I.Height) * 3);
  In.read(reinterpret_cast<char*>(I.RGB.data()), static_cast<std::streamsize>(I.RGB.size()));
  if (!In) throw std::runtime_error(Path + ": truncated");
  return I;
}

// Processor time of this process: other work on the machine hardly changes it.
double ProcessSeconds() {
  timespec T{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &T);
  return static_cast<double>(T.tv_sec) + static_cast<double>(T.tv_nsec) / 1e9;
}

double PSNR(const Image& A, const std::vector<uint8_t>& B) {
  double Sum = 0;
  for (size_t I = 0; I < A.RGB.size(); ++I) {
    const double D = static_cast<double>(A.RGB[I]) - B[I];
    Sum += D * D;
  }
  const double MSE = Sum / static_cast<double>(A.RGB.size());
  return MSE == 0 ? std::numeric_limits<double>::infinity() : 10 * std::log10(255.0 * 255.0 / MSE);
}

std::unique_ptr<graphics::TBitmap> BitmapOf(const Image& I) {
  auto B = std::make_unique<graphics::TBitmap>();
  B->SetPixelFormat(graphics::pf24bit);
  B->SetWidth(I.Width);
  B->SetHeight(I.Height);
  for (int Y = 0; Y < I.Height; ++Y) {
    uint8_t* Row = B->ScanLine(Y);
    const uint8_t* From = I.RGB.data() + static_cast<size_t>(Y) * I.Width * 3;
    for (int X = 0; X < I.Width; ++X) {
      Row[3 * X] = From[3 * X + 2];
      Row[3 * X + 1] = From[3 * X + 1];
      Row[3 * X + 2] = From[3 * X];
    }
  }
  return B;
}

// The colours of an 8-bit bitmap as red, green, blue rows from the top.
std::vector<uint8_t> ColorsOf(graphics::TBitmap& B) {
  std::vector<gdi::PALETTEENTRY> Palette(256);
  gdi::GetPaletteEntries(B.Palette(), 0, 256, Palette.data());
  std::vector<uint8_t> Result;
  Result.reserve(static_cast<size_t>(B.Width()) * B.Height() * 3);
  for (int Y = 0; Y < B.Height(); ++Y) {
    const uint8_t* Row = B.ScanLine(Y);
    for (int X = 0; X < B.Width(); ++X) {
      const gdi::PALETTEENTRY& E = Palette[Row[X]];
      Result.insert(Result.end(), {E.peRed, E.peGreen, E.peBlue});
    }
  }
  return Result;
}

int Reduce(const std::string& Path, int Runs) {
  const Image Source = ReadPPM(Path);
  const std::unique_ptr<graphics::TBitmap> Original = BitmapOf(Source);
  const struct { const char* Name; gif::TDitherKind Kind; } Kinds[] = {{"none", gif::dkNone},
                                                                      {"fs", gif::dkFloydSteinberg}};
  for (const auto& K : Kinds) {
    double Best = std::numeric_limits<double>::infinity();
    std::unique_ptr<graphics::TBitmap> Result;
    for (int Run = 0; Run < Runs; ++Run) {
      graphics::TBitmap Copy;
      Copy.Assign(Original.get());
      const double Start = ProcessSeconds();
      Result = gif::ReduceBitmapColors(Copy, gif::rdQuantize, K.Kind, 8, nullptr);
      Best = std::min(Best, ProcessSeconds() - Start);
    }
    std::printf("%s %.6f %.3f\n", K.Name, Best, PSNR(Source, ColorsOf(*Result)));
  }
  return 0;
}

int ComparePSNR(const std::string& SourcePath, const std::string& OtherPath) {
  const Image Source = ReadPPM(SourcePath), Other = ReadPPM(OtherPath);
  if (Other.Width != Source.Width || Other.Height != Source.Height) throw std::runtime_error("sizes differ");
  std::printf("%.3f\n", PSNR(Source, Other.RGB));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    const std::vector<std::string> Args(argv + 1, argv + argc);
    if (Args.size() == 3 && Args[0] == "reduce") return Reduce(Args[1], std::max(1, std::atoi(Args[2].c_str())));
    if (Args.size() == 3 && Args[0] == "psnr") return ComparePSNR(Args[1], Args[2]);
    std::fprintf(stderr, "usage: quantize_bench reduce SOURCE.ppm RUNS | psnr SOURCE.ppm OTHER.ppm\n");
    return 2;
  } catch (const std::exception& E) {
    std::fprintf(stderr, "quantize_bench: %s\n", E.what());
    return 1;
  }
}
