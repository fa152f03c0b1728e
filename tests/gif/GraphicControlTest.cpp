#include <gtest/gtest.h>

#include "ExtensionTestSupport.h"
#include "gif/GraphicControlExtension.h"

using namespace gif;
using namespace giftest;

namespace {

using GraphicControl = ExtensionFixture;

Bytes Gce(uint8_t Flags, uint16_t Delay, uint8_t Index) {
  return {'!', 0xF9, 4, Flags, static_cast<uint8_t>(Delay), static_cast<uint8_t>(Delay >> 8), Index, 0};
}

}  // namespace

TEST_F(GraphicControl, CreatedEmptyAndWrittenAsItsEightBytes) {
  TGIFGraphicControlExtension Gc(Frame.get());
  EXPECT_EQ(Written(Gc), Gce(0, 0, 0));
  EXPECT_EQ(Gc.RequiredVersion(), ver89a);
  Gc.SetDelay(10);
  EXPECT_EQ(Written(Gc), Gce(0, 10, 0));
  Gc.SetDelay(0x1234);
  Gc.SetTransparent(true);
  Gc.SetUserInput(true);
  Gc.SetDisposal(fdBackground);
  Gc.SetTransparentColor(7);
  EXPECT_EQ(Written(Gc), Gce(0x0B, 0x1234, 7));
  EXPECT_EQ(Gc.Delay(), 0x1234);
  EXPECT_TRUE(Gc.UserInput());
  EXPECT_EQ(Gc.Disposal(), fdBackground);
  Gc.SetUserInput(false);
  Gc.SetTransparent(false);
  EXPECT_EQ(Written(Gc), Gce(0x08, 0x1234, 7));
}

TEST_F(GraphicControl, DisposalKeepsThreeBitsAndTheOtherFlags) {
  const struct {
    uint8_t Value;
    uint8_t Stored;
  } Cases[] = {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}, {7, 7}, {8, 0}, {9, 1}, {255, 7}};
  for (const auto& C : Cases) {
    List().Clear();
    LoadExtensions(Gce(0xE3, 0, 0));  // every bit but the disposal's
    auto* Gc = At<TGIFGraphicControlExtension>(0);
    Gc->SetDisposal(static_cast<TFrameDisposal>(C.Value));
    EXPECT_EQ(static_cast<int>(Gc->Disposal()), C.Stored) << int(C.Value);
    EXPECT_EQ(Written(*Gc), Gce(static_cast<uint8_t>(0xE3 | C.Stored << 2), 0, 0)) << int(C.Value);
  }
}

TEST_F(GraphicControl, FieldsReadAsTheyStandAndWrittenBack) {
  for (uint8_t Disposal = 0; Disposal < 8; ++Disposal) {
    const uint8_t Flags = static_cast<uint8_t>(0xA0 | Disposal << 2 | 0x02);
    // Block size and terminator are taken as they are.
    const Bytes Data = {'!', 0xF9, 7, Flags, 0x0A, 0x00, 200, 9};
    List().Clear();
    LoadExtensions(Data);
    auto* Gc = At<TGIFGraphicControlExtension>(0);
    EXPECT_EQ(static_cast<int>(Gc->Disposal()), Disposal);
    EXPECT_EQ(Gc->Delay(), 10);
    EXPECT_EQ(Gc->TransparentColor(), 200);
    EXPECT_TRUE(Gc->UserInput());
    EXPECT_FALSE(Gc->Transparent());
    EXPECT_EQ(Written(*Gc), Data);
  }
}

TEST_F(GraphicControl, TransparencyFollowsTheFrame) {
  LoadExtensions(Gce(0x01, 0, 3));
  EXPECT_TRUE(Frame->Transparent());
  auto* Gc = At<TGIFGraphicControlExtension>(0);
  Gc->SetTransparent(false);
  EXPECT_FALSE(Frame->Transparent());
  Gc->SetTransparent(true);
  EXPECT_TRUE(Frame->Transparent());
  List().Delete(0);  // a transparent one takes the frame's flag with it
  EXPECT_FALSE(Frame->Transparent());
  EXPECT_EQ(Frame->GraphicControlExtension(), nullptr);

  LoadExtensions(Gce(0x00, 0, 3));
  Frame->SetTransparent(true);
  List().Delete(0);  // an opaque one leaves the flag alone
  EXPECT_TRUE(Frame->Transparent());
}

TEST_F(GraphicControl, TheFirstOfTwoIsTheFramesAndEachUnlinksOnlyItself) {
  LoadExtensions(Concat({Gce(0x04, 5, 0), Gce(0x08, 6, 0), Bytes{','}}));
  ASSERT_EQ(List().Count(), 2);
  auto* First = At<TGIFGraphicControlExtension>(0);
  EXPECT_EQ(First->Delay(), 5);
  EXPECT_EQ(At<TGIFGraphicControlExtension>(1)->Delay(), 6);
  EXPECT_EQ(Frame->GraphicControlExtension(), First);
  EXPECT_EQ(WrittenList(), Concat({Gce(0x04, 5, 0), Gce(0x08, 6, 0)}));
  List().Delete(1);
  EXPECT_EQ(Frame->GraphicControlExtension(), First);
  List().Delete(0);
  EXPECT_EQ(Frame->GraphicControlExtension(), nullptr);
}

TEST_F(GraphicControl, ShortBodyWarnsAndKeepsWhatCame) {
  LoadExtensions({'!', 0xF9, 4, 0x09, 0x20});
  EXPECT_EQ(Log.Messages(), std::vector<std::string>{"Premature end of data"});
  ASSERT_EQ(List().Count(), 1);
  auto* Gc = At<TGIFGraphicControlExtension>(0);
  EXPECT_EQ(Gc->Delay(), 0x20);
  EXPECT_EQ(Gc->Disposal(), fdBackground);
  EXPECT_FALSE(Frame->Transparent());  // not taken from a short body
  EXPECT_EQ(Frame->GraphicControlExtension(), Gc);
}

TEST_F(GraphicControl, TransparentIndexIsCheckedAgainstTheActiveTable) {
  TGIFGraphicControlExtension Gc(Frame.get());
  Gc.SetTransparentColor(200);  // no table at all: anything goes
  EXPECT_EQ(Gc.TransparentColor(), 200);
  Image.GetGlobalColorMap()->Add(0x000000);
  Image.GetGlobalColorMap()->Add(0xFFFFFF);
  Gc.SetTransparentColor(1);
  EXPECT_EQ(Gc.TransparentColor(), 1);
  Gc.SetTransparentColor(2);
  EXPECT_EQ(Gc.TransparentColor(), 0);
  for (int I = 0; I < 4; ++I) Frame->ColorMap()->Add(I);  // the local table rules
  Gc.SetTransparentColor(3);
  EXPECT_EQ(Gc.TransparentColor(), 3);
  Gc.SetTransparentColor(4);
  EXPECT_EQ(Gc.TransparentColor(), 0);
  ASSERT_EQ(Log.Items.size(), 2u);
  for (const Warning& W : Log.Items) {
    EXPECT_EQ(W.Message, "Invalid color index");
    EXPECT_EQ(W.Severity, sevWarning);
    EXPECT_EQ(W.Sender, &Gc);
  }
}

TEST_F(GraphicControl, MadeForAFrameWithOneAlreadyStaysUnlinked) {
  TGIFGraphicControlExtension First(Frame.get());
  {
    TGIFGraphicControlExtension Second(Frame.get());
    EXPECT_EQ(Frame->GraphicControlExtension(), &First);
  }
  EXPECT_EQ(Frame->GraphicControlExtension(), &First);
  TGIFGraphicControlExtension Alone(nullptr);
  Alone.SetTransparent(true);
  Alone.SetTransparentColor(255);
  EXPECT_EQ(Written(Alone), Gce(0x01, 0, 255));
}
