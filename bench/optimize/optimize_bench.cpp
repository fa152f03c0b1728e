// optimize_bench GIFSICLE FILE...: our optimisers against gifsicle on the same files in
// one run. Ours, in process from the file's bytes to the written bytes: the crop of
// frames to what changes, TGIFImage::Optimize with its four picture-keeping steps, the
// two together, and MergeColorTables. gifsicle: -O1, -O2, -O3 and --colors 256, file
// to file. Prints each output's size in KiB and the best time of three runs in ms, and
// checks that our lossless results show what the original shows. First, the crop of
// an animation of tiny frames on a large logical screen, in a process of its own, for
// its time and peak memory. The last line gives our total size and time (crop and
// Optimize together) over gifsicle -O3's and -O1's.
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "gif/FrameSizeOptimizer.h"
#include "gif/GIFImage.h"
#include "gif/ScreenCompositor.h"
#include "platform/base/Stream.h"

extern char** environ;

namespace {

using Bytes = std::vector<uint8_t>;
using Clock = std::chrono::steady_clock;
constexpr int Runs = 3;

Bytes ReadFile(const std::string& Name) {
  std::ifstream In(Name, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(In), {});
}

std::unique_ptr<gif::TGIFImage> Load(const Bytes& Data) {
  base::TMemoryStream Stream;
  Stream.WriteBuffer(Data.data(), static_cast<int64_t>(Data.size()));
  Stream.SetPosition(0);
  auto Image = std::make_unique<gif::TGIFImage>();
  Image->LoadFromStream(Stream);
  return Image;
}

Bytes Save(gif::TGIFImage& Image) {
  base::TMemoryStream Stream;
  Image.SaveToStream(Stream);
  Bytes Out(static_cast<size_t>(Stream.Size()));
  Stream.SetPosition(0);
  Stream.ReadBuffer(Out.data(), static_cast<int64_t>(Out.size()));
  return Out;
}

struct TResult {
  size_t Size = 0;
  double Seconds = 1e30;
  bool Same = true;
};

// Loads, optimises and writes; the best time of the runs.
TResult Ours(const Bytes& Data, const std::function<void(gif::TGIFImage&)>& Pass, bool Check) {
  TResult Result;
  Bytes Out;
  for (int Run = 0; Run < Runs; ++Run) {
    const auto Start = Clock::now();
    auto Image = Load(Data);
    Pass(*Image);
    Out = Save(*Image);
    Result.Seconds = std::min(Result.Seconds, std::chrono::duration<double>(Clock::now() - Start).count());
  }
  Result.Size = Out.size();
  if (Check) Result.Same = gif::Timeline(*Load(Out)) == gif::Timeline(*Load(Data));
  return Result;
}

TResult Peer(const std::string& Gifsicle, const std::vector<std::string>& Options, const std::string& File,
             const std::string& Output) {
  TResult Result;
  std::vector<std::string> Words = {Gifsicle, "--no-warnings"};
  Words.insert(Words.end(), Options.begin(), Options.end());
  Words.insert(Words.end(), {File, "-o", Output});
  std::vector<char*> Argv;
  for (std::string& Word : Words) Argv.push_back(Word.data());
  Argv.push_back(nullptr);
  for (int Run = 0; Run < Runs; ++Run) {
    const auto Start = Clock::now();
    pid_t Child = 0;
    int Status = 0;
    if (posix_spawn(&Child, Gifsicle.c_str(), nullptr, nullptr, Argv.data(), environ) != 0 ||
        waitpid(Child, &Status, 0) < 0 || !WIFEXITED(Status) || WEXITSTATUS(Status) != 0) {
      std::fprintf(stderr, "gifsicle failed on %s\n", File.c_str());
      std::exit(1);
    }
    Result.Seconds = std::min(Result.Seconds, std::chrono::duration<double>(Clock::now() - Start).count());
  }
  Result.Size = ReadFile(Output).size();
  return Result;
}

void Crop(gif::TGIFImage& Image) { gif::OptimizeFrameSize(Image); }

// 100 frames of 2 x 1 pixels spread over an 8192 x 8192 screen, with every disposal.
Bytes TinyFramesOnALargeScreen() {
  gif::TGIFImage Image;
  Image.Header().SetScreenWidth(8192);
  Image.Header().SetScreenHeight(8192);
  for (base::TColor Color : {0x000000, 0xFFFFFF, 0x0000FF, 0x00FF00}) Image.GetGlobalColorMap()->Add(Color);
  for (int I = 0; I < 100; ++I) {
    auto Frame = std::make_unique<gif::TGIFSubImage>(&Image);
    Frame->SetBounds(static_cast<uint16_t>(I * 81 % 8190), static_cast<uint16_t>(I * 81), 2, 1);
    Frame->AllocatePixels();
    Frame->Data()[0] = static_cast<uint8_t>(I % 4);
    Frame->Data()[1] = static_cast<uint8_t>((I + 1) % 4);
    auto Control = std::make_unique<gif::TGIFGraphicControlExtension>(Frame.get());
    Control->SetDelay(5);
    Control->SetDisposal(static_cast<gif::TFrameDisposal>(I % 4));
    Frame->Extensions()->Add(std::move(Control));
    Image.Frames().Add(std::move(Frame));
  }
  return Save(Image);
}

// The crop of that file from its bytes to the written bytes, in a child process:
// wall time and the child's peak resident memory.
void CropTinyFramesOnALargeScreen() {
  const Bytes Data = TinyFramesOnALargeScreen();
  const auto Start = Clock::now();
  const pid_t Child = fork();
  if (Child == 0) {
    auto Image = Load(Data);
    Crop(*Image);
    Save(*Image);
    _exit(0);
  }
  int Status = 0;
  rusage Usage{};
  if (Child < 0 || wait4(Child, &Status, 0, &Usage) < 0 || !WIFEXITED(Status) || WEXITSTATUS(Status) != 0) {
    std::fprintf(stderr, "the large-screen crop failed\n");
    std::exit(1);
  }
  const double Seconds = std::chrono::duration<double>(Clock::now() - Start).count();
  std::printf("crop of %.1f KiB: 8192 x 8192 screen, 100 frames of 2 x 1: %.1f ms, peak %.1f MiB\n",
              Data.size() / 1024.0, Seconds * 1000, Usage.ru_maxrss / 1024.0);
}
void Pass(gif::TGIFImage& Image) {
  Image.Optimize(gif::ofCrop | gif::ofMerge | gif::ofCleanup | gif::ofColorTables, gif::rdNone, gif::dkNone, 8);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: optimize_bench GIFSICLE FILE...\n");
    return 2;
  }
  const std::string Gifsicle = argv[1];
  const std::string Scratch = "/tmp/optimize_bench_" + std::to_string(getpid()) + ".gif";
  CropTinyFramesOnALargeScreen();
  const char* Columns[] = {"crop", "Optimize", "both", "merge", "-O1", "-O2", "-O3", "--colors 256"};
  std::printf("%-28s %9s", "file (KiB, ms)", "original");
  for (const char* Column : Columns) std::printf(" %16s", Column);
  std::printf("\n");
  std::vector<TResult> Totals(std::size(Columns));
  size_t Original = 0;
  bool AllSame = true;
  for (int I = 2; I < argc; ++I) {
    const std::string File = argv[I];
    const Bytes Data = ReadFile(File);
    Original += Data.size();
    const std::vector<TResult> Row = {
        Ours(Data, Crop, true),
        Ours(Data, Pass, true),
        Ours(Data, [](gif::TGIFImage& Image) { Crop(Image); Pass(Image); }, true),
        Ours(Data, [](gif::TGIFImage& Image) { Image.MergeColorTables(); }, false),
        Peer(Gifsicle, {"-O1"}, File, Scratch),
        Peer(Gifsicle, {"-O2"}, File, Scratch),
        Peer(Gifsicle, {"-O3"}, File, Scratch),
        Peer(Gifsicle, {"--colors", "256"}, File, Scratch),
    };
    const std::string Name = File.substr(File.find_last_of('/') + 1);
    std::printf("%-28s %9.1f", Name.c_str(), Data.size() / 1024.0);
    for (size_t C = 0; C < Row.size(); ++C) {
      std::printf(" %8.1f %6.1f%s", Row[C].Size / 1024.0, Row[C].Seconds * 1000, Row[C].Same ? " " : "!");
      Totals[C].Size += Row[C].Size;
      Totals[C].Seconds = (Totals[C].Seconds >= 1e30 ? 0 : Totals[C].Seconds) + Row[C].Seconds;
      AllSame = AllSame && Row[C].Same;
    }
    std::printf("\n");
  }
  std::remove(Scratch.c_str());
  std::printf("%-28s %9.1f", "total", Original / 1024.0);
  for (const TResult& Total : Totals) std::printf(" %8.1f %6.1f ", Total.Size / 1024.0, Total.Seconds * 1000);
  std::printf("\n%s\n", AllSame ? "our crop and Optimize results show what the originals show"
                                : "! marks results that do not show what the original shows");
  const TResult& Both = Totals[2];
  const TResult& O1 = Totals[4];
  const TResult& O3 = Totals[6];
  std::printf("ours (crop + Optimize) / gifsicle -O3: size %.3f, time %.3f; / gifsicle -O1: size %.3f, time %.3f\n",
              double(Both.Size) / double(O3.Size), Both.Seconds / O3.Seconds, double(Both.Size) / double(O1.Size),
              Both.Seconds / O1.Seconds);
  return AllSame ? 0 : 1;
}
