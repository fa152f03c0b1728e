#include "plexor/ProgramOptionsForm.h"

#include <QComboBox>
#include <QFormLayout>
#include <QFrame>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSpinBox>

#include "platform/ui/Application.h"
#include "platform/ui/ColorConvert.h"
#include "platform/ui/DialogService.h"

namespace plexor {

namespace {

const char* const ReductionNames[ReductionCount] = {
    "None",           "20 system colours",  "256-colour halftone", "4 greys",
    "Monochrome",     "256 greys",          "216-colour web cube", "Quantize to 2^bits colours",
    "Optimized palette", "Given palette",
};

const char* const DitherNames[DitherCount] = {"Nearest colour", "Floyd-Steinberg", "Stucki", "Sierra",
                                              "JaJuNi",         "Steve Arche",     "Burkes"};

QComboBox* NewCombo(QWidget* Parent, const char* Name, const char* const* Items, int Count) {
  auto* Combo = new QComboBox(Parent);
  Combo->setObjectName(Name);
  for (int I = 0; I < Count; ++I) Combo->addItem(QString::fromLatin1(Items[I]));
  return Combo;
}

}  // namespace

TProgramOptionsForm::TProgramOptionsForm(ui::TSettingsStore& Store, QWidget* Parent)
    : TForm(Parent), FStore(Store) {
  setWindowTitle(QStringLiteral("Program option"));
  const TColorOptions Current = ReadColorOptions(Store);
  FTransparent = Current.DefaultTransparent;

  FSwatch = new QFrame(this);
  FSwatch->setObjectName("TransparentShape");
  FSwatch->setFrameShape(QFrame::Box);
  FSwatch->setFixedSize(40, 20);
  FSwatch->setAutoFillBackground(true);
  auto* Change = new QPushButton(QStringLiteral("Change"), this);
  Change->setObjectName("ChangeTransparentBtn");
  auto* ColorRow = new QHBoxLayout;
  ColorRow->addWidget(FSwatch);
  ColorRow->addWidget(Change);

  FReduction = NewCombo(this, "ReductionCombo", ReductionNames, ReductionCount);
  FReduction->setCurrentIndex(Current.DefaultReduction);
  FQuantize = new QSpinBox(this);
  FQuantize->setObjectName("QuantizeEdit");
  FQuantize->setRange(MinQuantize, MaxQuantize);
  FQuantize->setValue(Current.Quantize);
  FDither = NewCombo(this, "DitherCombo", DitherNames, DitherCount);
  FDither->setCurrentIndex(Current.Dither);

  auto* Ok = new QPushButton(QStringLiteral("Ok"), this);
  Ok->setObjectName("OkBtn");
  Ok->setDefault(true);
  auto* Cancel = new QPushButton(QStringLiteral("Cancel"), this);
  Cancel->setObjectName("CancelBtn");
  auto* Buttons = new QHBoxLayout;
  Buttons->addStretch();
  Buttons->addWidget(Ok);
  Buttons->addWidget(Cancel);

  auto* Layout = new QFormLayout(this);
  Layout->addRow(QStringLiteral("Transparent colour"), ColorRow);
  Layout->addRow(QStringLiteral("Colour reduction"), FReduction);
  Layout->addRow(QStringLiteral("Quantize bits"), FQuantize);
  Layout->addRow(QStringLiteral("Dither"), FDither);
  Layout->addRow(Buttons);

  connect(Change, &QPushButton::clicked, this, ui::GuardedSlot([this] { ChangeTransparentBtnClick(); }));
  connect(Ok, &QPushButton::clicked, this, ui::GuardedSlot([this] { OkBtnClick(); }));
  SetButtonModalResult(Cancel, ui::mrCancel);
  ShowColor();
}

TColorOptions TProgramOptionsForm::Options() const {
  return {FTransparent, FReduction->currentIndex(), FQuantize->value(), FDither->currentIndex()};
}

void TProgramOptionsForm::ChangeTransparentBtnClick() {
  ui::TColorDialog Dialog;
  Dialog.SetColor(FTransparent);
  if (!Dialog.Execute()) return;
  FTransparent = Dialog.Color();
  ShowColor();
}

void TProgramOptionsForm::OkBtnClick() {
  WriteColorOptions(FStore, Options());
  SetModalResult(ui::mrOk);
}

void TProgramOptionsForm::ShowColor() {
  QPalette Colors = FSwatch->palette();
  Colors.setColor(QPalette::Window, ui::ToQColor(FTransparent));
  FSwatch->setPalette(Colors);
}

}  // namespace plexor
