// TLoadForm: the splash window shown while the program starts.
#pragma once

#include <QWidget>
#include <memory>

class QLabel;

namespace Ui {
class TLoadForm;
}

namespace editor {

class TLoadForm : public QWidget {
  Q_OBJECT

 public:
  explicit TLoadForm(QWidget* Parent = nullptr);
  ~TLoadForm() override;

  // The stretched picture.
  QLabel* Image1() const;

 private:
  std::unique_ptr<Ui::TLoadForm> Ui;
};

}  // namespace editor
