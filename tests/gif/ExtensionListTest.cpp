#include <gtest/gtest.h>

#include "ExtensionTestSupport.h"
#include "gif/AppExtNSLoop.h"
#include "gif/CommentExtension.h"
#include "gif/GraphicControlExtension.h"

using namespace gif;
using namespace giftest;

namespace {

using ExtensionRun = ExtensionFixture;

const Bytes Comment = {'!', 0xFE, 1, 'c', 0};
const Bytes Gce = {'!', 0xF9, 4, 1, 10, 0, 2, 0};

}  // namespace

TEST_F(ExtensionRun, EndsBeforeTheByteThatEndsIt) {
  const struct {
    const char* Name;
    Bytes Data;
    int Count;
    int64_t End;
    std::vector<std::string> Warnings;
  } Cases[] = {
      {"image", Concat({Gce, Comment, Bytes{',', 1}}), 2, 13, {}},
      {"trailer", Concat({Comment, Bytes{';'}}), 1, 5, {}},
      {"nothing", {}, 0, 0, {}},
      {"end of data", Comment, 1, 5, {}},
      {"stray byte", Concat({Comment, Bytes{0x00, ','}}), 1, 5, {"Invalid extension introducer"}},
      {"stray first byte", {'x', '!'}, 0, 0, {"Invalid extension introducer"}},
  };
  for (const auto& C : Cases) {
    List().Clear();
    Log.Items.clear();
    EXPECT_EQ(LoadExtensions(C.Data), C.End) << C.Name;
    EXPECT_EQ(List().Count(), C.Count) << C.Name;
    EXPECT_EQ(Log.Messages(), C.Warnings) << C.Name;
  }
}

TEST_F(ExtensionRun, KeepsStreamOrderAndWritesItBack) {
  const Bytes Loop = Concat({AppHeader(11, "NETSCAPE2.0"), Bytes{3, 1, 0, 0, 0}});
  LoadExtensions(Concat({Loop, Gce, Comment, Bytes{','}}));
  ASSERT_EQ(List().Count(), 3);
  EXPECT_NE(At<TGIFAppExtNSLoop>(0), nullptr);
  EXPECT_NE(At<TGIFGraphicControlExtension>(1), nullptr);
  EXPECT_NE(At<TGIFCommentExtension>(2), nullptr);
  for (int I = 0; I < 3; ++I) EXPECT_EQ(List().Extensions(I)->SubImage(), Frame.get());
  EXPECT_EQ(List().Extensions(0)->Image(), &Image);
  EXPECT_EQ(WrittenList(), Concat({Loop, Gce, Comment}));
  EXPECT_EQ(Frame->RequiredVersion(), ver89a);
}

TEST_F(ExtensionRun, UnknownLabelsArePassedOverWithAWarning) {
  const struct {
    const char* Name;
    Bytes Data;
    int Count;
    int64_t End;
  } Cases[] = {
      {"unknown label", Concat({Bytes{'!', 0x02, 2, 'x', 'y', 1, 'z', 0}, Comment, Bytes{','}}), 1, 13},
      {"unknown label at the end", Concat({Comment, Bytes{'!', 0x02, 5, 'x'}}), 1, 9},
      {"no label", Concat({Comment, Bytes{'!'}}), 1, 6},
  };
  for (const auto& C : Cases) {
    List().Clear();
    Log.Items.clear();
    EXPECT_EQ(LoadExtensions(C.Data), C.End) << C.Name;
    EXPECT_EQ(List().Count(), C.Count) << C.Name;
    EXPECT_EQ(Log.Messages(), std::vector<std::string>{"Unknown extension type"}) << C.Name;
    EXPECT_EQ(Log.Items[0].Sender, &List()) << C.Name;
  }
}

TEST_F(ExtensionRun, AnApplicationBlockCutShortBeforeItsClassIsKnownFailsTheLoad) {
  EXPECT_EQ(LoadError(Concat({Comment, AppHeader(10, "ABC")})), "Unknown extension type");
  EXPECT_EQ(List().Count(), 1);
  EXPECT_TRUE(Log.Messages().empty());
}

TEST_F(ExtensionRun, FailedExtensionIsFreedAndTheOthersStay) {
  const Bytes BadLoop = Concat({AppHeader(11, "NETSCAPE2.0"), Bytes{2, 1, 0, 0}});
  EXPECT_EQ(LoadError(Concat({Comment, Gce, BadLoop})), "Invalid GIF data");
  EXPECT_EQ(List().Count(), 2);
  EXPECT_NE(At<TGIFCommentExtension>(0), nullptr);
  EXPECT_NE(At<TGIFGraphicControlExtension>(1), nullptr);
}

TEST_F(ExtensionRun, AnExtensionChecksItsOwnIntroducerAndLabel) {
  const struct {
    Bytes Data;
    const char* Error;
  } Cases[] = {
      {{'?', 0xFE, 0}, "Invalid extension introducer"},
      {{'!', 0xF9, 0}, "Internal error: Extension Instance does not match Extension Label"},
      {{'!'}, "Premature end of data"},
  };
  for (const auto& C : Cases) {
    TGIFCommentExtension Extension(Frame.get());
    auto Stream = StreamOf(C.Data);
    try {
      Extension.LoadFromStream(Stream);
      ADD_FAILURE() << C.Error;
    } catch (const GIFException& E) {
      EXPECT_STREQ(E.what(), C.Error);
    }
  }
}

TEST_F(ExtensionRun, DestroyedExtensionLeavesItsList) {
  LoadExtensions(Concat({Comment, Gce, Comment}));
  ASSERT_EQ(List().Count(), 3);
  TGIFExtension* Middle = List().Extensions(1);
  delete Middle;
  ASSERT_EQ(List().Count(), 2);
  EXPECT_NE(At<TGIFCommentExtension>(0), nullptr);
  EXPECT_NE(At<TGIFCommentExtension>(1), nullptr);
  EXPECT_EQ(Frame->GraphicControlExtension(), nullptr);
  EXPECT_FALSE(Frame->Transparent());
  List().Add(std::make_unique<TGIFAppExtNSLoop>(Frame.get()));
  Frame.reset();  // frees its extensions without touching freed ones
}

TEST(ExtensionRunInImage, ExtensionsBeforeTheTrailerMakeAFrameOfTheirOwn) {
  TGIFImage Image;
  WarningLog Log(Image);
  auto Stream = StreamOf(Concat({Header(4, 4), Gce, Comment, Bytes{';'}}));
  Image.LoadFromStream(Stream);
  ASSERT_EQ(Image.Frames().Count(), 1);
  TGIFSubImage* Frame = Image.Frames().SubImages(0);
  ASSERT_EQ(Frame->Extensions()->Count(), 2);
  EXPECT_TRUE(Frame->Transparent());
  EXPECT_EQ(Frame->GraphicControlExtension(), Frame->Extensions()->Extensions(0));
  EXPECT_EQ(Frame->GraphicControlExtension()->Delay(), 10);
  EXPECT_TRUE(Log.Items.empty());
}
