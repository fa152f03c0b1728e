// TGifClientForm: the frame editor, an MDI child in which the user paints on a copy of
// one frame with the main window's drawing tools, lifts, drags and commits a floating
// selection, cuts, copies and pastes through the clipboard, undoes and redoes one step,
// and stores the picture back into its frame of the project.
#pragma once

#include <QPoint>
#include <QRect>
#include <QWidget>
#include <memory>

#include "editor/Main.h"
#include "gif/SubImage.h"
#include "platform/graphics/Bitmap.h"

class QLabel;
class QMouseEvent;

namespace Ui {
class TGifClientForm;
}

namespace editor {

class TComboBox97;
class TEditN;
class TFrameView;

class TGifClientForm : public QWidget, public TFrameEditorLink {
  Q_OBJECT

 public:
  // Opens on frame Index of the project, which must exist.
  TGifClientForm(TGiffer& Main, int Index, QWidget* Parent = nullptr);
  ~TGifClientForm() override;
  // Room for the frame as the image panel shows it, beside the tools and the status bar.
  QSize sizeHint() const override;

  int FEditIndex() const { return FEditIndexValue; }
  int FRealWidth() const { return FRealSize.width(); }
  int FRealHeight() const { return FRealSize.height(); }
  bool FDrawing() const { return FDrawingValue; }
  // Where the current floating selection was lifted from.
  const base::TRect& FSelRect() const { return FSelRectValue; }
  // The picture being edited.
  graphics::TBitmap& Picture() { return *FPicture; }
  // The floating selection's picture and where it will land; none without one.
  graphics::TBitmap* SelectionPicture() const { return HasSelection() ? FSelection.get() : nullptr; }
  QPoint SelectionAt() const;
  // The mark of unstored changes, "Modified" or empty.
  bool FrameModified() const;

  base::TColor PenColor() const { return FPenColor; }
  base::TColor BrushColor() const { return FBrushColor; }

  TFrameView* FramePaint() const;
  QWidget* ImagePanel() const;
  TEditN* PenWidthEdit() const;
  TComboBox97* PenStyleCB() const;
  TComboBox97* BrushStyleCB() const;
  QLabel* StatusPanel(int Index) const;

  // TFrameEditorLink.
  bool HasSelection() const override;
  void CommitSelection() override;
  bool SelectionPanelVisible() const override { return HasSelection(); }
  void SetPaintBoxCursor(Qt::CursorShape Cursor) override;
  QSize ImagePanelSize() const override;
  void SetImagePanelSize(QSize Size) override;
  void RestoreRealSize() override;
  void CopySelection() override;
  void CutSelection() override;
  void DeleteSelection() override;
  void PasteClipboard() override;
  void UndoEdit() override;
  void RedoEdit() override;
  void StoreFrame() override;
  bool CheckModified() override;
  void Discard() override;
  void ShowEditor() override;
  bool IsActiveChild() const override;

  void ApplyPenBrush();

 public slots:
  void ChangePenColorClick();
  void ChangeBrushColorClick();
  void PenWidthEditChange();
  void PenStyleCBChange();
  void BrushStyleCBChange();

 protected:
  void showEvent(QShowEvent* Event) override;
  void closeEvent(QCloseEvent* Event) override;

 private:
  enum class TTool { None, Cursor, Select, GetColor, Pen, LongPen, Line, Quad, Ellipse, Fill, Text };

  void FormCreate();
  void FormShow();
  TTool CurrentTool() const;
  void FramePaintMouseDown(QMouseEvent* Event);
  void FramePaintMouseMove(QMouseEvent* Event);
  void FramePaintMouseUp(QMouseEvent* Event);
  void SelectImageMouseDown(QPoint Point);
  void SelectImageMouseMove(QPoint Point);
  void SelectImageMouseUp();
  void TextTool(base::TPoint Point);
  void BeginRubberBand();
  void EndRubberBand();
  // Draws the rubber band of the current tool from the start point to Point.
  void DrawBand(base::TPoint Point);
  void Lift(base::TPoint Start, base::TPoint End);
  void ShowStatus(base::TPoint Point);
  // A new change: the undo copy, Undo on and Redo off.
  void BeginChange();
  void SetModifiedMark(bool On);
  // The floating selection goes without reaching the frame.
  void DropSelection();
  void ShowSelection();
  // Fills Rect of the frame with the frame's nearest white.
  void Whiten(const base::TRect& Rect);
  // The picture's size changed: the real size follows, and so does a panel at it.
  void PictureResized(bool WasRealSize);
  bool AtRealSize() const;
  void SetSwatch(QWidget* Shape, base::TColor Color);
  void FillStyleLists();

  std::unique_ptr<Ui::TGifClientForm> Ui;
  TGiffer& FMain;
  std::vector<QLabel*> FPanels;
  std::unique_ptr<graphics::TBitmap> FPicture;
  std::unique_ptr<graphics::TBitmap> FSelection;
  std::unique_ptr<graphics::TBitmap> FUndoBitmap;
  std::unique_ptr<graphics::TBitmap> FRedoBitmap;
  // The frame being edited, followed through moves of the frame list: looked for among
  // the project's frames while its token says it still exists.
  const gif::TGIFSubImage* FEditFrame = nullptr;
  std::shared_ptr<const bool> FEditFrameAlive;
  int FEditIndexValue = 0;
  QSize FRealSize;
  // The panel size last asked for; the panel itself may be clamped to what can be shown.
  QSize FPanelSize;
  graphics::TPenMode FSavedPenMode = graphics::pmCopy;
  bool FDrawingValue = false;
  bool FBandShown = false;
  TTool FGestureTool = TTool::None;
  base::TPoint FStart{};
  base::TPoint FLast{};
  base::TRect FSelRectValue{};
  // The selection came from the clipboard, not from the frame.
  bool FPasted = false;
  bool FDragging = false;
  QPoint FDragStart;
  base::TColor FPenColor = 0;
  base::TColor FBrushColor = 0;
  bool FShown = false;
  bool FDiscarding = false;
};

}  // namespace editor
