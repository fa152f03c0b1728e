#include <gtest/gtest.h>

#include "ExtensionTestSupport.h"
#include "gif/AppExtNSLoop.h"

using namespace gif;
using namespace giftest;

namespace {

using ApplicationBlock = ExtensionFixture;
using LoopExtension = ExtensionFixture;

const Bytes NetscapeLoop0 = Concat({AppHeader(11, "NETSCAPE2.0"), Bytes{3, 1, 0, 0, 0}});

}  // namespace

TEST_F(LoopExtension, CreatedAsNetscapeAndWrittenWithTheBufferBlockOnlyWhenSet) {
  TGIFAppExtNSLoop Loop(Frame.get());
  EXPECT_EQ(Loop.Identifier(), "NETSCAPE");
  EXPECT_EQ(Loop.Authentication(), "2.0");
  EXPECT_EQ(Loop.RequiredVersion(), ver89a);
  EXPECT_EQ(Written(Loop), NetscapeLoop0);
  Loop.SetLoops(0x0201);
  Loop.SetBufferingSize(0x04030201);
  EXPECT_EQ(Written(Loop), Concat({AppHeader(11, "NETSCAPE2.0"), Bytes{3, 1, 1, 2, 5, 2, 1, 2, 3, 4, 0}}));
}

TEST_F(LoopExtension, BothIdentifiersLoadAndAreWrittenBackAsTheyWereRead) {
  for (const std::string Ident : {"NETSCAPE2.0", "ANIMEXTS1.0"}) {
    List().Clear();
    LoadExtensions(Concat({AppHeader(11, Ident), Bytes{3, 1, 5, 0, 0, ','}}));
    auto* Loop = At<TGIFAppExtNSLoop>(0);
    ASSERT_NE(Loop, nullptr) << Ident;
    EXPECT_EQ(Loop->Loops(), 5) << Ident;
    EXPECT_EQ(Loop->Identifier() + Loop->Authentication(), Ident);
    EXPECT_EQ(Written(*Loop), Concat({AppHeader(11, Ident), Bytes{3, 1, 5, 0, 0}})) << Ident;
  }
}

TEST_F(LoopExtension, SubBlocksByTheLowThreeBitsOfTheirKind) {
  const struct {
    const char* Name;
    Bytes Data;
    uint16_t Loops;
    uint32_t BufferingSize;
    const char* Error;
  } Cases[] = {
      {"loops", {3, 1, 0x34, 0x12, 0}, 0x1234, 0, ""},
      {"kind 9 is a loop count", {3, 9, 7, 0, 0}, 7, 0, ""},
      {"buffering size", {5, 2, 1, 0, 0, 0x80, 0}, 0, 0x80000001, ""},
      {"kind 10 is a buffering size", {5, 10, 9, 0, 0, 0, 0}, 0, 9, ""},
      {"longer sub-blocks are passed over", {6, 1, 2, 0, 0xEE, 0xEE, 0xEE, 7, 2, 3, 0, 0, 0, 1, 1, 0}, 2, 3, ""},
      {"other kinds are passed over", {4, 3, 8, 8, 8, 1, 0, 3, 1, 4, 0, 0}, 4, 0, ""},
      {"the last of two loop counts", {3, 1, 1, 0, 3, 1, 2, 0, 0}, 2, 0, ""},
      {"no sub-blocks", {0}, 0, 0, ""},
      {"end where a size byte belongs", {3, 1, 6, 0}, 6, 0, ""},
      {"loop sub-block too short", {2, 1, 6, 0}, 0, 0, "Invalid GIF data"},
      {"buffering sub-block too short", {4, 2, 1, 2, 3, 0}, 0, 0, "Invalid GIF data"},
      {"end inside a loop count", {3, 1, 6}, 0, 0, "Premature end of data"},
      {"end before the kind", {3}, 0, 0, "Premature end of data"},
      {"end inside a passed-over part", {5, 1, 6, 0, 1}, 0, 0, "Premature end of data"},
  };
  for (const auto& C : Cases) {
    List().Clear();
    const Bytes Data = Concat({AppHeader(11, "NETSCAPE2.0"), C.Data});
    EXPECT_EQ(LoadError(Data), C.Error) << C.Name;
    if (*C.Error != 0) {
      EXPECT_EQ(List().Count(), 0) << C.Name;
      continue;
    }
    auto* Loop = At<TGIFAppExtNSLoop>(0);
    ASSERT_NE(Loop, nullptr) << C.Name;
    EXPECT_EQ(Loop->Loops(), C.Loops) << C.Name;
    EXPECT_EQ(Loop->BufferingSize(), C.BufferingSize) << C.Name;
  }
  EXPECT_TRUE(Log.Items.empty());
}

TEST_F(ApplicationBlock, UnknownIdentifierIsWrittenBackByteForByte) {
  const Bytes Data =
      Concat({AppHeader(11, "XMP DataXMP"), Bytes{3, 'a', 0, 'c', 1, 0xFF, 255}, Bytes(255, 0x5A), Bytes{0}});
  LoadExtensions(Concat({Data, Bytes{';'}}));
  auto* App = At<TGIFUnknownAppExtension>(0);
  ASSERT_NE(App, nullptr);
  EXPECT_EQ(App->Identifier(), "XMP Data");
  EXPECT_EQ(App->Authentication(), "XMP");
  ASSERT_EQ(App->Blocks().size(), 3u);
  EXPECT_EQ(App->Blocks()[0]->Size(), 3);
  EXPECT_EQ(App->Blocks()[0]->Data()[2], 'c');
  EXPECT_EQ(App->Blocks()[2]->Size(), 255);
  EXPECT_EQ(Written(*App), Data);
}

TEST_F(ApplicationBlock, DataThatLooksLikeARegisteredHeaderStaysData) {
  const Bytes Data = Concat({AppHeader(11, "ACME0001abc"), Bytes{11}, Text("NETSCAPE2.0"), Bytes{0}});
  LoadExtensions(Data);
  auto* App = At<TGIFUnknownAppExtension>(0);
  ASSERT_NE(App, nullptr);
  EXPECT_EQ(Written(*App), Data);
}

TEST_F(ApplicationBlock, HeaderSizes) {
  const struct {
    const char* Name;
    Bytes Data;
    const char* Error;
    const char* Identifier;
    const char* Authentication;
    Bytes Rewritten;
  } Cases[] = {
      {"size 10 ends the authentication with a zero byte", Concat({AppHeader(10, "ABCDEFGHxy"), Bytes{1, 7, 0}}), "",
       "ABCDEFGH", "xy", Concat({AppHeader(11, "ABCDEFGHxy"), Bytes{0, 1, 7, 0}})},
      {"size 12 is an unknown block written back with its extra byte",
       Concat({AppHeader(12, "NETSCAPE2.0"), Bytes{'!', 3, 1, 5, 0, 0}}), "", "NETSCAPE", "2.0",
       Concat({AppHeader(12, "NETSCAPE2.0"), Bytes{'!', 3, 1, 5, 0, 0}})},
      {"size 255", Concat({AppHeader(255, "ABCDEFGH1.0"), Bytes(244, 0x11), Bytes{1, 9, 0}}), "", "ABCDEFGH", "1.0",
       Concat({AppHeader(255, "ABCDEFGH1.0"), Bytes(244, 0x11), Bytes{1, 9, 0}})},
      {"size 9", Concat({AppHeader(9, "ABCDEFGH1"), Bytes{0}}), "Unsupported Application Extension block size", "",
       "", {}},
      {"size 0", {'!', 0xFF, 0, 0}, "Unsupported Application Extension block size", "", "", {}},
      {"size 11 cut short", AppHeader(11, "ABCDEFGH"), "Premature end of data", "", "", {}},
      {"size 12 cut short", AppHeader(12, "ABCDEFGH"), "Premature end of data", "", "", {}},
      {"size 12 without its extra byte", AppHeader(12, "ABCDEFGH1.0"), "Premature end of data", "", "", {}},
      {"data block cut short", Concat({AppHeader(11, "ABCDEFGH1.0"), Bytes{4, 1, 2}}), "Premature end of data", "",
       "", {}},
  };
  for (const auto& C : Cases) {
    List().Clear();
    EXPECT_EQ(LoadError(C.Data), C.Error) << C.Name;
    if (*C.Error != 0) {
      EXPECT_EQ(List().Count(), 0) << C.Name;
      continue;
    }
    auto* App = At<TGIFUnknownAppExtension>(0);
    ASSERT_NE(App, nullptr) << C.Name;
    EXPECT_EQ(App->Identifier(), C.Identifier) << C.Name;
    EXPECT_EQ(App->Authentication(), C.Authentication) << C.Name;
    EXPECT_EQ(Written(*App), C.Rewritten) << C.Name;
    // What is written reads back as the same kind of block.
    List().Clear();
    LoadExtensions(C.Rewritten);
    EXPECT_NE(At<TGIFUnknownAppExtension>(0), nullptr) << C.Name;
  }
}

TEST_F(ApplicationBlock, UnknownDataEndsQuietlyWhereASizeByteBelongs) {
  LoadExtensions(Concat({AppHeader(11, "ABCDEFGH1.0"), Bytes{2, 1, 2}}));
  auto* App = At<TGIFUnknownAppExtension>(0);
  ASSERT_NE(App, nullptr);
  EXPECT_EQ(App->Blocks().size(), 1u);
  EXPECT_TRUE(Log.Items.empty());
}

TEST_F(ApplicationBlock, IdentifierTextsAreCutToTheirFields) {
  TGIFUnknownAppExtension App(Frame.get());
  App.SetIdentifier("LONGERTHANEIGHT");
  App.SetAuthentication("1.0.1");
  EXPECT_EQ(App.Identifier(), "LONGERTH");
  EXPECT_EQ(App.Authentication(), "1.0");
  App.SetIdentifier("AB");
  App.Blocks().push_back(std::make_unique<TGIFBlock>(2));
  EXPECT_EQ(Written(App), Concat({Bytes{'!', 0xFF, 11, 'A', 'B', 0, 0, 0, 0, 0, 0}, Text("1.0"), Bytes{2, 0, 0, 0}}));
}
