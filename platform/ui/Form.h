// TForm: a window with the life cycle of the framework's forms. Shown modally it runs
// until its ModalResult is set (by code, by a button given a result, by Escape as
// mrCancel or by the close box as mrCancel); every way out asks OnCloseQuery first and
// then runs OnClose. Shown modelessly, closing runs the same two events, and OnClose's
// Action decides whether the window is hidden, freed or kept.
#pragma once

#include <QDialog>

#include "platform/base/Events.h"
#include "platform/base/Object.h"
#include "platform/ui/ModalResult.h"

class QAbstractButton;

namespace ui {

enum class TCloseAction { caNone, caHide, caFree, caMinimize };
using enum TCloseAction;

class TForm : public QDialog, public base::TObject {
 public:
  ANIMORA_CLASS(TForm)
  explicit TForm(QWidget* Parent = nullptr);

  TModalResult ShowModal();
  TModalResult ModalResult() const { return FModalResult; }
  // On a modal form a result other than mrNone closes it, unless OnCloseQuery refuses.
  void SetModalResult(TModalResult Value);
  // Asks OnCloseQuery and closes; a modal form ends with mrCancel.
  bool Close();

  // A click on Button sets Result as the form's modal result.
  void SetButtonModalResult(QAbstractButton* Button, TModalResult Result);

  // Escape: the same as the close box.
  void reject() override;
  void done(int Result) override;

  base::TNotifyEvent OnShow;
  std::function<void(base::TObject* Sender, bool& CanClose)> OnCloseQuery;
  // Action starts as caHide; caFree deletes the form later, caNone keeps it open.
  std::function<void(base::TObject* Sender, TCloseAction& Action)> OnClose;

 protected:
  void showEvent(QShowEvent* Event) override;
  void closeEvent(QCloseEvent* Event) override;

 private:
  bool CloseQuery();
  // Runs OnClose; false when the form stays open.
  bool DoClose();

  TModalResult FModalResult = mrNone;
  bool FModal = false;
  bool FClosing = false;
};

}  // namespace ui
