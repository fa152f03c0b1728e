#include "tests/zip/ZipFixture.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>

#include "platform/base/Crc32.h"

namespace ziptest {

namespace {

void Put16(std::vector<uint8_t>& Out, uint32_t Value) {
  Out.push_back(static_cast<uint8_t>(Value));
  Out.push_back(static_cast<uint8_t>(Value >> 8));
}
void Put32(std::vector<uint8_t>& Out, uint32_t Value) {
  Put16(Out, Value & 0xFFFF);
  Put16(Out, Value >> 16);
}

}  // namespace

std::vector<uint8_t> MakeZip(const std::vector<TFixtureEntry>& Entries) {
  std::vector<uint8_t> Out, Central;
  for (const TFixtureEntry& Entry : Entries) {
    const uint32_t Crc = base::Crc32(Entry.Data.data(), Entry.Data.size());
    const uint32_t Offset = static_cast<uint32_t>(Out.size());
    auto Common = [&](std::vector<uint8_t>& To) {
      Put16(To, 10);  // version needed
      Put16(To, Entry.Flags);
      Put16(To, Entry.Method);
      Put16(To, 0);                  // time
      Put16(To, (45 << 9) | (1 << 5) | 1);  // 2025-01-01
      Put32(To, Crc);
      Put32(To, static_cast<uint32_t>(Entry.Compressed.size()));
      Put32(To, static_cast<uint32_t>(Entry.Data.size()));
      Put16(To, static_cast<uint32_t>(Entry.Name.size()));
      Put16(To, 0);  // extra field
    };
    Put32(Out, 0x04034B50);
    Common(Out);
    Out.insert(Out.end(), Entry.Name.begin(), Entry.Name.end());
    Out.insert(Out.end(), Entry.Compressed.begin(), Entry.Compressed.end());

    Put32(Central, 0x02014B50);
    Put16(Central, 0x0314);
    Common(Central);
    Put16(Central, 0);  // comment
    Put16(Central, 0);  // disk
    Put16(Central, 0);  // internal attributes
    Put32(Central, 0644u << 16);
    Put32(Central, Offset);
    Central.insert(Central.end(), Entry.Name.begin(), Entry.Name.end());
  }
  const uint32_t CentralOffset = static_cast<uint32_t>(Out.size());
  Out.insert(Out.end(), Central.begin(), Central.end());
  Put32(Out, 0x06054B50);
  Put16(Out, 0);
  Put16(Out, 0);
  Put16(Out, static_cast<uint32_t>(Entries.size()));
  Put16(Out, static_cast<uint32_t>(Entries.size()));
  Put32(Out, static_cast<uint32_t>(Central.size()));
  Put32(Out, CentralOffset);
  Put16(Out, 0);
  return Out;
}

int RunPeer(const std::string& Command, const std::vector<uint8_t>& Archive) {
  char Name[] = "/tmp/animora_legacy_XXXXXX";
  const int Handle = mkstemp(Name);
  if (Handle < 0) return -1;
  close(Handle);
  std::ofstream(Name, std::ios::binary).write(reinterpret_cast<const char*>(Archive.data()), Archive.size());
  const int Status = std::system((Command + " " + Name + " >/dev/null 2>&1").c_str());
  std::remove(Name);
  return Status;
}

std::vector<uint8_t> SampleData(size_t Size, uint32_t Seed) {
  static const char* const Words[] = {"frame ", "delay ", "palette ", "the ", "colour ", "\n", "animora ",
                                      "disposal ", "loop ", "extension "};
  std::mt19937 Random(Seed);
  std::vector<uint8_t> Out;
  while (Out.size() < Size) {
    const uint32_t Kind = Random() % 16;
    if (Kind < 10) {
      for (const char* P = Words[Random() % 10]; *P; ++P) Out.push_back(static_cast<uint8_t>(*P));
    } else if (Kind < 12) {
      Out.insert(Out.end(), 1 + Random() % 300, static_cast<uint8_t>(Random()));
    } else if (Kind < 14 && Out.size() > 10) {
      // A repeat from anywhere behind, up to 9000 bytes back.
      const size_t Back = 1 + Random() % std::min<size_t>(Out.size(), 9000);
      const size_t Length = 2 + Random() % 400;
      for (size_t I = 0; I < Length; ++I) Out.push_back(Out[Out.size() - Back]);
    } else {
      for (int I = 0; I < 20; ++I) Out.push_back(static_cast<uint8_t>(Random()));
    }
  }
  Out.resize(Size);
  return Out;
}

}  // namespace ziptest
