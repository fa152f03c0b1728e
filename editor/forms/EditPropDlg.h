// TEditPropertyForm: one property of an extension block, edited with a Yes/No list,
// the disposal names or an integer box. It has no behaviour of its own; the main
// window makes it once and the extension editor shows the editor a row needs.
#pragma once

#include <QDialog>
#include <memory>

class QComboBox;
class QLabel;

namespace Ui {
class TEditPropertyForm;
}

namespace editor {

class TEditN;

class TEditPropertyForm : public QDialog {
  Q_OBJECT

 public:
  explicit TEditPropertyForm(QWidget* Parent = nullptr);
  ~TEditPropertyForm() override;

  QLabel* PropertyName() const;
  QComboBox* ValueComboBox() const;
  QComboBox* DispComboBox() const;
  TEditN* EditValue() const;

 private:
  std::unique_ptr<Ui::TEditPropertyForm> Ui;
};

}  // namespace editor
