#include "editor/forms/MapDlg.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <algorithm>

#include "editor/ExchangeFile.h"
#include "editor/FileFilters.h"
#include "editor/Main.h"
#include "editor/Preview.h"
#include "editor/controls/DragListBox.h"
#include "gif/GIFImage.h"
#include "platform/base/Exceptions.h"
#include "platform/graphics/Colors.h"
#include "platform/ui/Application.h"
#include "platform/ui/BitmapImage.h"
#include "platform/ui/HourGlass.h"
#include "plexor/Binding.h"
#include "ui_MapDlg.h"

namespace editor {

namespace {

constexpr int ThumbnailRole = Qt::UserRole;
// Between the thumbnail and the item's text.
constexpr int TextGap = 8;

// Use sees the frame's bitmap; one rendered only for this is not kept in the project.
void UseFrameBitmap(gif::TGIFSubImage& Frame, const std::function<void(graphics::TBitmap&)>& Use) {
  const bool WasCached = Frame.HasBitmap();
  struct TRelease {
    gif::TGIFSubImage& Frame;
    bool Keep;
    ~TRelease() {
      if (!Keep) Frame.ReleaseBitmap();
    }
  } Release{Frame, WasCached};
  if (graphics::TBitmap* Bitmap = Frame.GetBitmap()) Use(*Bitmap);
}

// Marks a change as the wizard's own, so that the preview's re-binding is not taken
// for another window's.
class TOwnChange {
 public:
  explicit TOwnChange(bool& Flag) : FFlag(Flag), FWas(Flag) { FFlag = true; }
  ~TOwnChange() { FFlag = FWas; }
  TOwnChange(const TOwnChange&) = delete;
  TOwnChange& operator=(const TOwnChange&) = delete;

 private:
  bool& FFlag;
  bool FWas;
};

}  // namespace

TMapForm::TMapForm(TGiffer& Main, QWidget* Parent)
    : QWidget(Parent), Ui(std::make_unique<::Ui::TMapForm>()), FMain(Main) {
  Ui->setupUi(this);
  setAttribute(Qt::WA_DeleteOnClose);
  OpenDialog.SetFilter(MapOpenFilter);
  OpenDialog.SetAllowMultiSelect(true);
  OpenDialog.SetPicturePreview(true);

  TDragListBox* Picker = Ui->ImagePicker;
  Picker->SetItemHeight(std::max(ThumbnailSide, Picker->fontMetrics().height()));
  Picker->OnDrawItem = [this](QPainter& Painter, int Index, const QRect& Rect, bool Selected) {
    ImagePickerDrawItem(Painter, Index, Rect, Selected);
  };
  Picker->OnStartDrag = [this] { ImagePickerStartDrag(); };
  Picker->OnDragOver = [this](QObject* Source) { return ImagePickerDragOver(Source); };
  Picker->OnDragDrop = [this](int X, int Y) { ImagePickerDragDrop(X, Y); };
  Picker->OnKeyDown = [this](int Key) { ImagePickerKeyDown(Key); };
  // The view follows the selection, by mouse or by keyboard.
  connect(Picker, &QListWidget::currentRowChanged, this, ui::GuardedSlot([this] { ImagePickerClick(); }));

  auto Route = [this](QPushButton* Button, void (TMapForm::*Handler)()) {
    connect(Button, &QPushButton::clicked, this, ui::GuardedSlot([this, Handler] { (this->*Handler)(); }));
  };
  Route(Ui->InsertButton, &TMapForm::InsertButtonClick);
  Route(Ui->DelButton, &TMapForm::DelButtonClick);
  Route(Ui->ScanButton, &TMapForm::ScanButtonClick);
  Route(Ui->CreateScanButton, &TMapForm::CreateScanButtonClick);
  Route(Ui->CloseBtn, &TMapForm::CloseBtnClick);
  connect(FMain.Preview(), &TGifPreview::Rebound, this, ui::GuardedSlot([this] { ProjectChanged(); }));
}

TMapForm::~TMapForm() {
  // The list outlives this part of the form while it is taken down; it must not call back.
  Ui->ImagePicker->disconnect(this);
  Ui->ImagePicker->OnDrawItem = nullptr;
}

TDragListBox* TMapForm::ImagePicker() const { return Ui->ImagePicker; }
QLabel* TMapForm::ImageView() const { return Ui->ImageView; }

QPushButton* TMapForm::Button(const char* Name) const {
  auto* Found = findChild<QPushButton*>(QString::fromLatin1(Name));
  if (!Found) throw base::Exception(std::string("No button ") + Name);
  return Found;
}

int TMapForm::ThumbnailIndex(int Item) const {
  const QListWidgetItem* Found = Ui->ImagePicker->item(Item);
  return Found ? Found->data(ThumbnailRole).toInt() : -1;
}

const QImage& TMapForm::Thumbnail(int Item) {
  static const QImage None;
  QListWidgetItem* Found = Ui->ImagePicker->item(Item);
  gif::TGIFImage* Project = FMain.FGif();
  if (!Found || !Project || Item >= Project->Frames().Count()) return None;
  const int Cached = Found->data(ThumbnailRole).toInt();
  if (Cached >= 0) return FImageList[static_cast<size_t>(Cached)];
  ui::THourGlass Busy;
  graphics::TBitmap Thumb;
  Thumb.SetPixelFormat(graphics::pf24bit);
  Thumb.SetWidth(ThumbnailSide);
  Thumb.SetHeight(ThumbnailSide);
  const base::TRect Whole = base::Rect(0, 0, ThumbnailSide, ThumbnailSide);
  Thumb.Canvas().Brush().SetColor(graphics::clWindow);
  Thumb.Canvas().FillRect(Whole);
  UseFrameBitmap(*Project->Frames().SubImages(Item),
                 [&](graphics::TBitmap& Bitmap) { Thumb.Canvas().StretchDraw(Whole, &Bitmap); });
  FImageList.push_back(ui::BitmapToQImage(Thumb));
  Found->setData(ThumbnailRole, static_cast<int>(FImageList.size() - 1));
  return FImageList.back();
}

void TMapForm::showEvent(QShowEvent* Event) {
  QWidget::showEvent(Event);
  if (FShown) return;
  FShown = true;
  ui::Guarded([this] { FormShow(); });
}

void TMapForm::FormShow() {
  RebuildPicker(0);
  if (Ui->ImagePicker->count() > 1) Ui->ImagePicker->setCurrentRow(1);
}

void TMapForm::RebuildLists(int Keep) {
  FMain.Preview()->FillFrameList();
  RebuildPicker(Keep);
}

void TMapForm::RebuildPicker(int Keep) {
  std::vector<int> Kept;
  for (int Item = 0; Item < std::min(Keep, Ui->ImagePicker->count()); ++Item) Kept.push_back(ThumbnailIndex(Item));
  Ui->ImagePicker->clear();
  const int Count = FMain.FGif() ? FMain.FGif()->Frames().Count() : 0;
  for (int Frame = 0; Frame < Count; ++Frame) {
    auto* Item = new QListWidgetItem(QStringLiteral("Frame %1").arg(Frame + 1));
    Item->setData(ThumbnailRole, Frame < static_cast<int>(Kept.size()) ? Kept[static_cast<size_t>(Frame)] : -1);
    Ui->ImagePicker->addItem(Item);
  }
  Ui->ImagePicker->setCurrentRow(-1);
}

void TMapForm::DropThumbnails(int First, int Last) {
  for (int Item = First; Item <= Last; ++Item) {
    QListWidgetItem* Found = Ui->ImagePicker->item(Item);
    if (!Found) continue;
    const int Cached = Found->data(ThumbnailRole).toInt();
    // The slot stays so that other items' indexes hold; its pixels go.
    if (Cached >= 0) FImageList[static_cast<size_t>(Cached)] = QImage();
    Found->setData(ThumbnailRole, -1);
  }
  Ui->ImagePicker->viewport()->update();
}

void TMapForm::ImagePickerDrawItem(QPainter& Painter, int Index, const QRect& Rect, bool Selected) {
  const QPalette& Colors = Ui->ImagePicker->palette();
  Painter.fillRect(Rect, Selected ? Colors.highlight() : Colors.base());
  const int Cached = ThumbnailIndex(Index);
  if (Cached >= 0)
    Painter.drawImage(Rect.topLeft(), FImageList[static_cast<size_t>(Cached)]);
  else
    RequestThumbnail(Index);
  QRect TextRect = Rect;
  TextRect.setLeft(Rect.left() + ThumbnailSide + TextGap);
  Painter.setPen(Selected ? Colors.highlightedText().color() : Colors.text().color());
  const QListWidgetItem* Item = Ui->ImagePicker->item(Index);
  if (Item) Painter.drawText(TextRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, Item->text());
}

void TMapForm::RequestThumbnail(int Item) {
  const bool Queued = !FRequested.empty();
  if (std::find(FRequested.begin(), FRequested.end(), Item) == FRequested.end()) FRequested.push_back(Item);
  if (Queued) return;
  QMetaObject::invokeMethod(
      this, [this] { ui::Guarded([this] { DrawRequestedThumbnails(); }); }, Qt::QueuedConnection);
}

void TMapForm::DrawRequestedThumbnails() {
  const std::vector<int> Items = std::move(FRequested);
  FRequested.clear();
  ui::THourGlass Busy;
  for (int Item : Items) Thumbnail(Item);
  Ui->ImagePicker->viewport()->update();
}

int TMapForm::SelectedFrame() const {
  const int Row = Ui->ImagePicker->currentRow();
  const gif::TGIFImage* Project = FMain.FGif();
  if (!Project || Row < 0 || Row >= Project->Frames().Count()) return -1;
  return Ui->ImagePicker->currentItem() && Ui->ImagePicker->currentItem()->isSelected() ? Row : -1;
}

void TMapForm::ImagePickerClick() {
  Ui->ImageView->setPixmap(QPixmap());
  Ui->ImageView->adjustSize();
  Ui->ImageView->repaint();
  const int Frame = SelectedFrame();
  if (Frame < 0) return;
  UseFrameBitmap(*FMain.FGif()->Frames().SubImages(Frame), [this](graphics::TBitmap& Bitmap) {
    Ui->ImageView->setPixmap(QPixmap::fromImage(ui::BitmapToQImage(Bitmap)));
    Ui->ImageView->adjustSize();
  });
}

void TMapForm::Rebind() {
  {
    TOwnChange Own(FOwnChange);
    FMain.Preview()->Rebind();
  }
  FMain.Preview()->ShowCurrentFrame();
}

void TMapForm::InsertButtonClick() {
  gif::TGIFImage* Project = FMain.FGif();
  if (!Project) return;
  if (!ui::Dialogs().ExecuteOpen(OpenDialog)) return;
  const int Before = Project->Frames().Count();
  ui::THourGlass Busy;
  auto Finish = [&] {
    Rebind();
    RebuildLists(Before);
    if (Project->Frames().Count() > Before) FMain.SetModified(true);
  };
  for (const std::string& File : OpenDialog.Files()) {
    try {
      graphics::TBitmap Bitmap;
      LoadPictureBitmap(File, Bitmap);
      Project->AddFrame(&Bitmap);
    } catch (const std::exception& Error) {
      // What was added before the bad file stays, and the lists show it.
      Finish();
      throw base::Exception("Cannot add the picture " + File + ":\n" + Error.what());
    }
  }
  Finish();
}

void TMapForm::DelButtonClick() {
  gif::TGIFImage* Project = FMain.FGif();
  const int Frame = SelectedFrame();
  if (Frame < 0) return;
  if (Project->Frames().Count() == 1) {
    ui::Dialogs().MessageBox("Can not delete frame. Frame count=1.", "Error!", ui::mtInformation, ui::mbOK);
    return;
  }
  if (ui::Dialogs().MessageBox("Are you sure that you want delete this frame?", "Warning", ui::mtInformation,
                               ui::mbOKCancel) != ui::mrOk)
    return;
  Project->Frames().Delete(Frame);
  Rebind();
  // The frames after it have moved up, so only those before keep their thumbnails.
  RebuildLists(Frame);
  FMain.SetModified(true);
}

void TMapForm::ImagePickerKeyDown(int Key) {
  if (Key == Qt::Key_Delete) DelButtonClick();
}

void TMapForm::ImagePickerStartDrag() { FDraggedIndex = SelectedFrame(); }

bool TMapForm::ImagePickerDragOver(QObject* Source) { return Source == Ui->ImagePicker; }

void TMapForm::ImagePickerDragDrop(int X, int Y) {
  const int From = FDraggedIndex;
  FDraggedIndex = -1;
  const int Target = Ui->ImagePicker->ItemAtPos(QPoint(X, Y));
  gif::TGIFImage* Project = FMain.FGif();
  if (!Project || From < 0 || Target < 0 || From == Target) return;
  const int Count = Project->Frames().Count();
  if (From >= Count || Target >= Count) return;
  Project->Frames().Move(From, Target);
  Rebind();
  DropThumbnails(std::min(From, Target), std::max(From, Target));
  Ui->ImagePicker->setCurrentRow(Target);
  ImagePickerClick();
  FMain.SetModified(true);
}

bool TMapForm::Scan(graphics::TBitmap& Image) {
  if (FMain.Plexor().Scan(this, FMain.FStartDir()) != 1) return false;
  ReadExchangeFile(FMain.FStartDir(), Image);
  return true;
}

void TMapForm::ScanButtonClick() {
  const int Frame = SelectedFrame();
  if (Frame < 0) return;
  graphics::TBitmap Image;
  if (!Scan(Image)) return;
  // The frame keeps its timing and extensions; its pixels are the scan's.
  FMain.FGif()->Frames().SubImages(Frame)->Assign(&Image);
  Rebind();
  DropThumbnails(Frame, Frame);
  ImagePickerClick();
  FMain.SetModified(true);
}

void TMapForm::CreateScanButtonClick() {
  gif::TGIFImage* Project = FMain.FGif();
  if (!Project) return;
  graphics::TBitmap Image;
  if (!Scan(Image)) return;
  const int Before = Project->Frames().Count();
  Project->AddFrame(&Image);
  Rebind();
  RebuildLists(Before);
  if (Ui->ImagePicker->count() > 1) Ui->ImagePicker->setCurrentRow(1);
  FMain.SetModified(true);
}

void TMapForm::ProjectChanged() {
  if (FOwnChange) return;
  if (!FMain.FGif()) {
    CloseBtnClick();
    return;
  }
  const int Row = Ui->ImagePicker->currentRow();
  RebuildPicker(0);
  if (Row < Ui->ImagePicker->count()) Ui->ImagePicker->setCurrentRow(Row);
}

void TMapForm::CloseBtnClick() {
  QWidget* Window = parentWidget() ? parentWidget() : this;
  Window->close();
}

void TMapForm::closeEvent(QCloseEvent* Event) {
  // Until it is freed, a closed wizard no longer follows the project.
  disconnect(FMain.Preview(), nullptr, this, nullptr);
  if (OnFormClose) OnFormClose();
  Event->accept();
}

}  // namespace editor
