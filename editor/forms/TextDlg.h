// TTextForm: the options of the text tool: the text, its font (shown on the sample
// label), and the shadow's direction, distance and colour.
#pragma once

#include <QDialog>
#include <memory>

#include "platform/base/Types.h"

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;

namespace Ui {
class TTextForm;
}

namespace editor {

class TComboBox97;

class TTextForm : public QDialog {
  Q_OBJECT

 public:
  explicit TTextForm(QWidget* Parent = nullptr);
  ~TTextForm() override;

  QLineEdit* TextEdit() const;
  // Its font is the font the text tool draws with.
  QLabel* SimpleLabel() const;
  QCheckBox* ShadowCB() const;
  TComboBox97* PosComboBox() const;
  QLineEdit* DispEdit() const;
  QFrame* Shape1() const;
  // The swatch's fill colour, the colour of the shadow.
  base::TColor ShadowColor() const { return FShadowColor; }
  void SetShadowColor(base::TColor Value);
  // The colour of the text, chosen with the font and shown on the sample label.
  base::TColor FontColor() const { return FFontColor; }
  void SetFontColor(base::TColor Value);

 public slots:
  void TextEditChange();
  void Button3Click();
  void ChangeColorBtnClick();

 protected:
  void showEvent(QShowEvent* Event) override;
  void FormShow();

 private:
  std::unique_ptr<Ui::TTextForm> Ui;
  base::TColor FShadowColor = 0;
  base::TColor FFontColor = 0;
};

}  // namespace editor
