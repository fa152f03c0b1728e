#include "editor/Preview.h"

#include <algorithm>

#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QProgressBar>
#include <QScrollArea>
#include <QSpinBox>
#include <QToolButton>

#include "editor/Client.h"
#include "editor/Main.h"
#include "editor/controls/ComboBox97.h"
#include "editor/forms/FrameOption.h"
#include "platform/base/Exceptions.h"
#include "platform/graphics/Colors.h"
#include "platform/ui/Application.h"
#include "platform/ui/DialogService.h"
#include "platform/ui/WindowCanvas.h"
#include "ui_Preview.h"

namespace editor {

namespace {

// The buttons a project turns on.
constexpr const char* FrameToolNames[] = {"StopGif",   "RunGif",    "PrevFrameButton", "NextFrameButton",
                                          "DelButton", "AddButton", "OptionButton",    "EditButton"};

// The canvas takes Width by Height, its surface at once: a hidden control gets its
// resize only when shown.
void SizeCanvas(ui::TWindowCanvas& Canvas, int Width, int Height) {
  Canvas.Surface().SetWidth(Width);
  Canvas.Surface().SetHeight(Height);
  Canvas.setFixedSize(Width, Height);
  Canvas.Canvas().Brush().SetColor(graphics::clWindow);
  Canvas.Canvas().FillRect(base::Rect(0, 0, Width, Height));
}

}  // namespace

TGifPreview::TGifPreview(TGiffer& Main, QWidget* Parent)
    : QWidget(Parent), Ui(std::make_unique<::Ui::TGifPreview>()), FMain(Main) {
  Ui->setupUi(this);
  Ui->PreviewImage->hide();
  auto Route = [this](QToolButton* Button, void (TGifPreview::*Handler)()) {
    connect(Button, &QToolButton::clicked, this, ui::GuardedSlot([this, Handler] { (this->*Handler)(); }));
  };
  Route(Ui->RunGif, &TGifPreview::RunGifClick);
  Route(Ui->StopGif, &TGifPreview::StopGifClick);
  Route(Ui->NextFrameButton, &TGifPreview::NextFrameButtonClick);
  Route(Ui->PrevFrameButton, &TGifPreview::PrevFrameButtonClick);
  Route(Ui->AddButton, &TGifPreview::AddButtonClick);
  Route(Ui->DelButton, &TGifPreview::DelButtonClick);
  Route(Ui->OptionButton, &TGifPreview::OptionButtonClick);
  Route(Ui->EditButton, &TGifPreview::EditButtonClick);
  connect(Ui->FrameList, &QComboBox::activated, this, ui::GuardedSlot([this] { FrameListChange(); }));
  connect(Ui->SpeedEdit, &QSpinBox::valueChanged, this, ui::GuardedSlot([this] { SpeedChange(); }));
}

TGifPreview::~TGifPreview() { StopPlaying(); }

TComboBox97* TGifPreview::FrameList() const { return Ui->FrameList; }

QToolButton* TGifPreview::Button(const char* Name) const {
  auto* Found = findChild<QToolButton*>(QString::fromLatin1(Name));
  if (!Found) throw base::Exception(std::string("No button ") + Name);
  return Found;
}

QCheckBox* TGifPreview::Option(const char* Name) const {
  auto* Found = findChild<QCheckBox*>(QString::fromLatin1(Name));
  if (!Found) throw base::Exception(std::string("No play option ") + Name);
  return Found;
}

QSpinBox* TGifPreview::SpeedEdit() const { return Ui->SpeedEdit; }
ui::TWindowCanvas* TGifPreview::FrameImage() const { return Ui->FrameImage; }
ui::TWindowCanvas* TGifPreview::PreviewImage() const { return Ui->PreviewImage; }

void TGifPreview::EnableTools(bool On) {
  for (const char* Name : FrameToolNames) Button(Name)->setEnabled(On);
  Ui->FrameList->setEnabled(On);
}

void TGifPreview::StopPlaying() {
  if (FCopy) FCopy->StopAllPainters();
}

void TGifPreview::Rebind() {
  // A synchronous play of the old copy may be further up the stack; stopped and
  // detached, it unwinds without touching it.
  StopPlaying();
  FCopy.reset();
  gif::TGIFImage* Project = FMain.FGif();
  if (!Project) {
    ShowNoProject();
    emit Rebound();
    return;
  }
  auto Copy = std::make_unique<gif::TGIFImage>();
  Copy->Assign(Project);
  FCopy = std::move(Copy);
  BindCopyEvents();
  // The copy plays as the boxes say, not with the library's defaults.
  ApplyDrawOptions();
  emit Rebound();
}

void TGifPreview::BindCopyEvents() {
  auto PaintStatus = [this](base::TObject* Sender) {
    auto* Painter = dynamic_cast<gif::TGIFPainter*>(Sender);
    if (!Painter || !FCopy) return;
    FMain.ShowPaintStatus(Painter->ActiveFrame(), FCopy->Frames().Count());
  };
  FCopy->OnFramePaint = PaintStatus;
  FCopy->OnAfterFramePaint = [this, PaintStatus](base::TObject* Sender) {
    PaintStatus(Sender);
    Ui->PreviewImage->Invalidate();
  };
  FCopy->OnProgress = [this](base::TObject* Sender, base::TProgressStage Stage, uint8_t PercentDone, bool RedrawNow,
                             const base::TRect& R, const std::string& Msg) {
    FMain.ShowProgress(Sender, Stage, PercentDone, RedrawNow, R, Msg);
  };
}

void TGifPreview::ApplyDrawOptions() {
  if (!FCopy) return;
  if (Option("CBStretch")->isChecked()) FFillsClient = true;
  FCopy->SetTransparent(Option("CBTransparent")->isChecked());
  FCopy->HaltPainter();
  gif::TGIFDrawFlags Flags = gif::dfRepeat;
  if (Ui->RunGif->isChecked()) Flags |= gif::dfAnimate;
  const std::pair<const char*, gif::TGIFDrawFlags> Boxes[] = {{"CBTransparent", gif::dfTransparent},
                                                               {"CBDither", gif::dfDither},
                                                               {"CBAutoDither", gif::dfAutoDither},
                                                               {"CBLoop", gif::dfRepeatForever},
                                                               {"CBThreaded", gif::dfThreaded},
                                                               {"CBTile", gif::dfTile}};
  for (const auto& [Name, Flag] : Boxes)
    if (Option(Name)->isChecked()) Flags |= Flag;
  if (!(Option("CBThreaded")->isChecked() && Option("CBBuffered")->isChecked())) Flags |= gif::dfUnbuffered;
  FCopy->SetDrawFlags(Flags);
  RepaintPreview();
}

void TGifPreview::RepaintPreview() {
  if (FRepaintQueued) return;
  FRepaintQueued = true;
  // Queued, so that a synchronous play never runs inside the handler that asked for it.
  QMetaObject::invokeMethod(
      this,
      [this] {
        FRepaintQueued = false;
        ui::Guarded([this] { DrawPreview(); });
      },
      Qt::QueuedConnection);
}

void TGifPreview::DrawPreview() {
  if (FDrawing) {
    // The play in progress ends first; then the picture is drawn again.
    FDrawAgain = true;
    return;
  }
  const QPointer<TGifPreview> Self(this);
  FDrawing = true;
  try {
    do {
      FDrawAgain = false;
      if (!FCopy || Ui->PreviewImage->isHidden()) break;
      const QSize Client = Ui->ScrollBox1->viewport()->size();
      const int Width = FFillsClient ? Client.width() : FCopy->Width();
      const int Height = FFillsClient ? Client.height() : FCopy->Height();
      if (Width <= 0 || Height <= 0) break;
      SizeCanvas(*Ui->PreviewImage, Width, Height);
      // Once aligned the picture keeps the client's size, but only Stretch or Tile
      // stretch the image over it.
      const bool Stretch = Option("CBStretch")->isChecked() || Option("CBTile")->isChecked();
      FCopy->Draw(Ui->PreviewImage->Canvas(),
                  Stretch ? base::Rect(0, 0, Width, Height) : base::Rect(0, 0, FCopy->Width(), FCopy->Height()));
      // A handler may have closed the window while the play ran.
      if (!Self) return;
      Ui->PreviewImage->Invalidate();
    } while (FDrawAgain);
  } catch (...) {
    if (Self) FDrawing = false;
    throw;
  }
  FDrawing = false;
}

void TGifPreview::ShowCurrentFrame() {
  gif::TGIFImage* Project = FMain.FGif();
  if (!Project) return;
  const int Count = Project->Frames().Count();
  if (FFrameIndexValue > Count - 1) FFrameIndexValue = Count - 1;
  if (FFrameIndexValue < 0) FFrameIndexValue = 0;
  if (!Ui->StopGif->isEnabled()) return;
  QLabel* Panel0 = FMain.StatusPanel(0);
  Panel0->setText(QStringLiteral("Redering"));
  Panel0->repaint();
  graphics::TBitmap* Bitmap = nullptr;
  if (FCopy && FFrameIndexValue < FCopy->Frames().Count())
    Bitmap = FCopy->Frames().SubImages(FFrameIndexValue)->GetBitmap();
  // An empty project shows an empty picture.
  if (Bitmap) {
    SizeCanvas(*Ui->FrameImage, Bitmap->Width(), Bitmap->Height());
    Ui->FrameImage->Canvas().Draw(0, 0, Bitmap);
  } else {
    SizeCanvas(*Ui->FrameImage, 0, 0);
  }
  Ui->FrameImage->Invalidate();
  Panel0->setText(QStringLiteral("Ready"));
  FMain.ProgressBar()->setValue(0);
  FMain.ShowPaintStatus(Count > 0 ? FFrameIndexValue : -1, Count);
}

void TGifPreview::FillFrameList() {
  Ui->FrameList->clear();
  const int Count = FMain.FGif() ? FMain.FGif()->Frames().Count() : 0;
  for (int Index = 1; Index <= Count; ++Index) Ui->FrameList->addItem(QString::number(Index));
  Ui->FrameList->setCurrentIndex(Count > 0 ? FFrameIndexValue : -1);
}

void TGifPreview::HidePreviewImage() {
  Ui->PreviewImage->hide();
  // A play nobody sees would still write its frame numbers over the current one's.
  if (FCopy) FCopy->HaltPainter();
}

void TGifPreview::ShowNoProject() {
  HidePreviewImage();
  SizeCanvas(*Ui->FrameImage, 0, 0);
  Ui->FrameImage->Invalidate();
  Ui->FrameList->clear();
  FMain.ShowPaintStatus(-1, 0);
}

void TGifPreview::RunGifClick() {
  Ui->PreviewImage->show();
  Ui->FrameImage->hide();
  ApplyDrawOptions();
}

void TGifPreview::StopGifClick() {
  Ui->PreviewImage->hide();
  Ui->FrameImage->show();
  ApplyDrawOptions();
  ShowCurrentFrame();
}

void TGifPreview::SpeedChange() {
  const int Speed = Ui->SpeedEdit->value();
  gif::GIFLibraryDefaults().PlaySpeed = Speed;
  if (FCopy) FCopy->SetPlaySpeed(Speed);
}

void TGifPreview::StepFrame(int Step) {
  HidePreviewImage();
  const int Count = FMain.FGif() ? FMain.FGif()->Frames().Count() : 0;
  if (Step > 0)
    FFrameIndexValue = FFrameIndexValue < Count - 1 ? FFrameIndexValue + 1 : 0;
  else
    FFrameIndexValue = FFrameIndexValue > 0 ? FFrameIndexValue - 1 : Count - 1;
  Ui->FrameList->setCurrentIndex(FFrameIndexValue < Count ? FFrameIndexValue : -1);
  ShowCurrentFrame();
}

void TGifPreview::NextFrameButtonClick() { StepFrame(1); }
void TGifPreview::PrevFrameButtonClick() { StepFrame(-1); }

void TGifPreview::FrameListChange() {
  bool Ok = false;
  const int Number = Ui->FrameList->currentText().toInt(&Ok);
  if (!Ok) return;
  FFrameIndexValue = Number - 1;
  ShowCurrentFrame();
}

void TGifPreview::AddButtonClick() {
  gif::TGIFImage* Project = FMain.FGif();
  if (!Project) return;
  graphics::TBitmap Bitmap;
  Bitmap.SetWidth(10);
  Bitmap.SetHeight(10);
  const int Count = Project->Frames().Count();
  if (Count > 0)
    if (graphics::TBitmap* Last = Project->Frames().SubImages(Count - 1)->GetBitmap()) Bitmap.Assign(Last);
  FFrameIndexValue = Project->AddFrame(&Bitmap);
  Rebind();
  FillFrameList();
  ShowCurrentFrame();
  FMain.SetModified(true);
}

void TGifPreview::DelButtonClick() {
  gif::TGIFImage* Project = FMain.FGif();
  if (!Project || FFrameIndexValue < 0 || FFrameIndexValue >= Project->Frames().Count()) return;
  if (ui::Dialogs().MessageBox("Are you sure that you want delete this frame?", "Warning", ui::mtInformation,
                               ui::mbOKCancel) != ui::mrOk)
    return;
  Project->Frames().Delete(FFrameIndexValue);
  Rebind();
  StepFrame(1);
  FillFrameList();
  FMain.SetModified(true);
}

void TGifPreview::OptionButtonClick() {
  gif::TGIFImage* Project = FMain.FGif();
  if (!Project || FFrameIndexValue < 0 || FFrameIndexValue >= Project->Frames().Count()) return;
  gif::TGIFSubImage* Frame = Project->Frames().SubImages(FFrameIndexValue);
  TOptionForm& Form = *FMain.Forms().OptionForm;
  Form.SetValues(Frame->Width(), Frame->Height(), Frame->Left(), Frame->Top());
  // The form lets Ok through only with four numbers a frame can take.
  if (Form.exec() != QDialog::Accepted) return;
  graphics::TBitmap Bitmap;
  if (graphics::TBitmap* Current = Frame->GetBitmap()) Bitmap.Assign(Current);
  Bitmap.SetWidth(Form.FrameWidth());
  Bitmap.SetHeight(Form.FrameHeight());
  const auto NewLeft = static_cast<uint16_t>(Form.FrameLeft());
  const auto NewTop = static_cast<uint16_t>(Form.FrameTop());
  // The nearer corner first, so that neither the old nor the new size runs off the
  // largest logical screen on the way.
  Frame->SetLeft(std::min(Frame->Left(), NewLeft));
  Frame->SetTop(std::min(Frame->Top(), NewTop));
  // New pixels only: the frame keeps its timing and extensions.
  Frame->Assign(&Bitmap);
  Frame->SetLeft(NewLeft);
  Frame->SetTop(NewTop);
  Rebind();
  ShowCurrentFrame();
  FMain.SetModified(true);
}

void TGifPreview::EditButtonClick() {
  if (TFrameEditorLink* Editor = FMain.FrameEditor()) return Editor->ShowEditor();
  gif::TGIFImage* Project = FMain.FGif();
  if (!Project || FFrameIndexValue < 0 || FFrameIndexValue >= Project->Frames().Count()) return;
  auto* Editor = new TGifClientForm(FMain, FFrameIndexValue);
  FMain.ShowChildWindow(Editor);
}

void TGifPreview::FormActivate() { ShowCurrentFrame(); }

bool TGifPreview::event(QEvent* Event) {
  // The main window coming back activates the preview only when it is the active child.
  if (Event->type() == QEvent::WindowActivate && IsActiveChild()) ui::Guarded([this] { FormActivate(); });
  return QWidget::event(Event);
}

bool TGifPreview::IsActiveChild() const {
  auto* Frame = qobject_cast<QMdiSubWindow*>(parentWidget());
  return Frame && Frame->mdiArea() && Frame->mdiArea()->activeSubWindow() == Frame;
}

void TGifPreview::closeEvent(QCloseEvent* Event) {
  // Cooperatively: a synchronous play notices at its next wait and returns.
  StopPlaying();
  HidePreviewImage();
  Ui->FrameImage->show();
  // The window keeps the current frame for every other window, so it is never lost:
  // closing it minimises it, and the Window menu brings it back.
  Event->ignore();
  if (auto* Frame = qobject_cast<QMdiSubWindow*>(parentWidget())) Frame->showMinimized();
}

}  // namespace editor
