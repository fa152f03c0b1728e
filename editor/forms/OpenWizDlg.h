// TOpenWizForm: the start chooser. Each button runs a command of the main window and
// closes the chooser; every close stores whether it is to be shown next time.
#pragma once

#include <QDialog>
#include <functional>
#include <memory>

class QCheckBox;

namespace Ui {
class TOpenWizForm;
}

namespace editor {

class TOptionSettings;

class TOpenWizForm : public QDialog {
  Q_OBJECT

 public:
  explicit TOpenWizForm(TOptionSettings& Settings, QWidget* Parent = nullptr);
  ~TOpenWizForm() override;

  QCheckBox* ShowNextTime() const;

  // The main window's commands the buttons run.
  std::function<void()> CreateButtonClick;
  std::function<void()> OpenButtonClick;
  std::function<void()> GIFWizard1Click;
  // Whether a project image exists, and opening a new import wizard on it.
  std::function<bool()> HasProject;
  std::function<void()> OpenImportWizard;

  void done(int Result) override;

 public slots:
  void NewBtnClick();
  void OpenBtnClick();
  void WizBtnClick();
  void ImportBtnClick();
  void CloseBtnClick();

 protected:
  void showEvent(QShowEvent* Event) override;
  void FormClose();

 private:
  void RunAndClose(const std::function<void()>& Command);

  TOptionSettings& FSettings;
  std::unique_ptr<Ui::TOpenWizForm> Ui;
};

}  // namespace editor
