// TExchangePlaceForm: the two frame numbers (from 1) of "Change frame sequence". It
// has no behaviour of its own; the main window makes it once and checks the numbers.
#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TExchangePlaceForm;
}

namespace editor {

class TEditN;

class TExchangePlaceForm : public QDialog {
  Q_OBJECT

 public:
  explicit TExchangePlaceForm(QWidget* Parent = nullptr);
  ~TExchangePlaceForm() override;

  TEditN* FirstFrameEdit() const;
  TEditN* SecondFrameEdit() const;

 private:
  std::unique_ptr<Ui::TExchangePlaceForm> Ui;
};

}  // namespace editor
