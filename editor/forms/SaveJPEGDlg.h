// TSaveJPEGForm: the JPEG options of a save: quality, greyscale and smoothing.
#pragma once

#include <QDialog>
#include <memory>

class QCheckBox;
class QLabel;
class QSlider;

namespace Ui {
class TSaveJPEGForm;
}

namespace editor {

class TSaveJPEGForm : public QDialog {
  Q_OBJECT

 public:
  explicit TSaveJPEGForm(QWidget* Parent = nullptr);
  ~TSaveJPEGForm() override;

  QSlider* CompressQual() const;
  QLabel* CompQualLabel() const;
  QCheckBox* Grayscale() const;
  QCheckBox* Smoothing() const;

 public slots:
  void CompressQualChange();

 private:
  std::unique_ptr<Ui::TSaveJPEGForm> Ui;
};

}  // namespace editor
