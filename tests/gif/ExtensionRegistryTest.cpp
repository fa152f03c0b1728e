#include <gtest/gtest.h>

#include "ExtensionTestSupport.h"
#include "gif/AppExtNSLoop.h"
#include "gif/CommentExtension.h"
#include "gif/ExtensionRegistry.h"
#include "gif/GraphicControlExtension.h"
#include "gif/TextExtension.h"

using namespace gif;
using namespace giftest;

namespace {

// A comment-like block under a label of its own, registered by the tests below.
class TTaggedExtension : public TGIFCommentExtension {
 public:
  ANIMORA_CLASS(TTaggedExtension)
  static const TGIFExtensionClass& Class() {
    static const TGIFExtensionClass Descriptor{"TTaggedExtension", &CreateExtension<TTaggedExtension>};
    return Descriptor;
  }
  using TGIFCommentExtension::TGIFCommentExtension;
  uint8_t BlockLabel() const override { return 0x03; }
};

const char* NameOf(const TGIFExtensionClass* Class) { return Class != nullptr ? Class->Name : "none"; }

using Registry = ExtensionFixture;

}  // namespace

TEST(ExtensionRegistries, HoldTheStandardClasses) {
  EXPECT_EQ(FindExtensionClass(0x01), &TGIFTextExtension::Class());
  EXPECT_EQ(FindExtensionClass(0xF9), &TGIFGraphicControlExtension::Class());
  EXPECT_EQ(FindExtensionClass(0xFE), &TGIFCommentExtension::Class());
  EXPECT_EQ(FindExtensionClass(0xFF), &TGIFApplicationExtension::Class());
  EXPECT_EQ(FindExtensionClass(0x02), nullptr);
  EXPECT_EQ(FindAppExtensionClass(AppExtIdent("NETSCAPE2.0")), &TGIFAppExtNSLoop::Class());
  EXPECT_EQ(FindAppExtensionClass(AppExtIdent("ANIMEXTS1.0")), &TGIFAppExtNSLoop::Class());
  EXPECT_EQ(FindAppExtensionClass(AppExtIdent("NETSCAPE2.1")), nullptr);
  EXPECT_EQ(FindAppExtensionClass(AppExtIdent("netscape2.0")), nullptr);
  EXPECT_EQ(&ExtensionRegistry(), &ExtensionRegistry());
  EXPECT_EQ(&AppExtensionRegistry(), &AppExtensionRegistry());
}

TEST(ExtensionRegistries, ResolveFromTheBytesAfterTheIntroducer) {
  const struct {
    Bytes Data;
    const TGIFExtensionClass* Class;
  } Cases[] = {
      {{0x01, 12}, &TGIFTextExtension::Class()},
      {{0xF9}, &TGIFGraphicControlExtension::Class()},
      {{0xFE}, &TGIFCommentExtension::Class()},
      {Concat({Bytes{0xFF, 11}, Text("NETSCAPE2.0"), Bytes{3, 1, 0, 0, 0}}), &TGIFAppExtNSLoop::Class()},
      {Concat({Bytes{0xFF, 11}, Text("ANIMEXTS1.0")}), &TGIFAppExtNSLoop::Class()},
      {Concat({Bytes{0xFF, 11}, Text("ABCDEFGH1.0")}), &TGIFUnknownAppExtension::Class()},
      {Concat({Bytes{0xFF, 10}, Text("NETSCAPE2.")}), &TGIFUnknownAppExtension::Class()},
      {Concat({Bytes{0xFF, 12}, Text("NETSCAPE2.0")}), &TGIFUnknownAppExtension::Class()},
      {Concat({Bytes{0xFF, 9}, Text("NETSCAPE2")}), &TGIFApplicationExtension::Class()},
      {Concat({Bytes{0xFF, 11}, Text("NETSCAPE")}), &TGIFApplicationExtension::Class()},
      {Concat({Bytes{0xFF, 10}, Text("NETSCAPE")}), nullptr},
      {{0xFF}, nullptr},
      {{0x02, 0}, nullptr},
      {{}, nullptr},
  };
  for (const auto& C : Cases) {
    Bytes Data = Concat({Bytes{'#'}, C.Data});
    auto Stream = StreamOf(Data);
    Stream.SetPosition(1);
    EXPECT_STREQ(NameOf(ResolveExtensionClass(Stream)), NameOf(C.Class)) << testing::PrintToString(C.Data);
    EXPECT_EQ(Stream.Position(), 1);
  }
}

TEST_F(Registry, LaterRegistrationsWin) {
  RegisterExtension(0x03, TTaggedExtension::Class());
  EXPECT_EQ(FindExtensionClass(0x03), &TTaggedExtension::Class());
  LoadExtensions({'!', 0x03, 2, 'h', 'i', 0});
  auto* Tagged = At<TTaggedExtension>(0);
  ASSERT_NE(Tagged, nullptr);
  EXPECT_EQ(Tagged->Text().Strings(0), "hi");
  EXPECT_EQ(Written(*Tagged), (Bytes{'!', 0x03, 2, 'h', 'i', 0}));

  RegisterExtension(0x03, TGIFCommentExtension::Class());
  EXPECT_EQ(FindExtensionClass(0x03), &TGIFCommentExtension::Class());
  EXPECT_EQ(LoadError({'!', 0x03, 0}), "Internal error: Extension Instance does not match Extension Label");
}

TEST_F(Registry, ApplicationClassesByAllElevenBytes) {
  const TGIFAppExtIdent Ident = AppExtIdent("TESTLOOP1.0");
  const Bytes Data = Concat({AppHeader(11, "TESTLOOP1.0"), Bytes{3, 1, 9, 0, 0}});
  LoadExtensions(Data);
  EXPECT_NE(At<TGIFUnknownAppExtension>(0), nullptr);
  RegisterAppExtension(Ident, TGIFUnknownAppExtension::Class());
  RegisterAppExtension(Ident, TGIFAppExtNSLoop::Class());
  EXPECT_EQ(FindAppExtensionClass(Ident), &TGIFAppExtNSLoop::Class());
  EXPECT_EQ(FindAppExtensionClass(AppExtIdent("TESTLOOP1.1")), nullptr);
  LoadExtensions(Data);
  auto* Loop = At<TGIFAppExtNSLoop>(1);
  ASSERT_NE(Loop, nullptr);
  EXPECT_EQ(Loop->Loops(), 9);
}
