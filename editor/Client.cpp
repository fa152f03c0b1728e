#include "editor/Client.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QStatusBar>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <optional>

#include "editor/Preview.h"
#include "editor/controls/ComboBox97.h"
#include "editor/controls/EditN.h"
#include "editor/controls/FrameView.h"
#include "editor/forms/CheckedField.h"
#include "editor/forms/TextDlg.h"
#include "gif/FramePixels.h"
#include "platform/base/Exceptions.h"
#include "platform/graphics/ColorText.h"
#include "platform/graphics/Palettes.h"
#include "platform/ui/Application.h"
#include "platform/ui/BitmapImage.h"
#include "platform/ui/Clipboard.h"
#include "platform/ui/ColorConvert.h"
#include "platform/ui/DialogService.h"
#include "platform/ui/FontConvert.h"
#include "ui_Client.h"

namespace editor {

namespace {

constexpr int PenStyleCount = 7;
constexpr int BrushStyleCount = 8;
// The panel's border takes this much on each side.
constexpr int PanelBorder = 4;
// The frame display stays within these sides.
constexpr int MaxDisplaySide = 32767;

struct TPanelSpec {
  const char* Text;
  int Width;
};
constexpr TPanelSpec PanelSpecs[] = {{"X", 50},     {"Y", 50},    {"Color", 80}, {"Red", 80},
                                     {"Green", 80}, {"Blue", 80}, {"Hex", 80},   {"", 100}};
constexpr int ModifiedPanel = 7;
constexpr const char* ModifiedText = "Modified";

base::TPoint ToPoint(QPoint Point) { return base::Point(Point.x(), Point.y()); }

// A style list item's sample, drawn by the drawing tools themselves.
QIcon StyleSample(bool Pen, int Style) {
  graphics::TBitmap Sample;
  Sample.SetPixelFormat(graphics::pf24bit);
  Sample.SetWidth(48);
  Sample.SetHeight(14);
  graphics::TCanvas& Canvas = Sample.Canvas();
  Canvas.Brush().SetColor(graphics::clWhite);
  Canvas.Brush().SetStyle(graphics::bsSolid);
  Canvas.FillRect(base::Rect(0, 0, 48, 14));
  if (Pen) {
    Canvas.Pen().SetColor(graphics::clBlack);
    Canvas.Pen().SetStyle(static_cast<graphics::TPenStyle>(Style));
    Canvas.MoveTo(0, 7);
    Canvas.LineTo(48, 7);
  } else {
    Canvas.Brush().SetColor(graphics::clBlack);
    Canvas.Brush().SetStyle(static_cast<graphics::TBrushStyle>(Style));
    Canvas.Pen().SetStyle(graphics::psClear);
    Canvas.Rectangle(0, 0, 49, 15);
  }
  return QIcon(QPixmap::fromImage(ui::BitmapToQImage(Sample)));
}

// A picture with transparency lies on white, as it would on a new page.
QImage Flattened(const QImage& Image) {
  if (!Image.hasAlphaChannel()) return Image;
  QImage White(Image.size(), QImage::Format_RGB32);
  White.fill(Qt::white);
  QPainter Painter(&White);
  Painter.drawImage(0, 0, Image);
  return White;
}

// A blank bitmap of Width x Height in Like's format and colours.
std::unique_ptr<graphics::TBitmap> BitmapLike(graphics::TBitmap& Like, int Width, int Height) {
  auto Bitmap = std::make_unique<graphics::TBitmap>();
  Bitmap->SetPixelFormat(Like.PixelFormat());
  if (gdi::HPALETTE Palette = Like.Palette()) Bitmap->SetPalette(graphics::CopyPalette(Palette));
  Bitmap->SetWidth(Width);
  Bitmap->SetHeight(Height);
  return Bitmap;
}

// Where the shadow of a text at Point goes, D away toward Position (0 left-top, 1
// right-top, 2 right-bottom, 3 left-bottom; none for another). Far out of the canvas's
// range it stays at the range's edge, where it shows no more than it would further out.
std::optional<base::TPoint> ShadowPlace(base::TPoint Point, int D, int Position) {
  constexpr int Signs[][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
  if (Position < 0 || Position > 3) return std::nullopt;
  auto Move = [D](int From, int Sign) {
    return static_cast<int>(std::clamp<int64_t>(int64_t{From} + int64_t{Sign} * D, INT32_MIN, INT32_MAX));
  };
  return base::Point(Move(Point.X, Signs[Position][0]), Move(Point.Y, Signs[Position][1]));
}

}  // namespace

TGifClientForm::TGifClientForm(TGiffer& Main, int Index, QWidget* Parent)
    : QWidget(Parent), Ui(std::make_unique<::Ui::TGifClientForm>()), FMain(Main) {
  Ui->setupUi(this);
  setAttribute(Qt::WA_DeleteOnClose);
  FormCreate();
  gif::TGIFSubImage& Frame = *Main.FGif()->Frames().SubImages(Index);
  FPicture = gif::ReadFrameBitmap(Frame);
  if (!FPicture) throw base::EInvalidOperation("The current frame is empty.");
  FEditFrame = &Frame;
  FEditFrameAlive = Frame.Alive();
  FEditIndexValue = Index;
  FRealSize = QSize(FPicture->Width() + 2 * PanelBorder, FPicture->Height() + 2 * PanelBorder);
  // Undo and redo refill this bitmap, so its canvas keeps the pen and brush.
  Ui->FramePaint->SetPicture(FPicture.get());
  RestoreRealSize();
}

QSize TGifClientForm::sizeHint() const {
  // The scroll box's own hint is capped at a few lines of text.
  const QSize Hint = QWidget::sizeHint();
  const int Frame = 2 * Ui->ScrollBox1->frameWidth();
  const QSize Whole = Ui->ImagePanel->size() + QSize(Frame, Frame);
  return {std::max(Hint.width(), Whole.width()),
          Hint.height() + std::max(0, Whole.height() - Ui->ScrollBox1->sizeHint().height())};
}

// Closing lets the main window go; a form freed with the main window must not reach
// back into it.
TGifClientForm::~TGifClientForm() = default;

void TGifClientForm::FormCreate() {
  for (const TPanelSpec& Spec : PanelSpecs) {
    auto* Panel = new QLabel(QString::fromLatin1(Spec.Text), this);
    Panel->setObjectName(QStringLiteral("StatusPanel%1").arg(FPanels.size()));
    Panel->setFrameShape(QFrame::Panel);
    Panel->setFrameShadow(QFrame::Sunken);
    Panel->setFixedWidth(Spec.Width);
    Ui->StatusBar1->addWidget(Panel);
    FPanels.push_back(Panel);
  }
  FillStyleLists();
  Ui->FramePaint->OnMouseDown = [this](QMouseEvent* Event) {
    ui::Guarded([this, Event] { FramePaintMouseDown(Event); });
  };
  Ui->FramePaint->OnMouseMove = [this](QMouseEvent* Event) {
    ui::Guarded([this, Event] { FramePaintMouseMove(Event); });
  };
  Ui->FramePaint->OnMouseUp = [this](QMouseEvent* Event) { ui::Guarded([this, Event] { FramePaintMouseUp(Event); }); };
  connect(Ui->ChangePenColor, &QToolButton::clicked, this, ui::GuardedSlot([this] { ChangePenColorClick(); }));
  connect(Ui->ChangeBrushColor, &QToolButton::clicked, this, ui::GuardedSlot([this] { ChangeBrushColorClick(); }));
  connect(Ui->PenWidthEdit, &QLineEdit::textChanged, this, ui::GuardedSlot([this] { PenWidthEditChange(); }));
  connect(Ui->PenStyleCB, &QComboBox::currentIndexChanged, this, ui::GuardedSlot([this] { PenStyleCBChange(); }));
  connect(Ui->BrushStyleCB, &QComboBox::currentIndexChanged, this, ui::GuardedSlot([this] { BrushStyleCBChange(); }));
}

void TGifClientForm::FillStyleLists() {
  for (int Style = 0; Style < PenStyleCount; ++Style)
    Ui->PenStyleCB->addItem(StyleSample(true, Style), QString::number(Style));
  for (int Style = 0; Style < BrushStyleCount; ++Style)
    Ui->BrushStyleCB->addItem(StyleSample(false, Style), QString::number(Style));
  Ui->PenStyleCB->setIconSize(QSize(48, 14));
  Ui->BrushStyleCB->setIconSize(QSize(48, 14));
  Ui->PenStyleCB->setCurrentIndex(0);
  Ui->BrushStyleCB->setCurrentIndex(0);
}

TFrameView* TGifClientForm::FramePaint() const { return Ui->FramePaint; }
QWidget* TGifClientForm::ImagePanel() const { return Ui->ImagePanel; }
TEditN* TGifClientForm::PenWidthEdit() const { return Ui->PenWidthEdit; }
TComboBox97* TGifClientForm::PenStyleCB() const { return Ui->PenStyleCB; }
TComboBox97* TGifClientForm::BrushStyleCB() const { return Ui->BrushStyleCB; }
QLabel* TGifClientForm::StatusPanel(int Index) const { return FPanels.at(static_cast<size_t>(Index)); }

void TGifClientForm::showEvent(QShowEvent* Event) {
  QWidget::showEvent(Event);
  if (FShown) return;
  FShown = true;
  ui::Guarded([this] { FormShow(); });
}

void TGifClientForm::FormShow() {
  FMain.SetFrameEditor(this);
  FMain.ReleaseToolButtons();
  FMain.Action("CursorlButton")->setChecked(true);
  FDrawingValue = false;
  DropSelection();
  FUndoBitmap = std::make_unique<graphics::TBitmap>();
  FRedoBitmap = std::make_unique<graphics::TBitmap>();
  // The tools first: switching them on turns on the whole Edit menu.
  FMain.EnableEditTools(true);
  FMain.SetUndoEnabled(false);
  FMain.SetRedoEnabled(false);
  FMain.UpdatePasteEnabled();
  graphics::TCanvas& Canvas = FPicture->Canvas();
  FBrushColor = Canvas.Brush().Color();
  SetSwatch(Ui->BrushShape, FBrushColor);
  FPenColor = Canvas.Pen().Color();
  SetSwatch(Ui->ColorShape, FPenColor);
  Ui->PenWidthEdit->setText(QString::number(Canvas.Pen().Width()));
  ApplyPenBrush();
}

void TGifClientForm::closeEvent(QCloseEvent* Event) {
  bool Close = FDiscarding;
  if (!Close) {
    try {
      Close = CheckModified();
    } catch (...) {
      ui::HandleException();
    }
  }
  if (!Close) {
    Event->ignore();
    return;
  }
  Event->accept();
  FUndoBitmap.reset();
  FRedoBitmap.reset();
  if (FMain.FrameEditor() == this) {
    FMain.SetFrameEditor(nullptr);
    FMain.EnableEditTools(false);
  }
}

bool TGifClientForm::CheckModified() {
  if (!FrameModified()) return true;
  switch (ui::MessageDlg("Frame was modified Save changes?", ui::mtConfirmation, ui::mbYesNoCancel)) {
    case ui::mrYes:
      StoreFrame();
      return true;
    case ui::mrNo:
      return true;
    default:
      return false;
  }
}

void TGifClientForm::Discard() {
  FDiscarding = true;
  (parentWidget() ? parentWidget() : static_cast<QWidget*>(this))->close();
}

void TGifClientForm::ShowEditor() {
  if (auto* Frame = qobject_cast<QMdiSubWindow*>(parentWidget())) {
    Frame->showNormal();
    if (Frame->mdiArea()) Frame->mdiArea()->setActiveSubWindow(Frame);
    return;
  }
  showNormal();
}

bool TGifClientForm::IsActiveChild() const {
  auto* Frame = qobject_cast<QMdiSubWindow*>(parentWidget());
  return Frame && Frame->mdiArea() && Frame->mdiArea()->activeSubWindow() == Frame;
}

bool TGifClientForm::FrameModified() const { return !FPanels[ModifiedPanel]->text().isEmpty(); }

void TGifClientForm::SetModifiedMark(bool On) {
  FPanels[ModifiedPanel]->setText(On ? QString::fromLatin1(ModifiedText) : QString());
}

TGifClientForm::TTool TGifClientForm::CurrentTool() const {
  const std::pair<const char*, TTool> Tools[] = {{"CursorlButton", TTool::Cursor},    {"SelectButton", TTool::Select},
                                                 {"GetColorButton", TTool::GetColor}, {"PenButton", TTool::Pen},
                                                 {"LongPenButton", TTool::LongPen},   {"LineButton", TTool::Line},
                                                 {"QuadButton", TTool::Quad},         {"EllipseButton", TTool::Ellipse},
                                                 {"FillButton", TTool::Fill},         {"TextButton", TTool::Text}};
  for (const auto& [Name, Tool] : Tools)
    if (FMain.Action(Name)->isChecked()) return Tool;
  return TTool::None;
}

void TGifClientForm::SetPaintBoxCursor(Qt::CursorShape Cursor) { Ui->FramePaint->setCursor(Cursor); }

QSize TGifClientForm::ImagePanelSize() const { return Ui->ImagePanel->size(); }

void TGifClientForm::SetImagePanelSize(QSize Size) {
  FPanelSize = Size;
  // The display inside the border stays between 1 and the largest side a widget paints.
  const int Least = 1 + 2 * PanelBorder, Most = MaxDisplaySide + 2 * PanelBorder;
  Ui->ImagePanel->setFixedSize(std::clamp(Size.width(), Least, Most), std::clamp(Size.height(), Least, Most));
  Ui->FramePaint->Invalidate();
}

void TGifClientForm::RestoreRealSize() { SetImagePanelSize(FRealSize); }

bool TGifClientForm::AtRealSize() const { return FPanelSize.width() == FRealSize.width(); }

void TGifClientForm::PictureResized(bool WasRealSize) {
  FRealSize = QSize(FPicture->Width() + 2 * PanelBorder, FPicture->Height() + 2 * PanelBorder);
  if (WasRealSize) RestoreRealSize();
}

void TGifClientForm::SetSwatch(QWidget* Shape, base::TColor Color) {
  QPalette Colors = Shape->palette();
  Colors.setColor(QPalette::Window, ui::ToQColor(Color));
  Shape->setPalette(Colors);
}

void TGifClientForm::ApplyPenBrush() {
  graphics::TCanvas& Canvas = FPicture->Canvas();
  Canvas.Pen().SetColor(FPenColor);
  bool Ok = false;
  const int Width = Ui->PenWidthEdit->text().toInt(&Ok);
  if (Ok && Width >= 0) Canvas.Pen().SetWidth(Width);
  Canvas.Pen().SetStyle(
      static_cast<graphics::TPenStyle>(std::clamp(Ui->PenStyleCB->currentIndex(), 0, PenStyleCount - 1)));
  Canvas.Brush().SetColor(FBrushColor);
  Canvas.Brush().SetStyle(
      static_cast<graphics::TBrushStyle>(std::clamp(Ui->BrushStyleCB->currentIndex(), 0, BrushStyleCount - 1)));
}

void TGifClientForm::ChangePenColorClick() {
  ui::TColorDialog ColorDialog1;
  ColorDialog1.SetColor(FPenColor);
  if (!ColorDialog1.Execute()) return;
  FPenColor = ColorDialog1.Color();
  SetSwatch(Ui->ColorShape, FPenColor);
  ApplyPenBrush();
}

void TGifClientForm::ChangeBrushColorClick() {
  ui::TColorDialog ColorDialog1;
  ColorDialog1.SetColor(FBrushColor);
  if (!ColorDialog1.Execute()) return;
  FBrushColor = ColorDialog1.Color();
  SetSwatch(Ui->BrushShape, FBrushColor);
  ApplyPenBrush();
}

void TGifClientForm::PenWidthEditChange() {
  if (!Ui->PenWidthEdit->text().isEmpty()) ApplyPenBrush();
}

void TGifClientForm::PenStyleCBChange() { ApplyPenBrush(); }
void TGifClientForm::BrushStyleCBChange() { ApplyPenBrush(); }

void TGifClientForm::BeginRubberBand() {
  FSavedPenMode = FPicture->Canvas().Pen().Mode();
  FPicture->Canvas().Pen().SetMode(graphics::pmNotXor);
}

void TGifClientForm::EndRubberBand() {
  FPicture->Canvas().Pen().SetMode(FSavedPenMode);
  ApplyPenBrush();
}

void TGifClientForm::BeginChange() {
  FUndoBitmap->Assign(FPicture.get());
  FMain.SetUndoEnabled(true);
  // What Redo would bring back is older than this change.
  FRedoBitmap = std::make_unique<graphics::TBitmap>();
  FMain.SetRedoEnabled(false);
}

void TGifClientForm::FramePaintMouseDown(QMouseEvent* Event) {
  const QPoint Point = Ui->FramePaint->FramePoint(Event->position().toPoint());
  if (HasSelection() && QRect(SelectionAt(), QSize(FSelection->Width(), FSelection->Height())).contains(Point))
    return SelectImageMouseDown(Point);
  // A second button in the middle of a gesture starts nothing, so no band is left behind.
  if (FDrawingValue || FDragging) return;
  const base::TPoint P = ToPoint(Point);
  graphics::TCanvas& Canvas = FPicture->Canvas();
  const TTool Tool = CurrentTool();
  switch (Tool) {
    case TTool::None:
    case TTool::Cursor:
      return;
    case TTool::GetColor: {
      const base::TColor Color = Canvas.Pixels(P.X, P.Y);
      if (Color < 0) return;
      if (Event->button() == Qt::LeftButton) {
        FPenColor = Color;
        SetSwatch(Ui->ColorShape, Color);
      } else if (Event->button() == Qt::RightButton) {
        FBrushColor = Color;
        SetSwatch(Ui->BrushShape, Color);
      }
      ApplyPenBrush();
      return;
    }
    case TTool::Text:
      return TextTool(P);
    default:
      break;
  }
  if (HasSelection()) CommitSelection();
  // Lifting changes nothing, so it keeps the undo state as it is.
  if (Tool != TTool::Select) BeginChange();
  FDrawingValue = true;
  FBandShown = false;
  FGestureTool = Tool;
  FStart = FLast = P;
  if (Tool == TTool::Fill) {
    Canvas.FloodFill(P.X, P.Y, Canvas.Pixels(P.X, P.Y), graphics::fsSurface);
    Ui->FramePaint->Invalidate();
    return;
  }
  BeginRubberBand();
  switch (Tool) {
    case TTool::Pen:
    case TTool::LongPen:
      Canvas.SetPixels(P.X, P.Y, Canvas.Pen().Color());
      EndRubberBand();
      Ui->FramePaint->Invalidate();
      break;
    case TTool::Select:
      Canvas.Pen().SetStyle(graphics::psDot);
      Canvas.Brush().SetStyle(graphics::bsClear);
      break;
    default:
      break;
  }
}

void TGifClientForm::DrawBand(base::TPoint Point) {
  graphics::TCanvas& Canvas = FPicture->Canvas();
  switch (FGestureTool) {
    case TTool::Quad:
    case TTool::Select:
      Canvas.Rectangle(FStart.X, FStart.Y, Point.X, Point.Y);
      break;
    case TTool::Line:
      Canvas.MoveTo(FStart.X, FStart.Y);
      Canvas.LineTo(Point.X, Point.Y);
      break;
    case TTool::Ellipse:
      Canvas.Ellipse(FStart.X, FStart.Y, Point.X, Point.Y);
      break;
    default:
      break;
  }
}

void TGifClientForm::ShowStatus(base::TPoint Point) {
  const base::TColor Color = FPicture->Canvas().Pixels(Point.X, Point.Y);
  FPanels[0]->setText(QStringLiteral("X:%1").arg(Point.X));
  FPanels[1]->setText(QStringLiteral("Y:%1").arg(Point.Y));
  FPanels[2]->setText(QStringLiteral("Color:") + QString::fromStdString(graphics::ColorToString(Color)));
  const int Red = Color & 0xFF, Green = (Color >> 8) & 0xFF, Blue = (Color >> 16) & 0xFF;
  FPanels[3]->setText(QStringLiteral("Red:%1").arg(Red));
  FPanels[4]->setText(QStringLiteral("Green:%1").arg(Green));
  FPanels[5]->setText(QStringLiteral("Blue:%1").arg(Blue));
  char Hex[8];
  std::snprintf(Hex, sizeof Hex, "%02X%02X%02X", Red, Green, Blue);
  FPanels[6]->setText(QStringLiteral("Hex:") + QString::fromLatin1(Hex));
}

void TGifClientForm::FramePaintMouseMove(QMouseEvent* Event) {
  const QPoint Point = Ui->FramePaint->FramePoint(Event->position().toPoint());
  if (FDragging) return SelectImageMouseMove(Point);
  const base::TPoint Q = ToPoint(Point);
  ShowStatus(Q);
  if (!FDrawingValue) return;
  graphics::TCanvas& Canvas = FPicture->Canvas();
  switch (FGestureTool) {
    case TTool::Quad:
    case TTool::Select:
    case TTool::Line:
    case TTool::Ellipse:
      if (FBandShown) DrawBand(FLast);
      DrawBand(Q);
      FBandShown = true;
      break;
    case TTool::Pen:
      Canvas.SetPixels(Q.X, Q.Y, Canvas.Pen().Color());
      break;
    case TTool::LongPen:
      Canvas.MoveTo(FLast.X, FLast.Y);
      Canvas.LineTo(Q.X, Q.Y);
      break;
    default:
      break;
  }
  FLast = Q;
  Ui->FramePaint->Invalidate();
}

void TGifClientForm::FramePaintMouseUp(QMouseEvent* Event) {
  const QPoint Point = Ui->FramePaint->FramePoint(Event->position().toPoint());
  if (FDragging) return SelectImageMouseUp();
  if (!FDrawingValue) return;
  FDrawingValue = false;
  const base::TPoint R = ToPoint(Point);
  graphics::TCanvas& Canvas = FPicture->Canvas();
  const bool Band = FBandShown;
  FBandShown = false;
  if (Band) DrawBand(FLast);
  switch (FGestureTool) {
    case TTool::Quad:
      EndRubberBand();
      Canvas.Rectangle(FStart.X, FStart.Y, R.X, R.Y);
      break;
    case TTool::Line:
      EndRubberBand();
      Canvas.MoveTo(FStart.X, FStart.Y);
      Canvas.LineTo(R.X, R.Y);
      break;
    case TTool::Ellipse:
      EndRubberBand();
      Canvas.Ellipse(FStart.X, FStart.Y, R.X, R.Y);
      break;
    case TTool::LongPen:
      Canvas.MoveTo(FLast.X, FLast.Y);
      Canvas.LineTo(R.X, R.Y);
      break;
    case TTool::Select:
      EndRubberBand();
      Ui->FramePaint->Invalidate();
      if (!AtRealSize()) {
        ui::Dialogs().MessageBox("This operation work in the image real size.", "Error!", ui::mtInformation, ui::mbOK);
        return;
      }
      Lift(FStart, R);
      return;
    default:
      break;
  }
  EndRubberBand();
  SetModifiedMark(true);
  Ui->FramePaint->Invalidate();
}

void TGifClientForm::Lift(base::TPoint Start, base::TPoint End) {
  const int Width = FPicture->Width(), Height = FPicture->Height();
  base::TRect Rect = base::Rect(std::min(Start.X, End.X), std::min(Start.Y, End.Y), std::max(Start.X, End.X),
                                std::max(Start.Y, End.Y));
  Rect.Left = std::clamp(Rect.Left, 0, Width);
  Rect.Top = std::clamp(Rect.Top, 0, Height);
  Rect.Right = std::clamp(Rect.Right, Rect.Left, Width);
  Rect.Bottom = std::clamp(Rect.Bottom, Rect.Top, Height);
  FSelRectValue = Rect;
  if (Rect.IsEmpty()) return;
  FSelection = BitmapLike(*FPicture, Rect.Width(), Rect.Height());
  FSelection->Canvas().CopyRect(base::Rect(0, 0, Rect.Width(), Rect.Height()), FPicture->Canvas(), Rect);
  FPasted = false;
  Ui->FramePaint->SetSelection(FSelection.get(), QPoint(Rect.Left, Rect.Top));
  ShowSelection();
  FMain.SetUndoEnabled(false);
}

void TGifClientForm::ShowSelection() {
  Ui->FramePaint->SetOutline(QRect(Ui->FramePaint->SelectionAt(), QSize(FSelection->Width(), FSelection->Height())));
}

bool TGifClientForm::HasSelection() const { return FSelection != nullptr && Ui->FramePaint->Outline().isValid(); }

QPoint TGifClientForm::SelectionAt() const { return Ui->FramePaint->SelectionAt(); }

void TGifClientForm::SelectImageMouseDown(QPoint Point) {
  FDragging = true;
  FDragStart = Point;
}

void TGifClientForm::SelectImageMouseMove(QPoint Point) {
  // Only the outline follows the mouse; the picture moves when the button goes up.
  Ui->FramePaint->SetOutline(Ui->FramePaint->Outline().translated(Point - FDragStart));
  FDragStart = Point;
}

void TGifClientForm::SelectImageMouseUp() {
  FDragging = false;
  Ui->FramePaint->SetSelection(FSelection.get(), Ui->FramePaint->Outline().topLeft());
}

void TGifClientForm::DropSelection() {
  FDragging = false;
  Ui->FramePaint->SetSelection(nullptr, QPoint());
  Ui->FramePaint->SetOutline(QRect());
  FSelection.reset();
}

void TGifClientForm::CommitSelection() {
  if (!HasSelection()) return;
  const QPoint At = SelectionAt();
  const bool Moves = FPasted || At != QPoint(FSelRectValue.Left, FSelRectValue.Top);
  // A moved lift is a change of its own; a paste took its undo copy when it came.
  if (Moves && !FPasted) BeginChange();
  FPicture->Canvas().SetCopyMode(graphics::cmSrcCopy);
  FPicture->Canvas().Draw(At.x(), At.y(), FSelection.get());
  DropSelection();
  if (Moves) SetModifiedMark(true);
}

void TGifClientForm::Whiten(const base::TRect& Rect) {
  graphics::TCanvas& Canvas = FPicture->Canvas();
  Canvas.SetCopyMode(graphics::cmWhiteness);
  Canvas.CopyRect(Rect, Canvas, Rect);
  Canvas.SetCopyMode(graphics::cmSrcCopy);
}

void TGifClientForm::CopySelection() {
  ui::TClipboard* Clipboard = FMain.Clipboard();
  if (!Clipboard) return;
  Clipboard->SetImage(ui::BitmapToQImage(HasSelection() ? *FSelection : *FPicture));
}

void TGifClientForm::CutSelection() {
  CopySelection();
  DeleteSelection();
}

void TGifClientForm::DeleteSelection() {
  BeginChange();
  if (HasSelection()) {
    // A lifted selection takes its pixels with it; a pasted one has no place in the frame.
    if (!FPasted) Whiten(FSelRectValue);
    DropSelection();
  } else {
    Whiten(base::Rect(0, 0, FPicture->Width(), FPicture->Height()));
  }
  SetModifiedMark(true);
  Ui->FramePaint->Invalidate();
}

void TGifClientForm::PasteClipboard() {
  ui::TClipboard* Clipboard = FMain.Clipboard();
  if (!Clipboard || !Clipboard->HasImage()) return;
  const QImage Image = Flattened(Clipboard->Image());
  if (Image.isNull()) return;
  graphics::TBitmap Pasted;
  ui::AssignQImage(Pasted, Image);
  // A frame the project could not take back is refused before anything changes.
  const bool Placed = *FEditFrameAlive;
  gif::TGIFSubImage::CheckScreenFit(Placed ? FEditFrame->Left() : 0, Placed ? FEditFrame->Top() : 0,
                                    std::max(FPicture->Width(), Pasted.Width()),
                                    std::max(FPicture->Height(), Pasted.Height()));
  if (HasSelection()) CommitSelection();
  BeginChange();
  const bool WasRealSize = AtRealSize();
  if (Pasted.Width() > FPicture->Width()) FPicture->SetWidth(Pasted.Width());
  if (Pasted.Height() > FPicture->Height()) FPicture->SetHeight(Pasted.Height());
  PictureResized(WasRealSize);
  // In the frame's colours, so the picture shows what it will leave in the frame.
  FSelection = BitmapLike(*FPicture, Pasted.Width(), Pasted.Height());
  FSelection->Canvas().Draw(0, 0, &Pasted);
  FPasted = true;
  Ui->FramePaint->SetSelection(FSelection.get(), QPoint(0, 0));
  ShowSelection();
  SetModifiedMark(true);
}

void TGifClientForm::UndoEdit() {
  if (FUndoBitmap->Empty()) return;
  // A floating picture lands first, so Redo brings it back with the rest.
  if (HasSelection()) CommitSelection();
  const bool WasRealSize = AtRealSize();
  FMain.SetRedoEnabled(true);
  FRedoBitmap->Assign(FPicture.get());
  FPicture->Assign(FUndoBitmap.get());
  FMain.SetUndoEnabled(false);
  PictureResized(WasRealSize);
  SetModifiedMark(true);
  Ui->FramePaint->Invalidate();
}

void TGifClientForm::RedoEdit() {
  if (HasSelection()) CommitSelection();
  // Committing a moved selection was a change, and a change ends Redo.
  if (FRedoBitmap->Empty()) return;
  const bool WasRealSize = AtRealSize();
  FMain.SetRedoEnabled(false);
  FPicture->Assign(FRedoBitmap.get());
  FMain.SetUndoEnabled(true);
  PictureResized(WasRealSize);
  SetModifiedMark(true);
  Ui->FramePaint->Invalidate();
}

void TGifClientForm::TextTool(base::TPoint Point) {
  TTextForm& Form = *FMain.Forms().TextForm;
  if (Form.exec() != QDialog::Accepted) return;
  const bool Shadow = Form.ShadowCB()->isChecked();
  int Displacement = 0;
  if (Shadow) {
    bool Ok = false;
    Displacement = Form.DispEdit()->text().toInt(&Ok);
    if (!Ok) return ShowConversionError(Form.DispEdit()->text());
  }
  if (HasSelection()) CommitSelection();
  BeginChange();
  graphics::TCanvas& Canvas = FPicture->Canvas();
  const std::string Text = Form.TextEdit()->text().toStdString();
  ui::AssignQFont(Canvas.Font(), Form.SimpleLabel()->font());
  if (Shadow) {
    Canvas.Font().SetColor(Form.ShadowColor());
    Canvas.Brush().SetStyle(graphics::bsClear);
    if (const std::optional<base::TPoint> At = ShadowPlace(Point, Displacement, Form.PosComboBox()->currentIndex()))
      Canvas.TextOut(At->X, At->Y, Text);
  }
  Canvas.Font().SetColor(Form.FontColor());
  Canvas.TextOut(Point.X, Point.Y, Text);
  ApplyPenBrush();
  SetModifiedMark(true);
  Ui->FramePaint->Invalidate();
}

void TGifClientForm::StoreFrame() {
  if (HasSelection()) CommitSelection();
  gif::TGIFImage* Project = FMain.FGif();
  int Index = -1;
  for (int I = 0; Project && *FEditFrameAlive && I < Project->Frames().Count(); ++I)
    if (Project->Frames().SubImages(I) == FEditFrame) Index = I;
  if (Index < 0) throw base::EInvalidOperation("The frame being edited is no longer in the project.");
  FEditIndexValue = Index;
  gif::StoreFrameBitmap(*Project->Frames().SubImages(Index), *FPicture);
  FMain.Preview()->Rebind();
  FMain.Preview()->ShowCurrentFrame();
  SetModifiedMark(false);
  FMain.SetModified(true);
}

}  // namespace editor
