// AVI files built byte by byte for the tests, and ffmpeg at test time.
#pragma once

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/avi/AVIFormat.h"
#include "platform/gdi/DIB.h"

namespace avitest {

using Bytes = std::vector<uint8_t>;

inline void Put32(Bytes& Out, uint32_t Value) {
  for (int I = 0; I < 4; ++I) Out.push_back(static_cast<uint8_t>(Value >> (8 * I)));
}
inline void PutId(Bytes& Out, const std::string& Id) { Out.insert(Out.end(), Id.begin(), Id.begin() + 4); }
template <typename T>
void PutRecord(Bytes& Out, const T& Record) {
  const auto* P = reinterpret_cast<const uint8_t*>(&Record);
  Out.insert(Out.end(), P, P + sizeof Record);
}
inline void PutChunk(Bytes& Out, const std::string& Id, const Bytes& Data) {
  PutId(Out, Id);
  Put32(Out, static_cast<uint32_t>(Data.size()));
  Out.insert(Out.end(), Data.begin(), Data.end());
  if (Data.size() % 2) Out.push_back(0);
}
inline Bytes List(const std::string& Type, const Bytes& Content) {
  Bytes Out;
  PutId(Out, "LIST");
  Put32(Out, static_cast<uint32_t>(Content.size() + 4));
  PutId(Out, Type);
  Out.insert(Out.end(), Content.begin(), Content.end());
  return Out;
}

// A bitmap information header with its colour table (or masks).
inline Bytes Format(int32_t Width, int32_t Height, uint16_t Bits, uint32_t Compression = gdi::BI_RGB,
                    const std::vector<uint32_t>& Table = {}, uint32_t ColorsUsed = 0) {
  gdi::BITMAPINFOHEADER Header;
  Header.biWidth = Width;
  Header.biHeight = Height;
  Header.biBitCount = Bits;
  Header.biCompression = Compression;
  Header.biClrUsed = ColorsUsed;
  Bytes Out;
  PutRecord(Out, Header);
  for (uint32_t Entry : Table) Put32(Out, Entry);
  return Out;
}

struct TChunk {
  std::string Id;  // "00db", "00dc", "00pc", ...
  Bytes Data;
  uint32_t Flags = avi::AVIIF_KEYFRAME;
};

enum class TIndex { Relative, Absolute, None };

struct TAviSpec {
  Bytes Format;
  std::string Type = "vids";
  uint32_t Scale = 1;
  uint32_t Rate = 10;
  uint32_t Start = 0;
  uint32_t Length = 0;  // as the header says
  std::vector<TChunk> Chunks;
  TIndex Index = TIndex::Relative;
  bool Records = false;  // each chunk in a LIST "rec "
  bool AudioFirst = false;  // an audio stream before the video one
};

inline Bytes StreamList(const std::string& Type, const TAviSpec& Spec, const Bytes& Format) {
  avi::AVIStreamHeader Header;
  std::memcpy(&Header.fccType, Type.data(), 4);
  Header.dwScale = Spec.Scale;
  Header.dwRate = Spec.Rate;
  Header.dwStart = Spec.Start;
  Header.dwLength = Spec.Length;
  Bytes Content;
  PutChunk(Content, "strh", [&] { Bytes B; PutRecord(B, Header); return B; }());
  PutChunk(Content, "strf", Format);
  return List("strl", Content);
}

inline Bytes BuildAvi(const TAviSpec& Spec) {
  Bytes Header;
  PutChunk(Header, "avih", Bytes(56, 0));
  if (Spec.AudioFirst) Header = [&] { Bytes B = Header; auto S = StreamList("auds", Spec, Bytes(18, 0)); B.insert(B.end(), S.begin(), S.end()); return B; }();
  const Bytes Video = StreamList(Spec.Type, Spec, Spec.Format);
  Header.insert(Header.end(), Video.begin(), Video.end());
  Bytes File;
  PutId(File, "RIFF");
  Put32(File, 0);
  PutId(File, "AVI ");
  const Bytes HeaderList = List("hdrl", Header);
  File.insert(File.end(), HeaderList.begin(), HeaderList.end());

  const std::string Number = Spec.AudioFirst ? "01" : "00";
  Bytes Movie;
  Bytes Index;
  const size_t MovieType = File.size() + 8;  // where "movi" will lie
  for (const TChunk& Chunk : Spec.Chunks) {
    const std::string Id = Number + Chunk.Id.substr(2);
    Bytes One;
    PutChunk(One, Id, Chunk.Data);
    if (Spec.Records) One = List("rec ", One);
    const size_t At = Movie.size() + 4 + (Spec.Records ? 12 : 0);
    PutId(Index, Id);
    Put32(Index, Chunk.Flags);
    Put32(Index, static_cast<uint32_t>(Spec.Index == TIndex::Absolute ? MovieType + At : At));
    Put32(Index, static_cast<uint32_t>(Chunk.Data.size()));
    Movie.insert(Movie.end(), One.begin(), One.end());
  }
  const Bytes MovieList = List("movi", Movie);
  File.insert(File.end(), MovieList.begin(), MovieList.end());
  if (Spec.Index != TIndex::None) PutChunk(File, "idx1", Index);
  const uint32_t RiffSize = static_cast<uint32_t>(File.size() - 8);
  std::memcpy(File.data() + 4, &RiffSize, 4);
  return File;
}

inline std::filesystem::path TempDir(const std::string& Name) {
  const auto Dir = std::filesystem::temp_directory_path() /
                   ("animora-avi-" + Name + "-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
  std::filesystem::remove_all(Dir);
  std::filesystem::create_directories(Dir);
  return Dir;
}

inline void SaveFile(const std::filesystem::path& Path, const Bytes& Data) {
  std::ofstream(Path, std::ios::binary).write(reinterpret_cast<const char*>(Data.data()), static_cast<std::streamsize>(Data.size()));
}

inline Bytes LoadFile(const std::filesystem::path& Path) {
  std::ifstream In(Path, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
}

// Standard output of a shell command, and its exit status.
inline std::string RunCommand(const std::string& Command, int* Status = nullptr) {
  std::string Out;
  FILE* Pipe = popen(Command.c_str(), "r");
  if (!Pipe) return Out;
  char Buffer[512];
  while (std::fgets(Buffer, sizeof Buffer, Pipe)) Out += Buffer;
  const int Result = pclose(Pipe);
  if (Status) *Status = WIFEXITED(Result) ? WEXITSTATUS(Result) : -1;
  return Out;
}

// A test video of ffmpeg's: Frames frames of its test pattern in PixelFormat and Codec.
inline std::filesystem::path MakeVideo(const std::filesystem::path& Dir, const std::string& Name, const std::string& Codec,
                                       const std::string& PixelFormat, int Width, int Height, int Rate, int Frames) {
  const auto Path = Dir / (Name + ".avi");
  const std::string Command = "ffmpeg -v error -y -f lavfi -i testsrc=size=" + std::to_string(Width) + "x" +
                              std::to_string(Height) + ":rate=" + std::to_string(Rate) + " -frames:v " +
                              std::to_string(Frames) + " -c:v " + Codec + (PixelFormat.empty() ? "" : " -pix_fmt " + PixelFormat) +
                              " '" + Path.string() + "'";
  int Status = -1;
  RunCommand(Command, &Status);
  EXPECT_EQ(Status, 0) << Command;
  return Path;
}

// Every frame of a video as ffmpeg decodes it: bgr24 rows, top row first.
inline Bytes DecodeWithFFmpeg(const std::filesystem::path& Video) {
  return [&] {
    Bytes Out;
    FILE* Pipe = popen(("ffmpeg -v error -i '" + Video.string() + "' -f rawvideo -pix_fmt bgr24 -").c_str(), "r");
    if (!Pipe) return Out;
    uint8_t Buffer[4096];
    size_t Got;
    while ((Got = std::fread(Buffer, 1, sizeof Buffer, Pipe)) > 0) Out.insert(Out.end(), Buffer, Buffer + Got);
    pclose(Pipe);
    return Out;
  }();
}

}  // namespace avitest
