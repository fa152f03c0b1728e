// The frame-list commands of the main window (exchange, move, crop to what changes),
// printing the current frame, the palette, optimiser and extension windows, and the
// merge of the colour tables.
#include <QDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPrinter>

#include "editor/Main.h"
#include "editor/Preview.h"
#include "editor/forms/CheckedField.h"
#include "editor/forms/ExchangePlace.h"
#include "editor/forms/ExtensionsDlg.h"
#include "editor/forms/FrameOptionForm.h"
#include "editor/forms/MoveFrame.h"
#include "editor/forms/OptimizerForm.h"
#include "gif/FrameSizeOptimizer.h"
#include "platform/base/Exceptions.h"
#include "platform/base/Rounding.h"
#include "platform/ui/BitmapImage.h"
#include "platform/ui/DialogService.h"
#include "platform/ui/HourGlass.h"

namespace editor {

namespace {

// The frame number (from 1) in Edit when it names a frame; else the conversion error
// or Problem is shown.
std::optional<int> FrameNumber(TEditN& Edit, int Count, const char* Problem) {
  const std::optional<int> Number = ConvertedInteger(Edit);
  if (!Number) return std::nullopt;
  if (*Number >= 1 && *Number <= Count) return Number;
  ui::Dialogs().MessageBox(Problem, "Error!", ui::mtInformation, ui::mbOK);
  return std::nullopt;
}

}  // namespace

base::TRect PrintRect(int Width, int Height, double DpiX, double DpiY, int PageWidth, int PageHeight) {
  const double ScaleX = DpiX / 72, ScaleY = DpiY / 72;
  const auto Left = static_cast<int32_t>(base::Round((PageWidth - Width * ScaleX) / 2));
  const auto Top = static_cast<int32_t>(base::Round((PageHeight - Height * ScaleY) / 2));
  return base::Rect(Left, Top, static_cast<int32_t>(base::Round(Width * ScaleX + Left)),
                    static_cast<int32_t>(base::Round(Height * ScaleY + Top)));
}

void TGiffer::FramesChanged() {
  FPreview->Rebind();
  FPreview->FillFrameList();
  FPreview->ShowCurrentFrame();
  SetModified(true);
}

void TGiffer::Exchange1Click() {
  if (!FGifImage || FForms->ExchangePlaceForm->exec() != QDialog::Accepted) return;
  const int Count = FGifImage->Frames().Count();
  const auto First = FrameNumber(*FForms->ExchangePlaceForm->FirstFrameEdit(), Count,
                                 "First parameter falls outside the limits allowable values.");
  if (!First) return;
  const auto Second = FrameNumber(*FForms->ExchangePlaceForm->SecondFrameEdit(), Count,
                                  "Second parameter falls outside the limits allowable values.");
  if (!Second) return;
  FGifImage->Frames().Exchange(*First - 1, *Second - 1);
  FramesChanged();
}

void TGiffer::Moveframe1Click() {
  if (!FGifImage || FForms->MoveFrameForm->exec() != QDialog::Accepted) return;
  const int Count = FGifImage->Frames().Count();
  const auto Current =
      FrameNumber(*FForms->MoveFrameForm->CurrentEdit(), Count, "Current parameter falls outside the limits allowable values.");
  if (!Current) return;
  const auto New =
      FrameNumber(*FForms->MoveFrameForm->NewEdit(), Count, "New parameter falls outside the limits allowable values.");
  if (!New) return;
  FGifImage->Frames().Move(*Current - 1, *New - 1);
  FramesChanged();
}

void TGiffer::Optimizeframesize1Click() {
  if (!FGifImage) return;
  ui::THourGlass Busy;
  gif::OptimizeFrameSize(*FGifImage);
  FramesChanged();
}

void TGiffer::PrintClick() {
  graphics::TBitmap* Bitmap = nullptr;
  const int Index = FPreview->FFrameIndex();
  if (FGifImage && Index >= 0 && Index < FGifImage->Frames().Count())
    Bitmap = FGifImage->Frames().SubImages(Index)->GetBitmap();
  if (Bitmap == nullptr) {
    ui::Dialogs().MessageBox("There is no frame to print.", "Error!", ui::mtInformation, ui::mbOK);
    return;
  }
  ui::TPrintDialog PrintDialog(*FPrinter);
  if (!PrintDialog.Execute()) return;
  const QImage Picture = ui::BitmapToQImage(*Bitmap);
  QPrinter& Printer = *FPrinter;
  QPainter Painter;
  if (!Painter.begin(&Printer)) throw base::Exception("The print job could not be started.");
  const base::TRect Area = PrintRect(Picture.width(), Picture.height(), Printer.logicalDpiX(), Printer.logicalDpiY(),
                                     Printer.width(), Printer.height());
  Painter.drawImage(QRect(Area.Left, Area.Top, Area.Width(), Area.Height()), Picture);
  if (!Painter.end()) throw base::Exception("The print job could not be finished.");
}

TFrameOptionForm* TGiffer::FrameOptionForm() const { return FFrameOptionForm; }
TOptimizerForm* TGiffer::OptimizerForm() const { return FOptimizerForm; }
TExtensionsForm* TGiffer::ExtensionsForm() const { return FExtensionsForm; }

void TGiffer::ExtensButtonClick() {
  if (!FExtensionsForm) FExtensionsForm = new TExtensionsForm(*this, *FForms->EditPropertyForm, *FForms->ExtensTypeForm);
  ShowChildWindow(FExtensionsForm);
}

void TGiffer::GlobalOptionClick() {
  if (!FFrameOptionForm) FFrameOptionForm = new TFrameOptionForm(*this);
  ShowChildWindow(FFrameOptionForm);
}

void TGiffer::Optimizepalette1Click() {
  if (!FOptimizerForm) FOptimizerForm = new TOptimizerForm(*this);
  ShowChildWindow(FOptimizerForm);
}

void TGiffer::Optimize1Click() {
  if (!FProjectOpenFlag || !FGifImage) return;
  CloseFrameOptionForm();
  ui::THourGlass Busy;
  // Saves write the project image, so the merge works on it and the preview follows.
  FGifImage->MergeColorTables();
  FPreview->Rebind();
  FPreview->ShowCurrentFrame();
  SetModified(true);
}

}  // namespace editor
