// TPreviewWizForm: the GIF wizard's full view of its preview picture, made once and
// kept while the program runs. Its picture stays at the top left, neither stretched
// nor sized to fit.
#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TPreviewWizForm;
}

namespace graphics {
class TBitmap;
}

namespace ui {
class TWindowCanvas;
}

namespace editor {

class TPreviewWizForm : public QDialog {
  Q_OBJECT

 public:
  explicit TPreviewWizForm(QWidget* Parent = nullptr);
  ~TPreviewWizForm() override;

  ui::TWindowCanvas* Image1() const;
  // Image1 shows a copy of Picture.
  void SetPicture(graphics::TBitmap& Picture);

 private:
  std::unique_ptr<Ui::TPreviewWizForm> Ui;
};

}  // namespace editor
