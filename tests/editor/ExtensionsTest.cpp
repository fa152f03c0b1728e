// The extension editor under offscreen Qt: the tree, the property rows, Save and Apply
// with their conversions and checks, adding and deleting blocks, the hex dump, and the
// results read back by giflib.
#include <gif_lib.h>
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <fstream>
#include <iterator>

#include "editor/ExtensionText.h"
#include "editor/Preview.h"
#include "editor/controls/EditN.h"
#include "editor/controls/PaletteGrid.h"
#include "editor/forms/EditPropDlg.h"
#include "editor/forms/ExchangePlace.h"
#include "editor/forms/ExtensTypeDlg.h"
#include "editor/forms/ExtensionsDlg.h"
#include "editor/forms/MoveFrame.h"
#include "tests/editor/MainTestSupport.h"

using maintest::MainWindowTest;
using maintest::WhenModal;
using uitest::TScriptedDialogs;

namespace {

// Two frames of 4 x 2: frame 0 with a graphic control extension of delay 10, frame 1
// with a comment and a graphic control extension, and a local table of 5 entries.
void WriteProject(const std::string& FileName) {
  gif::TGIFImage Image;
  Image.Header().SetScreenWidth(4);
  Image.Header().SetScreenHeight(2);
  for (base::TColor C : {0x000000, 0xFFFFFF}) Image.GetGlobalColorMap()->Add(C);
  for (int F = 0; F < 2; ++F) {
    auto Frame = std::make_unique<gif::TGIFSubImage>(&Image);
    Frame->SetBounds(0, 0, 4, 2);
    Frame->AllocatePixels();
    if (F == 1) {
      auto Comment = std::make_unique<gif::TGIFCommentExtension>(Frame.get());
      Comment->Text().Add("caf\xC3\xA9");
      Frame->Extensions()->Add(std::move(Comment));
      for (base::TColor C : {0x0000FF, 0x00FF00, 0xFF0000, 0x123456, 0x654321}) Frame->ColorMap()->Add(C);
    }
    auto Control = std::make_unique<gif::TGIFGraphicControlExtension>(Frame.get());
    Control->SetDelay(10);
    Frame->Extensions()->Add(std::move(Control));
    Image.Frames().Add(std::move(Frame));
  }
  Image.SaveToFile(FileName);
}

struct TGiflibFrame {
  int Delay = -1;
  int Loops = -1;
  int LoopBlocks = 0;
  std::vector<std::string> Comments;
};

// What giflib reads of each frame.
std::vector<TGiflibFrame> ReadWithGiflib(const std::string& FileName) {
  int Error = 0;
  GifFileType* File = DGifOpenFileName(FileName.c_str(), &Error);
  EXPECT_NE(File, nullptr);
  if (!File) return {};
  EXPECT_EQ(DGifSlurp(File), GIF_OK);
  std::vector<TGiflibFrame> Frames(static_cast<size_t>(File->ImageCount));
  for (int I = 0; I < File->ImageCount; ++I) {
    GraphicsControlBlock Control;
    if (DGifSavedExtensionToGCB(File, I, &Control) == GIF_OK) Frames[static_cast<size_t>(I)].Delay = Control.DelayTime;
    const SavedImage& Saved = File->SavedImages[I];
    int Kind = 0;
    for (int E = 0; E < Saved.ExtensionBlockCount; ++E) {
      const ExtensionBlock& Block = Saved.ExtensionBlocks[E];
      // giflib lists the further sub-blocks of an extension as continuations.
      if (Block.Function != CONTINUE_EXT_FUNC_CODE) Kind = Block.Function;
      if (Kind == COMMENT_EXT_FUNC_CODE)
        Frames[static_cast<size_t>(I)].Comments.emplace_back(reinterpret_cast<char*>(Block.Bytes), Block.ByteCount);
      if (Block.Function == APPLICATION_EXT_FUNC_CODE && Block.ByteCount == 11 &&
          std::string(reinterpret_cast<char*>(Block.Bytes), 11) == "NETSCAPE2.0" && E + 1 < Saved.ExtensionBlockCount) {
        const ExtensionBlock& Data = Saved.ExtensionBlocks[E + 1];
        Frames[static_cast<size_t>(I)].Loops = Data.Bytes[1] | Data.Bytes[2] << 8;
        ++Frames[static_cast<size_t>(I)].LoopBlocks;
      }
    }
  }
  DGifCloseFile(File, &Error);
  return Frames;
}

class ExtensionsTest : public MainWindowTest {
 protected:
  editor::TExtensionsForm& Open() {
    WriteProject(InStart("ext.gif"));
    editor::TGiffer& Main = Shown({"ext.gif"});
    Main.Action("ExtensButton")->trigger();
    editor::TExtensionsForm* Form = Main.ExtensionsForm();
    EXPECT_NE(Form, nullptr);
    return *Form;
  }
  QTreeWidgetItem* Node(editor::TExtensionsForm& Form, int Frame, int Child) {
    QTreeWidgetItem* FrameNode = Form.ExtenTree()->topLevelItem(Frame);
    return Child < 0 ? FrameNode : FrameNode->child(Child);
  }
  void Select(editor::TExtensionsForm& Form, int Frame, int Child) {
    Form.ExtenTree()->setCurrentItem(Node(Form, Frame, Child));
  }
  // Edits row Row through the property dialog, typing Value.
  void EditRow(editor::TExtensionsForm& Form, int Row, const QString& Value) {
    Form.ListViewInfo()->setCurrentItem(Form.ListViewInfo()->topLevelItem(Row));
    WhenModal<editor::TEditPropertyForm>([Value](editor::TEditPropertyForm& Dialog) {
      Dialog.EditValue()->setText(Value);
      Dialog.findChild<QPushButton*>("Button1")->click();
    });
    Form.EditpropertyClick();
  }
  std::vector<std::pair<QString, QString>> Rows(editor::TExtensionsForm& Form) {
    std::vector<std::pair<QString, QString>> Result;
    for (int I = 0; I < Form.ListViewInfo()->topLevelItemCount(); ++I)
      Result.emplace_back(Form.ListViewInfo()->topLevelItem(I)->text(0), Form.ListViewInfo()->topLevelItem(I)->text(1));
    return Result;
  }
  gif::TGIFGraphicControlExtension& ProjectControl(int Frame) {
    return *Giffer->FGif()->Frames().SubImages(Frame)->GraphicControlExtension();
  }
};

TEST_F(ExtensionsTest, TheTreeListsEveryFramesBlocksAndLocalTable) {
  editor::TExtensionsForm& Form = Open();
  ASSERT_EQ(Form.ExtenTree()->topLevelItemCount(), 2);
  EXPECT_EQ(Node(Form, 0, -1)->text(0), "Frame 0");
  EXPECT_EQ(Node(Form, 0, 0)->text(0), "Graphic Control Extension");
  EXPECT_EQ(Node(Form, 1, 0)->text(0), "Comment Extension");
  EXPECT_EQ(Node(Form, 1, 2)->text(0), "Local Palette");
  Select(Form, 0, 0);
  EXPECT_EQ(Rows(Form), (std::vector<std::pair<QString, QString>>{
                            {"Delay", "100"}, {"Transparent", "No"}, {"TransparentColor", "0"}, {"Prompt", "No"},
                            {"Disposal", "None specified"}}));
  EXPECT_EQ(Form.Control<editor::TEditN>("DelayEdit")->text(), "100");
  Select(Form, 1, 0);
  EXPECT_EQ(Form.MemoPreview()->toPlainText(), QString::fromUtf8("caf\xC3\xA9"));
  EXPECT_FALSE(Form.Control<QToolButton>("SaveButton")->isEnabled());
  Select(Form, 1, 2);
  EXPECT_EQ(Rows(Form)[0], std::make_pair(QString("Count"), QString("8")));
  editor::TPaletteGrid& Grid = *Form.PaintBoxPalette();
  EXPECT_EQ(std::make_pair(Grid.Layout().Rows, Grid.Layout().Cols), std::make_pair(2, 4));
  EXPECT_FALSE(Form.Control<QToolButton>("DelButton")->isEnabled());
}

TEST_F(ExtensionsTest, EachKindOfNodeHasItsIcon) {
  editor::TExtensionsForm& Form = Open();
  gif::TGIFSubImage* First = Giffer->FGif()->Frames().SubImages(0);
  auto Text = std::make_unique<gif::TGIFTextExtension>(First);
  Text->Text().Add("text");
  First->Extensions()->Add(std::move(Text));
  First->Extensions()->Add(std::make_unique<gif::TGIFAppExtNSLoop>(First));
  auto Unknown = std::make_unique<gif::TGIFUnknownAppExtension>(First);
  Unknown->Blocks().push_back(std::make_unique<gif::TGIFBlock>(1));
  First->Extensions()->Add(std::move(Unknown));
  Giffer->Preview()->Rebind();
  const auto Picture = [](const QIcon& Icon) {
    return Icon.pixmap(QSize(20, 20)).toImage().convertToFormat(QImage::Format_ARGB32);
  };
  struct TNode {
    int Frame, Child;
    const char* Text;
    const char* Icon;
  };
  std::vector<QImage> Seen;
  for (const TNode& Each : {TNode{0, 0, "Graphic Control Extension", "graphiccontrol"},
                            TNode{0, 1, "Text extension", "plaintext"},
                            TNode{0, 2, "Netscape Loop Extension", "loop"},
                            TNode{0, 3, "Application Extension", "application"},
                            TNode{1, 0, "Comment Extension", "comment"}, TNode{1, 2, "Local Palette", "palette"}}) {
    SCOPED_TRACE(Each.Text);
    QTreeWidgetItem* Item = Node(Form, Each.Frame, Each.Child);
    ASSERT_EQ(Item->text(0), Each.Text);
    const QImage Shown = Picture(Item->icon(0));
    ASSERT_FALSE(Item->icon(0).isNull());
    EXPECT_EQ(Shown, Picture(QIcon(QStringLiteral(":/icons/%1.png").arg(Each.Icon))));
    for (const QImage& Other : Seen) EXPECT_NE(Shown, Other) << "each kind has an icon of its own";
    Seen.push_back(Shown);
  }
}

struct TDelayCase {
  bool Apply;
  const char* Milliseconds;
  int Stored;
};

TEST_F(ExtensionsTest, SaveRoundsAndApplyTruncatesTheDelay) {
  for (const TDelayCase& Case : {TDelayCase{false, "105", 10}, TDelayCase{false, "115", 12}, TDelayCase{true, "109", 10},
                                 TDelayCase{true, "1234", 123}}) {
    SCOPED_TRACE(Case.Milliseconds);
    editor::TExtensionsForm& Form = Open();
    Select(Form, 0, 0);
    if (Case.Apply) {
      Form.Control<editor::TEditN>("DelayEdit")->setText(Case.Milliseconds);
      Form.Button1Click();
    } else {
      EditRow(Form, 0, Case.Milliseconds);
      EXPECT_TRUE(Form.Control<QToolButton>("SaveButton")->isEnabled());
      Form.SaveButtonClick();
    }
    EXPECT_EQ(ProjectControl(0).Delay(), Case.Stored);
    EXPECT_TRUE(Giffer->Modified());
    ASSERT_TRUE(Giffer->SaveButtonClick());
    EXPECT_EQ(ReadWithGiflib(InStart("ext.gif"))[0].Delay, Case.Stored);
    Giffer.reset();
  }
}

TEST_F(ExtensionsTest, ValuesOutOfRangeWriteNothing) {
  editor::TExtensionsForm& Form = Open();
  Select(Form, 0, 0);
  TScriptedDialogs Dialogs({uitest::Press(ui::mrOk), uitest::Press(ui::mrOk)});
  Form.Control<editor::TEditN>("DelayEdit")->setText("300");
  Form.Control<editor::TEditN>("TransparentEdit")->setText("256");
  Form.Button1Click();
  EditRow(Form, 0, "700000");
  Form.SaveButtonClick();
  EXPECT_EQ(editortest::Messages(Dialogs),
            (std::vector<std::pair<std::string, std::string>>{{"Transparent color index is out of range.", "Error!"},
                                                              {"Delay is out of range.", "Error!"}}));
  EXPECT_EQ(ProjectControl(0).Delay(), 10);
  EXPECT_FALSE(Giffer->Modified());
}

TEST_F(ExtensionsTest, ApplyAddsTheLoopOnlyOnFrameZero) {
  editor::TExtensionsForm& Form = Open();
  Select(Form, 1, 0);
  EXPECT_FALSE(Form.Control<editor::TEditN>("Loop")->isEnabled());
  Form.Button1Click();
  EXPECT_EQ(Giffer->FGif()->Frames().SubImages(1)->Extensions()->Count(), 2);
  Select(Form, 0, 0);
  EXPECT_TRUE(Form.Control<editor::TEditN>("Loop")->isEnabled());
  Form.Button1Click();
  const gif::TGIFExtensionList& First = *Giffer->FGif()->Frames().SubImages(0)->Extensions();
  ASSERT_EQ(First.Count(), 2);
  ASSERT_NE(dynamic_cast<const gif::TGIFAppExtNSLoop*>(First.Extensions(1)), nullptr);
  // The loop count is then edited through its row.
  Select(Form, 0, 1);
  EditRow(Form, 0, "3");
  Form.SaveButtonClick();
  ASSERT_TRUE(Giffer->SaveButtonClick());
  const auto Read = ReadWithGiflib(InStart("ext.gif"));
  EXPECT_EQ(Read[0].Loops, 3);
  EXPECT_EQ(Read[1].Loops, -1);
  EXPECT_EQ(Read[1].Comments, std::vector<std::string>{"caf\xC3\xA9"});
}

// Four frames of 1 x 1 in the colours 0 to 3, each with a graphic control extension;
// frame 0 starts with a loop block of 2 repeats.
void WriteLoopingFrames(const std::string& FileName) {
  gif::TGIFImage Image;
  Image.Header().SetScreenWidth(1);
  Image.Header().SetScreenHeight(1);
  for (base::TColor C : {0x000000, 0x0000FF, 0x00FF00, 0xFF0000}) Image.GetGlobalColorMap()->Add(C);
  for (int F = 0; F < 4; ++F) {
    auto Frame = std::make_unique<gif::TGIFSubImage>(&Image);
    Frame->SetBounds(0, 0, 1, 1);
    Frame->AllocatePixels();
    Frame->Data()[0] = static_cast<uint8_t>(F);
    if (F == 0) {
      auto Loop = std::make_unique<gif::TGIFAppExtNSLoop>(Frame.get());
      Loop->SetLoops(2);
      Frame->Extensions()->Add(std::move(Loop));
    }
    Frame->Extensions()->Add(std::make_unique<gif::TGIFGraphicControlExtension>(Frame.get()));
    Image.Frames().Add(std::move(Frame));
  }
  Image.SaveToFile(FileName);
}

// How many loop blocks each frame of Image holds.
std::vector<int> LoopBlocks(const gif::TGIFImage& Image) {
  std::vector<int> Counts;
  for (int F = 0; F < Image.Frames().Count(); ++F) {
    const gif::TGIFExtensionList& Blocks = *Image.Frames().SubImages(F)->Extensions();
    int Count = 0;
    for (int B = 0; B < Blocks.Count(); ++B) Count += dynamic_cast<const gif::TGIFAppExtNSLoop*>(Blocks.Extensions(B)) != nullptr;
    Counts.push_back(Count);
  }
  return Counts;
}

TEST_F(ExtensionsTest, ExchangeAndMoveLeaveTheOneLoopBlockOnFrameZero) {
  WriteLoopingFrames(InStart("loop.gif"));
  editor::TGiffer& Main = Shown({"loop.gif"});
  const std::vector<int> OnFirstOnly = {1, 0, 0, 0};
  WhenModal<editor::TExchangePlaceForm>([](editor::TExchangePlaceForm& Form) {
    Form.FirstFrameEdit()->setText("1");
    Form.SecondFrameEdit()->setText("4");
    Form.findChild<QPushButton*>("OkButton")->click();
  });
  Main.Action("Exchange1")->trigger();
  EXPECT_EQ(Main.FGif()->Frames().SubImages(0)->Data()[0], 3);
  EXPECT_EQ(LoopBlocks(*Main.FGif()), OnFirstOnly) << "after the exchange";
  EXPECT_EQ(LoopBlocks(*Main.Preview()->PreviewGif()), OnFirstOnly) << "the preview's copy";
  WhenModal<editor::TMoveFrameForm>([](editor::TMoveFrameForm& Form) {
    Form.CurrentEdit()->setText("1");
    Form.NewEdit()->setText("3");
    Form.findChild<QPushButton*>("OkButton")->click();
  });
  Main.Action("Moveframe1")->trigger();
  EXPECT_EQ(Main.FGif()->Frames().SubImages(0)->Data()[0], 1);
  EXPECT_EQ(LoopBlocks(*Main.FGif()), OnFirstOnly) << "after the move";

  // Apply on frame 0 finds the loop block there and adds none.
  Main.Action("ExtensButton")->trigger();
  editor::TExtensionsForm& Form = *Main.ExtensionsForm();
  Select(Form, 0, 0);
  EXPECT_EQ(Node(Form, 0, 0)->text(0).toStdString(), "Netscape Loop Extension");
  EXPECT_EQ(Form.Control<editor::TEditN>("Loop")->text().toStdString(), "2");
  Form.Button1Click();
  EXPECT_EQ(LoopBlocks(*Main.FGif()), OnFirstOnly) << "after Apply";
  ASSERT_TRUE(Main.SaveButtonClick());

  std::ifstream In(InStart("loop.gif"), std::ios::binary);
  const std::string Bytes{std::istreambuf_iterator<char>(In), {}};
  EXPECT_EQ(Bytes.find("NETSCAPE2.0"), Bytes.rfind("NETSCAPE2.0"));
  EXPECT_NE(Bytes.find("NETSCAPE2.0"), std::string::npos);
  const auto Read = ReadWithGiflib(InStart("loop.gif"));
  ASSERT_EQ(Read.size(), 4u);
  EXPECT_EQ(Read[0].LoopBlocks, 1);
  EXPECT_EQ(Read[0].Loops, 2);
  for (int F = 1; F < 4; ++F) EXPECT_EQ(Read[static_cast<size_t>(F)].LoopBlocks, 0) << F;
}

TEST_F(ExtensionsTest, AddOffersTheLoopOnlyOnFrameZeroAndDeleteAsks) {
  editor::TExtensionsForm& Form = Open();
  Select(Form, 1, 0);
  bool LoopOffered = true;
  WhenModal<editor::TExtensType>([&](editor::TExtensType& Dialog) {
    LoopOffered = !Dialog.NetscapeLoop()->isHidden();
    Dialog.GraphContrExt()->setChecked(true);
    Dialog.findChild<QPushButton*>("OkButton")->click();
  });
  Form.AddButtonClick();
  EXPECT_FALSE(LoopOffered);
  EXPECT_EQ(Giffer->FGif()->Frames().SubImages(1)->Extensions()->Count(), 3);
  EXPECT_EQ(Node(Form, 1, 2)->text(0), "Graphic Control Extension");

  Select(Form, 1, 0);
  {
    TScriptedDialogs Dialogs({uitest::Press(ui::mrCancel)});
    Form.DelButtonClick();
  }
  EXPECT_EQ(Giffer->FGif()->Frames().SubImages(1)->Extensions()->Count(), 3);
  TScriptedDialogs Dialogs({uitest::Press(ui::mrOk)});
  Form.DelButtonClick();
  EXPECT_EQ(editortest::Messages(Dialogs)[0].first, "Are you sure that you want delete this extension?");
  EXPECT_EQ(Giffer->FGif()->Frames().SubImages(1)->Extensions()->Count(), 2);
  EXPECT_EQ(Node(Form, 1, 0)->text(0), "Graphic Control Extension");
}

TEST_F(ExtensionsTest, AnAddedCommentKeepsItsPlaceAndIsSavedOnceItHasText) {
  editor::TExtensionsForm& Form = Open();
  Select(Form, 0, 0);
  WhenModal<editor::TExtensType>(
      [](editor::TExtensType& Dialog) { Dialog.findChild<QPushButton*>("OkButton")->click(); });
  Form.AddButtonClick();
  ASSERT_EQ(Node(Form, 0, 1)->text(0), "Comment Extension");
  // A file with a comment of no data is refused by giflib as a whole.
  ASSERT_TRUE(Giffer->SaveButtonClick());
  auto Read = ReadWithGiflib(InStart("ext.gif"));
  ASSERT_EQ(Read.size(), 2u);
  EXPECT_EQ(Read[0].Delay, 10);
  EXPECT_TRUE(Read[0].Comments.empty());
  EXPECT_EQ(Node(Form, 0, 1)->text(0), "Comment Extension");

  Select(Form, 0, 1);
  Form.MemoPreview()->setPlainText("later");
  Form.SaveButtonClick();
  ASSERT_TRUE(Giffer->SaveButtonClick());
  Read = ReadWithGiflib(InStart("ext.gif"));
  ASSERT_EQ(Read.size(), 2u);
  EXPECT_EQ(Read[0].Comments, std::vector<std::string>{"later"});
}

TEST_F(ExtensionsTest, AnUnsavedEditWarnsOnceAndTheTreeFollowsEveryRebind) {
  editor::TExtensionsForm& Form = Open();
  Select(Form, 0, 0);
  EditRow(Form, 3, "1");
  ASSERT_TRUE(Form.Control<QToolButton>("SaveButton")->isEnabled());
  {
    TScriptedDialogs Dialogs({uitest::Press(ui::mrOk)});
    Select(Form, 1, 1);
    Select(Form, 0, 0);
    EXPECT_EQ(editortest::Messages(Dialogs),
              (std::vector<std::pair<std::string, std::string>>{{"Extension has not be saved", "Warning"}}));
  }
  Giffer->Action("Addframe1")->trigger();
  EXPECT_EQ(Form.ExtenTree()->topLevelItemCount(), 3);
  EXPECT_EQ(Form.FSelected(), nullptr);
  Giffer->ResetProject();
  EXPECT_EQ(Form.ExtenTree()->topLevelItemCount(), 0);
  EXPECT_FALSE(Form.Control<QPushButton>("Button1")->isEnabled());
  EXPECT_FALSE(Form.Control<QToolButton>("AddButton")->isEnabled());
}

TEST_F(ExtensionsTest, AnEditedCommentIsSavedAndTheDumpIsReadOnly) {
  editor::TExtensionsForm& Form = Open();
  Select(Form, 1, 0);
  Form.MemoPreview()->setPlainText(QString::fromUtf8("first line\nsecond \xC3\xA9"));
  ASSERT_TRUE(Form.Control<QToolButton>("SaveButton")->isEnabled());
  Form.SaveButtonClick();
  ASSERT_TRUE(Giffer->SaveButtonClick());
  EXPECT_EQ(ReadWithGiflib(InStart("ext.gif"))[1].Comments,
            (std::vector<std::string>{"first line", "second \xC3\xA9"}));

  auto Unknown = std::make_unique<gif::TGIFUnknownAppExtension>(Giffer->FGif()->Frames().SubImages(0));
  Unknown->SetIdentifier("ANIMORA1");
  Unknown->SetAuthentication("1.0");
  Unknown->Blocks().push_back(std::make_unique<gif::TGIFBlock>(3));
  Giffer->FGif()->Frames().SubImages(0)->Extensions()->Add(std::move(Unknown));
  Giffer->Preview()->Rebind();
  Select(Form, 0, 1);
  EXPECT_EQ(Node(Form, 0, 1)->text(0), "Application Extension");
  EXPECT_TRUE(Form.MemoPreview()->isReadOnly());
  EXPECT_EQ(Rows(Form), (std::vector<std::pair<QString, QString>>{
                            {"Identifier", "ANIMORA1"}, {"Authentication", "1.0"}, {"Data Blocks", "1"}}));
  EXPECT_FALSE(Form.Control<QToolButton>("SaveButton")->isEnabled());
}

TEST_F(ExtensionsTest, CtrlReturnStartsASecondCommentLineAndReturnAloneDoesNothing) {
  editor::TExtensionsForm& Form = Open();
  Select(Form, 1, 0);
  QPlainTextEdit& Memo = *Form.MemoPreview();
  Memo.clear();
  QTest::keyClicks(&Memo, "a");
  for (Qt::KeyboardModifiers Modifiers : {Qt::KeyboardModifiers(), Qt::KeyboardModifiers(Qt::ShiftModifier)})
    for (Qt::Key Key : {Qt::Key_Return, Qt::Key_Enter}) QTest::keyClick(&Memo, Key, Modifiers);
  EXPECT_EQ(Memo.toPlainText(), "a");
  QTest::keyClick(&Memo, Qt::Key_Return, Qt::ControlModifier);
  QTest::keyClicks(&Memo, "b");
  EXPECT_EQ(Memo.toPlainText(), "a\nb");
  ASSERT_TRUE(Form.Control<QToolButton>("SaveButton")->isEnabled());
  Form.SaveButtonClick();
  const base::TStrings& Lines =
      dynamic_cast<gif::TGIFCommentExtension&>(*Giffer->FGif()->Frames().SubImages(1)->Extensions()->Extensions(0))
          .Text();
  ASSERT_EQ(Lines.Count(), 2);
  EXPECT_EQ(Lines.Strings(0), "a");
  EXPECT_EQ(Lines.Strings(1), "b");
  ASSERT_TRUE(Giffer->SaveButtonClick());
  EXPECT_EQ(ReadWithGiflib(InStart("ext.gif"))[1].Comments, (std::vector<std::string>{"a", "b"}));
  // Read back, the comment shows its two lines again.
  Giffer->LoadProject(InStart("ext.gif"));
  Select(Form, 1, 0);
  EXPECT_EQ(Memo.toPlainText(), "a\nb");

  // A dump takes no line either.
  gif::TGIFSubImage* First = Giffer->FGif()->Frames().SubImages(0);
  auto Unknown = std::make_unique<gif::TGIFUnknownAppExtension>(First);
  Unknown->Blocks().push_back(std::make_unique<gif::TGIFBlock>(1));
  First->Extensions()->Add(std::move(Unknown));
  Giffer->Preview()->Rebind();
  Select(Form, 0, 1);
  const QString Dump = Memo.toPlainText();
  QTest::keyClick(&Memo, Qt::Key_Return, Qt::ControlModifier);
  EXPECT_EQ(Memo.toPlainText(), Dump);
}

TEST(HexDump, ElevenBytesMakeOnePaddedRow) {
  gif::TGIFUnknownAppExtension Extension(nullptr);
  auto Block = std::make_unique<gif::TGIFBlock>(11);
  const char* Text = "AB\x01 z9{}\xFFqQ";
  std::memcpy(Block->Data(), Text, 11);
  Extension.Blocks().push_back(std::move(Block));
  const std::vector<std::string> Lines = editor::HexDump(Extension);
  ASSERT_EQ(Lines.size(), 4u);
  EXPECT_EQ(Lines[0], "Block: 00   Size: 011 bytes");
  EXPECT_EQ(Lines[1], std::string(65, '-'));
  EXPECT_EQ(Lines[2], "41 42 01 20 7A 39 7B 7D FF 71 51 " + std::string(15, ' ') + " AB. z9..\x2EqQ");
  EXPECT_EQ(Lines[3], "");
}

TEST(CommentText, Utf8WhenValidElseLatin1) {
  EXPECT_EQ(editor::CommentText("caf\xC3\xA9"), QString::fromUtf8("caf\xC3\xA9"));
  EXPECT_EQ(editor::CommentText("caf\xE9"), QString::fromLatin1("caf\xE9"));
}

}  // namespace
