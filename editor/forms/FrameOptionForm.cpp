#include "editor/forms/FrameOptionForm.h"

#include <QLabel>
#include <QShowEvent>
#include <QStatusBar>
#include <algorithm>

#include "editor/Main.h"
#include "editor/Preview.h"
#include "editor/controls/PaletteGrid.h"
#include "platform/graphics/ColorText.h"
#include "platform/ui/Application.h"
#include "platform/ui/DialogService.h"
#include "ui_FrameOptionForm.h"

namespace editor {

namespace {

constexpr const char* PanelLabels[] = {"Index:", "Color:", "Red:", "Green:", "Blue:", "Hex:"};

// The digit of Digits that Metrics sets widest.
QChar WidestDigit(const QFontMetrics& Metrics, const QString& Digits) {
  QChar Widest = Digits.front();
  for (QChar Digit : Digits)
    if (Metrics.horizontalAdvance(Digit) > Metrics.horizontalAdvance(Widest)) Widest = Digit;
  return Widest;
}

// The values panel Index can show after its label, each as wide as its kind gets:
// entry indexes and colour channels have up to three digits, colours are a name or "$"
// and eight hexadecimal digits, the hexadecimal value six.
QStringList WidestValues(const QFontMetrics& Metrics, int Index) {
  const QChar Decimal = WidestDigit(Metrics, QStringLiteral("0123456789"));
  const QChar Hex = WidestDigit(Metrics, QStringLiteral("0123456789ABCDEF"));
  switch (Index) {
    case 1: {
      QStringList Values{QLatin1Char('$') + QString(8, Hex)};
      for (const std::string& Name : graphics::PlainColorNames()) Values << QString::fromStdString(Name);
      return Values;
    }
    case 5: return {QString(6, Hex)};
    default: return {QString(3, Decimal)};
  }
}

// Each panel is as wide as the widest text it can show, so none is cut; together they
// give the window its least width.
void FitPanelWidth(QLabel& Panel, int Index) {
  const QString Label = QString::fromLatin1(PanelLabels[Index]);
  int Width = 0;
  for (const QString& Value : WidestValues(Panel.fontMetrics(), Index)) {
    Panel.setText(Label + Value);
    Width = std::max(Width, Panel.sizeHint().width());
  }
  Panel.setText(Label);
  Panel.setFixedWidth(Width);
}

}  // namespace

TFrameOptionForm::TFrameOptionForm(TGiffer& Main, QWidget* Parent)
    : QWidget(Parent), Ui(std::make_unique<::Ui::TFrameOptionForm>()), FMain(Main) {
  Ui->setupUi(this);
  setAttribute(Qt::WA_DeleteOnClose);
  for (const char* Label : PanelLabels) {
    auto* Panel = new QLabel(QString::fromLatin1(Label), this);
    Panel->setFrameShape(QFrame::Panel);
    Panel->setFrameShadow(QFrame::Sunken);
    FitPanelWidth(*Panel, static_cast<int>(FPanels.size()));
    Ui->StatusBar1->addWidget(Panel);
    FPanels.push_back(Panel);
  }
  connect(Ui->PaintBoxPalette, &TPaletteGrid::GridMouseMove, this,
          [this](int X, int Y) { ui::Guarded([&] { PaintBoxPaletteMouseMove(X, Y); }); });
  connect(Ui->PaintBoxPalette, &TPaletteGrid::GridMouseUp, this,
          [this](int X, int Y) { ui::Guarded([&] { PaintBoxPaletteMouseUp(X, Y); }); });
  connect(Ui->ExitButton, &QToolButton::clicked, this, ui::GuardedSlot([this] { ExitButtonClick(); }));
}

TFrameOptionForm::~TFrameOptionForm() = default;

TPaletteGrid* TFrameOptionForm::PaintBoxPalette() const { return Ui->PaintBoxPalette; }
QLabel* TFrameOptionForm::StatusPanel(int Index) const { return FPanels.at(static_cast<size_t>(Index)); }

void TFrameOptionForm::ShowColorMap(gif::TGIFColorMap* Map) {
  if (!FMain.FProjectOpen() || Map == nullptr) return;
  FHasPaletteValue = Map->Count() > 0;
  Ui->PaintBoxPalette->ShowColors(ColorsOf(*Map));
}

void TFrameOptionForm::ShowPreviewColorMap() {
  gif::TGIFImage* Shown = FMain.Preview()->PreviewGif();
  if (Shown) ShowColorMap(Shown->GetGlobalColorMap());
}

void TFrameOptionForm::showEvent(QShowEvent* Event) {
  QWidget::showEvent(Event);
  ui::Guarded([this] { FormShow(); });
}

void TFrameOptionForm::FormShow() { ShowPreviewColorMap(); }

void TFrameOptionForm::PaintBoxPaletteMouseMove(int X, int Y) {
  const int Index = Ui->PaintBoxPalette->IndexAt(X, Y);
  if (Index < 0) {
    for (size_t I = 0; I < FPanels.size(); ++I) FPanels[I]->setText(QString::fromLatin1(PanelLabels[I]));
    return;
  }
  const base::TColor Color = Ui->PaintBoxPalette->Colors(Index);
  const int Red = Color & 0xFF, Green = Color >> 8 & 0xFF, Blue = Color >> 16 & 0xFF;
  const QString Values[] = {QString::number(Index),
                            QString::fromStdString(graphics::ColorToString(Color)),
                            QString::number(Red),
                            QString::number(Green),
                            QString::number(Blue),
                            QStringLiteral("%1").arg(Red * 65536 + Green * 256 + Blue, 6, 16, QLatin1Char('0')).toUpper()};
  for (size_t I = 0; I < FPanels.size(); ++I) FPanels[I]->setText(QString::fromLatin1(PanelLabels[I]) + Values[I]);
}

void TFrameOptionForm::PaintBoxPaletteMouseUp(int X, int Y) {
  gif::TGIFImage* Shown = FMain.Preview()->PreviewGif();
  gif::TGIFImage* Project = FMain.FGif();
  const int Index = Ui->PaintBoxPalette->IndexAt(X, Y);
  if (Index < 0 || !Shown || !Project || Index >= Shown->GetGlobalColorMap()->Count()) return;
  ui::TColorDialog ColorDialog1;
  ColorDialog1.SetColor(Ui->PaintBoxPalette->Colors(Index));
  if (!ColorDialog1.Execute()) return;
  gif::TGIFGlobalColorMap* Table = Shown->GetGlobalColorMap();
  Table->SetColors(Index, ColorDialog1.Color() & 0xFFFFFF);
  Project->GetGlobalColorMap()->Assign(Table);
  for (int I = 0; I < Shown->Frames().Count(); ++I) Shown->Frames().SubImages(I)->ReleaseBitmap();
  FMain.Preview()->ShowCurrentFrame();
  ShowColorMap(Table);
  FMain.SetModified(true);
}

void TFrameOptionForm::ExitButtonClick() {
  // The window lives in an MDI frame, which closes with it.
  QWidget* Window = parentWidget() ? parentWidget() : this;
  Window->close();
}

}  // namespace editor
