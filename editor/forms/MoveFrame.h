// TMoveFrameForm: the frame to move and its new place (from 1) of "Move frame". It
// has no behaviour of its own; the main window makes it once and checks the numbers.
#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TMoveFrameForm;
}

namespace editor {

class TEditN;

class TMoveFrameForm : public QDialog {
  Q_OBJECT

 public:
  explicit TMoveFrameForm(QWidget* Parent = nullptr);
  ~TMoveFrameForm() override;

  TEditN* CurrentEdit() const;
  TEditN* NewEdit() const;

 private:
  std::unique_ptr<Ui::TMoveFrameForm> Ui;
};

}  // namespace editor
