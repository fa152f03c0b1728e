// AVI videos opened as projects and projects saved as AVI videos, with ffmpeg making the
// videos and checking the files written, at test time.
#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QTimer>
#include <map>

#include "editor/AviConversion.h"
#include "editor/Preview.h"
#include "gif/AppExtNSLoop.h"
#include "platform/avi/AVIVideoReader.h"
#include "tests/avi/AviTestSupport.h"
#include "tests/editor/MainTestSupport.h"

using maintest::MainWindowTest;
using uitest::TScriptedDialogs;

namespace {

struct TDelayCase {
  uint32_t Scale;
  uint32_t Rate;
  uint16_t Delay;
};

TEST(AviFrameDelay, RoundsScaleOverRateInHundredths) {
  for (const TDelayCase Case : {TDelayCase{1, 15, 7}, TDelayCase{500, 0, 5}, TDelayCase{1, 200, 1},
                                TDelayCase{1, 201, 0}, TDelayCase{3, 2, 150}, TDelayCase{1000000000, 1, 65535},
                                TDelayCase{UINT32_MAX, 0, 65535}, TDelayCase{UINT32_MAX, UINT32_MAX, 100}})
    EXPECT_EQ(editor::AviFrameDelay(Case.Scale, Case.Rate), Case.Delay) << Case.Scale << "/" << Case.Rate;
}

// A frame of Image at Left, Top with the pixel rows given, its disposal and, when
// Transparent is 0 or more, that transparent index.
void AddFrame(gif::TGIFImage& Image, uint16_t Left, uint16_t Top, std::vector<std::vector<uint8_t>> Rows,
              gif::TFrameDisposal Disposal, int Transparent = -1) {
  auto Frame = std::make_unique<gif::TGIFSubImage>(&Image);
  auto Control = std::make_unique<gif::TGIFGraphicControlExtension>(Frame.get());
  Control->SetDisposal(Disposal);
  if (Transparent >= 0) {
    Control->SetTransparent(true);
    Control->SetTransparentColor(static_cast<uint8_t>(Transparent));
  }
  Frame->Extensions()->Add(std::move(Control));
  Frame->SetBounds(Left, Top, static_cast<uint16_t>(Rows[0].size()), static_cast<uint16_t>(Rows.size()));
  Frame->AllocatePixels();
  for (size_t Y = 0; Y < Rows.size(); ++Y) std::copy(Rows[Y].begin(), Rows[Y].end(), Frame->Scanline(static_cast<int>(Y)));
  Image.Frames().Add(std::move(Frame));
}

TEST(AviScreen, DrawsEachFrameAsAPlayerShowsIt) {
  gif::TGIFImage Image;
  Image.Header().SetScreenWidth(4);
  Image.Header().SetScreenHeight(2);
  for (const base::TColor Colour : {0x000000, 0xFFFFFF, 0x0000FF}) Image.GetGlobalColorMap()->Add(Colour);
  using gif::TFrameDisposal;
  AddFrame(Image, 0, 0, {{1, 1, 1, 1}, {1, 1, 1, 1}}, TFrameDisposal::fdBackground);
  AddFrame(Image, 1, 0, {{0, 2}}, TFrameDisposal::fdPrevious, 0);
  AddFrame(Image, 3, 1, {{1}}, TFrameDisposal::fdDoNotDispose);
  AddFrame(Image, 2, 1, {{2, 2, 2}}, TFrameDisposal::fdDoNotDispose);
  const gdi::HPALETTE Palette = Image.GetGlobalColorMap()->MakePalette();
  editor::TAviScreen Screen(4, 2, editor::ColorTableOf(Palette), 0x000000);
  gdi::DeleteObject(Palette);
  // Rows bottom-up: the screen's second row first.
  const std::vector<std::vector<uint8_t>> Expected = {
      {1, 1, 1, 1, 1, 1, 1, 1},
      {0, 0, 0, 0, 0, 0, 2, 0},  // on the cleared screen; its transparent pixel shows it
      {0, 0, 0, 1, 0, 0, 0, 0},  // the screen before the second frame, and one white pixel
      {0, 0, 2, 2, 0, 0, 0, 0},  // cut at the screen's right edge
  };
  for (int Index = 0; Index < 4; ++Index) {
    Screen.Draw(*Image.Frames().SubImages(Index));
    EXPECT_EQ(Screen.Rows(), Expected[Index]) << "after frame " << Index;
  }
}

class AviCommandsTest : public MainWindowTest {
 protected:
  std::string Video(const std::string& Name, const std::string& PixelFormat, int Rate, int Frames) {
    return avitest::MakeVideo(Start.Path(), Name, "rawvideo", PixelFormat, 24, 16, Rate, Frames).string();
  }
  // Opens Name through the open command; Dialogs answers what follows the file choice.
  static void OpenThrough(editor::TGiffer& Giffer, const std::string& Name, TScriptedDialogs& Dialogs,
                          std::vector<uitest::TDialogAnswer> Answers = {}) {
    Dialogs.Then(uitest::OpenFiles({Name}));
    for (auto& Answer : Answers) Dialogs.Then(std::move(Answer));
    Giffer.Action("OpenButton")->trigger();
  }
  static int Delay(const gif::TGIFSubImage& Frame) {
    return Frame.GraphicControlExtension() ? Frame.GraphicControlExtension()->Delay() : -1;
  }
};

TEST_F(AviCommandsTest, AVideoOpensAsTheGIFBesideItWithItsTiming) {
  editor::TGiffer& Giffer = Shown();
  const std::string Clip = Video("clip", "pal8", 15, 4);
  bool LockedMeanwhile = false;
  QTimer::singleShot(0, [&] {
    LockedMeanwhile = !Giffer.isEnabled();
    // Closing waits for the conversion.
    Giffer.close();
  });
  TScriptedDialogs Dialogs;
  OpenThrough(Giffer, Clip, Dialogs);
  ASSERT_TRUE(Dialogs.Done());
  EXPECT_TRUE(LockedMeanwhile);
  EXPECT_TRUE(Giffer.isEnabled());
  EXPECT_TRUE(Giffer.isVisible());
  EXPECT_EQ(Giffer.FFileName(), InStart("clip.gif"));
  EXPECT_EQ(Giffer.windowTitle(), "Veltrane Animora Pro: clip.gif");
  EXPECT_TRUE(QFile::exists(QString::fromStdString(InStart("clip.gif"))));
  gif::TGIFImage* Project = Giffer.FGif();
  ASSERT_NE(Project, nullptr);
  ASSERT_EQ(Project->Frames().Count(), 4);
  EXPECT_EQ(Project->Width(), 24);
  // The loop extension comes first on frame 0, then every frame's delay (100 / 15).
  const gif::TGIFExtensionList& First = *Project->Frames().SubImages(0)->Extensions();
  ASSERT_EQ(First.Count(), 2);
  auto* Loop = dynamic_cast<gif::TGIFAppExtNSLoop*>(First.Extensions(0));
  ASSERT_NE(Loop, nullptr);
  EXPECT_EQ(Loop->Loops(), 0);
  for (int Index = 0; Index < 4; ++Index) {
    EXPECT_EQ(Delay(*Project->Frames().SubImages(Index)), 7) << Index;
    if (Index > 0) {
      EXPECT_EQ(Project->Frames().SubImages(Index)->Extensions()->Count(), 1);
    }
  }
  // The 8-bit frames keep their colours exactly.
  const avitest::Bytes Expected = avitest::DecodeWithFFmpeg(Clip);
  graphics::TBitmap* Third = Project->Frames().SubImages(2)->GetBitmap();
  ASSERT_NE(Third, nullptr);
  for (const auto& [X, Y] : {std::pair{0, 0}, std::pair{13, 5}, std::pair{23, 15}}) {
    const size_t At = size_t{2} * 24 * 16 * 3 + (size_t{24} * Y + X) * 3;
    EXPECT_EQ(Third->Canvas().Pixels(X, Y), graphics::TColor(Expected[At + 2] | Expected[At + 1] << 8 | Expected[At] << 16))
        << X << "," << Y;
  }
}

TEST_F(AviCommandsTest, AnExistingGIFIsOverwrittenOnlyWhenTheUserAgrees) {
  maintest::WriteGIF(InStart("first.gif"));
  editor::TGiffer& Giffer = Shown({InStart("first.gif")});
  const std::string Clip = Video("clip", "bgr24", 10, 2);
  maintest::WriteGIF(InStart("clip.gif"), 5, 5);
  const avitest::Bytes Old = avitest::LoadFile(InStart("clip.gif"));
  TScriptedDialogs Refused;
  OpenThrough(Giffer, Clip, Refused, {uitest::Press(ui::mrCancel)});
  ASSERT_TRUE(Refused.Done());
  EXPECT_EQ(Refused.Calls()[1].Text, "File exist. Overwrite");
  EXPECT_EQ(Refused.Calls()[1].Caption, "Attention");
  EXPECT_EQ(avitest::LoadFile(InStart("clip.gif")), Old);
  EXPECT_EQ(Giffer.FFileName(), InStart("first.gif"));

  TScriptedDialogs Agreed;
  OpenThrough(Giffer, Clip, Agreed, {uitest::Press(ui::mrOk)});
  ASSERT_TRUE(Agreed.Done());
  EXPECT_EQ(Giffer.FFileName(), InStart("clip.gif"));
  ASSERT_NE(Giffer.FGif(), nullptr);
  EXPECT_EQ(Giffer.FGif()->Frames().Count(), 2);
}

struct TBadVideoCase {
  const char* Name;
  avitest::Bytes File;
  const char* Text;
};

TEST_F(AviCommandsTest, AFailedImportChangesNothing) {
  maintest::WriteGIF(InStart("first.gif"));
  editor::TGiffer& Giffer = Shown({InStart("first.gif")});
  gif::TGIFImage* Project = Giffer.FGif();
  avitest::TAviSpec Empty;
  Empty.Format = avitest::Format(4, 1, 8);
  avitest::TAviSpec Short = Empty;
  Short.Chunks = {{"00db", {1, 2, 3, 4}}, {"00db", {1, 2}}};
  // Nine different 8192 x 8192 pictures hold more pixels than an animation may.
  avitest::TAviSpec Large;
  Large.Format = avitest::Format(8192, 8192, 8, gdi::BI_RLE8);
  Large.Chunks = {{"00dc", {0, 1}}};
  for (uint8_t Colour = 1; Colour < 9; ++Colour) Large.Chunks.push_back({"00dc", {1, Colour, 0, 1}, 0});
  const std::vector<TBadVideoCase> Cases = {
      {"garbage", avitest::Bytes{'R', 'I', 'F', 'F', 9, 9, 9}, "Failed to open AVI file"},
      {"no frames", avitest::BuildAvi(Empty), "The AVI video holds no frames."},
      {"short frame", avitest::BuildAvi(Short), "Failed to decompress AVI frame"},
      {"too large together", avitest::BuildAvi(Large), "The AVI video is too large to import."},
  };
  for (const TBadVideoCase& Case : Cases) {
    const std::string Name = InStart(std::string(Case.Name) + ".avi");
    avitest::SaveFile(Name, Case.File);
    TScriptedDialogs Dialogs;
  OpenThrough(Giffer, Name, Dialogs, {uitest::Press(ui::mrOk)});
    ASSERT_TRUE(Dialogs.Done()) << Case.Name;
    EXPECT_EQ(Dialogs.Calls()[1].Text, Case.Text) << Case.Name;
    EXPECT_EQ(Giffer.FGif(), Project) << Case.Name;
    EXPECT_EQ(Giffer.FFileName(), InStart("first.gif")) << Case.Name;
    EXPECT_FALSE(QFile::exists(QString::fromStdString(InStart(std::string(Case.Name) + ".gif")))) << Case.Name;
    EXPECT_TRUE(Giffer.isEnabled()) << Case.Name;
  }
  EXPECT_EQ(Project->Frames().Count(), 2);
}

TEST_F(AviCommandsTest, APictureThatStaysIsKeptOnceWithTheDelaysOfItsFrames) {
  editor::TGiffer& Giffer = Shown();
  // 41 frames of 4096 x 4096 would pass what an animation may hold; two pictures do not.
  avitest::TAviSpec Spec;
  Spec.Format = avitest::Format(4096, 4096, 8, gdi::BI_RLE8, {0x000000, 0xFFFFFF});
  Spec.Chunks = {{"00dc", {0, 1}}};
  for (int I = 1; I <= 40; ++I)
    Spec.Chunks.push_back(I == 20 ? avitest::TChunk{"00dc", {1, 1, 0, 1}, 0}
                                  : avitest::TChunk{"00dc", I % 2 ? avitest::Bytes{0, 1} : avitest::Bytes{}, 0});
  const std::string Name = InStart("still.avi");
  avitest::SaveFile(Name, avitest::BuildAvi(Spec));
  TScriptedDialogs Dialogs;
  OpenThrough(Giffer, Name, Dialogs);
  ASSERT_TRUE(Dialogs.Done());
  gif::TGIFImage* Project = Giffer.FGif();
  ASSERT_NE(Project, nullptr);
  ASSERT_EQ(Project->Frames().Count(), 2);
  EXPECT_EQ(Delay(*Project->Frames().SubImages(0)), 20 * 10);
  EXPECT_EQ(Delay(*Project->Frames().SubImages(1)), 21 * 10);
  EXPECT_EQ(Project->Frames().SubImages(1)->Width(), 4096);
}

// A GIF of three 8 x 6 frames with the delays given, black and white on a global table.
void WriteGIFWithDelays(const std::string& FileName, std::vector<uint16_t> Delays) {
  gif::TGIFImage Image;
  Image.Header().SetScreenWidth(8);
  Image.Header().SetScreenHeight(6);
  Image.GetGlobalColorMap()->Add(0x000000);
  Image.GetGlobalColorMap()->Add(0xFFFFFF);
  for (size_t Index = 0; Index < Delays.size(); ++Index) {
    auto Frame = std::make_unique<gif::TGIFSubImage>(&Image);
    auto Control = std::make_unique<gif::TGIFGraphicControlExtension>(Frame.get());
    Control->SetDelay(Delays[Index]);
    Frame->Extensions()->Add(std::move(Control));
    Frame->SetBounds(0, 0, 8, 6);
    Frame->AllocatePixels();
    for (int Y = 0; Y < 6; ++Y)
      for (int X = 0; X < 8; ++X) Frame->Scanline(Y)[X] = static_cast<uint8_t>(X == static_cast<int>(Index));
    Image.Frames().Add(std::move(Frame));
  }
  Image.SaveToFile(FileName);
}

std::string Probe(const std::string& FileName) {
  return avitest::RunCommand("ffprobe -v error -select_streams v:0 -count_packets -show_entries "
                             "stream=nb_frames,r_frame_rate,width,height -of csv=p=0 '" + FileName + "'");
}

TEST_F(AviCommandsTest, SavingAsAVIWritesEveryFrameWithTheGlobalTable) {
  WriteGIFWithDelays(InStart("clip.gif"), {0, 25, 10});
  editor::TGiffer& Giffer = Shown({InStart("clip.gif")});
  // A frame without pixels keeps its place as an empty chunk.
  Giffer.FGif()->Frames().Add(std::make_unique<gif::TGIFSubImage>(Giffer.FGif()));
  Giffer.Preview()->Rebind();
  Giffer.SetModified(true);
  TScriptedDialogs Dialogs({uitest::SaveAs(InStart("out.avi"))});
  Giffer.Action("Saveas1")->trigger();
  ASSERT_TRUE(Dialogs.Done());
  EXPECT_FALSE(Giffer.Modified());
  // The first delay that is not 0 sets the rate: 100 / 25 frames a second.
  EXPECT_EQ(Probe(InStart("out.avi")), "8,6,4/1,4\n");
  avi::TAVIVideoReader Video(InStart("out.avi"));
  ASSERT_EQ(Video.Length(), 4);
  const avitest::Bytes File = avitest::LoadFile(InStart("out.avi"));
  uint32_t LastChunkSize = 1;
  std::memcpy(&LastChunkSize, File.data() + File.size() - 4, 4);
  EXPECT_EQ(LastChunkSize, 0u);
  const auto FrameBytes = [&](int Position) {
    const auto* Start = reinterpret_cast<const uint8_t*>(&Video.Frame(Position));
    return avitest::Bytes(Start, Start + 40 + 1024 + 48);
  };
  const avitest::Bytes Before = FrameBytes(2);
  EXPECT_EQ(FrameBytes(3), Before) << "the empty frame repeats the one before";
  EXPECT_NE(FrameBytes(0), Before);
  const gdi::BITMAPINFOHEADER& Frame = Video.Frame(1);
  EXPECT_EQ(Frame.biBitCount, 8);
  EXPECT_EQ(Video.Format().size(), 40u + 2 * 4) << "the global table";
  // Frame 1 is white in its column 1; rows are bottom-up.
  const uint8_t* Bits = reinterpret_cast<const uint8_t*>(&Frame) + 40 + 1024;
  EXPECT_EQ(Bits[1], 1);
  EXPECT_EQ(Bits[0], 0);
  EXPECT_EQ(Bits[8 * 5 + 1], 1);
}

TEST_F(AviCommandsTest, FramesWithTablesOfTheirOwnAreComposedOnTheScreenInTheWebCube) {
  // A picture opened as a project has one frame with a local table; a second, smaller
  // frame at an offset comes from the preview's Add.
  gif::TGIFImage Image;
  Image.Header().SetScreenWidth(10);
  Image.Header().SetScreenHeight(8);
  for (int Index = 0; Index < 2; ++Index) {
    auto Frame = std::make_unique<gif::TGIFSubImage>(&Image);
    Frame->ColorMap()->Add(Index == 0 ? 0x0000FF : 0x00FF00);
    Frame->ColorMap()->Add(0x000000);
    if (Index == 0)
      Frame->SetBounds(0, 0, 10, 8);
    else
      Frame->SetBounds(6, 5, 4, 3);
    Frame->AllocatePixels();
    Image.Frames().Add(std::move(Frame));
  }
  Image.SaveToFile(InStart("local.gif"));
  editor::TGiffer& Giffer = Shown({InStart("local.gif")});
  const gif::TGIFDrawFlags Flags = Giffer.Preview()->PreviewGif()->DrawFlags();
  TScriptedDialogs Dialogs({uitest::SaveAs(InStart("out.avi"))});
  Giffer.Action("Saveas1")->trigger();
  ASSERT_TRUE(Dialogs.Done());
  EXPECT_EQ(Giffer.Preview()->PreviewGif()->DrawFlags(), Flags);
  EXPECT_EQ(Probe(InStart("out.avi")), "10,8,100/1,2\n");
  avi::TAVIVideoReader Video(InStart("out.avi"));
  EXPECT_EQ(Video.Format().size(), 40u + 216 * 4);
  const gdi::BITMAPINFOHEADER& Second = Video.Frame(1);
  const auto* Table = reinterpret_cast<const gdi::RGBQUAD*>(reinterpret_cast<const uint8_t*>(&Second) + 40);
  const uint8_t* Bits = reinterpret_cast<const uint8_t*>(Table) + 1024;
  const auto ColourAt = [&](int X, int Y) {
    const gdi::RGBQUAD& C = Table[Bits[(7 - Y) * 12 + X]];
    return C.rgbRed | C.rgbGreen << 8 | C.rgbBlue << 16;
  };
  EXPECT_EQ(ColourAt(0, 0), 0x0000FF) << "the first frame stays beneath";
  EXPECT_EQ(ColourAt(7, 6), 0x00FF00) << "the second frame at its place";
}

TEST_F(AviCommandsTest, RefusedExportsLeaveTheOldFileAlone) {
  maintest::WriteGIF(InStart("clip.gif"));
  editor::TGiffer& Giffer = Shown({InStart("clip.gif")});
  TScriptedDialogs Nowhere({uitest::SaveAs(InStart("missing/out.avi")), uitest::Press(ui::mrOk)});
  Giffer.Action("Saveas1")->trigger();
  ASSERT_TRUE(Nowhere.Done());
  EXPECT_EQ(Nowhere.Calls()[1].Text, "Failed to create AVI file");

  Giffer.FGif()->Frames().Clear();
  Giffer.Preview()->Rebind();
  avitest::SaveFile(InStart("out.avi"), {'o', 'l', 'd'});
  TScriptedDialogs Dialogs({uitest::SaveAs(InStart("out.avi")), uitest::Press(ui::mrOk)});
  Giffer.Action("Saveas1")->trigger();
  ASSERT_TRUE(Dialogs.Done());
  EXPECT_EQ(Dialogs.Calls()[1].Text, "Failed to retrieve bitmap info");
  EXPECT_EQ(avitest::LoadFile(InStart("out.avi")), (avitest::Bytes{'o', 'l', 'd'}));
  EXPECT_TRUE(Giffer.isEnabled());
}

// Whether each menu of the window can be opened, by name.
std::map<std::string, bool> MenuStates(const editor::TGiffer& Giffer) {
  std::map<std::string, bool> States;
  for (const QMenu* Menu : Giffer.findChildren<QMenu*>())
    States[Menu->objectName().toStdString()] = Menu->menuAction()->isEnabled();
  return States;
}

TEST_F(AviCommandsTest, TheLockOfAConversionPutsBackTheMenusAsItFoundThem) {
  maintest::WriteGIF(InStart("clip.gif"));
  editor::TGiffer& Giffer = Shown({InStart("clip.gif")});
  const std::map<std::string, bool> Before = MenuStates(Giffer);
  // No frame editor is open, so its menus are off.
  ASSERT_FALSE(Before.at("Edit1"));
  ASSERT_FALSE(Before.at("View1"));
  ASSERT_TRUE(Before.at("Frame1"));
  TScriptedDialogs Saved({uitest::SaveAs(InStart("out.avi"))});
  Giffer.Action("Saveas1")->trigger();
  ASSERT_TRUE(Saved.Done());
  EXPECT_EQ(MenuStates(Giffer), Before) << "after a save";
  TScriptedDialogs Refused({uitest::SaveAs(InStart("missing/out.avi")), uitest::Press(ui::mrOk)});
  Giffer.Action("Saveas1")->trigger();
  ASSERT_TRUE(Refused.Done());
  EXPECT_EQ(MenuStates(Giffer), Before) << "after a refused save";
  TScriptedDialogs Opened;
  OpenThrough(Giffer, Video("video", "pal8", 15, 2), Opened);
  ASSERT_TRUE(Opened.Done());
  ASSERT_EQ(Giffer.FFileName(), InStart("video.gif"));
  EXPECT_EQ(MenuStates(Giffer), Before) << "after an open";
}

}  // namespace
