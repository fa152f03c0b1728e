#include <gtest/gtest.h>

#include "ExtensionTestSupport.h"
#include "gif/ApplicationExtension.h"
#include "gif/CommentExtension.h"
#include "gif/GraphicControlExtension.h"
#include "gif/TextExtension.h"

using namespace gif;
using namespace giftest;

namespace {

using CommentExtension = ExtensionFixture;
using TextExtension = ExtensionFixture;

}  // namespace

TEST_F(CommentExtension, EachSubBlockIsALineAndIsWrittenBackAsItWas) {
  const Bytes Data = {'!', 0xFE, 2, 'a', 'b', 2, 0xC3, 0xA9, 0};
  LoadExtensions(Data);
  auto* Comment = At<TGIFCommentExtension>(0);
  ASSERT_NE(Comment, nullptr);
  ASSERT_EQ(Comment->Text().Count(), 2);
  EXPECT_EQ(Comment->Text().Strings(0), "ab");
  EXPECT_EQ(Comment->Text().Strings(1), "\xC3\xA9");
  EXPECT_EQ(Comment->RequiredVersion(), ver89a);
  EXPECT_EQ(Written(*Comment), Data);
}

TEST_F(CommentExtension, NewOneIsEmptyAndLongLinesAreSplit) {
  TGIFCommentExtension Comment(Frame.get());
  EXPECT_EQ(Written(Comment), Bytes{});
  Comment.Text().Add(std::string(300, 'x'));
  EXPECT_EQ(Written(Comment), Concat({Bytes{'!', 0xFE, 255}, Bytes(255, 'x'), Bytes{45}, Bytes(45, 'x'), Bytes{0}}));
}

TEST_F(CommentExtension, ShortSubBlockFailsAndAMissingTerminatorDoesNot) {
  EXPECT_EQ(LoadError({'!', 0xFE, 3, 'a', 'b'}), "Premature end of data");
  EXPECT_EQ(List().Count(), 0);
  EXPECT_EQ(LoadError({'!', 0xFE, 2, 'a', 'b'}), "");
  EXPECT_EQ(At<TGIFCommentExtension>(0)->Text().Strings(0), "ab");
}

TEST_F(TextExtension, HeaderFieldsAndTextReadAndWrittenBack) {
  const Bytes Data = {'!', 0x01, 12, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 3, 'a', 'b', 'c', 1, 'd', 0};
  LoadExtensions(Data);
  auto* Text = At<TGIFTextExtension>(0);
  ASSERT_NE(Text, nullptr);
  EXPECT_EQ(Text->GridLeft(), 0x0201);
  EXPECT_EQ(Text->GridTop(), 0x0403);
  EXPECT_EQ(Text->GridWidth(), 0x0605);
  EXPECT_EQ(Text->GridHeight(), 0x0807);
  EXPECT_EQ(Text->CellWidth(), 9);
  EXPECT_EQ(Text->CellHeight(), 10);
  EXPECT_EQ(Text->TextForegroundIndex(), 11);
  EXPECT_EQ(Text->TextBackgroundIndex(), 12);
  EXPECT_EQ(Text->Text().Text(), "abc\nd\n");
  EXPECT_EQ(Written(*Text), Data);
}

TEST_F(TextExtension, NewOneAndShortHeader) {
  TGIFTextExtension Text(Frame.get());
  Text.Text().Add("a");
  EXPECT_EQ(Written(Text), Concat({Bytes{'!', 0x01, 12}, Bytes(12, 0), Bytes{1, 'a', 0}}));
  EXPECT_EQ(Text.RequiredVersion(), ver89a);
  // The size byte is not checked; the header is always 13 bytes.
  const Bytes OddSize = Concat({Bytes{'!', 0x01, 9}, Bytes(12, 1), Bytes{1, 'b', 0}});
  LoadExtensions(OddSize);
  EXPECT_EQ(Written(*At<TGIFTextExtension>(0)), OddSize);
  EXPECT_EQ(LoadError(Concat({Bytes{'!', 0x01, 12}, Bytes(11, 0)})), "Premature end of data");
  EXPECT_EQ(List().Count(), 1);
}

TEST_F(CommentExtension, BlocksWithoutDataAreNeverWrittenButCopiesKeepThem) {
  // Comments and texts without a byte of text and application blocks without a byte of
  // data, between two graphic control extensions that are written.
  List().Add(std::make_unique<TGIFGraphicControlExtension>(Frame.get()));
  List().Add(std::make_unique<TGIFCommentExtension>(Frame.get()));
  auto BlankLines = std::make_unique<TGIFCommentExtension>(Frame.get());
  BlankLines->Text().Add("");
  BlankLines->Text().Add("");
  List().Add(std::move(BlankLines));
  List().Add(std::make_unique<TGIFTextExtension>(Frame.get()));
  auto NoBlocks = std::make_unique<TGIFUnknownAppExtension>(Frame.get());
  NoBlocks->SetIdentifier("ANIMORA1");
  List().Add(std::move(NoBlocks));
  auto EmptyBlock = std::make_unique<TGIFUnknownAppExtension>(Frame.get());
  EmptyBlock->Blocks().push_back(std::make_unique<TGIFBlock>(0));
  List().Add(std::move(EmptyBlock));
  List().Add(std::make_unique<TGIFGraphicControlExtension>(Frame.get()));
  const Bytes Control = {'!', 0xF9, 4, 0, 0, 0, 0, 0};
  EXPECT_EQ(WrittenList(), Concat({Control, Control}));

  // A block of no bytes among others is left out, as it would end the data there.
  auto* Mixed = At<TGIFUnknownAppExtension>(5);
  Mixed->Blocks().push_back(std::make_unique<TGIFBlock>(1));
  Mixed->Blocks()[1]->Data()[0] = 'x';
  EXPECT_EQ(Written(*Mixed), Concat({Bytes{'!', 0xFF, 11}, Bytes(11, 0), Bytes{1, 'x', 0}}));
  Mixed->Blocks().pop_back();

  Frame->SetBounds(0, 0, 1, 1);
  Frame->AllocatePixels();
  TGIFSubImage Copy(&Image);
  Copy.Assign(Frame.get());
  // A copy, such as the editor's preview, keeps every block in its place.
  ASSERT_EQ(Copy.Extensions()->Count(), 7);
  EXPECT_NE(dynamic_cast<TGIFCommentExtension*>(Copy.Extensions()->Extensions(1)), nullptr);
  EXPECT_NE(dynamic_cast<TGIFCommentExtension*>(Copy.Extensions()->Extensions(2)), nullptr);
  EXPECT_NE(dynamic_cast<TGIFTextExtension*>(Copy.Extensions()->Extensions(3)), nullptr);
  const auto* App = dynamic_cast<TGIFUnknownAppExtension*>(Copy.Extensions()->Extensions(4));
  ASSERT_NE(App, nullptr);
  EXPECT_EQ(App->Identifier(), "ANIMORA1");
}
