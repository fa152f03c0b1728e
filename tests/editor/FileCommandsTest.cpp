#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QSlider>
#include <QTimer>
#include <QToolButton>
#include <functional>

#include "editor/ExchangeFile.h"
#include "editor/FileFilters.h"
#include "editor/Preview.h"
#include "editor/controls/ComboBox97.h"
#include "editor/controls/EditN.h"
#include "editor/forms/NewGIF.h"
#include "editor/forms/SaveJPEGDlg.h"
#include "gif/GIFImage.h"
#include "platform/graphics/Bitmap.h"
#include "platform/ui/WindowCanvas.h"

#include "tests/editor/MainTestSupport.h"

using maintest::MainWindowTest;
using maintest::WhenModal;
using uitest::TDialogKind;
using uitest::TScriptedDialogs;

namespace {

std::string Head(const std::string& FileName, int Size) {
  QFile File(QString::fromStdString(FileName));
  if (!File.open(QIODevice::ReadOnly)) return {};
  return File.read(Size).toStdString();
}

// What a file's first bytes say it is.
std::string FormatOf(const std::string& FileName) {
  const std::string Bytes = Head(FileName, 4);
  if (Bytes.rfind("GIF8", 0) == 0) return "GIF";
  if (Bytes.rfind("BM", 0) == 0) return "BMP";
  if (Bytes.rfind("\xFF\xD8", 0) == 0) return "JPEG";
  return "?";
}

int Delay(const gif::TGIFSubImage& Frame) {
  for (int Index = 0; Index < Frame.Extensions()->Count(); ++Index)
    if (auto* Control = dynamic_cast<gif::TGIFGraphicControlExtension*>(Frame.Extensions()->Extensions(Index)))
      return Control->Delay();
  return -1;
}

bool HasComment(const gif::TGIFSubImage& Frame) {
  for (int Index = 0; Index < Frame.Extensions()->Count(); ++Index)
    if (dynamic_cast<gif::TGIFCommentExtension*>(Frame.Extensions()->Extensions(Index))) return true;
  return false;
}

// A GIF of Frames frames of 8 x 6, each with a delay of 25 and a comment.
void WriteTimedGIF(const std::string& FileName, int Frames) {
  gif::TGIFImage Image;
  Image.Header().SetScreenWidth(8);
  Image.Header().SetScreenHeight(6);
  Image.GetGlobalColorMap()->Add(0x000000);
  Image.GetGlobalColorMap()->Add(0xFFFFFF);
  for (int Index = 0; Index < Frames; ++Index) {
    auto Frame = std::make_unique<gif::TGIFSubImage>(&Image);
    auto Control = std::make_unique<gif::TGIFGraphicControlExtension>(Frame.get());
    Control->SetDelay(25);
    Frame->Extensions()->Add(std::move(Control));
    auto Comment = std::make_unique<gif::TGIFCommentExtension>(Frame.get());
    Comment->Text().Add("made by the test");
    Frame->Extensions()->Add(std::move(Comment));
    Frame->SetBounds(0, 0, 8, 6);
    Frame->AllocatePixels();
    for (int Y = 0; Y < 6; ++Y)
      for (int X = 0; X < 8; ++X) Frame->Scanline(Y)[X] = static_cast<uint8_t>((X + Y + Index) % 2);
    Image.Frames().Add(std::move(Frame));
  }
  Image.SaveToFile(FileName);
}

void WriteBMP(const std::string& FileName, int Width, int Height) {
  graphics::TBitmap Bitmap;
  Bitmap.SetPixelFormat(graphics::pf24bit);
  Bitmap.SetWidth(Width);
  Bitmap.SetHeight(Height);
  Bitmap.SaveToFile(FileName);
}

void AcceptJPEGOptions() {
  WhenModal<editor::TSaveJPEGForm>([](editor::TSaveJPEGForm& Form) {
    Form.CompressQual()->setValue(80);
    Form.accept();
  });
}

class FileCommandsTest : public MainWindowTest {
 protected:
  editor::TGiffer& Opened(const std::string& Name) {
    editor::TGiffer& Giffer = Shown();
    TScriptedDialogs Dialogs({uitest::OpenFiles({InStart(Name)})});
    Giffer.Action("OpenButton")->trigger();
    EXPECT_TRUE(Dialogs.Done());
    return Giffer;
  }
};

TEST_F(FileCommandsTest, TheDialogsOfferTheirFilters) {
  maintest::WriteGIF(InStart("clip.gif"));
  editor::TGiffer& Giffer = Shown({"clip.gif"});
  TScriptedDialogs Dialogs({uitest::Cancel(TDialogKind::Open), uitest::Cancel(TDialogKind::Save),
                            uitest::Cancel(TDialogKind::Save), uitest::Cancel(TDialogKind::Open)});
  for (const char* Name : {"OpenButton", "Saveas1", "ExportFrameButton", "ImportFrameButton"}) {
    EXPECT_TRUE(Giffer.Action(Name)->isEnabled()) << Name;
    Giffer.Action(Name)->trigger();
  }
  ASSERT_TRUE(Dialogs.Done());
  const char* Filters[] = {editor::OpenFilter, editor::SaveFilter, editor::ExportFilter, editor::ImportFilter};
  for (size_t Index = 0; Index < 4; ++Index) EXPECT_EQ(Dialogs.Calls()[Index].Filter, Filters[Index]);
  EXPECT_EQ(Dialogs.Calls()[1].FileName, InStart("clip.gif"));
  // Only the import shows the picture it is about to take.
  for (size_t Index = 0; Index < 4; ++Index) EXPECT_EQ(Dialogs.Calls()[Index].PicturePreview, Index == 3) << Index;
  EXPECT_EQ(Giffer.FGif()->Frames().Count(), 2);
  EXPECT_FALSE(Giffer.Modified());
}

struct SaveCase {
  const char* Name;
  const char* File;
  const char* Format;
  bool StaysModified;  // only the current frame went into the file
};

class SaveByExtension : public FileCommandsTest, public testing::WithParamInterface<SaveCase> {};

TEST_P(SaveByExtension, WritesTheFormatOfTheExtensionAndOpensAgain) {
  const SaveCase& Case = GetParam();
  maintest::WriteGIF(InStart("clip.gif"), 12, 10);
  editor::TGiffer& Giffer = Opened("clip.gif");
  ASSERT_EQ(Giffer.FGif()->Frames().Count(), 2);
  Giffer.SetModified(true);
  TScriptedDialogs Dialogs({uitest::SaveAs(InStart(Case.File))});
  if (std::string(Case.Format) == "JPEG") AcceptJPEGOptions();
  Giffer.Action("Saveas1")->trigger();
  EXPECT_TRUE(Dialogs.Done());
  EXPECT_EQ(FormatOf(InStart(Case.File)), Case.Format);
  EXPECT_EQ(Giffer.FFileName(), InStart(Case.File));
  EXPECT_EQ(Giffer.windowTitle().toStdString(), std::string("Veltrane Animora Pro: ") + Case.File);
  EXPECT_EQ(Giffer.Modified(), Case.StaysModified);
  // No temporary file is left beside the output.
  EXPECT_EQ(QDir(QString::fromStdString(Start.Path())).entryList(QDir::Files).size(), 2);

  if (Case.StaysModified) Dialogs.Then(uitest::Press(ui::mrNo));
  Giffer.LoadProject(InStart(Case.File));
  ASSERT_NE(Giffer.FGif(), nullptr);
  EXPECT_EQ(Giffer.FGif()->Frames().Count(), std::string(Case.Format) == "GIF" ? 2 : 1);
  EXPECT_EQ(Giffer.FGif()->Width(), 12);
  EXPECT_EQ(Giffer.FGif()->Height(), 10);
  EXPECT_FALSE(Giffer.Modified());
  EXPECT_TRUE(Dialogs.Done());
}

INSTANTIATE_TEST_SUITE_P(Formats, SaveByExtension,
                         testing::Values(SaveCase{"Gif", "out.gif", "GIF", false},
                                         SaveCase{"Bmp", "out.bmp", "BMP", true},
                                         SaveCase{"Jpg", "out.jpg", "JPEG", true},
                                         SaveCase{"Jpeg", "out.jpeg", "JPEG", true},
                                         SaveCase{"UpperCase", "OUT.BMP", "BMP", true}),
                         [](const auto& Info) { return std::string(Info.param.Name); });

struct PartialSaveCase {
  const char* Name;
  int Frames;
  const char* File;
  bool Closing;  // the close question, else the one before opening another project
  bool GoesOn;   // the whole project went into the file
};

void PrintTo(const PartialSaveCase& Case, std::ostream* Out) { *Out << Case.Name; }

class PartialSaveQuestion : public FileCommandsTest, public testing::WithParamInterface<PartialSaveCase> {};

TEST_P(PartialSaveQuestion, YesGoesOnOnlyWhenNothingIsLeftUnsaved) {
  const PartialSaveCase& Case = GetParam();
  WriteTimedGIF(InStart("clip.gif"), Case.Frames);
  maintest::WriteGIF(InStart("other.gif"));
  editor::TGiffer& Giffer = Opened("clip.gif");
  {
    TScriptedDialogs Dialogs({uitest::SaveAs(InStart(Case.File))});
    if (std::string(Case.File).ends_with(".jpg")) AcceptJPEGOptions();
    Giffer.Action("Saveas1")->trigger();
    ASSERT_TRUE(Dialogs.Done());
  }
  // A change after that save, so that the question is asked.
  Giffer.SetModified(true);
  ASSERT_TRUE(QFile::remove(QString::fromStdString(InStart(Case.File))));
  TScriptedDialogs Dialogs;
  if (Case.Closing) {
    Dialogs.Then(uitest::Press(ui::mrYes));
    if (std::string(Case.File).ends_with(".jpg")) AcceptJPEGOptions();
    EXPECT_EQ(Giffer.close(), Case.GoesOn);
  } else {
    Dialogs.Then(uitest::OpenFiles({InStart("other.gif")}));
    Dialogs.Then(uitest::Press(ui::mrYes));
    if (std::string(Case.File).ends_with(".jpg")) AcceptJPEGOptions();
    Giffer.Action("OpenButton")->trigger();
  }
  ASSERT_TRUE(Dialogs.Done());
  EXPECT_EQ(editortest::Messages(Dialogs).back().first, "Save changes?");
  EXPECT_TRUE(QFile::exists(QString::fromStdString(InStart(Case.File)))) << "Yes saved what it could";
  if (Case.GoesOn) {
    if (!Case.Closing) {
      EXPECT_EQ(Giffer.FFileName(), InStart("other.gif"));
    }
    return;
  }
  EXPECT_TRUE(Giffer.isVisible());
  EXPECT_TRUE(Giffer.Modified());
  EXPECT_EQ(Giffer.FFileName(), InStart(Case.File));
  ASSERT_NE(Giffer.FGif(), nullptr);
  EXPECT_EQ(Giffer.FGif()->Frames().Count(), Case.Frames);
  EXPECT_FALSE(Settings.Store.ValueExists(ui::OptionSection, "WinState")) << "the close went no further";
  EXPECT_EQ(Giffer.StatusPanel(0)->text().toStdString(),
            std::string("Only the current frame is saved in ") + Case.File + "; save as GIF to keep every frame.");
}

INSTANTIATE_TEST_SUITE_P(
    Questions, PartialSaveQuestion,
    testing::Values(PartialSaveCase{"CloseBmp", 2, "a.bmp", true, false},
                    PartialSaveCase{"CloseJpg", 3, "a.jpg", true, false},
                    PartialSaveCase{"OpenBmp", 2, "a.bmp", false, false},
                    PartialSaveCase{"CloseOneFrameBmp", 1, "a.bmp", true, true},
                    PartialSaveCase{"OpenOneFrameJpg", 1, "a.jpg", false, true}),
    [](const auto& Info) { return std::string(Info.param.Name); });

TEST_F(FileCommandsTest, ACancelledJPEGOptionsWriteNothing) {
  maintest::WriteGIF(InStart("clip.gif"));
  editor::TGiffer& Giffer = Opened("clip.gif");
  Giffer.SetModified(true);
  TScriptedDialogs Dialogs({uitest::SaveAs(InStart("out.jpg"))});
  WhenModal<editor::TSaveJPEGForm>([](editor::TSaveJPEGForm& Form) { Form.reject(); });
  Giffer.Action("Saveas1")->trigger();
  EXPECT_FALSE(QFile::exists(QString::fromStdString(InStart("out.jpg"))));
  EXPECT_TRUE(Giffer.Modified());
}

TEST_F(FileCommandsTest, APictureOpensAsAOneFrameProject) {
  WriteBMP(InStart("still.bmp"), 20, 15);
  editor::TGiffer& Giffer = Opened("still.bmp");
  ASSERT_NE(Giffer.FGif(), nullptr);
  EXPECT_EQ(Giffer.FGif()->Frames().Count(), 1);
  EXPECT_EQ(Giffer.FGif()->Width(), 20);
  EXPECT_EQ(Giffer.windowTitle(), "Veltrane Animora Pro: still.bmp");
  EXPECT_EQ(Giffer.FProjectOpen(), 1);
  EXPECT_FALSE(Giffer.Modified());
}

struct DamageCase {
  const char* Bytes;
  size_t Size;
  const char* Message;
};

TEST_F(FileCommandsTest, ADamagedGIFIsReportedAndLeavesNoProjectOnShow) {
  maintest::WriteGIF(InStart("clip.gif"));
  editor::TGiffer& Giffer = Opened("clip.gif");
  for (const DamageCase& Case : {DamageCase{"PNG89a and more bytes than a header", 35, "Invalid GIF signature"},
                                 DamageCase{"GIF89a\x08\x00", 8, "Premature end of data"}}) {
    QFile Bad(QString::fromStdString(InStart("bad.gif")));
    ASSERT_TRUE(Bad.open(QIODevice::WriteOnly));
    Bad.write(Case.Bytes, static_cast<qint64>(Case.Size));
    Bad.close();
    // The good project on show at its second frame.
    TScriptedDialogs Good({uitest::OpenFiles({InStart("clip.gif")})});
    Giffer.Action("OpenButton")->trigger();
    ASSERT_TRUE(Good.Done());
    Giffer.Preview()->Button("NextFrameButton")->click();
    ASSERT_EQ(Giffer.StatusPanel(1)->text(), " Frame 2 of 2");
    ASSERT_FALSE(Giffer.Preview()->FrameImage()->Shown().isNull());

    TScriptedDialogs Dialogs({uitest::OpenFiles({InStart("bad.gif")}), uitest::Press(ui::mrOk)});
    Giffer.Action("OpenButton")->trigger();
    ASSERT_TRUE(Dialogs.Done()) << Case.Message;
    EXPECT_EQ(Dialogs.Calls()[1].Text, Case.Message);
    EXPECT_EQ(Giffer.FGif(), nullptr);
    EXPECT_EQ(Giffer.FProjectOpen(), 0);
    EXPECT_EQ(Giffer.FFileName(), "");
    EXPECT_EQ(Giffer.windowTitle(), "Veltrane Animora Pro");
    EXPECT_FALSE(Giffer.Action("Saveas1")->isEnabled());
    EXPECT_FALSE(Giffer.Action("ExportFrameButton")->isEnabled());
    // Nothing of the old project stays on show.
    EXPECT_EQ(Giffer.StatusPanel(1)->text().toStdString(), "") << Case.Message;
    EXPECT_TRUE(Giffer.Preview()->FrameImage()->Shown().isNull()) << Case.Message;
    EXPECT_EQ(Giffer.Preview()->FrameList()->count(), 0) << Case.Message;
  }
}

struct QuestionCase {
  const char* Name;
  ui::TModalResult Answer;
  bool Replaced;
};

class ReplaceQuestion : public FileCommandsTest, public testing::WithParamInterface<QuestionCase> {};

TEST_P(ReplaceQuestion, AModifiedProjectAsksBeforeItIsReplaced) {
  maintest::WriteGIF(InStart("clip.gif"));
  WriteBMP(InStart("still.bmp"), 4, 4);
  editor::TGiffer& Giffer = Opened("clip.gif");
  Giffer.SetModified(true);
  TScriptedDialogs Dialogs({uitest::OpenFiles({InStart("still.bmp")}), uitest::Press(GetParam().Answer)});
  Giffer.Action("OpenButton")->trigger();
  ASSERT_TRUE(Dialogs.Done());
  EXPECT_EQ(Dialogs.Calls()[1].Text, "Save changes?");
  EXPECT_EQ(Giffer.FFileName(), InStart(GetParam().Replaced ? "still.bmp" : "clip.gif"));
  EXPECT_EQ(Giffer.Modified(), !GetParam().Replaced);
}

INSTANTIATE_TEST_SUITE_P(Answers, ReplaceQuestion,
                         testing::Values(QuestionCase{"No", ui::mrNo, true},
                                         QuestionCase{"Cancel", ui::mrCancel, false}),
                         [](const auto& Info) { return std::string(Info.param.Name); });

TEST_F(FileCommandsTest, OneFrameGetsItsOwnTableAndKeepsItsExtensions) {
  WriteTimedGIF(InStart("one.gif"), 1);
  editor::TGiffer& Giffer = Opened("one.gif");
  ASSERT_NE(Giffer.FGif(), nullptr);
  ASSERT_EQ(Giffer.FGif()->Frames().Count(), 1);
  const gif::TGIFSubImage& Frame = *Giffer.FGif()->Frames().SubImages(0);
  EXPECT_EQ(Giffer.FGif()->GetGlobalColorMap()->Count(), 0);
  EXPECT_GT(Frame.ColorMap()->Count(), 0);
  EXPECT_EQ(Delay(Frame), 25);
  EXPECT_TRUE(HasComment(Frame));
  EXPECT_FALSE(Giffer.Modified());
}

TEST_F(FileCommandsTest, NewMakesBlankFramesOfTheEnteredSize) {
  editor::TGiffer& Giffer = Shown();
  WhenModal<editor::TCreateGIFForm>([](editor::TCreateGIFForm& Form) {
    Form.FrameCountEdit()->setText("3");
    Form.FrameWidthEdit()->setText("120");
    Form.FrameHeightEdit()->setText("80");
    Form.accept();
  });
  Giffer.Action("CreateButton")->trigger();
  ASSERT_NE(Giffer.FGif(), nullptr);
  ASSERT_EQ(Giffer.FGif()->Frames().Count(), 3);
  for (int Index = 0; Index < 3; ++Index) {
    EXPECT_EQ(Giffer.FGif()->Frames().SubImages(Index)->Width(), 120);
    EXPECT_EQ(Giffer.FGif()->Frames().SubImages(Index)->Height(), 80);
  }
  EXPECT_EQ(Giffer.FGif()->ReductionMethod(), gif::rdOptimizedWindows);
  EXPECT_EQ(Giffer.windowTitle(), "Veltrane Animora Pro: New Gif");
  EXPECT_EQ(Giffer.FFileName(), "");
  EXPECT_EQ(Giffer.FProjectOpen(), 1);
  EXPECT_EQ(Giffer.StatusPanel(0)->text(), "Ready");
  EXPECT_EQ(Giffer.StatusPanel(1)->text(), " Frame 1 of 3");
  EXPECT_FALSE(Giffer.Modified());
  // Without a name, saving asks for one.
  TScriptedDialogs Dialogs({uitest::Cancel(TDialogKind::Save)});
  EXPECT_FALSE(Giffer.SaveButtonClick());
  EXPECT_TRUE(Dialogs.Done());
}

struct RefusalCase {
  const char* Name;
  const char* Count;
  const char* Width;
  const char* Message;
};

class NewRefusal : public FileCommandsTest, public testing::WithParamInterface<RefusalCase> {};

TEST_P(NewRefusal, TheDialogRefusesAndCancelChangesNothing) {
  maintest::WriteGIF(InStart("clip.gif"));
  editor::TGiffer& Giffer = Opened("clip.gif");
  TScriptedDialogs Dialogs({uitest::Press(ui::mrOk)});
  const RefusalCase Case = GetParam();
  WhenModal<editor::TCreateGIFForm>([Case](editor::TCreateGIFForm& Form) {
    Form.FrameCountEdit()->setText(Case.Count);
    Form.FrameWidthEdit()->setText(Case.Width);
    Form.FrameHeightEdit()->setText("10");
    Form.accept();
    Form.reject();
  });
  Giffer.Action("CreateButton")->trigger();
  ASSERT_TRUE(Dialogs.Done());
  EXPECT_EQ(Dialogs.Calls()[0].Text, Case.Message);
  EXPECT_EQ(Giffer.FFileName(), InStart("clip.gif"));
  EXPECT_EQ(Giffer.FGif()->Frames().Count(), 2);
}

INSTANTIATE_TEST_SUITE_P(Values, NewRefusal,
                         testing::Values(RefusalCase{"NoFrames", "0", "10", "Frame count<1."},
                                         RefusalCase{"NoWidth", "2", "0", "Frame width<1."}),
                         [](const auto& Info) { return std::string(Info.param.Name); });

struct ExportCase {
  const char* Name;
  const char* File;
  const char* Format;
};

class ExportFrame : public FileCommandsTest, public testing::WithParamInterface<ExportCase> {};

TEST_P(ExportFrame, WritesTheCurrentFrameAndLeavesTheProject) {
  maintest::WriteGIF(InStart("clip.gif"), 12, 10);
  editor::TGiffer& Giffer = Opened("clip.gif");
  TScriptedDialogs Dialogs({uitest::SaveAs(InStart(GetParam().File))});
  Giffer.Action("ExportFrameButton")->trigger();
  ASSERT_TRUE(Dialogs.Done());
  EXPECT_EQ(FormatOf(InStart(GetParam().File)), GetParam().Format);
  EXPECT_FALSE(Giffer.Modified());
  EXPECT_EQ(Giffer.FFileName(), InStart("clip.gif"));

  gif::TGIFImage Back;
  if (std::string(GetParam().Format) == "GIF") {
    Back.LoadFromFile(InStart(GetParam().File));
    EXPECT_EQ(Back.Frames().Count(), 1);
    EXPECT_EQ(Back.Width(), 12);
  }
}

INSTANTIATE_TEST_SUITE_P(Formats, ExportFrame,
                         testing::Values(ExportCase{"Bmp", "frame.bmp", "BMP"}, ExportCase{"Gif", "frame.gif", "GIF"},
                                         ExportCase{"Jpg", "frame.jpg", "JPEG"},
                                         ExportCase{"Jpeg", "frame.jpeg", "JPEG"},
                                         ExportCase{"Other", "frame.img", "BMP"}),
                         [](const auto& Info) { return std::string(Info.param.Name); });

TEST_F(FileCommandsTest, ImportIntoAFrameKeepsItsTiming) {
  WriteTimedGIF(InStart("timed.gif"), 2);
  WriteBMP(InStart("still.bmp"), 8, 6);
  editor::TGiffer& Giffer = Opened("timed.gif");
  ASSERT_EQ(Giffer.FGif()->Frames().Count(), 2);
  TScriptedDialogs Dialogs({uitest::OpenFiles({InStart("still.bmp")})});
  Giffer.Action("ImportFrameButton")->trigger();
  ASSERT_TRUE(Dialogs.Done());
  const gif::TGIFSubImage& Frame = *Giffer.FGif()->Frames().SubImages(0);
  EXPECT_EQ(Delay(Frame), 25);
  EXPECT_TRUE(HasComment(Frame));
  // The checkered frame now shows the plain picture.
  ASSERT_NE(Frame.Data(), nullptr);
  EXPECT_EQ(Frame.ActiveColorMap()->Colors(Frame.Data()[0]), Frame.ActiveColorMap()->Colors(Frame.Data()[1]));
  EXPECT_TRUE(Giffer.Modified());
}

TEST_F(FileCommandsTest, TheExchangeFileGoesIntoTheCurrentFrame) {
  WriteTimedGIF(InStart("timed.gif"), 2);
  editor::TGiffer& Giffer = Opened("timed.gif");
  // Missing: the file error, and the frame is as it was.
  EXPECT_ANY_THROW(Giffer.LoadExchangeBitmap());
  EXPECT_FALSE(Giffer.Modified());
  graphics::TBitmap Bitmap;
  Bitmap.SetPixelFormat(graphics::pf24bit);
  Bitmap.SetWidth(8);
  Bitmap.SetHeight(6);
  editor::WriteExchangeFile(Giffer.FStartDir(), Bitmap);
  Giffer.LoadExchangeBitmap();
  const gif::TGIFSubImage& Frame = *Giffer.FGif()->Frames().SubImages(0);
  EXPECT_EQ(Delay(Frame), 25);
  EXPECT_TRUE(HasComment(Frame));
  EXPECT_TRUE(Giffer.Modified());
}

// The first entry of a JPEG file's first quantisation table: 16 at quality 50, 8 at 75.
int FirstQuantizer(const std::string& FileName) {
  const std::string Bytes = Head(FileName, 4096);
  const size_t Marker = Bytes.find("\xFF\xDB");
  if (Marker == std::string::npos || Marker + 5 >= Bytes.size()) return -1;
  return static_cast<unsigned char>(Bytes[Marker + 5]);
}

TEST_F(FileCommandsTest, TheJPEGOptionsKeepTheirValuesFromOneSaveToTheNext) {
  maintest::WriteGIF(InStart("clip.gif"));
  editor::TGiffer& Giffer = Shown({"clip.gif"});
  int Offered = -1;
  for (const char* Name : {"one.jpg", "two.jpg"}) {
    WhenModal<editor::TSaveJPEGForm>([&Offered, Name](editor::TSaveJPEGForm& Form) {
      Offered = Form.CompressQual()->value();
      if (std::string(Name) == "one.jpg") Form.CompressQual()->setValue(75);
      Form.accept();
    });
    TScriptedDialogs Dialogs({uitest::SaveAs(InStart(Name))});
    Giffer.Action("Saveas1")->trigger();
    ASSERT_TRUE(Dialogs.Done());
  }
  EXPECT_EQ(Offered, 75);
  EXPECT_EQ(FirstQuantizer(InStart("one.jpg")), 8);
  EXPECT_EQ(FirstQuantizer(InStart("two.jpg")), 8);
}

struct ScanCase {
  const char* Name;
  uint8_t Result;
  bool Loads;
};

void PrintTo(const ScanCase& Case, std::ostream* Out) { *Out << Case.Name; }

class Scan : public FileCommandsTest, public testing::WithParamInterface<ScanCase> {};

TEST_P(Scan, OnlyResultOneTakesTheScannedImageIntoTheCurrentFrame) {
  WriteTimedGIF(InStart("timed.gif"), 2);
  editor::TGiffer& Giffer = Opened("timed.gif");
  std::string Folder;
  Plexor.OnScan = [&Folder, Result = GetParam().Result](const std::string& StartDir) {
    Folder = StartDir;
    graphics::TBitmap White;
    White.SetPixelFormat(graphics::pf24bit);
    White.SetWidth(8);
    White.SetHeight(6);
    White.Canvas().Brush().SetColor(0xFFFFFF);
    White.Canvas().FillRect(base::Rect(0, 0, 8, 6));
    editor::WriteExchangeFile(StartDir, White);
    return Result;
  };
  for (const char* Name : {"ScanButton", "Scanningframe1"}) EXPECT_TRUE(Giffer.Action(Name)->isEnabled()) << Name;
  Giffer.Action("ScanButton")->trigger();
  EXPECT_EQ(Plexor.Calls, std::vector<std::string>{"Scan"});
  EXPECT_EQ(Folder, Giffer.FStartDir());
  const gif::TGIFSubImage& Frame = *Giffer.FGif()->Frames().SubImages(0);
  const bool Plain = Frame.ActiveColorMap()->Colors(Frame.Data()[0]) == Frame.ActiveColorMap()->Colors(Frame.Data()[1]);
  EXPECT_EQ(Plain, GetParam().Loads);
  EXPECT_EQ(Giffer.Modified(), GetParam().Loads);
  EXPECT_EQ(Delay(Frame), 25);
}

INSTANTIATE_TEST_SUITE_P(Results, Scan,
                         testing::Values(ScanCase{"Scanned", 1, true}, ScanCase{"Cancelled", 0, false},
                                         ScanCase{"Other", 2, false}),
                         [](const auto& Info) { return std::string(Info.param.Name); });

TEST_F(FileCommandsTest, TheCutWizardReceivesTheCurrentFrameThroughTheExchangeFile) {
  WriteTimedGIF(InStart("timed.gif"), 2);
  editor::TGiffer& Giffer = Opened("timed.gif");
  Giffer.Preview()->SetFrameIndex(1);
  std::vector<base::TColor> Seen;
  Plexor.OnCutWizard = [&Seen](const std::string& StartDir) {
    graphics::TBitmap Bitmap;
    editor::ReadExchangeFile(StartDir, Bitmap);
    EXPECT_EQ(Bitmap.Width(), 8);
    EXPECT_EQ(Bitmap.Height(), 6);
    for (int X = 0; X < 2; ++X) Seen.push_back(Bitmap.Canvas().Pixels(X, 0));
  };
  for (const char* Name : {"CuWizButton", "Cutwizard1"}) EXPECT_TRUE(Giffer.Action(Name)->isEnabled()) << Name;
  Giffer.Action("CuWizButton")->trigger();
  EXPECT_EQ(Plexor.Calls, std::vector<std::string>{"CutWizard"});
  // Frame 2 starts with white: (X + Y + 1) % 2 picks the second colour at 0, 0.
  EXPECT_EQ(Seen, (std::vector<base::TColor>{0xFFFFFF, 0x000000}));
  EXPECT_FALSE(Giffer.Modified());
}

struct WarningCase {
  const char* Name;
  gif::TGIFSeverity Severity;
  bool Asks;
  ui::TModalResult Answer;
  bool Aborts;
};

class Warning : public FileCommandsTest, public testing::WithParamInterface<WarningCase> {};

TEST_P(Warning, OnlyErrorsAskAndOnlyIgnoreGoesOn) {
  editor::TGiffer& Giffer = Shown();
  const WarningCase& Case = GetParam();
  TScriptedDialogs Dialogs;
  if (Case.Asks) Dialogs.Then(uitest::Press(Case.Answer));
  if (Case.Aborts) {
    try {
      Giffer.GifWarning(nullptr, Case.Severity, "Bad block");
      ADD_FAILURE() << "no error";
    } catch (const std::exception& Error) {
      EXPECT_STREQ(Error.what(), "GIF file aborted");
    }
  } else {
    Giffer.GifWarning(nullptr, Case.Severity, "Bad block");
  }
  EXPECT_TRUE(Dialogs.Done());
  if (Case.Asks) {
    ASSERT_EQ(Dialogs.Calls().size(), 1u);
    EXPECT_EQ(Dialogs.Calls()[0].Text, "GIF Message:\rSeverity: Error\rMessage:  Bad block");
    EXPECT_EQ(Dialogs.Calls()[0].Type, ui::mtWarning);
  } else {
    EXPECT_TRUE(Dialogs.Calls().empty());
  }
}

INSTANTIATE_TEST_SUITE_P(Severities, Warning,
                         testing::Values(WarningCase{"Info", gif::sevInfo, false, ui::mrNone, false},
                                         WarningCase{"Warning", gif::sevWarning, false, ui::mrNone, false},
                                         WarningCase{"ErrorIgnored", gif::sevError, true, ui::mrIgnore, false},
                                         WarningCase{"ErrorAborted", gif::sevError, true, ui::mrAbort, true},
                                         WarningCase{"ErrorAll", gif::sevError, true, ui::mrAll, true}),
                         [](const auto& Info) { return std::string(Info.param.Name); });

}  // namespace
