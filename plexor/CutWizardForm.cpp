#include "plexor/CutWizardForm.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>

#include "platform/ui/Application.h"
#include "platform/ui/DialogService.h"
#include "plexor/ExchangeImage.h"

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
    : TForm(Parent), FImage(std::move(Image)), FStartDir(std::move(StartDir)) {
  setWindowTitle(QStringLiteral("Cut wizard"));
  FView = new TCutView(QImageFromDIB(FImage));
  FView->SetRects(&FRects);
  FView->OnRectDrawn = [this](const base::TRect& R) { AddRect(R); };
  auto* Scroll = new QScrollArea(this);
  Scroll->setWidget(FView);

  FList = new QListWidget(this);
  FList->setObjectName("RectList");
  auto* Remove = new QPushButton(QStringLiteral("Remove"), this);
  Remove->setObjectName("RemoveBtn");
  auto* Save = new QPushButton(QStringLiteral("Save..."), this);
  Save->setObjectName("SaveBtn");
  auto* Close = new QPushButton(QStringLiteral("Close"), this);
  Close->setObjectName("CloseBtn");

  auto* Side = new QVBoxLayout;
  Side->addWidget(FList);
  Side->addWidget(Remove);
  Side->addWidget(Save);
  Side->addWidget(Close);
  auto* Layout = new QHBoxLayout(this);
  Layout->addWidget(Scroll, 1);
  Layout->addLayout(Side);

  connect(Remove, &QPushButton::clicked, this, ui::GuardedSlot([this] { RemoveBtnClick(); }));
  connect(Save, &QPushButton::clicked, this, ui::GuardedSlot([this] { SaveBtnClick(); }));
  SetButtonModalResult(Close, ui::mrOk);
}

void TCutWizardForm::AddRect(const base::TRect& Rect) {
  FRects.push_back(Rect);
  RefillList();
  FList->setCurrentRow(FList->count() - 1);
}

void TCutWizardForm::RemoveBtnClick() {
  const int Row = FList->currentRow();
  if (Row < 0 || Row >= static_cast<int>(FRects.size())) return;
  FRects.erase(FRects.begin() + Row);
  RefillList();
  FList->setCurrentRow(std::min(Row, FList->count() - 1));
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
  FList->clear();
  for (const base::TRect& R : FRects)
    FList->addItem(QStringLiteral("%1, %2: %3 x %4").arg(R.Left).arg(R.Top).arg(R.Width()).arg(R.Height()));
  FView->update();
}

}  // namespace plexor
