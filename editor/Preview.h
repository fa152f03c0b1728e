// TGifPreview: the window that shows the project, a still frame or the playing
// animation. It keeps the current frame of every window, steps through, adds and
// deletes frames, changes a frame's size and position, and turns its play options into
// the library's draw flags and speed. It plays a copy of the project, made again after
// every change to the project.
#pragma once

#include <QWidget>
#include <functional>
#include <memory>

#include "gif/GIFImage.h"

class QCheckBox;
class QSpinBox;
class QToolButton;

namespace Ui {
class TGifPreview;
}

namespace ui {
class TWindowCanvas;
}

namespace editor {

class TComboBox97;
class TGiffer;

class TGifPreview : public QWidget {
  Q_OBJECT

 public:
  explicit TGifPreview(TGiffer& Main, QWidget* Parent = nullptr);
  ~TGifPreview() override;

  // The current frame, 0-based.
  int FFrameIndex() const { return FFrameIndexValue; }
  void SetFrameIndex(int Value) { FFrameIndexValue = Value; }
  // The copy that is shown and played; none without a project.
  gif::TGIFImage* PreviewGif() const { return FCopy.get(); }

  // A new copy of the project; the old one stops playing first.
  void Rebind();
  void ApplyDrawOptions();
  void ShowCurrentFrame();
  // The frame numbers from "1", with FFrameIndex selected.
  void FillFrameList();
  // The frame tools, on while a project is open.
  void EnableTools(bool On);
  // Stops every play of the copy; what closing and replacing the copy need.
  void StopPlaying();

  TComboBox97* FrameList() const;
  QToolButton* Button(const char* Name) const;
  QCheckBox* Option(const char* Name) const;
  QSpinBox* SpeedEdit() const;
  ui::TWindowCanvas* FrameImage() const;
  ui::TWindowCanvas* PreviewImage() const;

 public slots:
  void RunGifClick();
  void StopGifClick();
  void SpeedChange();
  void NextFrameButtonClick();
  void PrevFrameButtonClick();
  void FrameListChange();
  void AddButtonClick();
  void DelButtonClick();
  void OptionButtonClick();
  // Opens the frame editor on the current frame, or brings back the open one.
  void EditButtonClick();
  void FormActivate();

 signals:
  // The copy was made again (or dropped with the project): the project has changed.
  void Rebound();

 protected:
  bool event(QEvent* Event) override;
  void closeEvent(QCloseEvent* Event) override;

 private:
  // Asks for the copy to be drawn onto PreviewImage.
  void RepaintPreview();
  // A synchronous play runs inside this call.
  void DrawPreview();
  void HidePreviewImage();
  // Without a project nothing of the last one stays on show.
  void ShowNoProject();
  bool IsActiveChild() const;
  void BindCopyEvents();
  void StepFrame(int Step);

  std::unique_ptr<Ui::TGifPreview> Ui;
  TGiffer& FMain;
  std::unique_ptr<gif::TGIFImage> FCopy;
  int FFrameIndexValue = 0;
  // Stretching aligns the picture to the client area, and it stays aligned.
  bool FFillsClient = false;
  bool FRepaintQueued = false;
  bool FDrawing = false;
  bool FDrawAgain = false;
};

}  // namespace editor
