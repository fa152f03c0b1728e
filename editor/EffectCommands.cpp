// The Effect menu's four transitions: each shows its dialog, checks the run against
// the project, and repaints the run on the preview's copy, frame by frame into the
// project.
#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QStatusBar>
#include <chrono>
#include <random>

#include "editor/Main.h"
#include "editor/Preview.h"
#include "editor/effects/FrameTransitions.h"
#include "editor/forms/FallWallDlg.h"
#include "editor/forms/LinesDlg.h"
#include "editor/forms/MoveApart.h"
#include "editor/forms/RainDFlg.h"
#include "platform/ui/Application.h"
#include "platform/ui/DialogService.h"
#include "platform/ui/HourGlass.h"
#include "ui_Main.h"

namespace editor {

void TGiffer::RunEffect(TEffectForm& Form, const std::function<void(TTransitionFrames&, const TEffectRun&)>& Draw) {
  if (Form.exec() != QDialog::Accepted) return;
  gif::TGIFImage* Copy = FPreview->PreviewGif();
  if (!FGifImage || !Copy) return;
  const TRunCheck Check = CheckEffectRun(Form.FirstFrameValue(), Form.CountFrameValue(), FGifImage->Frames().Count());
  if (!Check.Run) {
    ui::Dialogs().MessageBox(Check.Message, "Error!", ui::mtInformation, ui::mbOK);
    return;
  }
  // Nothing may play the copy while its frames are drawn on.
  FPreview->StopPlaying();
  ui::THourGlass Busy(ui::crAppStart);
  TTransitionFrames Frames(*Copy, *FGifImage);
  auto Finish = [this, &Frames] {
    FPanels[0]->setText(QStringLiteral("Ready"));
    FPreview->Rebind();
    FPreview->ShowCurrentFrame();
    // A run stopped before its first frame changed nothing.
    if (Frames.Stored()) SetModified(true);
  };
  try {
    Draw(Frames, *Check.Run);
  } catch (...) {
    // The frames already written stay; the preview shows them.
    Finish();
    throw;
  }
  Finish();
}

namespace {

TTransitionRun RunOf(const TEffectForm& Form, const TEffectRun& Run) {
  return {Run.First, Run.Target, Run.Target - Run.First, Form.UsePaslette()->isChecked(),
          Form.CopyFrame()->isChecked()};
}

}  // namespace

void TGiffer::Fallwall1Click() {
  RunEffect(*FForms->FallWallForm, [this](TTransitionFrames& Frames, const TEffectRun& Run) {
    RunFallWall(Frames, RunOf(*FForms->FallWallForm, Run), FForms->FallWallForm->Direction(), FForms->FallWallForm->Mode());
  });
}

void TGiffer::Rain1Click() {
  RunEffect(*FForms->RainForm, [this](TTransitionFrames& Frames, const TEffectRun& Run) {
    std::mt19937 Random(static_cast<std::mt19937::result_type>(
        std::chrono::system_clock::now().time_since_epoch().count()));
    RunRain(Frames, RunOf(*FForms->RainForm, Run), Random, [this](int Frame) {
      FPanels[0]->setText(QStringLiteral("Build image:%1").arg(Frame));
      Ui->StatusBar1->repaint();
    });
  });
}

void TGiffer::Moveapart1Click() {
  RunEffect(*FForms->MoveApartForm, [this](TTransitionFrames& Frames, const TEffectRun& Run) {
    RunMoveApart(Frames, RunOf(*FForms->MoveApartForm, Run), FForms->MoveApartForm->Vertical()->isChecked(),
                 FForms->MoveApartForm->IncreaseButton()->isChecked(), FForms->MoveApartForm->Scale()->isChecked());
  });
}

void TGiffer::Lines1Click() {
  RunEffect(*FForms->LinesForm, [this](TTransitionFrames& Frames, const TEffectRun& Run) {
    RunLines(Frames, RunOf(*FForms->LinesForm, Run), FForms->LinesForm->Horiz()->isChecked(), FForms->LinesForm->LineCount());
  });
}

}  // namespace editor
