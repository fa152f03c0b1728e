// TMapForm: the import wizard, a window beside the preview that lists the project's
// frames with a thumbnail each. It adds frames from picture files and scans, deletes
// one, puts a scan into one, and reorders them by dragging; every change goes straight
// into the project. It follows the project: another window's change shows at once, and
// closing the project closes the wizard.
#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "platform/ui/DialogService.h"

class QLabel;
class QPainter;
class QPushButton;

namespace Ui {
class TMapForm;
}

namespace graphics {
class TBitmap;
}

namespace editor {

class TDragListBox;
class TGiffer;

inline constexpr int ThumbnailSide = 20;
inline constexpr const char* MapOpenFilter =
    "All (*.gif;*.gif;*.jpg;*.jpeg;*.bmp)|*.gif;*.gif;*.jpg;*.jpeg;*.bmp|CompuServe GIF Image (*.gif)|*.gif|GIF "
    "Image (*.gif)|*.gif|JPEG Image File (*.jpg)|*.jpg|JPEG Image File (*.jpeg)|*.jpeg|Bitmaps (*.bmp)|*.bmp";

class TMapForm : public QWidget {
  Q_OBJECT

 public:
  explicit TMapForm(TGiffer& Main, QWidget* Parent = nullptr);
  ~TMapForm() override;

  TDragListBox* ImagePicker() const;
  QLabel* ImageView() const;
  QPushButton* Button(const char* Name) const;
  // The thumbnails made so far; an item's index into it, or -1 when it has none.
  const std::vector<QImage>& ImageList() const { return FImageList; }
  int ThumbnailIndex(int Item) const;
  // The thumbnail of Item, made now when it has none.
  const QImage& Thumbnail(int Item);

  // Runs when the window closes, so that its owner forgets it.
  std::function<void()> OnFormClose;

 public slots:
  void FormShow();
  void ImagePickerClick();
  void InsertButtonClick();
  void DelButtonClick();
  void ImagePickerKeyDown(int Key);
  void ImagePickerStartDrag();
  bool ImagePickerDragOver(QObject* Source);
  void ImagePickerDragDrop(int X, int Y);
  void ScanButtonClick();
  void CreateScanButtonClick();
  void CloseBtnClick();

 protected:
  void showEvent(QShowEvent* Event) override;
  void closeEvent(QCloseEvent* Event) override;

 private:
  void ImagePickerDrawItem(QPainter& Painter, int Index, const QRect& Rect, bool Selected);
  // The items, one per frame; the first Keep items keep their thumbnails, and nothing
  // is selected afterwards.
  void RebuildPicker(int Keep);
  // The preview's frame list too.
  void RebuildLists(int Keep);
  void DropThumbnails(int First, int Last);
  // Thumbnails asked for while painting are made afterwards, never inside the paint.
  void RequestThumbnail(int Item);
  void DrawRequestedThumbnails();
  // Another window changed or closed the project.
  void ProjectChanged();
  // The selected item when it names a frame of the project, else -1.
  int SelectedFrame() const;
  // The project after a change of ours: the preview's copy made again and showing it.
  void Rebind();
  // The scanner's image from gif.dat, or false when nothing was scanned.
  bool Scan(graphics::TBitmap& Image);

  std::unique_ptr<Ui::TMapForm> Ui;
  TGiffer& FMain;
  ui::TOpenDialog OpenDialog;
  std::vector<QImage> FImageList;
  std::vector<int> FRequested;
  int FDraggedIndex = -1;
  bool FShown = false;
  bool FOwnChange = false;
};

}  // namespace editor
