#include "plexor/CutWizardForm.h"

#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <algorithm>
#include <filesystem>

#include "platform/ui/Application.h"
#include "platform/ui/DialogService.h"
#include "plexor/ExchangeImage.h"
#include "ui_CutWizardForm.h"

namespace plexor {

std::vector<std::string> SaveCuts(const graphics::TDIBImage& Image, const std::vector<base::TRect>& Rects,
                                  const std::string& Folder) {
  namespace fs = std::filesystem;
  std::vector<std::string> Saved;
  int N = 1;
  for (const base::TRect& Rect : Rects) {
    const graphics::TDIBImage Cut = CropDIB(Image, Rect);
    if (Cut.Width == 0 || Cut.Height == 0) continue;
    fs::path Target;
    do Target = fs::path(Folder) / ("Cut" + std::to_string(N++) + ".bmp");
    while (fs::exists(fs::symlink_status(Target)));
    WriteBMPFile(Target.string(), Cut);
    Saved.push_back(Target.string());
  }
  return Saved;
}

TCutView::TCutView(const QImage& Image, QWidget* Parent) : QWidget(Parent), FImage(Image) {
  setObjectName("CutView");
  setFixedSize(FImage.size());
  setCursor(Qt::CrossCursor);
}

void TCutView::SetRects(const std::vector<base::TRect>* Rects) {
  FRects = Rects;
  update();
}

base::TRect TCutView::Band() const {
  const int Left = std::clamp(std::min(FStart.x(), FEnd.x()), 0, FImage.width());
  const int Top = std::clamp(std::min(FStart.y(), FEnd.y()), 0, FImage.height());
  const int Right = std::clamp(std::max(FStart.x(), FEnd.x()), 0, FImage.width());
  const int Bottom = std::clamp(std::max(FStart.y(), FEnd.y()), 0, FImage.height());
  return base::Rect(Left, Top, Right, Bottom);
}

void TCutView::paintEvent(QPaintEvent*) {
  QPainter Painter(this);
  Painter.drawImage(0, 0, FImage);
  Painter.setBrush(Qt::NoBrush);
  Painter.setPen(QPen(Qt::red, 1, Qt::DashLine));
  const auto Outline = [&](const base::TRect& R) { Painter.drawRect(R.Left, R.Top, R.Width() - 1, R.Height() - 1); };
  if (FRects)
    for (const base::TRect& R : *FRects) Outline(R);
  if (FDragging) Outline(Band());
}

void TCutView::mousePressEvent(QMouseEvent* Event) {
  if (Event->button() != Qt::LeftButton) return;
  FStart = FEnd = Event->position().toPoint();
  FDragging = true;
}

void TCutView::mouseMoveEvent(QMouseEvent* Event) {
  if (!FDragging) return;
  FEnd = Event->position().toPoint();
  update();
}

void TCutView::mouseReleaseEvent(QMouseEvent* Event) {
  if (!FDragging || Event->button() != Qt::LeftButton) return;
  FEnd = Event->position().toPoint();
  FDragging = false;
  const base::TRect Drawn = Band();
  update();
  if (!Drawn.IsEmpty() && OnRectDrawn) ui::Guarded([&] { OnRectDrawn(Drawn); });
}

TCutWizardForm::TCutWizardForm(graphics::TDIBImage Image, std::string StartDir, QWidget* Parent)
    : TForm(Parent), Ui(std::make_unique<::Ui::TCutWizardForm>()), FImage(std::move(Image)),
      FStartDir(std::move(StartDir)) {
  Ui->setupUi(this);
  // The view holds the image of this run, so it is made here, not in the layout.
  FView = new TCutView(QImageFromDIB(FImage));
  FView->SetRects(&FRects);
  FView->OnRectDrawn = [this](const base::TRect& R) { AddRect(R); };
  Ui->ImageScroll->setWidget(FView);
  connect(Ui->RemoveBtn, &QPushButton::clicked, this, ui::GuardedSlot([this] { RemoveBtnClick(); }));
  connect(Ui->SaveBtn, &QPushButton::clicked, this, ui::GuardedSlot([this] { SaveBtnClick(); }));
  SetButtonModalResult(Ui->CloseBtn, ui::mrOk);
}

TCutWizardForm::~TCutWizardForm() = default;

void TCutWizardForm::AddRect(const base::TRect& Rect) {
  FRects.push_back(Rect);
  RefillList();
  Ui->RectList->setCurrentRow(Ui->RectList->count() - 1);
}

void TCutWizardForm::RemoveBtnClick() {
  const int Row = Ui->RectList->currentRow();
  if (Row < 0 || Row >= static_cast<int>(FRects.size())) return;
  FRects.erase(FRects.begin() + Row);
  RefillList();
  Ui->RectList->setCurrentRow(std::min(Row, Ui->RectList->count() - 1));
}

void TCutWizardForm::SaveBtnClick() {
  if (FRects.empty()) {
    ui::MessageDlg("Draw a rectangle around each figure first.", ui::mtInformation, ui::mbOK);
    return;
  }
  std::string Folder = FStartDir;
  if (!ui::Dialogs().SelectDirectory("Save the figures to", Folder)) return;
  const std::vector<std::string> Saved = SaveCuts(FImage, FRects, Folder);
  ui::MessageDlg(std::to_string(Saved.size()) + " figures saved in " + Folder + ".", ui::mtInformation, ui::mbOK);
}

void TCutWizardForm::RefillList() {
  Ui->RectList->clear();
  for (const base::TRect& R : FRects)
    Ui->RectList->addItem(QStringLiteral("%1, %2: %3 x %4").arg(R.Left).arg(R.Top).arg(R.Width()).arg(R.Height()));
  FView->update();
}

}  // namespace plexor
