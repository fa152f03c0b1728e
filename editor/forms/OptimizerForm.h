// TOptimizerForm: the "Optimization" window. It shows the project's colour reduction,
// reduction bits and compression, and applies the chosen reduction to every frame or
// to the current one. Made on demand by the main window, one at a time; closing frees
// it, and so does closing the project.
#pragma once

#include <QWidget>
#include <memory>

class QAbstractButton;
class QCheckBox;
class QRadioButton;

namespace Ui {
class TOptimizerForm;
}

namespace editor {

class TGiffer;

class TOptimizerForm : public QWidget {
  Q_OBJECT

 public:
  explicit TOptimizerForm(TGiffer& Main, QWidget* Parent = nullptr);
  ~TOptimizerForm() override;

  QRadioButton* RadioButton(const char* Name) const;
  QCheckBox* CheckBox(const char* Name) const;
  QAbstractButton* ToolButton(const char* Name) const;

 public slots:
  void FormShow();
  void RadioButton5Click(QRadioButton* Button);
  void ToolButton1Click();
  void ToolButton2Click();

 protected:
  void showEvent(QShowEvent* Event) override;

 private:
  // The checked colour-count button, or none.
  QRadioButton* CheckedCountButton() const;

  std::unique_ptr<Ui::TOptimizerForm> Ui;
  TGiffer& FMain;
};

}  // namespace editor
