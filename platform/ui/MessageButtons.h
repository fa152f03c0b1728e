// Message-box kinds, buttons and the platform's button sets. A single button converts to
// the set that holds only it, so MessageDlg(..., mbOK) reads as it does on the platform.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/ui/ModalResult.h"

namespace ui {

enum class TMsgDlgType : uint8_t { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
using enum TMsgDlgType;

// In the order the buttons appear.
enum class TMsgDlgBtn : uint8_t { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll };
using enum TMsgDlgBtn;

inline constexpr int MsgDlgBtnCount = 10;

class TMsgDlgButtons {
 public:
  constexpr TMsgDlgButtons() = default;
  constexpr TMsgDlgButtons(TMsgDlgBtn Button) : FBits(Bit(Button)) {}  // NOLINT: a set of one

  constexpr bool Contains(TMsgDlgBtn Button) const { return (FBits & Bit(Button)) != 0; }
  constexpr bool Empty() const { return FBits == 0; }
  constexpr TMsgDlgButtons operator|(TMsgDlgButtons Other) const { return FromBits(FBits | Other.FBits); }
  friend constexpr bool operator==(TMsgDlgButtons, TMsgDlgButtons) = default;

  // The buttons of the set, in display order.
  std::vector<TMsgDlgBtn> Buttons() const;

 private:
  static constexpr uint16_t Bit(TMsgDlgBtn Button) { return static_cast<uint16_t>(1u << static_cast<unsigned>(Button)); }
  static constexpr TMsgDlgButtons FromBits(uint16_t Bits) {
    TMsgDlgButtons Set;
    Set.FBits = Bits;
    return Set;
  }
  uint16_t FBits = 0;
};

constexpr TMsgDlgButtons operator|(TMsgDlgBtn A, TMsgDlgBtn B) { return TMsgDlgButtons(A) | B; }

constexpr TMsgDlgButtons mbYesNo = mbYes | mbNo;
constexpr TMsgDlgButtons mbYesNoCancel = mbYes | mbNo | mbCancel;
constexpr TMsgDlgButtons mbYesAllNoAllCancel = mbYes | mbYesToAll | mbNo | mbNoToAll | mbCancel;
constexpr TMsgDlgButtons mbOKCancel = mbOK | mbCancel;
constexpr TMsgDlgButtons mbAbortRetryIgnore = mbAbort | mbRetry | mbIgnore;
constexpr TMsgDlgButtons mbAbortIgnore = mbAbort | mbIgnore;

// The result a button gives.
TModalResult ModalResultOf(TMsgDlgBtn Button);
// The button's label: "&Yes", "&No", "OK", "Cancel", "&Abort", "&Retry", "&Ignore", "&All",
// "N&o to All", "Yes to &All".
std::string ButtonCaption(TMsgDlgBtn Button);
// "Warning", "Error", "Information", "Confirm"; empty for mtCustom.
std::string MessageCaption(TMsgDlgType Type);
// The button an Escape or a closed window stands for: Cancel, else No, else the only
// button; none when the set has neither and more than one button.
bool EscapeButton(TMsgDlgButtons Buttons, TMsgDlgBtn& Button);

}  // namespace ui
