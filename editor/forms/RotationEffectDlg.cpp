#include "editor/forms/RotationEffectDlg.h"

#include <QCheckBox>
#include <QStatusBar>
#include <cstring>

#include "editor/ExchangeFile.h"
#include "editor/Main.h"
#include "editor/Preview.h"
#include "editor/bitmaps/Fast256.h"
#include "editor/bitmaps/FastBMP.h"
#include "editor/bitmaps/FastFX.h"
#include "editor/controls/EditN.h"
#include "editor/controls/FastIMG.h"
#include "editor/forms/CheckedField.h"
#include "platform/base/Rounding.h"
#include "platform/ui/Application.h"
#include "platform/ui/DialogService.h"
#include "platform/ui/HourGlass.h"
#include "ui_RotationEffectDlg.h"

namespace editor {

int RotationStep(int Passes) { return static_cast<int>(base::Round(360.0 / Passes)); }

TRotationEffectForm::TRotationEffectForm(TGiffer& Main, QWidget* Parent)
    : QDialog(Parent), Ui(std::make_unique<::Ui::TRotationEffectForm>()), FMain(Main) {
  Ui->setupUi(this);
  Ui->EditFirstF->SetEditType(etInteger);
  Ui->EditNumberFrame->SetEditType(etInteger);
  Ui->PrevImage->SetDrawStyle(dsDraw);
  Ui->PrevImage->SetDataType(dtFastBMP);
  Ui->PrevImage->SetConvert_256(cmGray);
  connect(Ui->OkButton, &QPushButton::clicked, this, ui::GuardedSlot([this] { OkButtonClick(); }));
  connect(Ui->CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

TRotationEffectForm::~TRotationEffectForm() = default;

TEditN* TRotationEffectForm::EditFirstF() const { return Ui->EditFirstF; }
TEditN* TRotationEffectForm::EditNumberFrame() const { return Ui->EditNumberFrame; }
QCheckBox* TRotationEffectForm::rRotateWrap() const { return Ui->rRotateWrap; }
TFastIMG* TRotationEffectForm::PrevImage() const { return Ui->PrevImage; }
QStatusBar* TRotationEffectForm::StatusBar1() const { return Ui->StatusBar1; }

std::string TRotationEffectForm::ExchangeFile() const { return ExchangeFileName(FMain.FStartDir()); }

void TRotationEffectForm::ShowStatus(const std::string& Text) {
  Ui->StatusBar1->showMessage(QString::fromStdString(Text));
  Ui->StatusBar1->repaint();
}

void TRotationEffectForm::OkButtonClick() {
  gif::TGIFImage* Project = FMain.FGif();
  TGifPreview& Preview = *FMain.Preview();
  if (!Project || !Preview.PreviewGif()) return;
  // Both numbers are checked before gif.dat is written or any frame changes.
  const std::optional<int> First = CheckedInteger(*Ui->EditFirstF, "First frame", 1, Project->Frames().Count());
  if (!First) return;
  const std::optional<int> Last = CheckedInteger(*Ui->EditNumberFrame, "Number of frame", *First, MaxFrameNumber);
  if (!Last) return;
  const int Source = *First - 1;
  const int Passes = *Last - Source;
  const int Step = RotationStep(Passes);
  // Undithered, in the frame's own colours, whatever the preview shows.
  const std::unique_ptr<graphics::TBitmap> Picture =
      gif::ReadFrameBitmap(*Preview.PreviewGif()->Frames().SubImages(Source));
  if (!Picture) {
    ui::Dialogs().MessageBox("The frame has no picture to rotate.", "Error!", ui::mtError, ui::mbOK);
    return;
  }

  ui::THourGlass Busy;
  Preview.SetFrameIndex(Source);
  bool Changed = false;
  try {
    double Angle = 0;
    for (int Pass = 0; Pass < Passes; ++Pass) {
      // Every pass turns the unrotated source.
      WriteExchangeFile(FMain.FStartDir(), *Picture);
      LoadSource();
      ShowStatus("Rotate");
      Angle += Step;
      RotatePreview(Angle);
      ShowStatus("Convert Frame:" + std::to_string(Pass));
      SaveResult();
      const int Target = Source + 1 + Pass;
      if (Target >= Project->Frames().Count()) {
        ShowStatus("Add Frame");
        Changed = true;
        Preview.AddButtonClick();
      }
      ShowStatus("Save frame:" + std::to_string(Pass));
      Preview.SetFrameIndex(Target);
      Changed = true;
      FMain.LoadExchangeBitmap();
    }
  } catch (...) {
    if (Changed) FMain.SetModified(true);
    throw;
  }
  accept();
  FMain.SetModified(true);
}

void TRotationEffectForm::LoadSource() {
  Ui->PrevImage->LoadImage(ExchangeFile());
  const TFastRGB* Loaded = Ui->PrevImage->Image();
  if (!Loaded) return;
  // One source image for the whole run while the class stays.
  if (!FSource || FSource->BytesPerPixel() != Loaded->BytesPerPixel()) FSource = Loaded->NewLike();
  FSource->CopyFrom(*Loaded);
  FCenterX = Loaded->Width() / 2;
  FCenterY = Loaded->Height() / 2;
}

void TRotationEffectForm::RotatePreview(double Angle) {
  TFastRGB* Shown = Ui->PrevImage->Image();
  if (Angle == 0 || !Shown || !FSource) return;
  if (Ui->rRotateWrap->isChecked()) {
    RotateWrap(*FSource, *Shown, FCenterX, FCenterY, Angle);
  } else {
    if (Shown->Size() > 0) std::memset(Shown->Bits(), 0, Shown->Size());
    Rotate(*FSource, *Shown, FCenterX, FCenterY, Angle);
  }
  Ui->PrevImage->Repaint();
}

void TRotationEffectForm::SaveResult() {
  if (auto* Deep = dynamic_cast<TFastBMP*>(Ui->PrevImage->Image())) {
    auto Reduced = std::make_unique<TFast256>();
    ConvertTo256(*Reduced, *Deep, cmDither);
    Ui->PrevImage->SetImage(std::move(Reduced));
    Ui->PrevImage->SetConvert_256(cmDither);
  }
  if (TFastRGB* Shown = Ui->PrevImage->Image()) Shown->SaveToFile(ExchangeFile());
}

}  // namespace editor
