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

void TGiffer::CreateEffectForms() {
  FFallWallForm = new TFallWallForm(this);
  FRainForm = new TRainForm(this);
  FMoveApartForm = new TMoveApartForm(this);
  FLinesForm = new TLinesForm(this);
}

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
  auto Finish = [this] {
    FPanels[0]->setText(QStringLiteral("Ready"));
    FPreview->Rebind();
    FPreview->ShowCurrentFrame();
    SetModified(true);
  };
  ui::THourGlass Busy(ui::crAppStart);
  TTransitionFrames Frames(*Copy, *FGifImage);
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
  RunEffect(*FFallWallForm, [this](TTransitionFrames& Frames, const TEffectRun& Run) {
    RunFallWall(Frames, RunOf(*FFallWallForm, Run), FFallWallForm->Direction(), FFallWallForm->Mode());
  });
}

void TGiffer::Rain1Click() {
  RunEffect(*FRainForm, [this](TTransitionFrames& Frames, const TEffectRun& Run) {
    std::mt19937 Random(static_cast<std::mt19937::result_type>(
        std::chrono::system_clock::now().time_since_epoch().count()));
    RunRain(Frames, RunOf(*FRainForm, Run), Random, [this](int Frame) {
      FPanels[0]->setText(QStringLiteral("Build image:%1").arg(Frame));
      Ui->StatusBar1->repaint();
    });
  });
}

void TGiffer::Moveapart1Click() {
  RunEffect(*FMoveApartForm, [this](TTransitionFrames& Frames, const TEffectRun& Run) {
    RunMoveApart(Frames, RunOf(*FMoveApartForm, Run), FMoveApartForm->Vertical()->isChecked(),
                 FMoveApartForm->IncreaseButton()->isChecked(), FMoveApartForm->Scale()->isChecked());
  });
}

void TGiffer::Lines1Click() {
  RunEffect(*FLinesForm, [this](TTransitionFrames& Frames, const TEffectRun& Run) {
    RunLines(Frames, RunOf(*FLinesForm, Run), FLinesForm->Horiz()->isChecked(), FLinesForm->LineCount());
  });
}

}  // namespace editor
