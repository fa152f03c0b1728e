// TRotationEffectForm: turns one frame into a spinning run. Each pass writes the
// source frame to gif.dat, reads it into the preview image, rotates it by one more
// equal step about its centre, reduces it to 256 colours when it is 24-bit, writes it
// back and loads it into the next frame, appending frames when the project runs out.
// Made once with the main window; its preview image keeps its type between runs, so
// later runs rotate 8-bit indexes.
#pragma once

#include <QDialog>
#include <memory>
#include <string>

#include "editor/bitmaps/FastRGB.h"

class QCheckBox;
class QStatusBar;

namespace Ui {
class TRotationEffectForm;
}

namespace editor {

class TEditN;
class TFastIMG;
class TGiffer;

// Degrees between two passes of Passes: 360 / Passes, halves to even.
int RotationStep(int Passes);

class TRotationEffectForm : public QDialog {
  Q_OBJECT

 public:
  // The most frames one run may reach.
  static constexpr int MaxFrameNumber = 32767;

  explicit TRotationEffectForm(TGiffer& Main, QWidget* Parent = nullptr);
  ~TRotationEffectForm() override;

  TEditN* EditFirstF() const;
  TEditN* EditNumberFrame() const;
  QCheckBox* rRotateWrap() const;
  TFastIMG* PrevImage() const;
  QStatusBar* StatusBar1() const;

 public slots:
  void OkButtonClick();

 private:
  void LoadSource();
  void RotatePreview(double Angle);
  void SaveResult();
  void ShowStatus(const std::string& Text);
  std::string ExchangeFile() const;

  std::unique_ptr<Ui::TRotationEffectForm> Ui;
  TGiffer& FMain;
  int32_t FCenterX = 0;
  int32_t FCenterY = 0;
  // An unrotated copy of the loaded frame, of the preview image's class.
  std::unique_ptr<TFastRGB> FSource;
};

}  // namespace editor
