// TOptionForm: a frame's size and position. Ok closes only when all four boxes hold
// numbers a frame can take, so a caller never applies half of them.
#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TOptionForm;
}

namespace editor {

class TEditN;

class TOptionForm : public QDialog {
  Q_OBJECT

 public:
  // The largest side and position a frame's descriptor holds.
  static constexpr int MaxFrameValue = 65535;

  explicit TOptionForm(QWidget* Parent = nullptr);
  ~TOptionForm() override;

  TEditN* EditWidth() const;
  TEditN* EditHeight() const;
  TEditN* LeftEdit() const;
  TEditN* TopEdit() const;
  void SetValues(int Width, int Height, int Left, int Top);
  // The numbers as they stand; meaningful after the dialog was left with Ok.
  int FrameWidth() const;
  int FrameHeight() const;
  int FrameLeft() const;
  int FrameTop() const;

  void accept() override;

 public slots:
  void FormCloseQuery();

 private:
  std::unique_ptr<Ui::TOptionForm> Ui;
};

}  // namespace editor
