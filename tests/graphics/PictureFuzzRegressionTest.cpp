// Replays every input that once crashed, hung or exhausted a picture reader's fuzz
// harness (tests/data/fuzz/jpeg, ico and metafile): each must be refused with
// EInvalidGraphic or read (and, for metafiles, played) soundly.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "fuzz/MetafilePlayCheck.h"
#include "platform/base/Exceptions.h"
#include "platform/base/Stream.h"
#include "platform/graphics/IconCodec.h"
#include "platform/graphics/JPEGImageCodec.h"
#include "tests/graphics/PictureTestSupport.h"

using picturetest::Bytes;

namespace {

void ReadJPEG(const Bytes& File) {
  base::TMemoryStream Stream(File);
  graphics::ReadJPEG(Stream, {.MaxPixels = int64_t(1) << 20});
}

void ReadIcon(const Bytes& File) {
  for (const graphics::TIconEntry& Entry : graphics::ReadIconDirectory(File)) {
    try {
      graphics::DecodeIconImage(File, Entry);
    } catch (const base::EInvalidGraphic&) {
    }
  }
}

void PlayMetafile(const Bytes& File) {
  const graphics::TMetafileContent Content = graphics::ReadMetafile(File);
  for (const uint16_t Bits : {8, 24}) fuzzcheck::PlayOntoSmallBitmap(Content, Bits);
}

struct TKind {
  const char* Folder;
  std::function<void(const Bytes&)> Replay;
};

TEST(PictureFuzzRegressions, EveryKeptInputIsHandledSoundly) {
  const char* Data = std::getenv("ANIMORA_TEST_DATA");
  ASSERT_NE(Data, nullptr) << "ANIMORA_TEST_DATA is not set";
  const TKind Kinds[] = {{"jpeg", ReadJPEG}, {"ico", ReadIcon}, {"metafile", PlayMetafile}};
  bool Any = false;
  for (const TKind& K : Kinds) {
    const std::filesystem::path Folder = std::filesystem::path(Data) / "fuzz" / K.Folder;
    if (!std::filesystem::is_directory(Folder)) continue;
    for (const auto& Entry : std::filesystem::directory_iterator(Folder)) {
      if (!Entry.is_regular_file()) continue;
      Any = true;
      SCOPED_TRACE(Entry.path().string());
      try {
        K.Replay(picturetest::LoadFile(Entry.path()));
      } catch (const base::EInvalidGraphic&) {
      }
    }
  }
  if (!Any) GTEST_SKIP() << "no kept inputs under " << Data << "/fuzz";
}

}  // namespace
