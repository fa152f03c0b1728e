// TGIFWizardForm: the GIF wizard. Over three pages and an option page it collects a
// background, a frame size and count, a delay, the loop flag, one line of text and a
// transition, and builds a new animation from them as the editor's project. Every box
// is checked, the background loaded and the old project saved or let go before the
// project is replaced; a refusal leaves the wizard on the page it was on.
#pragma once

#include <QDialog>
#include <QFont>
#include <memory>
#include <string>

#include "platform/graphics/Font.h"

namespace Ui {
class TGIFWizardForm;
}

namespace graphics {
class TBitmap;
}

namespace editor {

class TGiffer;
class TPreviewWizForm;
class TTransitionFrames;

// Hundredths of a second for a delay in milliseconds, a half going to the even neighbour.
int WizardDelay(int Milliseconds);
// The largest delay the wizard takes: 65535 hundredths.
inline constexpr int MaxWizardDelay = 655350;

class TGIFWizardForm : public QDialog {
  Q_OBJECT

 public:
  TGIFWizardForm(TGiffer& Main, TPreviewWizForm& PreviewWiz, QWidget* Parent = nullptr);
  ~TGIFWizardForm() override;

  // Where the background box starts.
  static std::string DefaultBackground();
  // The font the text is written in, Label6's.
  const graphics::TFont& TextFont() const { return FTextFont; }
  void SetTextFont(const QFont& Font);
  // Whether the last showing built an animation.
  bool Built() const { return FBuilt; }

 public slots:
  void FormShow();
  void ChoseBackClick();
  void UseBackParamClick();
  void SelectFontClick();
  void NextButtonClick();
  void BackButtonClick();
  void ViewButtonClick();
  void PreviewImageDblClick();
  void CancelButtonClick();
  void BuildAnimation();

 protected:
  void showEvent(QShowEvent* Event) override;
  bool eventFilter(QObject* Watched, QEvent* Event) override;

 private:
  // The background, or the edits' size, into PreviewImage; false after a refusal.
  bool MakePreviewPicture();
  // Everything the build reads, checked; false after the refusal was shown.
  bool CheckBuild(graphics::TBitmap& Background, bool& HasBackground, int& Count, int& Width, int& Height);
  void StampText(TTransitionFrames& Frames, int Frame);
  void RunTransition(TTransitionFrames& Frames, int Count);
  void ShowOptionPage();
  void HideOptionPages();
  QWidget* CheckedOptionPage() const;

  std::unique_ptr<Ui::TGIFWizardForm> Ui;
  TGiffer& FMain;
  TPreviewWizForm& FPreviewWiz;
  graphics::TFont FTextFont;
  bool FBuilt = false;
};

}  // namespace editor
