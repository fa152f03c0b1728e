#include <gtest/gtest.h>

#include "GIFTestSupport.h"
#include "gif/GIFImage.h"

using namespace gif;
using namespace giftest;

namespace {

std::string LoadError(const Bytes& Data) {
  TGIFImage Image;
  auto Stream = StreamOf(Data);
  try {
    Image.LoadFromStream(Stream);
  } catch (const GIFException& E) {
    return E.what();
  }
  return "";
}

}  // namespace

TEST(HeaderSignature, AcceptsAnyCaseAndOneFourByteRetry) {
  const Bytes Screen = {2, 0, 3, 0, 0, 0, 0, ';'};
  const struct {
    const char* Name;
    Bytes Data;
    const char* Error;
  } Cases[] = {
      {"plain", Concat({Text("GIF89a"), Screen}), ""},
      {"lower case", Concat({Text("gif87a"), Screen}), ""},
      {"any version letters", Concat({Text("GiFxyz"), Screen}), ""},
      {"four bytes before", Concat({Text("abcdGIF89a"), Screen}), ""},
      {"three bytes before", Concat({Text("abcGIF89a"), Screen}), "Invalid GIF signature"},
      {"five bytes before", Concat({Text("abcdeGIF89a"), Screen}), "Invalid GIF signature"},
      {"zero inside the signature", Concat({Bytes{'G', 'I', 0, '8', '9', 'a'}, Screen}), "Invalid GIF signature"},
      {"junk", Text("PNG and then some more bytes"), "Invalid GIF signature"},
      {"short header", Text("GIF8"), "Premature end of data"},
      {"short descriptor", Text("GIF89a\x02\x00"), "Premature end of data"},
      {"short global table", Concat({Text("GIF89a"), Bytes{1, 0, 1, 0, 0x81, 0, 0, 1, 2, 3}}), "Premature end of data"},
  };
  for (const auto& C : Cases) EXPECT_EQ(LoadError(C.Data), C.Error) << C.Name;
}

TEST(HeaderSignature, FailedLoadRestoresTheStreamPosition) {
  TGIFImage Image;
  auto Stream = StreamOf(Concat({Text("xxGIF89a\x02\x00")}));
  Stream.SetPosition(2);
  EXPECT_THROW(Image.LoadFromStream(Stream), GIFException);
  EXPECT_EQ(Stream.Position(), 2);
}

TEST(HeaderFields, ReadDescriptorAndGlobalTable) {
  TGIFImage Image;
  auto Stream = StreamOf(Concat({Header(300, 200, {10, 20, 30, 40, 50, 60, 70, 80, 90}, 1, 0x08), Bytes{';'}}));
  Image.LoadFromStream(Stream);
  EXPECT_EQ(Image.Width(), 300);
  EXPECT_EQ(Image.Height(), 200);
  EXPECT_EQ(Image.GetGlobalColorMap()->Count(), 4);
  EXPECT_EQ(Image.GetGlobalColorMap()->Colors(2), 0x5A5046);
  EXPECT_FALSE(Image.GetGlobalColorMap()->Optimized()) << "the sorted bit is not carried over";
  EXPECT_EQ(Image.BackgroundColor(), 0x1E140A);
  EXPECT_EQ(Stream.Position(), Stream.Size());
}

TEST(PrepareFlags, FollowTheGlobalTable) {
  TGIFImage Image;
  TGIFColorMap* Global = Image.GetGlobalColorMap();
  Image.Header().PrepareFlags();
  EXPECT_EQ(Image.Header().PackedFields(), 0x77) << "no table: size and resolution bits from -1";
  for (int I = 0; I < 5; ++I) Global->Add(I);
  Image.Header().PrepareFlags();
  EXPECT_EQ(Image.Header().PackedFields(), 0x80 | 0x20 | 2);
  Global->SetOptimized(true);
  Image.Header().PrepareFlags();
  EXPECT_EQ(Image.Header().PackedFields(), 0x80 | 0x20 | 0x08 | 2);

  base::TMemoryStream Table;
  Global->SaveToStream(Table);
  EXPECT_EQ(Table.Size(), 8 * 3) << "five entries are padded to eight";
}

TEST(Save, AnImageWithoutFramesWritesNothing) {
  TGIFImage Image;
  base::TMemoryStream Out;
  try {
    Image.SaveToStream(Out);
    FAIL();
  } catch (const GIFException& E) {
    EXPECT_STREQ(E.what(), "Unsupported GIF version");
  }
  EXPECT_EQ(Out.Size(), 0);
}

TEST(BlockWalk, FillerUnknownBlocksAndTrailer) {
  const struct {
    const char* Name;
    Bytes Blocks;
    std::vector<std::string> Warnings;
    int64_t FinalPosition;  // from the end of the header
  } Cases[] = {
      {"trailer", {';'}, {}, 1},
      {"filler then trailer", {0, 0, 0, ';'}, {}, 4},
      {"no trailer", {}, {}, 0},
      {"only filler", {0, 0}, {}, 2},
      {"unknown block after filler", {0, 0x99, 1, 2}, {"Unknown GIF block type", "Invalid Image trailer"}, 1},
      {"unknown block after a ';' byte", {0x99}, {"Unknown GIF block type", "Invalid Image trailer"}, 0},
      {"bytes after the trailer", {';', 'x', 'y'}, {}, 1},
  };
  for (const auto& C : Cases) {
    TGIFImage Image;
    WarningLog Log(Image);
    const Bytes Head = Header(4, 4);
    auto Stream = StreamOf(Concat({Head, C.Blocks}));
    Image.LoadFromStream(Stream);
    EXPECT_EQ(Image.Frames().Count(), 0) << C.Name;
    EXPECT_EQ(Log.Messages(), C.Warnings) << C.Name;
    for (const Warning& W : Log.Items) EXPECT_EQ(W.Severity, sevWarning) << C.Name;
    EXPECT_EQ(Stream.Position() - static_cast<int64_t>(Head.size()), C.FinalPosition) << C.Name;
  }
}

TEST(BlockWalk, UnknownBlockStopsBeforeTheByteBeforeIt) {
  // The trailer check reads the byte before the unknown block: a ';' there is a valid trailer.
  TGIFImage Image;
  WarningLog Log(Image);
  Bytes Data = Header(4, 4);
  Data.back() = ';';  // aspect byte
  Data.push_back(0x99);
  auto Stream = StreamOf(Data);
  Image.LoadFromStream(Stream);
  EXPECT_EQ(Log.Messages(), std::vector<std::string>{"Unknown GIF block type"});
}

TEST(Progress, LoadingReportsStartAndAnEndingStageEvenOnFailure) {
  for (const bool Broken : {false, true}) {
    TGIFImage Image;
    std::vector<std::pair<base::TProgressStage, int>> Seen;
    Image.OnProgress = [&](base::TObject* Sender, base::TProgressStage Stage, uint8_t Percent, bool,
                           const base::TRect&, const std::string& Msg) {
      EXPECT_EQ(Sender, &Image);
      EXPECT_EQ(Msg, "Loading...");
      Seen.emplace_back(Stage, Percent);
    };
    auto Stream = StreamOf(Broken ? Text("GIF") : Concat({Header(1, 1), Bytes{';'}}));
    if (Broken)
      EXPECT_THROW(Image.LoadFromStream(Stream), GIFException);
    else
      Image.LoadFromStream(Stream);
    ASSERT_GE(Seen.size(), 2u);
    EXPECT_EQ(Seen.front(), std::make_pair(base::psStarting, 0));
    EXPECT_EQ(Seen.back(), std::make_pair(base::psEnding, Broken ? 0 : 100));
  }
}

TEST(Warnings, AHandlerThatRaisesAbortsTheLoad) {
  TGIFImage Image;
  Image.OnGIFWarning = [](base::TObject*, TGIFSeverity, const std::string& Message) {
    throw base::EAbort(Message);
  };
  auto Stream = StreamOf(Concat({Header(4, 4), Bytes{0x99}}));
  EXPECT_THROW(Image.LoadFromStream(Stream), base::EAbort);
  EXPECT_EQ(Stream.Position(), 0);
}
