#include "tests/install/ArchiveFixture.h"

#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace installtest {

namespace fs = std::filesystem;

namespace {

uint32_t Little(const std::string& Data, size_t At, int Bytes) {
  uint32_t Value = 0;
  for (int I = Bytes - 1; I >= 0; --I) Value = Value << 8 | static_cast<uint8_t>(Data.at(At + I));
  return Value;
}

std::string FileText(const std::string& Name) {
  std::ifstream In(Name, std::ios::binary);
  return {std::istreambuf_iterator<char>(In), {}};
}

}  // namespace

TArchiveFiles EditorFiles() {
  std::string Library;
  uint32_t Seed = 1;
  // Text-like and compressible, several output chunks long.
  for (int I = 0; I < 300000; ++I) {
    Seed = Seed * 1103515245u + 12345u;
    Library += static_cast<char>('a' + (Seed >> 16) % 8);
  }
  return {
      {"Animora", "#!/bin/sh\necho Animora\n"},
      {"Animora.png", std::string("\x89PNG\r\n\x1a\n", 8) + "icon"},
      {"libPlexor.so", Library},
      {"Help/index.htm", "<html><body><h1>Animora</h1><p>" + std::string(2000, 'x') + "</p></body></html>\n"},
      {"Image/Marble.bmp", std::string("BM") + std::string(512, '\x7f')},
  };
}

void MakeArchive(const std::string& Archive, const TArchiveFiles& Files, TArchiveMaker Maker) {
  QTemporaryDir Staging;
  const fs::path Root = Staging.path().toStdString();
  for (const auto& [Name, Data] : Files) {
    fs::create_directories((Root / Name).parent_path());
    std::ofstream(Root / Name, std::ios::binary) << Data;
  }
  fs::create_directories(fs::path(Archive).parent_path());
  fs::remove(Archive);
  std::string Names;
  for (const auto& Entry : fs::directory_iterator(Root)) Names += " '" + Entry.path().filename().string() + "'";
  const std::string Command = "cd '" + Root.string() + "' && " +
                              (Maker == TArchiveMaker::OurWriter ? std::string(ZIPTOOL_PATH) + " create '" + Archive + "' --level 9"
                                                                 : "zip -q -r -X '" + Archive + "'") +
                              Names + " >/dev/null";
  if (std::system(Command.c_str()) != 0) throw std::runtime_error("zip failed: " + Command);
}

void CorruptEntryData(const std::string& Archive, const std::string& Name) {
  std::string Data = FileText(Archive);
  for (size_t At = 0; At + 30 <= Data.size() && Little(Data, At, 4) == 0x04034b50;) {
    const uint32_t Compressed = Little(Data, At + 18, 4);
    const size_t NameLength = Little(Data, At + 26, 2);
    const size_t ExtraLength = Little(Data, At + 28, 2);
    const size_t Start = At + 30 + NameLength + ExtraLength;
    if (Data.substr(At + 30, NameLength) == Name) {
      for (size_t I = Start + Compressed / 2; I < Start + Compressed / 2 + 4 && I < Start + Compressed; ++I)
        Data[I] = static_cast<char>(~Data[I]);
      std::ofstream(Archive, std::ios::binary | std::ios::trunc) << Data;
      return;
    }
    At = Start + Compressed;
  }
  throw std::runtime_error("no entry " + Name + " in " + Archive);
}

}  // namespace installtest
