#include "editor/forms/WizardMain.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QIcon>
#include <QPixmap>
#include <QLabel>
#include <QRadioButton>
#include <chrono>
#include <cstdint>
#include <optional>
#include <random>
#include <string>

#include "editor/Main.h"
#include "editor/Preview.h"
#include "editor/controls/ComboBox97.h"
#include "editor/controls/EditN.h"
#include "editor/controls/LabelEffect.h"
#include "editor/effects/FrameTransitions.h"
#include "editor/forms/CheckedField.h"
#include "editor/forms/PrevWizDlj.h"
#include "gif/AppExtNSLoop.h"
#include "gif/GIFImage.h"
#include "gif/GraphicControlExtension.h"
#include "platform/base/Rounding.h"
#include "platform/graphics/Picture.h"
#include "platform/ui/Application.h"
#include "platform/ui/DialogService.h"
#include "platform/ui/FontConvert.h"
#include "platform/ui/HourGlass.h"
#include "platform/ui/WindowCanvas.h"
#include "plexor/Binding.h"
#include "ui_WizardMain.h"

namespace editor {

namespace {

constexpr const char* PictureFilter =
    "All (*.gif;*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf)|*.gif;*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf|GIF Image "
    "(*.gif)|*.gif|JPEG Image File (*.jpg)|*.jpg|JPEG Image File (*.jpeg)|*.jpeg|Bitmaps (*.bmp)|*.bmp|Icons "
    "(*.ico)|*.ico|Enhanced Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf";
// A frame's sides and position fit in 16 bits.
constexpr int MaxSide = 65535;

void Refuse(const std::string& Text) { ui::Dialogs().MessageBox(Text, "Error!", ui::mtInformation, ui::mbOK); }

// The picture in Name as a bitmap; an error when it cannot be read or converted.
void LoadPicture(const std::string& Name, graphics::TBitmap& Into) {
  graphics::TPicture Picture;
  Picture.LoadFromFile(Name);
  Into.Assign(Picture.Graphic());
}

bool FileExists(const std::string& Name) { return QFileInfo(QString::fromStdString(Name)).isFile(); }

// Why Count frames of Width x Height cannot be made; empty when they can. Asked before
// anything is allocated or the open project goes.
std::string SizeProblem(int64_t Width, int64_t Height, int64_t Count) {
  const std::string Size = std::to_string(Width) + " x " + std::to_string(Height);
  if (Width * Height > gif::TGIFSubImage::MaxFramePixels)
    return "A frame of " + Size + " has more than " + std::to_string(gif::TGIFSubImage::MaxFramePixels) + " pixels.";
  if (Width * Height * Count > gif::TGIFImageList::MaxImagePixels)
    return std::to_string(Count) + " frames of " + Size + " are more than an animation can hold.";
  return {};
}

}  // namespace

int WizardDelay(int Milliseconds) { return static_cast<int>(base::Round(Milliseconds / 10.0)); }

std::string TGIFWizardForm::DefaultBackground() { return plexor::ProgramFolder() + "/Image/Marble.bmp"; }

TGIFWizardForm::TGIFWizardForm(TGiffer& Main, TPreviewWizForm& PreviewWiz, QWidget* Parent)
    : QDialog(Parent), Ui(std::make_unique<::Ui::TGIFWizardForm>()), FMain(Main), FPreviewWiz(PreviewWiz) {
  Ui->setupUi(this);
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  Ui->BackGroundEdit->setText(QString::fromStdString(DefaultBackground()));
  for (TEditN* Edit : {Ui->EditWidth, Ui->EditHeight, Ui->EditCount, Ui->EditN1, Ui->LeftPos, Ui->TopEdit, Ui->EditLines})
    Edit->SetEditType(etInteger);
  Ui->FallCB->SetFlat(true);
  Ui->PreviewImage->setFixedSize(100, 100);
  // Every page takes the place of the largest, so the window keeps its size.
  for (QWidget* Page : {Ui->Panel3, Ui->Panel4, Ui->Panel5, Ui->Panel6, Ui->Panel7, Ui->Panel8, Ui->Panel9}) {
    QSizePolicy Policy = Page->sizePolicy();
    Policy.setRetainSizeWhenHidden(true);
    Page->setSizePolicy(Policy);
  }
  Ui->Image1->setPixmap(QPixmap(QStringLiteral(":/icons/animora.png")));
  Ui->ChoseBack->setIcon(QIcon(QStringLiteral(":/icons/open.png")));

  TLabelEffect& Title = *Ui->LabelEffect1;
  Title.SetCaption("GIF Wizard");
  Title.Font().SetHeight(-27);
  Title.Font().SetColor(0x808080);
  Title.SetColourScheme(csCustom);
  Title.SetColourHighlight(0xFF0000);
  Title.SetColourShadow(0x800000);
  Title.SetAutoSize(true);
  Title.SetTransparent(true);

  connect(Ui->ChoseBack, &QToolButton::clicked, this, ui::GuardedSlot([this] { ChoseBackClick(); }));
  connect(Ui->UseBackParam, &QCheckBox::clicked, this, ui::GuardedSlot([this] { UseBackParamClick(); }));
  connect(Ui->SelectFont, &QPushButton::clicked, this, ui::GuardedSlot([this] { SelectFontClick(); }));
  connect(Ui->NextButton, &QPushButton::clicked, this, ui::GuardedSlot([this] { NextButtonClick(); }));
  connect(Ui->BackButton, &QPushButton::clicked, this, ui::GuardedSlot([this] { BackButtonClick(); }));
  connect(Ui->ViewButton, &QPushButton::clicked, this, ui::GuardedSlot([this] { ViewButtonClick(); }));
  connect(Ui->CancelButton, &QPushButton::clicked, this, ui::GuardedSlot([this] { CancelButtonClick(); }));
  Ui->PreviewImage->installEventFilter(this);
}

TGIFWizardForm::~TGIFWizardForm() = default;

void TGIFWizardForm::SetTextFont(const QFont& Font) {
  ui::AssignQFont(FTextFont, Font);
  Ui->Label6->setFont(Font);
}

void TGIFWizardForm::showEvent(QShowEvent* Event) {
  FormShow();
  QDialog::showEvent(Event);
}

void TGIFWizardForm::FormShow() {
  FBuilt = false;
  Ui->Panel3->show();
  for (QWidget* Page : {static_cast<QWidget*>(Ui->Panel4), static_cast<QWidget*>(Ui->Panel5)}) Page->hide();
  HideOptionPages();
  Ui->FallCB->setCurrentIndex(0);
  Ui->BackButton->setEnabled(false);
  Ui->NextButton->setEnabled(true);
  Ui->CancelButton->setEnabled(true);
}

bool TGIFWizardForm::eventFilter(QObject* Watched, QEvent* Event) {
  if (Watched == Ui->PreviewImage && Event->type() == QEvent::MouseButtonDblClick) {
    ui::Guarded([this] { PreviewImageDblClick(); });
    return true;
  }
  return QDialog::eventFilter(Watched, Event);
}

void TGIFWizardForm::ChoseBackClick() {
  ui::TOpenPictureDialog Dialog;
  Dialog.SetFilter(PictureFilter);
  Dialog.SetInitialDir(FMain.FStartDir() + "/Image");
  if (ui::Dialogs().ExecuteOpen(Dialog)) Ui->BackGroundEdit->setText(QString::fromStdString(Dialog.FileName()));
}

void TGIFWizardForm::UseBackParamClick() {
  const bool Own = !Ui->UseBackParam->isChecked();
  Ui->EditWidth->setEnabled(Own);
  Ui->EditHeight->setEnabled(Own);
}

void TGIFWizardForm::SelectFontClick() {
  ui::TFontDialog Dialog;
  Dialog.SetFont(Ui->Label6->font());
  Dialog.SetColor(FTextFont.Color());
  if (!ui::Dialogs().ExecuteFont(Dialog)) return;
  SetTextFont(Dialog.Font());
  // The text is stamped in the colour the dialog returns.
  FTextFont.SetColor(Dialog.Color());
}

bool TGIFWizardForm::MakePreviewPicture() {
  graphics::TBitmap& Picture = Ui->PreviewImage->Surface();
  const std::string Name = Ui->BackGroundEdit->text().toStdString();
  const bool Loaded = FileExists(Name);
  if (Loaded) LoadPicture(Name, Picture);
  if (!Loaded || !Ui->UseBackParam->isChecked()) {
    const std::optional<int> Width = CheckedInteger(*Ui->EditWidth, "Width", 1, MaxSide);
    if (!Width) return false;
    const std::optional<int> Height = CheckedInteger(*Ui->EditHeight, "Height", 1, MaxSide);
    if (!Height) return false;
    if (const std::string Problem = SizeProblem(*Width, *Height, 1); !Problem.empty()) {
      Refuse(Problem);
      return false;
    }
    Picture.SetWidth(*Width);
    Picture.SetHeight(*Height);
  }
  Ui->PreviewImage->setFixedSize(Picture.Width(), Picture.Height());
  Ui->PreviewImage->Invalidate();
  return true;
}

void TGIFWizardForm::ViewButtonClick() {
  if (!MakePreviewPicture()) return;
  const std::optional<int> Left = CheckedInteger(*Ui->LeftPos, "Left", -MaxSide, MaxSide);
  if (!Left) return;
  const std::optional<int> Top = CheckedInteger(*Ui->TopEdit, "Top", -MaxSide, MaxSide);
  if (!Top) return;
  graphics::TCanvas& Canvas = Ui->PreviewImage->Canvas();
  Canvas.Brush().SetStyle(graphics::bsClear);
  Canvas.Font().Assign(&FTextFont);
  Canvas.TextOut(*Left, *Top, Ui->EditText->text().toStdString());
  Canvas.Brush().SetStyle(graphics::bsSolid);
  Ui->PreviewImage->Invalidate();
}

void TGIFWizardForm::PreviewImageDblClick() {
  FPreviewWiz.SetPicture(Ui->PreviewImage->Surface());
  FPreviewWiz.exec();
}

void TGIFWizardForm::CancelButtonClick() { reject(); }

QWidget* TGIFWizardForm::CheckedOptionPage() const {
  if (Ui->FallWallRB->isChecked()) return Ui->Panel6;
  if (Ui->RainRB->isChecked()) return Ui->Panel7;
  if (Ui->MoveApartRB->isChecked()) return Ui->Panel8;
  if (Ui->LinesRB->isChecked()) return Ui->Panel9;
  return nullptr;
}

void TGIFWizardForm::HideOptionPages() {
  for (QWidget* Page : {Ui->Panel6, Ui->Panel7, Ui->Panel8, Ui->Panel9}) Page->hide();
}

void TGIFWizardForm::NextButtonClick() {
  if (!Ui->Panel3->isHidden()) {
    // The page stays when the picture cannot be made.
    if (!MakePreviewPicture()) return;
    Ui->Panel3->hide();
    Ui->Panel4->show();
    Ui->BackButton->setEnabled(true);
  } else if (!Ui->Panel4->isHidden()) {
    Ui->Panel4->hide();
    Ui->Panel5->show();
  } else if (!Ui->Panel5->isHidden()) {
    if (QWidget* Page = CheckedOptionPage()) {
      Ui->Panel5->hide();
      Page->show();
    } else {
      BuildAnimation();
    }
  } else {
    BuildAnimation();
  }
}

void TGIFWizardForm::BackButtonClick() {
  if (!Ui->Panel4->isHidden()) {
    Ui->Panel4->hide();
    Ui->Panel3->show();
    Ui->BackButton->setEnabled(false);
  } else if (!Ui->Panel5->isHidden()) {
    Ui->Panel5->hide();
    Ui->Panel4->show();
    Ui->NextButton->setEnabled(true);
  } else if (CheckedOptionPage() && !CheckedOptionPage()->isHidden()) {
    HideOptionPages();
    Ui->Panel5->show();
    Ui->CancelButton->setText("Cancel");
  }
}

bool TGIFWizardForm::CheckBuild(graphics::TBitmap& Background, bool& HasBackground, int& Count, int& Width,
                                int& Height) {
  const std::string Name = Ui->BackGroundEdit->text().toStdString();
  HasBackground = !Name.empty();
  if (HasBackground) {
    if (!FileExists(Name)) {
      Refuse("Background file not found.");
      return false;
    }
    try {
      LoadPicture(Name, Background);
    } catch (...) {
      ui::HandleException();
      return false;
    }
  }
  if (HasBackground && Ui->UseBackParam->isChecked()) {
    Width = Background.Width();
    Height = Background.Height();
  } else {
    Width = ReadInteger(*Ui->EditWidth).value_or(0);
    Height = ReadInteger(*Ui->EditHeight).value_or(0);
  }
  Count = ReadInteger(*Ui->EditCount).value_or(0);
  if (Count <= 0 || Width <= 0 || Height <= 0) {
    Refuse("One of parameter = 0.");
    return false;
  }
  if (Width > MaxSide || Height > MaxSide) {
    Refuse((Width > MaxSide ? "Width>" : "Height>") + std::to_string(MaxSide) + ".");
    return false;
  }
  if (const std::string Problem = SizeProblem(Width, Height, Count); !Problem.empty()) {
    Refuse(Problem);
    return false;
  }
  if (Ui->FallWallRB->isChecked() && Ui->FullRound->isChecked() && Count < 3) {
    Refuse("Count of frame<3.");
    return false;
  }
  if (!CheckedInteger(*Ui->EditN1, "Delay", 0, MaxWizardDelay)) return false;
  if (!CheckedInteger(*Ui->LeftPos, "Left", -MaxSide, MaxSide)) return false;
  if (!CheckedInteger(*Ui->TopEdit, "Top", -MaxSide, MaxSide)) return false;
  if (Ui->LinesRB->isChecked() && !CheckedInteger(*Ui->EditLines, "Count of lines", 1, MaxSide)) return false;
  // An open frame editor's unstored drawing is asked about before the project it belongs to.
  if (TFrameEditorLink* Editor = FMain.FrameEditor(); Editor && !Editor->CheckModified()) return false;
  if (FMain.FProjectOpen() != 0) {
    const ui::TModalResult Answer =
        ui::Dialogs().MessageBox("Save changes?", "Warning", ui::mtInformation, ui::mbYesNoCancel);
    if (Answer == ui::mrCancel) return false;
    if (Answer == ui::mrYes) {
      try {
        if (!FMain.SaveButtonClick()) return false;
      } catch (...) {
        ui::HandleException();
        return false;
      }
    }
  }
  return true;
}

void TGIFWizardForm::StampText(TTransitionFrames& Frames, int Frame) {
  graphics::TCanvas& Canvas = Frames.Bitmap(Frame).Canvas();
  Canvas.Brush().SetStyle(graphics::bsClear);
  Canvas.Font().Assign(&FTextFont);
  Canvas.TextOut(ReadInteger(*Ui->LeftPos).value_or(0), ReadInteger(*Ui->TopEdit).value_or(0),
                 Ui->EditText->text().toStdString());
  Frames.Store(Frame);
  Canvas.Brush().SetStyle(graphics::bsSolid);
}

void TGIFWizardForm::RunTransition(TTransitionFrames& Frames, int Count) {
  const int Last = Count - 1;
  if (Ui->FallWallRB->isChecked()) {
    const auto Direction = static_cast<TFallDirection>(std::max(0, Ui->FallCB->currentIndex()));
    const TFallMode Mode = FallModeOf(Ui->Unfold->isChecked(), Ui->ScaleCB->isChecked());
    for (const TFallPass& Pass : WizardFallPasses(Count, Ui->FullRound->isChecked(), Direction)) {
      StampText(Frames, Pass.Target);
      RunFallWall(Frames,
                  {Pass.First, Pass.Target, Pass.Count, Ui->UsePaslette->isChecked(), Ui->CopyFrame->isChecked()},
                  Pass.Direction, Mode);
    }
  } else if (Ui->LinesRB->isChecked()) {
    StampText(Frames, 0);
    RunLines(Frames, {0, Last, Count, Ui->LinesPallette->isChecked(), Ui->LinesCopyFrame->isChecked()},
             Ui->Horiz->isChecked(), ReadInteger(*Ui->EditLines).value_or(1));
  } else if (Ui->MoveApartRB->isChecked()) {
    StampText(Frames, 0);
    RunMoveApart(Frames, {0, Last, Count, Ui->MoveApartUsePal->isChecked(), Ui->MoveApartCopyFrame->isChecked()},
                 Ui->Vertical->isChecked(), Ui->IncreaseButton->isChecked(), Ui->Scale->isChecked());
  } else if (Ui->RainRB->isChecked()) {
    StampText(Frames, Last);
    std::mt19937 Random(
        static_cast<std::mt19937::result_type>(std::chrono::system_clock::now().time_since_epoch().count()));
    RunRain(Frames, {0, Last, 1, Ui->RainUsePal->isChecked(), Ui->RainCopyFrame->isChecked()}, Random, {});
  }
}

void TGIFWizardForm::BuildAnimation() {
  QWidget* Page = nullptr;
  for (QWidget* Each : {Ui->Panel3, Ui->Panel4, Ui->Panel5, Ui->Panel6, Ui->Panel7, Ui->Panel8, Ui->Panel9})
    if (!Each->isHidden()) Page = Each;
  QLabel* Status = FMain.StatusPanel(1);
  const QString OldStatus = Status->text();
  auto Restore = [&] {
    Ui->NextButton->setEnabled(true);
    Ui->CancelButton->setEnabled(true);
    Ui->BackButton->setEnabled(true);
    Status->setText(OldStatus);
    // What was shown when the build began; with "None" that is the effect page.
    (Page ? Page : static_cast<QWidget*>(Ui->Panel5))->show();
  };
  for (QPushButton* Button : {Ui->NextButton, Ui->CancelButton, Ui->BackButton}) {
    Button->setEnabled(false);
    Button->repaint();
  }
  std::optional<ui::THourGlass> Busy(std::in_place);
  Status->setText("Creating GIF");
  Status->repaint();

  graphics::TBitmap Background;
  bool HasBackground = false;
  int Count = 0, Width = 0, Height = 0;
  if (!CheckBuild(Background, HasBackground, Count, Width, Height)) {
    Restore();
    return;
  }
  const int Delay = WizardDelay(ReadInteger(*Ui->EditN1).value_or(0));
  try {
    FMain.NewWizardProject(Count, Width, Height);
    gif::TGIFImage& Project = *FMain.FGif();
    if (Ui->LoopCheckBox->isChecked()) {
      gif::TGIFSubImage* First = Project.Frames().SubImages(0);
      auto Loop = std::make_unique<gif::TGIFAppExtNSLoop>(First);
      Loop->SetLoops(0);
      First->Extensions()->Add(std::move(Loop));
    }
    for (int Index = 0; Index < Count; ++Index) {
      gif::TGIFSubImage* Frame = Project.Frames().SubImages(Index);
      auto Control = std::make_unique<gif::TGIFGraphicControlExtension>(Frame);
      Control->SetDelay(static_cast<uint16_t>(Delay));
      Frame->SetGraphicControlExtension(Control.get());
      Frame->Extensions()->Add(std::move(Control));
    }
    TGifPreview& Preview = *FMain.Preview();
    Preview.Rebind();
    if (HasBackground) {
      TTransitionFrames Frames(*Preview.PreviewGif(), Project);
      for (int Index = 0; Index < Count; ++Index) {
        Frames.Bitmap(Index).Assign(&Background);
        Frames.Store(Index);
      }
      Preview.Rebind();
    }
    TTransitionFrames Frames(*Preview.PreviewGif(), Project);
    if (Ui->NoneRB->isChecked())
      for (int Index = 0; Index < Count; ++Index) StampText(Frames, Index);
    RunTransition(Frames, Count);
    Preview.Rebind();
    Busy.reset();
    Status->setText("Ready");
    FBuilt = true;
    accept();
    Preview.ShowCurrentFrame();
  } catch (...) {
    // The project keeps what was built; the wizard can be used again.
    Restore();
    FMain.Preview()->Rebind();
    throw;
  }
}

}  // namespace editor
