#include "editor/forms/OptimizerForm.h"

#include <QCheckBox>
#include <QRadioButton>
#include <QShowEvent>
#include <QToolButton>
#include <utility>

#include "editor/FrameReduction.h"
#include "editor/Main.h"
#include "editor/Preview.h"
#include "gif/GIFImage.h"
#include "platform/base/Exceptions.h"
#include "platform/ui/Application.h"
#include "platform/ui/DialogService.h"
#include "platform/ui/HourGlass.h"
#include "ui_OptimizerForm.h"

namespace editor {

namespace {

constexpr const char* CountButtonNames[] = {"RadioButton5", "RadioButton6", "RadioButton7", "RadioButton15",
                                            "RadioButton8"};

// The method buttons, in the order the chosen method is looked for.
constexpr std::pair<const char*, gif::TReductionMethod> MethodButtons[] = {
    {"NetscapeColor", gif::rdNetscape},       {"MonochromeColor", gif::rdMonochrome},
    {"GrayScaleColor", gif::rdGrayScale},     {"WindowsGray", gif::rdWindowsGray},
    {"Windows20", gif::rdWindows20},          {"Windows256", gif::rdWindows256},
    {"OptimizedWindows", gif::rdOptimizedWindows}, {"NoneColor", gif::rdNone}};

}  // namespace

TOptimizerForm::TOptimizerForm(TGiffer& Main, QWidget* Parent)
    : QWidget(Parent), Ui(std::make_unique<::Ui::TOptimizerForm>()), FMain(Main) {
  Ui->setupUi(this);
  setAttribute(Qt::WA_DeleteOnClose);
  // A fixed single border.
  setFixedSize(sizeHint());
  for (const char* Name : CountButtonNames) {
    QRadioButton* Button = RadioButton(Name);
    connect(Button, &QRadioButton::clicked, this, ui::GuardedSlot([this, Button] { RadioButton5Click(Button); }));
  }
  connect(Ui->ToolButton1, &QToolButton::clicked, this, ui::GuardedSlot([this] { ToolButton1Click(); }));
  connect(Ui->ToolButton2, &QToolButton::clicked, this, ui::GuardedSlot([this] { ToolButton2Click(); }));
}

TOptimizerForm::~TOptimizerForm() = default;

QRadioButton* TOptimizerForm::RadioButton(const char* Name) const {
  auto* Found = findChild<QRadioButton*>(QString::fromLatin1(Name));
  if (!Found) throw base::Exception(std::string("No button ") + Name);
  return Found;
}

QCheckBox* TOptimizerForm::CheckBox(const char* Name) const {
  auto* Found = findChild<QCheckBox*>(QString::fromLatin1(Name));
  if (!Found) throw base::Exception(std::string("No box ") + Name);
  return Found;
}

QAbstractButton* TOptimizerForm::ToolButton(const char* Name) const {
  auto* Found = findChild<QToolButton*>(QString::fromLatin1(Name));
  if (!Found) throw base::Exception(std::string("No tool button ") + Name);
  return Found;
}

QRadioButton* TOptimizerForm::CheckedCountButton() const {
  for (const char* Name : CountButtonNames)
    if (RadioButton(Name)->isChecked()) return RadioButton(Name);
  return nullptr;
}

void TOptimizerForm::showEvent(QShowEvent* Event) {
  QWidget::showEvent(Event);
  ui::Guarded([this] { FormShow(); });
}

void TOptimizerForm::FormShow() {
  const gif::TGIFImage* Project = FMain.FGif();
  if (!Project) return;
  const gif::TReductionMethod Method = Project->ReductionMethod();
  bool Shown = false;
  for (const auto& [Name, Value] : MethodButtons)
    if (Value == Method) {
      RadioButton(Name)->setChecked(true);
      Shown = true;
    }
  if (!Shown)
    for (const char* Name : CountButtonNames)
      if (RadioButton(Name)->property("Tag").toInt() == Project->QuantizeBits()) RadioButton(Name)->setChecked(true);
  (Project->Compression() == gif::ckRLE ? Ui->RadioButton14 : Ui->LZWCompress)->setChecked(true);
}

void TOptimizerForm::RadioButton5Click(QRadioButton* Button) {
  gif::GIFLibraryDefaults().QuantizeBits = Button->property("Tag").toInt();
}

void TOptimizerForm::ToolButton1Click() {
  gif::TGIFImage* Project = FMain.FGif();
  if (!Project) return;
  ui::THourGlass Busy;
  try {
    FMain.CloseFrameOptionForm();
    gif::TReductionMethod Method = gif::rdQuantize;
    for (const auto& [Name, Value] : MethodButtons)
      if (RadioButton(Name)->isChecked()) {
        Method = Value;
        break;
      }
    Project->SetReductionMethod(Method);
    Project->SetCompression(Ui->LZWCompress->isChecked() ? gif::ckLZW : gif::ckRLE);
    // The bits shown are the bits applied.
    QRadioButton* Count = CheckedCountButton();
    Project->SetQuantizeBits(Count ? Count->property("Tag").toInt() : gif::GIFLibraryDefaults().QuantizeBits);
    if (Ui->MaxCompressBox->isChecked()) Project->FlushRenderings();
    const int Current = FMain.Preview()->FFrameIndex();
    for (int I = 0; I < Project->Frames().Count(); ++I)
      if (Ui->AllFrameCb->isChecked() || I == Current) ReduceFrameColors(*Project, *Project->Frames().SubImages(I));
    FMain.Preview()->Rebind();
    FMain.Preview()->ShowCurrentFrame();
    ui::Dialogs().MessageBox("GIF was be optimized.", "Error!", ui::mtInformation, ui::mbOK);
  } catch (...) {
    FMain.SetModified(true);
    throw;
  }
  FMain.SetModified(true);
}

void TOptimizerForm::ToolButton2Click() {
  QWidget* Window = parentWidget() ? parentWidget() : this;
  Window->close();
}

}  // namespace editor
