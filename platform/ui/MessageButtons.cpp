#include "platform/ui/MessageButtons.h"

namespace ui {

std::vector<TMsgDlgBtn> TMsgDlgButtons::Buttons() const {
  std::vector<TMsgDlgBtn> Result;
  for (int I = 0; I < MsgDlgBtnCount; ++I)
    if (Contains(static_cast<TMsgDlgBtn>(I))) Result.push_back(static_cast<TMsgDlgBtn>(I));
  return Result;
}

TModalResult ModalResultOf(TMsgDlgBtn Button) {
  switch (Button) {
    case mbYes: return mrYes;
    case mbNo: return mrNo;
    case mbOK: return mrOk;
    case mbCancel: return mrCancel;
    case mbAbort: return mrAbort;
    case mbRetry: return mrRetry;
    case mbIgnore: return mrIgnore;
    case mbAll: return mrAll;
    case mbNoToAll: return mrNoToAll;
    case mbYesToAll: return mrYesToAll;
  }
  return mrNone;
}

std::string ButtonCaption(TMsgDlgBtn Button) {
  switch (Button) {
    case mbYes: return "&Yes";
    case mbNo: return "&No";
    case mbOK: return "OK";
    case mbCancel: return "Cancel";
    case mbAbort: return "&Abort";
    case mbRetry: return "&Retry";
    case mbIgnore: return "&Ignore";
    case mbAll: return "&All";
    case mbNoToAll: return "N&o to All";
    case mbYesToAll: return "Yes to &All";
  }
  return {};
}

std::string MessageCaption(TMsgDlgType Type) {
  switch (Type) {
    case mtWarning: return "Warning";
    case mtError: return "Error";
    case mtInformation: return "Information";
    case mtConfirmation: return "Confirm";
    case mtCustom: return {};
  }
  return {};
}

bool EscapeButton(TMsgDlgButtons Buttons, TMsgDlgBtn& Button) {
  const std::vector<TMsgDlgBtn> All = Buttons.Buttons();
  if (Buttons.Contains(mbCancel))
    Button = mbCancel;
  else if (Buttons.Contains(mbNo))
    Button = mbNo;
  else if (All.size() == 1)
    Button = All.front();
  else
    return false;
  return true;
}

}  // namespace ui
