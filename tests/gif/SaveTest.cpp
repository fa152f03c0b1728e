#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include <unistd.h>

#include "EncoderTestSupport.h"
#include "gif/GIFImage.h"
#include "platform/base/Exceptions.h"

using namespace enctest;
using namespace gif;

namespace {

TGIFSubImage* AddFrame(TGIFImage& Image, uint16_t Left, uint16_t Top, uint16_t Width, uint16_t Height,
                       int LocalCount, TPattern Pattern, unsigned Seed) {
  auto* Frame = new TGIFSubImage(&Image);
  Frame->SetBounds(Left, Top, Width, Height);
  if (LocalCount > 0) FillTable(*Frame->ColorMap(), LocalCount, Seed);
  const int Colors = LocalCount > 0 ? LocalCount : Image.GetGlobalColorMap()->Count();
  const Bytes Pixels = MakePixels(Pattern, Colors, Width, Height, Seed);
  std::copy(Pixels.begin(), Pixels.end(), Frame->Data());
  Image.AddFrame(Frame);
  return Frame;
}

template <class Extension>
Extension* AddExtension(TGIFSubImage* Frame) {
  auto* Item = new Extension(Frame);
  Frame->Extensions()->Add(std::unique_ptr<TGIFExtension>(Item));
  return Item;
}

// Three frames on a global table of 13 colours, with every kind of extension.
void MakeGlobalImage(TGIFImage& Image) {
  FillTable(*Image.GetGlobalColorMap(), 13);
  Image.Header().SetBackgroundColorIndex(4);
  Image.Header().SetAspectRatio(49);
  TGIFSubImage* First = AddFrame(Image, 0, 0, 120, 90, 0, TPattern::Runs, 1);
  AddExtension<TGIFAppExtNSLoop>(First)->SetLoops(7);
  auto* Comment = AddExtension<TGIFCommentExtension>(First);
  Comment->Text().Add("first line");
  Comment->Text().Add(std::string(300, 'x'));
  auto* Control = AddExtension<TGIFGraphicControlExtension>(First);
  Control->SetDelay(12);
  Control->SetDisposal(fdBackground);
  TGIFSubImage* Second = AddFrame(Image, 17, 9, 61, 33, 0, TPattern::Noise, 2);
  Control = AddExtension<TGIFGraphicControlExtension>(Second);
  Control->SetDelay(300);
  Control->SetDisposal(fdPrevious);
  Control->SetUserInput(true);
  Control->SetTransparentColor(11);
  Control->SetTransparent(true);
  TGIFSubImage* Third = AddFrame(Image, 100, 80, 20, 10, 0, TPattern::Gradient, 3);
  auto* Unknown = AddExtension<TGIFUnknownAppExtension>(Third);
  Unknown->SetIdentifier("TESTAPPL");
  Unknown->SetAuthentication("1.0");
  for (const uint8_t Size : {5, 255, 1}) {
    Unknown->Blocks().push_back(std::make_unique<TGIFBlock>(Size));
    for (uint8_t I = 0; I < Size; ++I) Unknown->Blocks().back()->Data()[I] = static_cast<uint8_t>(I * 3);
  }
  AddExtension<TGIFTextExtension>(Third)->Text().Add("plain text");
}

// Frames with local tables of 2, 37 and 256 colours.
void MakeLocalImage(TGIFImage& Image) {
  AddFrame(Image, 0, 0, 33, 21, 2, TPattern::Noise, 4);
  AddFrame(Image, 3, 1, 30, 20, 37, TPattern::Runs, 5);
  AddFrame(Image, 0, 0, 33, 21, 256, TPattern::Noise, 6);
}

// Interlaced frames of heights 1 to 11 on a global table, loaded from a stream.
void MakeInterlacedImage(TGIFImage& Image) {
  std::vector<TFrameSpec> Frames;
  for (uint16_t Height = 1; Height <= 11; ++Height)
    Frames.push_back({0, 0, 9, Height, true, 0, MakePixels(TPattern::Noise, 30, 9, Height, Height)});
  base::TMemoryStream Stream(BuildStream(9, 11, 30, Frames));
  Image.LoadFromStream(Stream);
}

Bytes Saved(TGIFImage& Image) {
  base::TMemoryStream Out;
  Image.SaveToStream(Out);
  return Out.Bytes();
}

Bytes ExtensionBytes(const TGIFSubImage& Frame) {
  base::TMemoryStream Out;
  Frame.Extensions()->SaveToStream(Out);
  return Out.Bytes();
}

// The entries of the table, padded with black to 2^bits entries as a stream holds them.
std::vector<base::TColor> Colors(const TGIFColorMap& Table, bool Padded = false) {
  std::vector<base::TColor> Result;
  for (int I = 0; I < Table.Count(); ++I) Result.push_back(const_cast<TGIFColorMap&>(Table).Colors(I));
  if (Padded && Table.Count() > 0) Result.resize(size_t{1} << Table.BitsPerPixel(), 0);
  return Result;
}

Bytes FramePixels(const TGIFSubImage& Frame) {
  return Bytes(Frame.Data(), Frame.Data() + Frame.PixelBytes());
}

void ExpectSameImage(TGIFImage& Expected, TGIFImage& Actual) {
  EXPECT_EQ(Actual.Width(), Expected.Width());
  EXPECT_EQ(Actual.Height(), Expected.Height());
  EXPECT_EQ(Actual.Header().BackgroundColorIndex(), Expected.Header().BackgroundColorIndex());
  EXPECT_EQ(Actual.Header().AspectRatio(), Expected.Header().AspectRatio());
  EXPECT_EQ(Colors(*Actual.GetGlobalColorMap()), Colors(*Expected.GetGlobalColorMap(), true));
  ASSERT_EQ(Actual.Frames().Count(), Expected.Frames().Count());
  for (int I = 0; I < Expected.Frames().Count(); ++I) {
    SCOPED_TRACE("frame " + std::to_string(I));
    const TGIFSubImage& E = *Expected.Frames().SubImages(I);
    const TGIFSubImage& A = *Actual.Frames().SubImages(I);
    EXPECT_EQ(A.BoundsRect(), E.BoundsRect());
    EXPECT_EQ(A.Interlaced(), E.Interlaced() && E.ColorMap()->Count() == 0);
    EXPECT_EQ(Colors(*A.ColorMap()), Colors(*E.ColorMap(), true));
    EXPECT_EQ(FramePixels(A), FramePixels(E));
    EXPECT_EQ(ExtensionBytes(A), ExtensionBytes(E));
    EXPECT_EQ(A.Transparent(), E.Transparent());
  }
}

struct TProgressRecord {
  base::TProgressStage Stage;
  int Percent;
  bool Redraw;
  std::string Message;
  bool operator==(const TProgressRecord&) const = default;
};

std::ostream& operator<<(std::ostream& Out, const TProgressRecord& R) {
  return Out << static_cast<int>(R.Stage) << " " << R.Percent << " " << R.Redraw << " " << R.Message;
}

// An extension whose body cannot be written, as on a disk that fills up after its label.
class TUnwritableExtension : public TGIFExtension {
 public:
  using TGIFExtension::TGIFExtension;
  uint8_t BlockLabel() const override { return 0xFE; }

 protected:
  void WriteBody(base::TStream&) override { throw base::EWriteError("Stream write error"); }
};

// A stream that takes Limit bytes and then no more, as a full disk does.
class TFullStream : public base::TMemoryStream {
 public:
  explicit TFullStream(int64_t ALimit) : Limit(ALimit) {}
  int64_t Write(const void* Buffer, int64_t Count) override {
    const int64_t Room = std::max<int64_t>(0, Limit - Size());
    return base::TMemoryStream::Write(Buffer, std::min(Count, Room));
  }

 private:
  int64_t Limit;
};

}  // namespace

TEST(SaveRoundTrip, PixelsTablesAndExtensionsComeBackWithEitherCompression) {
  const struct {
    const char* Name;
    void (*Make)(TGIFImage&);
  } Images[] = {{"global", MakeGlobalImage}, {"local", MakeLocalImage}, {"interlaced", MakeInterlacedImage}};
  for (const TCompressionKind Compression : {ckLZW, ckRLE})
    for (const auto& Made : Images) {
      SCOPED_TRACE(std::string(Made.Name) + (Compression == ckRLE ? " RLE" : " LZW"));
      TGIFImage Image;
      Made.Make(Image);
      Image.SetCompression(Compression);
      base::TMemoryStream Out;
      Image.SaveToStream(Out);
      Out.SetPosition(0);
      TGIFImage Back;
      Back.SetCompression(Compression);
      std::vector<std::string> Warnings;
      Back.OnGIFWarning = [&](base::TObject*, TGIFSeverity, const std::string& M) { Warnings.push_back(M); };
      Back.LoadFromStream(Out);
      EXPECT_TRUE(Warnings.empty()) << Warnings.front();
      EXPECT_EQ(Out.Position(), Out.Size());
      ExpectSameImage(Image, Back);
      EXPECT_EQ(Saved(Back), Out.Bytes()) << "saving the loaded image writes the same bytes";
    }
}

TEST(SaveFrame, PackedFlagsFollowTheLocalTable) {
  const struct {
    int LocalCount;
    bool Sorted;
    uint8_t Packed;
  } Cases[] = {{0, false, 0x40}, {2, false, 0x80}, {3, false, 0x81}, {37, false, 0x85},
               {37, true, 0xA5}, {129, false, 0x87}, {256, true, 0xA7}};
  for (const auto& Case : Cases) {
    SCOPED_TRACE("local " + std::to_string(Case.LocalCount) + (Case.Sorted ? " sorted" : ""));
    TGIFImage Image;
    base::TMemoryStream Stream(
        BuildStream(10, 13, 2, {{0, 0, 10, 13, true, 0, MakePixels(TPattern::Noise, 2, 10, 13)}}));
    Image.LoadFromStream(Stream);
    TGIFSubImage* Frame = Image.Frames().SubImages(0);
    ASSERT_TRUE(Frame->Interlaced());
    const Bytes Pixels = FramePixels(*Frame);
    if (Case.LocalCount > 0) FillTable(*Frame->ColorMap(), Case.LocalCount);
    Frame->ColorMap()->SetOptimized(Case.Sorted);
    const Bytes File = Saved(Image);
    const auto Blocks = ImageBlocks(File);
    ASSERT_EQ(Blocks.size(), 1u);
    EXPECT_EQ(Blocks[0].Packed, Case.Packed);
    const Bytes Stored = ReadReference(Blocks[0].Data, Pixels.size()).Stored;
    EXPECT_EQ(Case.LocalCount > 0 ? Stored : Deinterlace(Stored, 10, 13), Pixels) << "rows in the order the flag says";
    base::TMemoryStream Back(File);
    TGIFImage Loaded;
    Loaded.LoadFromStream(Back);
    EXPECT_EQ(FramePixels(*Loaded.Frames().SubImages(0)), Pixels);
    EXPECT_EQ(Loaded.Frames().SubImages(0)->Interlaced(), Case.LocalCount == 0);
  }
}

TEST(SaveFrame, CodeSizeFollowsTheTableTheFrameUsesPaddedToItsIndexes) {
  const struct {
    int GlobalCount, LocalCount;
    uint8_t Index;  // the largest index in the frame
    int CodeSize;
    int GlobalWritten, LocalWritten;  // entries of the tables as written
  } Cases[] = {
      {5, 0, 4, 3, 8, 0},       {5, 0, 5, 3, 8, 0},       {5, 0, 8, 4, 16, 0},     {2, 0, 1, 2, 2, 0},
      {256, 0, 255, 8, 256, 0}, {5, 200, 199, 8, 8, 256}, {5, 200, 200, 8, 8, 256}, {200, 3, 2, 2, 256, 4},
      {200, 3, 3, 2, 256, 4},   {200, 3, 4, 3, 256, 8},   {0, 0, 6, 3, 8, 0},
  };
  for (const TCompressionKind Compression : {ckLZW, ckRLE})
    for (const auto& Case : Cases) {
      SCOPED_TRACE("global " + std::to_string(Case.GlobalCount) + " local " + std::to_string(Case.LocalCount) +
                   " index " + std::to_string(Case.Index) + (Compression == ckRLE ? " RLE" : " LZW"));
      TGIFImage Image;
      Image.SetCompression(Compression);
      if (Case.GlobalCount > 0) FillTable(*Image.GetGlobalColorMap(), Case.GlobalCount);
      TGIFSubImage* Frame = AddFrame(Image, 0, 0, 8, 4, Case.LocalCount, TPattern::Single, 1);
      std::fill(Frame->Data(), Frame->Data() + Frame->PixelBytes(), 0);
      Frame->Data()[13] = Case.Index;
      // Another frame with a table of 256 colours does not widen this one's codes.
      AddFrame(Image, 0, 0, 2, 2, 256, TPattern::Noise, 2);
      base::TMemoryStream Out;
      Image.SaveToStream(Out);
      const Bytes File = Out.Bytes();
      const auto TableEntries = [](uint8_t Packed) { return (Packed & 0x80) ? 2 << (Packed & 7) : 0; };
      EXPECT_EQ(TableEntries(File[10]), Case.GlobalWritten);
      const auto Blocks = ImageBlocks(File);
      ASSERT_EQ(Blocks.size(), 2u);
      EXPECT_EQ(TableEntries(Blocks[0].Packed), Case.LocalWritten);
      EXPECT_EQ(Blocks[0].Data[0], Case.CodeSize);
      const TReference R = ReadReference(Blocks[0].Data, 32);
      ASSERT_EQ(R.Error, "");
      EXPECT_EQ(R.Stored, FramePixels(*Frame));
      // The entries beyond the table's own are black.
      const size_t Table = Case.LocalCount > 0 ? Blocks[0].At + 10 : 13;
      const int Own = Case.LocalCount > 0 ? Case.LocalCount : Case.GlobalCount;
      const int Written = Case.LocalCount > 0 ? Case.LocalWritten : Case.GlobalWritten;
      EXPECT_EQ(Bytes(File.begin() + Table + 3 * Own, File.begin() + Table + 3 * Written), Bytes(3 * (Written - Own), 0));
    }
}

TEST(SaveFrame, AnEmptyFrameWritesOnlyItsExtensions) {
  TGIFImage Image;
  FillTable(*Image.GetGlobalColorMap(), 4);
  AddFrame(Image, 0, 0, 4, 4, 0, TPattern::Noise, 1);
  auto* Empty = new TGIFSubImage(&Image);
  Image.AddFrame(Empty);
  AddExtension<TGIFCommentExtension>(Empty)->Text().Add("only a comment");
  const Bytes File = Saved(Image);
  EXPECT_EQ(ImageBlocks(File).size(), 1u);
  const Bytes Comment = ExtensionBytes(*Empty);
  ASSERT_GT(File.size(), Comment.size() + 1);
  EXPECT_TRUE(std::equal(Comment.begin(), Comment.end(), File.end() - 1 - static_cast<ptrdiff_t>(Comment.size())))
      << "the comment stands right before the trailer";
  EXPECT_EQ(File.back(), ';');
}

TEST(SaveImage, VersionFollowsTheFrames) {
  const struct {
    const char* Name;
    bool Extension, Sorted, EmptyFrame;
    const char* Version;
  } Cases[] = {{"plain", false, false, false, "87a"},
               {"extension", true, false, false, "89a"},
               {"sorted local table", false, true, false, "89a"},
               {"frame holding only an extension", false, false, true, "89a"}};
  for (const auto& Case : Cases) {
    SCOPED_TRACE(Case.Name);
    TGIFImage Image;
    TGIFSubImage* Frame = AddFrame(Image, 0, 0, 3, 3, 4, TPattern::Noise, 1);
    if (Case.Extension) AddExtension<TGIFGraphicControlExtension>(Frame);
    Frame->ColorMap()->SetOptimized(Case.Sorted);
    if (Case.EmptyFrame) {
      auto* Empty = new TGIFSubImage(&Image);
      Image.AddFrame(Empty);
      AddExtension<TGIFCommentExtension>(Empty)->Text().Add("x");
    }
    const Bytes File = Saved(Image);
    EXPECT_EQ(std::string(File.begin(), File.begin() + 6), std::string("GIF") + Case.Version);
  }
}

TEST(SaveImage, ReportsSavingProgressPerFrameAndAlwaysAnEnd) {
  for (const bool Fails : {false, true}) {
    SCOPED_TRACE(Fails ? "failing" : "succeeding");
    TGIFImage Image;
    FillTable(*Image.GetGlobalColorMap(), 8);
    for (int I = 0; I < 3; ++I) AddFrame(Image, 0, 0, 5, 5, 0, TPattern::Noise, static_cast<unsigned>(I));
    // A stream that fills up inside the last frame's data.
    TFullStream Out(Fails ? static_cast<int64_t>(Saved(Image).size()) - 8 : int64_t{1} << 20);
    std::vector<TProgressRecord> Events;
    Image.OnProgress = [&](base::TObject* Sender, base::TProgressStage Stage, uint8_t Percent, bool Redraw,
                           const base::TRect& R, const std::string& Message) {
      EXPECT_EQ(Sender, &Image);
      EXPECT_EQ(R, base::TRect{});
      Events.push_back({Stage, Percent, Redraw, Message});
    };
    if (Fails)
      EXPECT_THROW(Image.SaveToStream(Out), base::EWriteError);
    else
      Image.SaveToStream(Out);
    std::vector<TProgressRecord> Expected = {{base::psStarting, 0, false, "Saving..."},
                                             {base::psRunning, 33, false, "Saving..."},
                                             {base::psRunning, 67, false, "Saving..."}};
    if (!Fails) Expected.push_back({base::psRunning, 100, false, "Saving..."});
    Expected.push_back({base::psEnding, Fails ? 0 : 100, true, "Saving..."});
    EXPECT_EQ(Events, Expected);
  }
}

TEST(SaveImage, CompressionChoosesTheEncoder) {
  TGIFImage Image;
  FillTable(*Image.GetGlobalColorMap(), 16);
  TGIFSubImage* Frame = AddFrame(Image, 0, 0, 50, 40, 0, TPattern::LongRuns, 3);
  const Bytes Pixels = FramePixels(*Frame);
  EXPECT_EQ(Image.Compression(), GIFLibraryDefaults().Compression);
  for (const TCompressionKind Compression : {ckLZW, ckRLE}) {
    Image.SetCompression(Compression);
    const auto Blocks = ImageBlocks(Saved(Image));
    ASSERT_EQ(Blocks.size(), 1u);
    EXPECT_EQ(Blocks[0].Data, Encode(Compression == ckRLE ? TKind::RLE : TKind::LZW, 4, 16, Pixels, false, 50, 40));
  }
  EXPECT_NE(Encode(TKind::RLE, 4, 16, Pixels, false, 50, 40), Encode(TKind::LZW, 4, 16, Pixels, false, 50, 40));
}

TEST(SaveImage, EveryShortWriteFails) {
  TGIFImage Image;
  FillTable(*Image.GetGlobalColorMap(), 4);
  TGIFSubImage* First = AddFrame(Image, 0, 0, 6, 5, 0, TPattern::Noise, 1);
  AddExtension<TGIFAppExtNSLoop>(First);
  AddExtension<TGIFCommentExtension>(First)->Text().Add("comment");
  AddExtension<TGIFGraphicControlExtension>(AddFrame(Image, 1, 1, 5, 4, 3, TPattern::Noise, 2))->SetDelay(5);
  const Bytes File = Saved(Image);
  for (int64_t Limit = 0; Limit < static_cast<int64_t>(File.size()); ++Limit) {
    TFullStream Out(Limit);
    EXPECT_THROW(Image.SaveToStream(Out), base::Exception) << "room for " << Limit << " bytes";
  }
  TFullStream Out(static_cast<int64_t>(File.size()));
  Image.SaveToStream(Out);
  EXPECT_EQ(Out.Bytes(), File);
}

class SaveToFile : public ::testing::Test {
 protected:
  void SetUp() override {
    Folder = std::filesystem::temp_directory_path() /
             ("animora-save-" + std::to_string(::getpid()) + "-" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(Folder);
    std::filesystem::create_directories(Folder);
    Target = (Folder / "image.gif").string();
  }
  void TearDown() override { std::filesystem::remove_all(Folder); }

  static Bytes ReadFile(const std::string& Name) {
    std::ifstream In(Name, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(In), {});
  }
  size_t FilesInFolder() const {
    return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(Folder), {}));
  }

  std::filesystem::path Folder;
  std::string Target;
};

TEST_F(SaveToFile, WritesTheStreamAndReplacesTheOldFile) {
  TGIFImage Image;
  MakeLocalImage(Image);
  { std::ofstream(Target) << "old contents"; }
  Image.SaveToFile(Target);
  EXPECT_EQ(ReadFile(Target), Saved(Image));
  EXPECT_EQ(FilesInFolder(), 1u);
}

TEST_F(SaveToFile, AFailedSaveLeavesTheOldFileAsItWas) {
  const struct {
    const char* Name;
    const char* Message;
    void (*Spoil)(TGIFImage&);
  } Cases[] = {
      {"no frames", "Unsupported GIF version", [](TGIFImage& Image) { Image.Clear(); }},
      {"a write that fails part way", "Stream write error",
       [](TGIFImage& Image) { AddExtension<TUnwritableExtension>(Image.Frames().SubImages(2)); }},
  };
  for (const auto& Case : Cases) {
    SCOPED_TRACE(Case.Name);
    { std::ofstream(Target) << "old contents"; }
    TGIFImage Image;
    MakeGlobalImage(Image);
    Case.Spoil(Image);
    try {
      Image.SaveToFile(Target);
      FAIL() << "saved";
    } catch (const std::exception& E) {
      EXPECT_STREQ(E.what(), Case.Message);
    }
    const Bytes Old = ReadFile(Target);
    EXPECT_EQ(std::string(Old.begin(), Old.end()), "old contents");
    EXPECT_EQ(FilesInFolder(), 1u) << "no temporary file is left";
  }
}
