#include "platform/ui/Form.h"

#include <QAbstractButton>
#include <QCloseEvent>

#include "platform/ui/Application.h"

namespace ui {

TForm::TForm(QWidget* Parent) : QDialog(Parent) {}

TModalResult TForm::ShowModal() {
  FModalResult = mrNone;
  FModal = true;
  exec();
  FModal = false;
  return FModalResult;
}

void TForm::SetModalResult(TModalResult Value) {
  FModalResult = Value;
  if (!FModal || Value == mrNone || FClosing) return;
  bool Closes = false;
  try {
    Closes = CloseQuery() && DoClose();
  } catch (...) {
    FModalResult = mrNone;  // a failing check keeps the form open, then is reported
    throw;
  }
  if (!Closes) {
    FModalResult = mrNone;
    return;
  }
  FClosing = true;
  QDialog::done(Value);
  FClosing = false;
}

bool TForm::Close() {
  if (FModal) {
    SetModalResult(mrCancel);
    return FModalResult != mrNone;
  }
  return QDialog::close();
}

void TForm::SetButtonModalResult(QAbstractButton* Button, TModalResult Result) {
  connect(Button, &QAbstractButton::clicked, this, GuardedSlot([this, Result] { SetModalResult(Result); }));
}

void TForm::showEvent(QShowEvent* Event) {
  QDialog::showEvent(Event);
  if (OnShow) Guarded([this] { OnShow(this); });
}

void TForm::closeEvent(QCloseEvent* Event) {
  if (FClosing) {
    Event->accept();
    return;
  }
  if (FModal) {
    Event->ignore();
    SetModalResult(mrCancel);
    return;
  }
  bool Keep = true;
  Guarded([&] { Keep = !CloseQuery() || !DoClose(); });
  if (Keep) Event->ignore();
  else Event->accept();
}

void TForm::reject() {
  if (FModal)
    SetModalResult(mrCancel);
  else
    close();
}

void TForm::done(int Result) {
  if (FModal)
    SetModalResult(Result);
  else
    QDialog::done(Result);
}

bool TForm::CloseQuery() {
  bool CanClose = true;
  if (OnCloseQuery) OnCloseQuery(this, CanClose);
  return CanClose;
}

bool TForm::DoClose() {
  TCloseAction Action = caHide;
  if (OnClose) OnClose(this, Action);
  switch (Action) {
    case caNone: return false;
    case caHide: return true;
    case caFree: deleteLater(); return true;
    case caMinimize: showMinimized(); return false;
  }
  return true;
}

}  // namespace ui
