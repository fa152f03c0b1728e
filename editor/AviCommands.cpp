// The main window's AVI conversions: a video stream into a new animation, and the
// project into an uncompressed 8-bit video. Both run on the GUI thread frame by frame
// and keep the window painting in between, with its commands locked.
#include <QMenu>
#include <QPointer>
#include <QProgressBar>
#include <cstring>
#include <utility>
#include <vector>

#include "editor/AviConversion.h"
#include "editor/Main.h"
#include "editor/Preview.h"
#include "gif/AppExtNSLoop.h"
#include "gif/FixedPalettes.h"
#include "platform/avi/AVIFile.h"
#include "platform/avi/AVIVideoReader.h"
#include "platform/avi/AVIWriter.h"
#include "platform/graphics/Colors.h"
#include "platform/ui/Application.h"
#include "platform/ui/HourGlass.h"
#include "platform/ui/WindowCanvas.h"

namespace editor {

namespace {

// The window takes no input while a conversion pumps its messages. A menu follows its
// widget's enabling into its own menu entry, so the entries are put back as they were.
class TInterfaceLock {
 public:
  explicit TInterfaceLock(QWidget& Window) : FWindow(Window), FWasEnabled(Window.isEnabled()) {
    for (QMenu* Menu : FWindow.findChildren<QMenu*>())
      FMenus.emplace_back(Menu->menuAction(), Menu->menuAction()->isEnabled());
    FWindow.setEnabled(false);
  }
  ~TInterfaceLock() {
    FWindow.setEnabled(FWasEnabled);
    for (const auto& [Entry, Enabled] : FMenus)
      if (Entry) Entry->setEnabled(Enabled);
  }
  TInterfaceLock(const TInterfaceLock&) = delete;
  TInterfaceLock& operator=(const TInterfaceLock&) = delete;

 private:
  QWidget& FWindow;
  const bool FWasEnabled;
  std::vector<std::pair<QPointer<QAction>, bool>> FMenus;
};

// The preview's still picture, put back as it was after the conversion showed its frames.
class TShownFrameKeeper {
 public:
  explicit TShownFrameKeeper(ui::TWindowCanvas& Canvas) : FCanvas(Canvas), FSize(Canvas.size()) {
    FSurface.Assign(&Canvas.Surface());
  }
  ~TShownFrameKeeper() {
    FCanvas.Surface().Assign(&FSurface);
    FCanvas.setFixedSize(FSize);
    FCanvas.Invalidate();
  }
  TShownFrameKeeper(const TShownFrameKeeper&) = delete;
  TShownFrameKeeper& operator=(const TShownFrameKeeper&) = delete;

  void Show(graphics::TBitmap& Bitmap) {
    FCanvas.Surface().Assign(&Bitmap);
    FCanvas.setFixedSize(Bitmap.Width(), Bitmap.Height());
    FCanvas.Invalidate();
  }

 private:
  ui::TWindowCanvas& FCanvas;
  const QSize FSize;
  graphics::TBitmap FSurface;
};

// The main window's progress bar counts frames while a conversion runs, and is back at
// its own range, empty, afterwards.
class TFrameProgress {
 public:
  TFrameProgress(QProgressBar& Bar, int First, int Last)
      : FBar(Bar), FMinimum(Bar.minimum()), FMaximum(Bar.maximum()) {
    FBar.setRange(First, Last);
    FBar.setValue(First);
  }
  ~TFrameProgress() {
    FBar.setRange(FMinimum, FMaximum);
    FBar.setValue(FMinimum);
  }
  TFrameProgress(const TFrameProgress&) = delete;
  TFrameProgress& operator=(const TFrameProgress&) = delete;

  // Shows the frame and lets the window paint and the user watch.
  void Step(int Value) {
    FBar.setValue(Value);
    ui::ProcessMessages();
  }

 private:
  QProgressBar& FBar;
  const int FMinimum;
  const int FMaximum;
};

gif::TGIFGraphicControlExtension* AddTiming(gif::TGIFSubImage& Frame, bool First, uint16_t Delay) {
  if (First) {
    auto Loop = std::make_unique<gif::TGIFAppExtNSLoop>(&Frame);
    Loop->SetLoops(0);
    Frame.Extensions()->Add(std::move(Loop));
  }
  auto Control = std::make_unique<gif::TGIFGraphicControlExtension>(&Frame);
  Control->SetDelay(Delay);
  gif::TGIFGraphicControlExtension* Added = Control.get();
  Frame.Extensions()->Add(std::move(Control));
  return Added;
}

bool HasLocalTables(const gif::TGIFImage& Image) {
  for (int Index = 0; Index < Image.Frames().Count(); ++Index)
    if (Image.Frames().SubImages(Index)->ColorMap()->Count() > 0) return true;
  return false;
}

// The first frame delay that is not 0, in hundredths of a second; 1 without one.
uint32_t FirstDelay(const gif::TGIFImage& Image) {
  for (int Index = 0; Index < Image.Frames().Count(); ++Index) {
    const gif::TGIFGraphicControlExtension* Control = Image.Frames().SubImages(Index)->GraphicControlExtension();
    if (Control && Control->Delay() > 0) return Control->Delay();
  }
  return 1;
}

gdi::COLORREF BackgroundOf(gif::TGIFImage& Image) {
  const gif::TGIFHeader& Header = Image.Header();
  if (Header.BackgroundColorIndex() >= Image.GetGlobalColorMap()->Count()) return 0;
  return graphics::ColorToRGB(Image.BackgroundColor());
}

// The stream's one colour table: the global table when every frame uses it, else the
// web cube the frames are dithered onto.
std::vector<gdi::RGBQUAD> StreamColors(gif::TGIFImage& Image) {
  gif::TGIFDrawFlags Flags = Image.DrawFlags();
  const bool Local = HasLocalTables(Image) || Image.GetGlobalColorMap()->Count() == 0;
  Flags = Local ? (Flags | gif::dfDither) & ~gif::dfAutoDither : Flags & ~gif::dfDither;
  Image.SetDrawFlags(Flags);
  const gdi::HPALETTE Palette = Local ? gif::WebPalette() : Image.GetGlobalColorMap()->MakePalette();
  std::vector<gdi::RGBQUAD> Colors = ColorTableOf(Palette);
  gdi::DeleteObject(Palette);
  return Colors;
}

}  // namespace

std::unique_ptr<gif::TGIFImage> TGiffer::ImportAvi(const std::string& FileName) {
  ui::THourGlass Busy;
  TInterfaceLock Lock(*this);
  avi::TAVIVideoReader Video(FileName);
  if (Video.Length() == 0) throw avi::EAVIError("The AVI video holds no frames.");
  const uint16_t Delay = AviFrameDelay(Video.Info().dwScale, Video.Info().dwRate);
  const std::vector<bool> OwnFrames = FramesOfTheirOwn(Video, Delay);
  CheckImportSize(Video, OwnFrames);

  base::TMemoryStream Stream;
  graphics::TBitmap Bitmap;
  auto Image = std::make_unique<gif::TGIFImage>();
  Image->SetReductionMethod(gif::rdOptimizedWindows);
  Image->SetDitherKind(gif::dkFloydSteinberg);
  FPreview->StopPlaying();
  TShownFrameKeeper Shown(*FPreview->FrameImage());
  const int32_t Last = Video.Start() + Video.Length() - 1;
  TFrameProgress Progress(*ProgressBar(), Video.Start(), Last);
  gif::TGIFGraphicControlExtension* Held = nullptr;
  for (int32_t Position = Video.Start(); Position <= Last; ++Position) {
    Progress.Step(Position);
    if (!OwnFrames[static_cast<size_t>(Position - Video.Start())]) {
      Held->SetDelay(static_cast<uint16_t>(Held->Delay() + Delay));
      continue;
    }
    Stream.Clear();
    Video.WriteFrameBMP(Position, Stream);
    Stream.SetPosition(0);
    Bitmap.LoadFromStream(Stream);
    const int Index = Image->AddFrame(&Bitmap);
    Held = AddTiming(*Image->Frames().SubImages(Index), Index == 0, Delay);
    Shown.Show(Bitmap);
  }
  return Image;
}

void TGiffer::ExportAvi(const std::string& FileName) {
  ui::THourGlass Busy;
  TInterfaceLock Lock(*this);
  gif::TGIFImage* Shown = FPreview->PreviewGif();
  if (!Shown) throw base::EInvalidOperation("There is no project to save.");
  // A copy of its own: the dithering it needs leaves the preview's options alone.
  gif::TGIFImage Image;
  Image.Assign(Shown);

  avi::AVIFileInit();
  avi::PAVIFILE File = nullptr;
  try {
    if (avi::AVIFileOpenA(&File, FileName, avi::OF_CREATE | avi::OF_WRITE | avi::OF_SHARE_EXCLUSIVE) != avi::AVIERR_OK)
      throw avi::EAVIError("Failed to create AVI file");
    const int Width = Image.Width();
    const int Height = Image.Height();
    if (Image.Frames().Count() == 0 || Width <= 0 || Height <= 0) throw avi::EAVIError("Failed to retrieve bitmap info");
    // A screen whose one frame would not fit is refused before its pixels are allocated.
    if ((int64_t{Width} + 3) / 4 * 4 * Height > avi::MaxAVIFileSize) throw avi::EAVIError("Failed to add frame to AVI");
    TAviScreen Screen(Width, Height, StreamColors(Image), BackgroundOf(Image));
    const auto ImageSize = static_cast<uint32_t>(Screen.Rows().size());

    avi::AVISTREAMINFOA Info;
    Info.fccType = avi::streamtypeVIDEO;
    Info.dwScale = FirstDelay(Image);
    Info.dwRate = 100;
    Info.dwSuggestedBufferSize = ImageSize;
    Info.rcFrame[2] = Width;
    Info.rcFrame[3] = Height;
    avi::PAVISTREAM Stream = nullptr;
    if (avi::AVIFileCreateStreamA(File, &Stream, &Info) != avi::AVIERR_OK)
      throw avi::EAVIError("Failed to create AVI stream");

    std::vector<uint8_t> Format(sizeof(gdi::BITMAPINFOHEADER) + Screen.Colors().size() * sizeof(gdi::RGBQUAD));
    gdi::BITMAPINFOHEADER Header;
    Header.biWidth = Width;
    Header.biHeight = Height;
    Header.biBitCount = 8;
    Header.biSizeImage = ImageSize;
    Header.biClrUsed = static_cast<uint32_t>(Screen.Colors().size());
    std::memcpy(Format.data(), &Header, sizeof Header);
    std::memcpy(Format.data() + sizeof Header, Screen.Colors().data(), Screen.Colors().size() * sizeof(gdi::RGBQUAD));
    if (avi::AVIStreamSetFormat(Stream, 0, Format.data(), static_cast<int32_t>(Format.size())) != avi::AVIERR_OK)
      throw avi::EAVIError("Failed to set AVI stream format");

    TFrameProgress Progress(*ProgressBar(), 0, Image.Frames().Count() - 1);
    for (int Index = 0; Index < Image.Frames().Count(); ++Index) {
      Progress.Step(Index);
      gif::TGIFSubImage& Frame = *Image.Frames().SubImages(Index);
      // An empty frame keeps its position as an empty chunk.
      const bool Empty = Frame.Empty();
      if (!Empty) Screen.Draw(Frame);
      const avi::HRESULT Result =
          avi::AVIStreamWrite(Stream, Index, 1, Empty ? nullptr : Screen.Rows().data(),
                              Empty ? 0 : static_cast<int32_t>(ImageSize), Empty ? 0u : uint32_t{avi::AVIIF_KEYFRAME},
                              nullptr, nullptr);
      if (Result != avi::AVIERR_OK) throw avi::EAVIError("Failed to add frame to AVI");
    }
    avi::AVIStreamRelease(Stream);
    const avi::HRESULT Finished = avi::AVIFileRelease(std::exchange(File, nullptr));
    if (Finished != avi::AVIERR_OK) throw avi::EAVIError("Failed to add frame to AVI");
  } catch (...) {
    if (File) avi::AVIFileDiscard(File);
    avi::AVIFileExit();
    throw;
  }
  avi::AVIFileExit();
}

}  // namespace editor
