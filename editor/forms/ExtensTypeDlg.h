// TExtensType: the kind of block the extension editor adds. It has no behaviour of its
// own; the main window makes it once.
#pragma once

#include <QDialog>
#include <memory>

class QRadioButton;

namespace Ui {
class TExtensType;
}

namespace editor {

class TExtensType : public QDialog {
  Q_OBJECT

 public:
  explicit TExtensType(QWidget* Parent = nullptr);
  ~TExtensType() override;

  QRadioButton* CommentRB() const;
  QRadioButton* GraphContrExt() const;
  QRadioButton* NetscapeLoop() const;

 private:
  std::unique_ptr<Ui::TExtensType> Ui;
};

}  // namespace editor
