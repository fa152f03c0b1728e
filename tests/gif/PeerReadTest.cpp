// Our reading of the peer corpus against giflib's: frame by frame geometry,
// interlace, local table, graphic control values and pixels, in the library and in
// what tools/gifinfo prints.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "GiflibPeer.h"
#include "gif/GIFImage.h"
#include "platform/base/Crc32.h"

using namespace gif;
using giftest::GiflibImage;
using giftest::PeerCorpus;

namespace {

const PeerCorpus& Corpus() {
  const PeerCorpus& Result = PeerCorpus::Get();
  if (!Result.Error.empty()) ADD_FAILURE() << Result.Error;
  return Result;
}

// Standard output of a command, and whether it exited with 0.
std::pair<std::string, bool> RunCommand(const std::string& Command) {
  std::unique_ptr<FILE, int (*)(FILE*)> Pipe(popen(Command.c_str(), "r"), pclose);
  std::string Output;
  std::array<char, 4096> Buffer;
  size_t Got;
  while ((Got = fread(Buffer.data(), 1, Buffer.size(), Pipe.get())) > 0) Output.append(Buffer.data(), Got);
  return {Output, pclose(Pipe.release()) == 0};
}

std::vector<std::string> LinesOf(const std::string& Text) {
  std::vector<std::string> Lines;
  std::istringstream In(Text);
  for (std::string Line; std::getline(In, Line);) Lines.push_back(Line);
  return Lines;
}

}  // namespace

TEST(PeerRead, FramesMatchGiflib) {
  const PeerCorpus& Files = Corpus();
  ASSERT_FALSE(Files.Files.empty());
  for (const auto& File : Files.Files) {
    SCOPED_TRACE(File.filename().string());
    const GiflibImage Peer = GiflibImage::FromFile(File.string());
    ASSERT_EQ(Peer.Error(), "");
    TGIFImage Image;
    std::vector<std::string> Warnings;
    Image.OnGIFWarning = [&](base::TObject*, TGIFSeverity, const std::string& Message) { Warnings.push_back(Message); };
    ASSERT_NO_THROW(Image.LoadFromFile(File.string()));
    EXPECT_EQ(Warnings, std::vector<std::string>{});

    EXPECT_EQ(Image.Width(), Peer.File().SWidth);
    EXPECT_EQ(Image.Height(), Peer.File().SHeight);
    EXPECT_EQ(Image.Header().BackgroundColorIndex(), Peer.File().SBackGroundColor);
    const ColorMapObject* Global = Peer.File().SColorMap;
    ASSERT_EQ(Image.GetGlobalColorMap()->Count(), Global != nullptr ? Global->ColorCount : 0);
    for (int C = 0; C < Image.GetGlobalColorMap()->Count(); ++C) {
      const GifColorType& Color = Global->Colors[C];
      EXPECT_EQ(Image.GetGlobalColorMap()->Colors(C), static_cast<base::TColor>(Color.Red | Color.Green << 8 | Color.Blue << 16));
    }

    // Extension blocks after the last image make one more frame, without pixels.
    const int Trailing = Peer.File().ExtensionBlockCount > 0 ? 1 : 0;
    ASSERT_EQ(Image.Frames().Count(), Peer.Count() + Trailing);
    if (Trailing != 0) {
      EXPECT_TRUE(Image.Frames().SubImages(Peer.Count())->Empty());
    }
    for (int I = 0; I < Peer.Count(); ++I) {
      SCOPED_TRACE("frame " + std::to_string(I));
      const TGIFSubImage& Frame = *Image.Frames().SubImages(I);
      const GifImageDesc& Desc = Peer.Frame(I).ImageDesc;
      EXPECT_EQ(Frame.Left(), Desc.Left);
      EXPECT_EQ(Frame.Top(), Desc.Top);
      EXPECT_EQ(Frame.Width(), Desc.Width);
      EXPECT_EQ(Frame.Height(), Desc.Height);
      EXPECT_EQ(Frame.Interlaced(), Desc.Interlace);
      EXPECT_EQ(Frame.ColorMap()->Count(), Desc.ColorMap != nullptr ? Desc.ColorMap->ColorCount : 0);

      GraphicsControlBlock Control;
      const TGIFGraphicControlExtension* Ours = Frame.GraphicControlExtension();
      ASSERT_EQ(Ours != nullptr, Peer.Control(I, Control));
      if (Ours != nullptr) {
        EXPECT_EQ(Ours->Delay(), Control.DelayTime);
        EXPECT_EQ(static_cast<int>(Ours->Disposal()), Control.DisposalMode);
        EXPECT_EQ(Ours->UserInput(), Control.UserInputFlag);
        EXPECT_EQ(Frame.Transparent() ? Ours->TransparentColor() : -1, Control.TransparentColor);
      }
      const std::vector<uint8_t> Pixels = Peer.DisplayPixels(I);
      ASSERT_EQ(Frame.PixelBytes(), static_cast<int32_t>(Pixels.size()));
      EXPECT_EQ(base::Crc32(Frame.Data(), Pixels.size()), base::Crc32(Pixels.data(), Pixels.size()));
    }
  }
}

TEST(PeerRead, GifinfoPrintsWhatGiflibReads) {
  const PeerCorpus& Files = Corpus();
  ASSERT_FALSE(Files.Files.empty());
  for (const auto& File : Files.Files) {
    SCOPED_TRACE(File.filename().string());
    const GiflibImage Peer = GiflibImage::FromFile(File.string());
    ASSERT_EQ(Peer.Error(), "");
    const auto [Output, Succeeded] = RunCommand(std::string("'") + GIFINFO + "' '" + File.string() + "' 2>/dev/null");
    EXPECT_TRUE(Succeeded);
    EXPECT_EQ(LinesOf(Output), Peer.InfoLines());
  }
}

// The corpus must hold what the comparisons are meant to cover; a peer tool that
// stopped making some kind of file would otherwise go unnoticed.
TEST(PeerRead, CorpusCoversTheLayouts) {
  const PeerCorpus& Files = Corpus();
  bool Interlaced = false, Local = false, Transparent = false, Single = false, Many = false, Odd = false;
  bool Disposal[4] = {}, Bits[9] = {}, Shipped = false;
  for (const auto& File : Files.Files) {
    const GiflibImage Peer = GiflibImage::FromFile(File.string());
    if (!Peer.Error().empty()) continue;
    Shipped = Shipped || PeerCorpus::Shipped(File);
    Single = Single || Peer.Count() == 1;
    Many = Many || Peer.Count() >= 30;
    for (int I = 0; I < Peer.Count(); ++I) {
      const GifImageDesc& Desc = Peer.Frame(I).ImageDesc;
      Interlaced = Interlaced || Desc.Interlace;
      Local = Local || Desc.ColorMap != nullptr;
      Odd = Odd || (Desc.Width % 2 == 1 && Desc.Height % 2 == 1 && Desc.Width > 1);
      const ColorMapObject* Table = Desc.ColorMap != nullptr ? Desc.ColorMap : Peer.File().SColorMap;
      if (Table != nullptr) Bits[Table->BitsPerPixel] = true;
      GraphicsControlBlock Control;
      if (Peer.Control(I, Control)) {
        Transparent = Transparent || Control.TransparentColor >= 0;
        if (Control.DisposalMode < 4) Disposal[Control.DisposalMode] = true;
      }
    }
  }
  EXPECT_TRUE(Interlaced);
  EXPECT_TRUE(Local);
  EXPECT_TRUE(Transparent);
  EXPECT_TRUE(Single);
  EXPECT_TRUE(Many);
  EXPECT_TRUE(Odd);
  EXPECT_TRUE(Shipped) << "no GIF files of installed packages found under /usr/share";
  for (int Mode = 0; Mode < 4; ++Mode) EXPECT_TRUE(Disposal[Mode]) << "disposal " << Mode;
  for (int Bit = 1; Bit <= 8; ++Bit) EXPECT_TRUE(Bits[Bit]) << Bit << " bits per pixel";
}
