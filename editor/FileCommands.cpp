// The main window's file commands: opening a picture, GIF or AVI video as the project,
// saving it by extension, a new blank project, and moving single pictures into and out of the
// current frame.
#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSlider>
#include <QToolButton>
#include <algorithm>
#include <cctype>

#include "editor/ExchangeFile.h"
#include "editor/FileFilters.h"
#include "editor/Main.h"
#include "editor/Preview.h"
#include "editor/forms/NewGIF.h"
#include "editor/forms/SaveJPEGDlg.h"
#include "platform/base/Exceptions.h"
#include "platform/graphics/JPEGImage.h"
#include "platform/graphics/Picture.h"
#include "platform/ui/Application.h"
#include "platform/ui/DialogService.h"
#include "platform/ui/HourGlass.h"

namespace editor {

namespace {

std::string BaseName(const std::string& Path) { return QFileInfo(QString::fromStdString(Path)).fileName().toStdString(); }

QString ProjectCaption(const std::string& Name) {
  return QString::fromLatin1(MainCaption) + QStringLiteral(": ") + QString::fromStdString(Name);
}

// A GIF is read by the project image itself, so its warnings reach the project's handler.
void LoadGraphic(const std::string& FileName, gif::TGIFImage& Image) {
  if (UpperExtension(FileName) == ".GIF") {
    Image.LoadFromFile(FileName);
    return;
  }
  graphics::TPicture Picture;
  Picture.LoadFromFile(FileName);
  Image.Assign(Picture.Graphic());
}

}  // namespace

void LoadPictureBitmap(const std::string& FileName, graphics::TBitmap& Bitmap) {
  if (UpperExtension(FileName) == ".GIF") {
    gif::TGIFImage Image;
    Image.LoadFromFile(FileName);
    Bitmap.Assign(&Image);
    return;
  }
  graphics::TPicture Picture;
  Picture.LoadFromFile(FileName);
  Bitmap.Assign(Picture.Graphic());
}

std::string UpperExtension(const std::string& Path) {
  const size_t Dot = Path.rfind('.');
  if (Dot == std::string::npos) return {};
  std::string Extension = Path.substr(Dot);
  std::transform(Extension.begin(), Extension.end(), Extension.begin(),
                 [](unsigned char C) { return static_cast<char>(std::toupper(C)); });
  // Both spellings of JPEG are one format.
  if (Extension == ".JPEG") return ".JPG";
  return Extension;
}

bool TGiffer::AskSaveChanges() {
  // The frame first, so that storing it is part of what the project's question saves.
  if (FFrameEditor && !FFrameEditor->CheckModified()) return false;
  if (!Modified()) return true;
  const ui::TModalResult Answer = ui::MessageDlg("Save changes?", ui::mtConfirmation, ui::mbYesNoCancel);
  if (Answer == ui::mrCancel) return false;
  return Answer != ui::mrYes || SaveButtonClick();
}

gif::TGIFSubImage& TGiffer::CurrentFrame() const {
  const int Index = FPreview->FFrameIndex();
  if (!FGifImage || Index < 0 || Index >= FGifImage->Frames().Count())
    throw base::EInvalidOperation("The project has no current frame.");
  return *FGifImage->Frames().SubImages(Index);
}

void TGiffer::OpenButtonClick() {
  FPreview->Button("StopGif")->setChecked(true);
  ui::TOpenDialog Dialog;
  Dialog.SetFilter(OpenFilter);
  Dialog.SetInitialDir(FStartDirValue);
  if (!ui::Dialogs().ExecuteOpen(Dialog)) return;
  LoadProject(Dialog.FileName());
}

void TGiffer::LoadProject(const std::string& Name) {
  if (UpperExtension(Name) == ".AVI") {
    const std::string Target = ConvertAvi(Name);
    if (!Target.empty()) LoadProject(Target);
    return;
  }
  if (!AskSaveChanges()) return;
  ui::THourGlass Busy;
  // The previous project goes to the recent list under its own name.
  ResetProject();
  FFileNameValue = QFileInfo(QString::fromStdString(Name)).absoluteFilePath().toStdString();
  try {
    EnableFrameTools(true);
    FGifImage = std::make_unique<gif::TGIFImage>();
    BindProjectEvents();
    LoadGraphic(FFileNameValue, *FGifImage);
    // Assigning a picture may take the image's events along with the old content.
    BindProjectEvents();
    setWindowTitle(ProjectCaption(BaseName(FFileNameValue)));
    ShowProject();
    gif::TGIFSubImage* Single = FGifImage->Frames().Count() == 1 ? FGifImage->Frames().SubImages(0) : nullptr;
    if (Single && Single->GetBitmap()) {
      // A single frame keeps its own colour table, made from its picture.
      graphics::TBitmap Copy;
      Copy.Assign(Single->GetBitmap());
      FGifImage->GetGlobalColorMap()->Clear();
      Single->Assign(&Copy);
      FPreview->Rebind();
    }
  } catch (...) {
    DropProject();
    throw;
  }
}

std::string TGiffer::ConvertAvi(const std::string& FileName) {
  const std::string Target = FileName.substr(0, FileName.rfind('.')) + ".gif";
  if (QFileInfo::exists(QString::fromStdString(Target)) &&
      ui::Dialogs().MessageBox("File exist. Overwrite", "Attention", ui::mtConfirmation, ui::mbOKCancel) != ui::mrOk)
    return {};
  std::unique_ptr<gif::TGIFImage> Image = ImportAvi(FileName);
  ui::THourGlass Busy;
  Image->SaveToFile(Target);
  return Target;
}

void TGiffer::ShowProject() {
  FPanels[1]->clear();
  FPreview->Button("StopGif")->setChecked(true);
  FPreview->Rebind();
  FPreview->SetFrameIndex(0);
  FPreview->StopGifClick();
  FPreview->FillFrameList();
  FProjectOpenFlag = 1;
}

void TGiffer::DropProject() {
  FFileNameValue.clear();
  ResetProject();
}

bool TGiffer::SaveButtonClick() {
  if (FFileNameValue.empty()) {
    ui::TSaveDialog Dialog;
    Dialog.SetFilter(SaveFilter);
    Dialog.SetDefaultExt("gif");
    Dialog.SetInitialDir(FStartDirValue);
    if (!ui::Dialogs().ExecuteSave(Dialog)) return false;
    FFileNameValue = Dialog.FileName();
  }
  if (!FGifImage) throw base::EInvalidOperation("There is no project to save.");
  const std::string Extension = UpperExtension(FFileNameValue);
  if (Extension == ".AVI") {
    ExportAvi(FFileNameValue);
    SetModified(false);
    return true;
  }
  if (Extension == ".BMP" || Extension == ".JPG") {
    if (!WriteCurrentFrame(FFileNameValue, Extension, true)) return false;
    // The other frames are not in the file, so they are still unsaved.
    if (FGifImage->Frames().Count() == 1) {
      SetModified(false);
      return true;
    }
    SetModified(true);
    DisplayHint(QString::fromStdString("Only the current frame is saved in " + BaseName(FFileNameValue) +
                                       "; save as GIF to keep every frame."));
    return false;
  }
  {
    ui::THourGlass Busy;
    FGifImage->SaveToFile(FFileNameValue);
  }
  SetModified(false);
  return true;
}

bool TGiffer::WriteCurrentFrame(const std::string& FileName, const std::string& Format, bool AskJPEGOptions) {
  graphics::TBitmap* Bitmap = CurrentFrame().GetBitmap();
  if (!Bitmap) throw base::EInvalidOperation("The current frame is empty.");
  if (Format == ".JPG") {
    graphics::TJPEGImage JPEG;
    if (AskJPEGOptions) {
      TSaveJPEGForm& Options = *FForms->SaveJPEGForm;
      if (Options.exec() != QDialog::Accepted) return false;
      JPEG.SetGrayscale(Options.Grayscale()->isChecked());
      JPEG.SetSmoothing(Options.Smoothing()->isChecked());
      JPEG.SetCompressionQuality(Options.CompressQual()->value());
    }
    ui::THourGlass Busy;
    JPEG.Assign(Bitmap);
    JPEG.SaveToFile(FileName);
  } else if (Format == ".GIF") {
    ui::THourGlass Busy;
    gif::TGIFImage Single;
    Single.Assign(Bitmap);
    Single.SaveToFile(FileName);
  } else {
    ui::THourGlass Busy;
    Bitmap->SaveToFile(FileName);
  }
  return true;
}

void TGiffer::Saveas1Click() {
  ui::TSaveDialog Dialog;
  Dialog.SetFilter(SaveFilter);
  Dialog.SetDefaultExt("gif");
  Dialog.SetInitialDir(FStartDirValue);
  Dialog.SetFileName(FFileNameValue);
  if (!ui::Dialogs().ExecuteSave(Dialog)) return;
  FFileNameValue = Dialog.FileName();
  setWindowTitle(ProjectCaption(BaseName(FFileNameValue)));
  SaveButtonClick();
}

void TGiffer::CreateButtonClick() {
  TCreateGIFForm& Form = *FForms->CreateGIFForm;
  if (Form.exec() != QDialog::Accepted) return;
  const int Count = Form.FrameCount();
  const int Width = Form.FrameWidth();
  const int Height = Form.FrameHeight();
  if (Count == 0 || Width == 0 || Height == 0) {
    ui::Dialogs().MessageBox("One of parameter = 0.", "Error!", ui::mtInformation, ui::mbOK);
    return;
  }
  if (!AskSaveChanges()) return;
  ui::THourGlass Busy;
  ResetProject();
  FFileNameValue.clear();
  EnableFrameTools(true);
  NewBlankProject(Count, Width, Height, ProjectCaption("New Gif"));
}

void TGiffer::NewBlankProject(int Count, int Width, int Height, const QString& Caption) {
  try {
    FGifImage = std::make_unique<gif::TGIFImage>();
    BindProjectEvents();
    FGifImage->SetReductionMethod(gif::rdOptimizedWindows);
    setWindowTitle(Caption);
    graphics::TBitmap Blank;
    Blank.SetWidth(Width);
    Blank.SetHeight(Height);
    for (int Index = 0; Index < Count; ++Index) FGifImage->AddFrame(&Blank);
    ShowProject();
  } catch (...) {
    DropProject();
    throw;
  }
}

void TGiffer::Export1Click() {
  ui::TSaveDialog Dialog;
  Dialog.SetFilter(ExportFilter);
  Dialog.SetInitialDir(FStartDirValue);
  if (!ui::Dialogs().ExecuteSave(Dialog)) return;
  const std::string Extension = UpperExtension(Dialog.FileName());
  WriteCurrentFrame(Dialog.FileName(), Extension == ".GIF" || Extension == ".JPG" ? Extension : ".BMP", false);
}

void TGiffer::Insertfromfile1Click() {
  ui::TOpenPictureDialog Dialog;
  Dialog.SetFilter(ImportFilter);
  Dialog.SetInitialDir(FStartDirValue);
  if (!ui::Dialogs().ExecuteOpen(Dialog)) return;
  gif::TGIFSubImage& Frame = CurrentFrame();
  ui::THourGlass Busy;
  gif::TGIFImage Picture;
  LoadGraphic(Dialog.FileName(), Picture);
  graphics::TBitmap* Bitmap = Picture.Frames().Count() > 0 ? Picture.Frames().SubImages(0)->GetBitmap() : nullptr;
  if (!Bitmap) throw base::EInvalidGraphic("The picture has no image.");
  // A bitmap replaces the pixels only: the frame keeps its timing and extensions.
  Frame.Assign(Bitmap);
  FPreview->Rebind();
  FPreview->ShowCurrentFrame();
  SetModified(true);
}

void TGiffer::LoadExchangeBitmap() {
  gif::TGIFSubImage& Frame = CurrentFrame();
  graphics::TBitmap Bitmap;
  ReadExchangeFile(FStartDirValue, Bitmap);
  Frame.Assign(&Bitmap);
  FPreview->Rebind();
  FPreview->ShowCurrentFrame();
  SetModified(true);
}

}  // namespace editor
