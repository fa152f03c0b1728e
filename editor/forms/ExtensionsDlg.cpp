#include "editor/forms/ExtensionsDlg.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QStatusBar>
#include <QToolButton>
#include <QTreeWidget>
#include <typeinfo>

#include "editor/ExtensionText.h"
#include "editor/Main.h"
#include "editor/Preview.h"
#include "editor/controls/ComboBox97.h"
#include "editor/controls/EditN.h"
#include "editor/controls/PaletteGrid.h"
#include "editor/forms/CheckedField.h"
#include "editor/forms/EditPropDlg.h"
#include "editor/forms/ExtensTypeDlg.h"
#include "gif/GIFImage.h"
#include "platform/base/Rounding.h"
#include "platform/graphics/ColorText.h"
#include "platform/graphics/Colors.h"
#include "platform/ui/Application.h"
#include "platform/ui/DialogService.h"
#include "ui_ExtensionsDlg.h"

namespace editor {

namespace {

constexpr int BlockRole = Qt::UserRole;
constexpr int FrameNodeMark = -1;
constexpr int PaletteNodeMark = -2;
constexpr const char* NotSaved = "Extension has not be saved";
// A local table and a block of no known kind.
constexpr const char* PaletteIcon = ":/icons/palette.png";

QString DisposalName(int Value) {
  if (Value >= 0 && Value < 4) return QString::fromLatin1(DisposalNames[Value]);
  return QStringLiteral("Undefined (%1)").arg(Value);
}

void ShowError(const std::string& Text) { ui::Dialogs().MessageBox(Text, "Error!", ui::mtError, ui::mbOK); }

// Text as an integer in Min..Max, or the problem shown and none.
std::optional<int> CheckedValue(const QString& Text, const std::string& Name, int64_t Min, int64_t Max,
                                int Divisor = 1, bool Round = false) {
  bool Ok = false;
  const int Value = Text.trimmed().toInt(&Ok);
  if (!Ok) {
    ShowConversionError(Text);
    return std::nullopt;
  }
  const int64_t Stored = Round ? base::Round(Value / static_cast<double>(Divisor)) : Value / Divisor;
  if (Value < 0 || Stored < Min || Stored > Max) {
    ShowError(Name + " is out of range.");
    return std::nullopt;
  }
  return static_cast<int>(Stored);
}

// The loop, delay and index values of the graphic control extension the Easy page
// and the Save button write.
struct TControlValues {
  std::optional<int> Delay, TransparentColor, Disposal;
  bool Transparent = false, UserInput = false;
  void WriteTo(gif::TGIFGraphicControlExtension& Control) const {
    if (Delay) Control.SetDelay(static_cast<uint16_t>(*Delay));
    Control.SetTransparent(Transparent);
    if (TransparentColor) Control.SetTransparentColor(static_cast<uint8_t>(*TransparentColor));
    Control.SetUserInput(UserInput);
    if (Disposal) Control.SetDisposal(static_cast<gif::TFrameDisposal>(*Disposal));
  }
};

}  // namespace

TExtensionsForm::TExtensionsForm(TGiffer& Main, TEditPropertyForm& EditProperty, TExtensType& ExtensType,
                                 QWidget* Parent)
    : QWidget(Parent),
      Ui(std::make_unique<::Ui::TExtensionsForm>()),
      FMain(Main),
      FEditProperty(EditProperty),
      FExtensType(ExtensType) {
  Ui->setupUi(this);
  setAttribute(Qt::WA_DeleteOnClose);
  for (TEditN* Edit : {Ui->DelayEdit, Ui->TransparentEdit, Ui->Loop}) Edit->SetEditType(etInteger);
  Ui->DisposalCB->SetFlat(true);
  Ui->PaintBoxPalette->SetEmptyCellColor(graphics::clBlack);
  Ui->ListViewInfo->setColumnWidth(0, 100);
  Ui->ListViewInfo->setColumnWidth(1, 200);
  Ui->ListViewInfo->addAction(Ui->Editproperty);
  Ui->Splitter1->setSizes({193, 323});
  // Enter does not break a comment's line.
  Ui->MemoPreview->installEventFilter(this);
  for (const char* Label : {"Index:", "Color:"}) {
    auto* Panel = new QLabel(QString::fromLatin1(Label), this);
    Panel->setMinimumWidth(std::string_view(Label) == "Index:" ? 150 : 100);
    Ui->StatusBar1->addWidget(Panel);
    FPanels.push_back(Panel);
  }
  const auto Route = [this](QAbstractButton* Button, void (TExtensionsForm::*Handler)()) {
    connect(Button, &QAbstractButton::clicked, this, ui::GuardedSlot([this, Handler] { (this->*Handler)(); }));
  };
  Route(Ui->SaveButton, &TExtensionsForm::SaveButtonClick);
  Route(Ui->EditButton, &TExtensionsForm::EditpropertyClick);
  Route(Ui->DelButton, &TExtensionsForm::DelButtonClick);
  Route(Ui->AddButton, &TExtensionsForm::AddButtonClick);
  Route(Ui->Button1, &TExtensionsForm::Button1Click);
  connect(Ui->Editproperty, &QAction::triggered, this, ui::GuardedSlot([this] { EditpropertyClick(); }));
  connect(Ui->ExtenTree, &QTreeWidget::currentItemChanged, this, ui::GuardedSlot([this] { ExtenTreeChange(); }));
  connect(Ui->MemoPreview, &QPlainTextEdit::textChanged, this, [this] { MemoPreviewChange(); });
  connect(Ui->PaintBoxPalette, &TPaletteGrid::GridMouseMove, this,
          [this](int X, int Y) { ui::Guarded([&] { PaintBoxPaletteMouseMove(X, Y); }); });
  connect(Ui->PaintBoxPalette, &TPaletteGrid::GridMouseUp, this,
          [this](int X, int Y) { ui::Guarded([&] { PaintBoxPaletteMouseUp(X, Y); }); });
}

TExtensionsForm::~TExtensionsForm() = default;

QTreeWidget* TExtensionsForm::ExtenTree() const { return Ui->ExtenTree; }
QTreeWidget* TExtensionsForm::ListViewInfo() const { return Ui->ListViewInfo; }
QPlainTextEdit* TExtensionsForm::MemoPreview() const { return Ui->MemoPreview; }
TPaletteGrid* TExtensionsForm::PaintBoxPalette() const { return Ui->PaintBoxPalette; }
QLabel* TExtensionsForm::StatusPanel(int Index) const { return FPanels.at(static_cast<size_t>(Index)); }

void TExtensionsForm::showEvent(QShowEvent* Event) {
  QWidget::showEvent(Event);
  ui::Guarded([this] { FormShow(); });
}

void TExtensionsForm::FormShow() {
  Ui->PaintBoxPalette->hide();
  Ui->MemoPreview->hide();
  Ui->SaveButton->setEnabled(false);
  RefillExtensionTree();
}

bool TExtensionsForm::eventFilter(QObject* Watched, QEvent* Event) {
  if (Watched == Ui->MemoPreview && Event->type() == QEvent::KeyPress) {
    const auto* Press = static_cast<QKeyEvent*>(Event);
    if (Press->key() == Qt::Key_Return || Press->key() == Qt::Key_Enter) {
      // The memo takes no Return of its own; Ctrl+Return starts the comment's next line.
      if ((Press->modifiers() & Qt::ControlModifier) && !Ui->MemoPreview->isReadOnly())
        Ui->MemoPreview->insertPlainText(QStringLiteral("\n"));
      return true;
    }
  }
  return QWidget::eventFilter(Watched, Event);
}

void TExtensionsForm::closeEvent(QCloseEvent* Event) {
  if (Ui->SaveButton->isEnabled() &&
      ui::Dialogs().MessageBox(NotSaved, "Warning", ui::mtInformation, ui::mbOKCancel) != ui::mrOk) {
    Event->ignore();
    return;
  }
  Event->accept();
}

gif::TGIFSubImage* TExtensionsForm::CopyFrame() const {
  gif::TGIFImage* Copy = FMain.Preview()->PreviewGif();
  if (!Copy || FTreeFrameValue < 0 || FTreeFrameValue >= Copy->Frames().Count()) return nullptr;
  return Copy->Frames().SubImages(FTreeFrameValue);
}

gif::TGIFSubImage* TExtensionsForm::ProjectFrame() const {
  gif::TGIFImage* Project = FMain.FGif();
  if (!Project || FTreeFrameValue < 0 || FTreeFrameValue >= Project->Frames().Count()) return nullptr;
  return Project->Frames().SubImages(FTreeFrameValue);
}

std::optional<int> TExtensionsForm::SelectedBlock() const {
  const QTreeWidgetItem* Node = Ui->ExtenTree->currentItem();
  if (!Node || !Node->parent()) return std::nullopt;
  const int Index = Node->data(0, BlockRole).toInt();
  return Index >= 0 ? std::optional<int>(Index) : std::nullopt;
}

void TExtensionsForm::EnableTools() {
  const bool Open = FMain.FGif() != nullptr;
  Ui->AddButton->setEnabled(Open);
  Ui->Button1->setEnabled(Open);
  if (!Open) Ui->SaveButton->setEnabled(false);
  const bool Block = Open && Ui->ExtenTree->currentItem() && Ui->ExtenTree->currentItem()->parent();
  Ui->EditButton->setEnabled(Block);
  Ui->DelButton->setEnabled(Block);
  Ui->Editproperty->setEnabled(Block);
}

void TExtensionsForm::RefillExtensionTree() {
  {
    const QSignalBlocker Quiet(Ui->ExtenTree);
    Ui->ExtenTree->clear();
    if (gif::TGIFImage* Copy = FMain.Preview()->PreviewGif()) {
      for (int I = 0; I < Copy->Frames().Count(); ++I) {
        gif::TGIFSubImage& Frame = *Copy->Frames().SubImages(I);
        auto* Node = new QTreeWidgetItem(Ui->ExtenTree, {QStringLiteral("Frame %1").arg(I)});
        Node->setData(0, BlockRole, FrameNodeMark);
        for (int E = 0; E < Frame.Extensions()->Count(); ++E) AddExtensionNode(Node, Frame, E);
        if (Frame.ColorMap()->Count() > 0) {
          auto* Palette = new QTreeWidgetItem(Node, {QStringLiteral("Local Palette")});
          Palette->setIcon(0, QIcon(QString::fromLatin1(PaletteIcon)));
          Palette->setData(0, BlockRole, PaletteNodeMark);
        }
      }
    }
    Ui->ExtenTree->expandAll();
    Ui->ExtenTree->setCurrentItem(nullptr);
  }
  ExtenTreeChange();
}

void TExtensionsForm::AddExtensionNode(QTreeWidgetItem* FrameNode, gif::TGIFSubImage& Frame, int Index) {
  const gif::TGIFExtension* Block = Frame.Extensions()->Extensions(Index);
  const char* Text = "Unknown extension";
  const char* Icon = PaletteIcon;
  if (dynamic_cast<const gif::TGIFGraphicControlExtension*>(Block)) {
    Text = "Graphic Control Extension";
    Icon = ":/icons/graphiccontrol.png";
  } else if (dynamic_cast<const gif::TGIFTextExtension*>(Block)) {
    Text = "Text extension";
    Icon = ":/icons/plaintext.png";
  } else if (dynamic_cast<const gif::TGIFCommentExtension*>(Block)) {
    Text = "Comment Extension";
    Icon = ":/icons/comment.png";
  } else if (dynamic_cast<const gif::TGIFAppExtNSLoop*>(Block)) {
    Text = "Netscape Loop Extension";
    Icon = ":/icons/loop.png";
  } else if (dynamic_cast<const gif::TGIFApplicationExtension*>(Block)) {
    Text = "Application Extension";
    Icon = ":/icons/application.png";
  }
  auto* Node = new QTreeWidgetItem(FrameNode, {QString::fromLatin1(Text)});
  Node->setIcon(0, QIcon(QString::fromLatin1(Icon)));
  Node->setData(0, BlockRole, Index);
}

void TExtensionsForm::ClearEasyPage() {
  for (TEditN* Edit : {Ui->DelayEdit, Ui->TransparentEdit, Ui->Loop}) Edit->clear();
  Ui->DisposalCB->setCurrentIndex(-1);
  Ui->Transparent->setChecked(false);
  Ui->UserInput->setChecked(false);
}

void TExtensionsForm::ExtenTreeChange() {
  Ui->MemoPreview->hide();
  Ui->PaintBoxPalette->hide();
  QTreeWidgetItem* Node = Ui->ExtenTree->currentItem();
  if (Node) {
    const QTreeWidgetItem* FrameNode = Node->parent() ? Node->parent() : Node;
    const QString Text = FrameNode->text(0);
    const qsizetype Blank = Text.indexOf(QLatin1Char(' '));
    FTreeFrameValue = Blank < 0 ? -1 : Text.mid(Blank + 1).toInt();
  }
  EnableTools();
  if (Ui->SaveButton->isEnabled()) {
    ui::Dialogs().MessageBox(NotSaved, "Warning", ui::mtInformation, ui::mbOK);
    Ui->SaveButton->setEnabled(false);
  }
  Ui->Loop->setEnabled(FTreeFrameValue == 0);
  ClearEasyPage();
  gif::TGIFSubImage* Frame = CopyFrame();
  if (Frame) {
    for (int E = 0; E < Frame->Extensions()->Count(); ++E) {
      const gif::TGIFExtension* Block = Frame->Extensions()->Extensions(E);
      if (const auto* Control = dynamic_cast<const gif::TGIFGraphicControlExtension*>(Block)) {
        Ui->DelayEdit->setText(QString::number(Control->Delay() * 10));
        Ui->TransparentEdit->setText(QString::number(Control->TransparentColor()));
        Ui->Transparent->setChecked(Control->Transparent());
        Ui->UserInput->setChecked(Control->UserInput());
        const int Disposal = static_cast<int>(Control->Disposal());
        Ui->DisposalCB->setCurrentIndex(Disposal < 4 ? Disposal : -1);
      } else if (const auto* Loop = dynamic_cast<const gif::TGIFAppExtNSLoop*>(Block)) {
        Ui->Loop->setText(QString::number(Loop->Loops()));
      }
    }
  }
  Ui->ListViewInfo->setUpdatesEnabled(false);
  Ui->ListViewInfo->clear();
  // Only the user's typing is an edit.
  const QSignalBlocker Quiet(Ui->MemoPreview);
  Ui->MemoPreview->clear();
  FSelectedValue = nullptr;
  if (Node && Node->parent() && Frame) {
    const int Index = Node->data(0, BlockRole).toInt();
    if (Index == PaletteNodeMark)
      FSelectedValue = Frame->ColorMap();
    else if (Index >= 0 && Index < Frame->Extensions()->Count())
      FSelectedValue = Frame->Extensions()->Extensions(Index);
  }
  if (const auto* Table = dynamic_cast<const gif::TGIFColorMap*>(FSelectedValue)) {
    AddNumberRow(QStringLiteral("Count"), Table->Count());
    AddYesNoRow(QStringLiteral("Optimized"), Table->Optimized());
    AddTextRow(QStringLiteral("BitsPerPixel"), QStringLiteral("%1 bits").arg(Table->BitsPerPixel()));
    Ui->PaintBoxPalette->show();
    LayoutPaletteGrid(*Table);
    Ui->EditButton->setEnabled(false);
    Ui->DelButton->setEnabled(false);
    Ui->Editproperty->setEnabled(false);
  } else if (const auto* Comment = dynamic_cast<const gif::TGIFCommentExtension*>(FSelectedValue)) {
    QStringList Lines;
    for (int I = 0; I < Comment->Text().Count(); ++I) Lines << CommentText(Comment->Text().Strings(I));
    Ui->MemoPreview->setReadOnly(false);
    Ui->MemoPreview->show();
    Ui->MemoPreview->setPlainText(Lines.join(QLatin1Char('\n')));
    Ui->SaveButton->setEnabled(false);
  } else if (const auto* Control = dynamic_cast<const gif::TGIFGraphicControlExtension*>(FSelectedValue)) {
    AddTextRow(QStringLiteral("Delay"), QString::number(Control->Delay() * 10));
    AddYesNoRow(QStringLiteral("Transparent"), Control->Transparent());
    AddNumberRow(QStringLiteral("TransparentColor"), Control->TransparentColor());
    AddYesNoRow(QStringLiteral("Prompt"), Control->UserInput());
    AddTextRow(QStringLiteral("Disposal"), DisposalName(static_cast<int>(Control->Disposal())));
  } else if (const auto* Loop = dynamic_cast<const gif::TGIFAppExtNSLoop*>(FSelectedValue)) {
    AddNumberRow(QStringLiteral("Loops"), Loop->Loops());
  } else if (const auto* Unknown = dynamic_cast<const gif::TGIFUnknownAppExtension*>(FSelectedValue)) {
    QStringList Lines;
    for (const std::string& Line : HexDump(*Unknown)) Lines << QString::fromLatin1(Line.c_str());
    // A dump that cannot be written back is not for editing.
    Ui->MemoPreview->setReadOnly(true);
    Ui->MemoPreview->show();
    Ui->MemoPreview->setPlainText(Lines.join(QLatin1Char('\n')));
    Ui->SaveButton->setEnabled(false);
    AddTextRow(QStringLiteral("Identifier"), QString::fromStdString(Unknown->Identifier()));
    AddTextRow(QStringLiteral("Authentication"), QString::fromStdString(Unknown->Authentication()));
    AddNumberRow(QStringLiteral("Data Blocks"), static_cast<int>(Unknown->Blocks().size()));
  }
  Ui->ListViewInfo->setUpdatesEnabled(true);
}

void TExtensionsForm::AddTextRow(const QString& Name, const QString& Text) {
  new QTreeWidgetItem(Ui->ListViewInfo, {Name, Text});
}

void TExtensionsForm::AddNumberRow(const QString& Name, int Value) { AddTextRow(Name, QString::number(Value)); }

void TExtensionsForm::AddYesNoRow(const QString& Name, bool Value) {
  AddTextRow(Name, Value ? QStringLiteral("Yes") : QStringLiteral("No"));
}

QString TExtensionsForm::RowValue(int Row) const {
  const QTreeWidgetItem* Item = Ui->ListViewInfo->topLevelItem(Row);
  return Item ? Item->text(1) : QString();
}

void TExtensionsForm::EditpropertyClick() {
  QTreeWidgetItem* Row = Ui->ListViewInfo->currentItem();
  if (!Row) return;
  const QString Name = Row->text(0);
  FEditProperty.PropertyName()->setText(Name);
  QWidget* Editor = nullptr;
  if (Name == QLatin1String("Disposal")) {
    FEditProperty.DispComboBox()->setCurrentIndex(FEditProperty.DispComboBox()->findText(Row->text(1)));
    Editor = FEditProperty.DispComboBox();
  } else if (Name == QLatin1String("Transparent") || Name == QLatin1String("Prompt")) {
    FEditProperty.ValueComboBox()->setCurrentIndex(Row->text(1) == QLatin1String("Yes") ? 0 : 1);
    Editor = FEditProperty.ValueComboBox();
  } else if (Name == QLatin1String("TransparentColor") || Name == QLatin1String("Loops") ||
             Name == QLatin1String("Delay")) {
    FEditProperty.EditValue()->setText(Row->text(1));
    Editor = FEditProperty.EditValue();
  } else {
    return;
  }
  for (QWidget* Each : {static_cast<QWidget*>(FEditProperty.DispComboBox()),
                        static_cast<QWidget*>(FEditProperty.ValueComboBox()),
                        static_cast<QWidget*>(FEditProperty.EditValue())})
    Each->setVisible(Each == Editor);
  if (FEditProperty.exec() == QDialog::Accepted) {
    if (Editor == FEditProperty.EditValue())
      Row->setText(1, FEditProperty.EditValue()->text());
    else
      Row->setText(1, static_cast<QComboBox*>(Editor)->currentText());
    Ui->SaveButton->setEnabled(true);
  }
  Editor->hide();
}

void TExtensionsForm::MemoPreviewChange() {
  if (!Ui->MemoPreview->isReadOnly() && FMain.FGif()) Ui->SaveButton->setEnabled(true);
}

void TExtensionsForm::SaveButtonClick() {
  const std::optional<int> Block = SelectedBlock();
  if (!Block || FTreeFrameValue == -1 || !FMain.FGif()) return;
  StoreExtension(*Block);
}

void TExtensionsForm::StoreExtension(int Index) {
  gif::TGIFSubImage* Copy = CopyFrame();
  gif::TGIFSubImage* Project = ProjectFrame();
  if (!Copy || !Project || Index >= Copy->Extensions()->Count() || Index >= Project->Extensions()->Count() ||
      typeid(*Copy->Extensions()->Extensions(Index)) != typeid(*Project->Extensions()->Extensions(Index))) {
    ShowError("The extension is no longer in the project.");
    return;
  }
  gif::TGIFExtension* Target = Project->Extensions()->Extensions(Index);
  if (auto* Comment = dynamic_cast<gif::TGIFCommentExtension*>(Target)) {
    Comment->Text().Clear();
    for (const QString& Line : Ui->MemoPreview->toPlainText().split(QLatin1Char('\n')))
      Comment->Text().Add(Line.toStdString());
  } else if (auto* Control = dynamic_cast<gif::TGIFGraphicControlExtension*>(Target)) {
    TControlValues Values;
    Values.Delay = CheckedValue(RowValue(0), "Delay", 0, 65535, 10, true);
    if (!Values.Delay) return;
    Values.TransparentColor = CheckedValue(RowValue(2), "Transparent color index", 0, 255);
    if (!Values.TransparentColor) return;
    Values.Transparent = RowValue(1) == QLatin1String("Yes");
    Values.UserInput = RowValue(3) == QLatin1String("Yes");
    for (int D = 0; D < 4; ++D)
      if (RowValue(4) == QLatin1String(DisposalNames[D])) Values.Disposal = D;
    Values.WriteTo(*Control);
  } else if (auto* Loop = dynamic_cast<gif::TGIFAppExtNSLoop*>(Target)) {
    const std::optional<int> Loops = CheckedValue(RowValue(0), "Loops", 0, 65535);
    if (!Loops) return;
    Loop->SetLoops(static_cast<uint16_t>(*Loops));
  }
  Ui->SaveButton->setEnabled(false);
  ProjectChanged();
}

void TExtensionsForm::ProjectChanged() {
  // The re-bind refills the tree.
  FMain.Preview()->Rebind();
  FMain.SetModified(true);
}

void TExtensionsForm::DelButtonClick() {
  const std::optional<int> Block = SelectedBlock();
  gif::TGIFSubImage* Project = ProjectFrame();
  if (!Block || !Project || *Block >= Project->Extensions()->Count()) return;
  if (ui::Dialogs().MessageBox("Are you sure that you want delete this extension?", "Warning", ui::mtInformation,
                               ui::mbOKCancel) != ui::mrOk)
    return;
  Project->Extensions()->Delete(*Block);
  Ui->SaveButton->setEnabled(false);
  ProjectChanged();
}

void TExtensionsForm::AddButtonClick() {
  gif::TGIFSubImage* Project = ProjectFrame();
  if (!Project) return;
  FExtensType.NetscapeLoop()->setVisible(FTreeFrameValue == 0);
  FExtensType.CommentRB()->setChecked(true);
  if (FExtensType.exec() != QDialog::Accepted) return;
  if (FExtensType.GraphContrExt()->isChecked())
    Project->Extensions()->Add(std::make_unique<gif::TGIFGraphicControlExtension>(Project));
  else if (FExtensType.NetscapeLoop()->isChecked() && FTreeFrameValue == 0)
    Project->Extensions()->Add(std::make_unique<gif::TGIFAppExtNSLoop>(Project));
  else
    Project->Extensions()->Add(std::make_unique<gif::TGIFCommentExtension>(Project));
  ProjectChanged();
}

void TExtensionsForm::Button1Click() {
  gif::TGIFSubImage* Copy = CopyFrame();
  gif::TGIFSubImage* Project = ProjectFrame();
  if (!Copy || !Project) return;
  // Every value is checked before anything is written.
  TControlValues Values;
  if (!Ui->DelayEdit->text().isEmpty() && !(Values.Delay = CheckedValue(Ui->DelayEdit->text(), "Delay", 0, 65535, 10)))
    return;
  if (!Ui->TransparentEdit->text().isEmpty() &&
      !(Values.TransparentColor = CheckedValue(Ui->TransparentEdit->text(), "Transparent color index", 0, 255)))
    return;
  std::optional<int> Loops;
  if (!Ui->Loop->text().isEmpty() && !(Loops = CheckedValue(Ui->Loop->text(), "Loops", 0, 65535))) return;
  Values.Transparent = Ui->Transparent->isChecked();
  Values.UserInput = Ui->UserInput->isChecked();
  if (Ui->DisposalCB->currentIndex() >= 0) Values.Disposal = Ui->DisposalCB->currentIndex();
  gif::TGIFExtensionList& Blocks = *Project->Extensions();
  if (Blocks.Count() != Copy->Extensions()->Count()) {
    ShowError("The extension is no longer in the project.");
    return;
  }
  bool HasControl = false, HasLoop = false;
  for (int E = 0; E < Blocks.Count(); ++E) {
    const gif::TGIFExtension* Shown = Copy->Extensions()->Extensions(E);
    gif::TGIFExtension* Target = Blocks.Extensions(E);
    if (typeid(*Shown) != typeid(*Target)) continue;
    if (auto* Control = dynamic_cast<gif::TGIFGraphicControlExtension*>(Target)) {
      Values.WriteTo(*Control);
      HasControl = true;
    } else if (auto* Loop = dynamic_cast<gif::TGIFAppExtNSLoop*>(Target)) {
      if (Loops) Loop->SetLoops(static_cast<uint16_t>(*Loops));
      HasLoop = true;
    }
  }
  if (!HasControl) {
    auto Control = std::make_unique<gif::TGIFGraphicControlExtension>(Project);
    Values.WriteTo(*Control);
    Blocks.Add(std::move(Control));
  }
  if (!HasLoop && Ui->Loop->isEnabled()) {
    auto Loop = std::make_unique<gif::TGIFAppExtNSLoop>(Project);
    if (Loops) Loop->SetLoops(static_cast<uint16_t>(*Loops));
    Blocks.Add(std::move(Loop));
  }
  ProjectChanged();
}

void TExtensionsForm::LayoutPaletteGrid(const gif::TGIFColorMap& Table) {
  Ui->PaintBoxPalette->ShowColors(ColorsOf(Table));
}

void TExtensionsForm::PaintBoxPaletteMouseMove(int X, int Y) {
  const int Index = Ui->PaintBoxPalette->IndexAt(X, Y);
  if (Index < 0) {
    FPanels[0]->setText(QStringLiteral("Index:"));
    FPanels[1]->setText(QStringLiteral("Color:"));
    return;
  }
  FPanels[0]->setText(QStringLiteral("Index:%1").arg(Index));
  FPanels[1]->setText(
      QStringLiteral("Color:") + QString::fromStdString(graphics::ColorToString(Ui->PaintBoxPalette->Colors(Index))));
}

void TExtensionsForm::PaintBoxPaletteMouseUp(int X, int Y) {
  const int Index = Ui->PaintBoxPalette->IndexAt(X, Y);
  gif::TGIFSubImage* Copy = CopyFrame();
  gif::TGIFSubImage* Project = ProjectFrame();
  if (Index < 0 || !Copy || !Project || Index >= Copy->ColorMap()->Count()) return;
  ui::TColorDialog ColorDialog1;
  ColorDialog1.SetColor(Ui->PaintBoxPalette->Colors(Index));
  if (!ColorDialog1.Execute()) return;
  Copy->ColorMap()->SetColors(Index, ColorDialog1.Color() & 0xFFFFFF);
  Project->ColorMap()->Assign(Copy->ColorMap());
  Copy->SetBitmapCached(false);
  FMain.Preview()->ShowCurrentFrame();
  LayoutPaletteGrid(*Copy->ColorMap());
  FMain.SetModified(true);
}

}  // namespace editor
