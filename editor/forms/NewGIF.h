// TCreateGIFForm: the new-image dialog, asking for the frame count and frame size.
// Only Ok checks the numbers; Cancel always closes.
#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TCreateGIFForm;
}

namespace editor {

class TEditN;

class TCreateGIFForm : public QDialog {
  Q_OBJECT

 public:
  // Beyond these a new image would not fit in memory.
  static constexpr int MaxFrameCount = 10000;
  static constexpr int MaxFrameSide = 16384;
  static constexpr long long MaxTotalPixels = 1LL << 30;

  explicit TCreateGIFForm(QWidget* Parent = nullptr);
  ~TCreateGIFForm() override;

  TEditN* FrameCountEdit() const;
  TEditN* FrameWidthEdit() const;
  TEditN* FrameHeightEdit() const;
  // The numbers as they stand; meaningful after the dialog was left with Ok.
  int FrameCount() const;
  int FrameWidth() const;
  int FrameHeight() const;

  void accept() override;

 public slots:
  void FormCloseQuery();

 private:
  std::unique_ptr<Ui::TCreateGIFForm> Ui;
};

}  // namespace editor
