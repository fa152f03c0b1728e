// Entries of the older methods extracted through the reader and the extraction engine.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "install/zip/ZipReader.h"
#include "tests/zip/ImplodeEncoder.h"
#include "tests/zip/ReduceEncoder.h"
#include "tests/zip/ShrinkEncoder.h"
#include "tests/zip/ZipFixture.h"

namespace {

namespace fs = std::filesystem;

class LegacyExtract : public testing::Test {
 protected:
  void SetUp() override {
    std::string Made = (fs::temp_directory_path() / "animora-legacy-XXXXXX").string();
    ASSERT_NE(::mkdtemp(Made.data()), nullptr);
    Folder = Made;
  }
  void TearDown() override { fs::remove_all(Folder); }

  // Extracts every entry; returns the extracted count and the names that failed.
  int Extract(const std::vector<ziptest::TFixtureEntry>& Entries, std::vector<std::string>& Failed) {
    const std::vector<uint8_t> Archive = ziptest::MakeZip(Entries);
    const std::string Name = (Folder / "a.zip").string();
    std::ofstream(Name, std::ios::binary).write(reinterpret_cast<const char*>(Archive.data()), Archive.size());
    zip::TZipReader Reader;
    Reader.SetZipName(Name);
    Reader.OpenZip();
    Reader.SetDestDir((Folder / "out").string());
    Reader.SetDoAll(true);
    Reader.SetOverwriteMode(zip::TUZOverwriteMode::Always);
    Reader.OnEntryFailed = [&](base::TObject*, int Index, const std::string&) {
      Failed.push_back(Reader.Entries(Index).FileName());
    };
    return Reader.UnZip();
  }

  std::vector<uint8_t> Read(const std::string& Name) {
    std::ifstream In(Folder / "out" / Name, std::ios::binary);
    return {std::istreambuf_iterator<char>(In), {}};
  }

  fs::path Folder;
};

TEST_F(LegacyExtract, EveryOlderMethodExtracts) {
  const std::vector<uint8_t> Data = ziptest::SampleData(60000, 12);
  std::vector<ziptest::TFixtureEntry> Entries = {{"shrunk", 1, 0, Data, ziptest::Shrink(Data, 100)}};
  for (int Factor = 1; Factor <= 4; ++Factor) {
    Entries.push_back({"reduced" + std::to_string(Factor), static_cast<uint16_t>(Factor + 1), 0, Data,
                       ziptest::Reduce(Data, Factor)});
  }
  for (uint16_t Flags : {0, 2, 4, 6}) {
    Entries.push_back({"imploded" + std::to_string(Flags), 6, Flags, Data,
                       ziptest::Implode(Data, {(Flags & 4) != 0, (Flags & 2) != 0})});
  }
  std::vector<std::string> Failed;
  EXPECT_EQ(Extract(Entries, Failed), static_cast<int>(Entries.size()));
  EXPECT_TRUE(Failed.empty());
  for (const ziptest::TFixtureEntry& Entry : Entries) EXPECT_TRUE(Read(Entry.Name) == Data) << Entry.Name;
}

TEST_F(LegacyExtract, DamagedEntriesFailAndLeaveNoFile) {
  const std::vector<uint8_t> Data = ziptest::SampleData(30000, 13);
  auto Damaged = [](std::vector<uint8_t> Bytes) {
    Bytes.resize(Bytes.size() * 2 / 3);
    return Bytes;
  };
  std::vector<uint8_t> Flipped = ziptest::Shrink(Data);
  Flipped[Flipped.size() / 2] ^= 0x5A;
  const std::vector<ziptest::TFixtureEntry> Entries = {
      {"shrunk", 1, 0, Data, Damaged(ziptest::Shrink(Data))},
      {"flipped", 1, 0, Data, Flipped},
      {"reduced", 3, 0, Data, Damaged(ziptest::Reduce(Data, 2))},
      {"imploded", 6, 4, Data, Damaged(ziptest::Implode(Data, {true, false}))},
      {"good", 6, 0, Data, ziptest::Implode(Data, {false, false})},
  };
  std::vector<std::string> Failed;
  EXPECT_EQ(Extract(Entries, Failed), 1);
  EXPECT_EQ(Failed, (std::vector<std::string>{"shrunk", "flipped", "reduced", "imploded"}));
  for (const char* Name : {"shrunk", "flipped", "reduced", "imploded"}) EXPECT_FALSE(fs::exists(Folder / "out" / Name));
  EXPECT_TRUE(Read("good") == Data);
}

}  // namespace
