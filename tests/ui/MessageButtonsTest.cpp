#include <gtest/gtest.h>

#include "platform/ui/Application.h"
#include "platform/ui/DialogService.h"
#include "tests/ui/ScriptedDialogs.h"

using namespace ui;
using uitest::Press;
using uitest::TScriptedDialogs;

TEST(MessageButtons, SetsListTheirButtonsInDisplayOrder) {
  struct {
    TMsgDlgButtons Set;
    std::vector<TMsgDlgBtn> Buttons;
  } const Cases[] = {
      {mbOK, {mbOK}},
      {mbOKCancel, {mbOK, mbCancel}},
      {mbYesNo, {mbYes, mbNo}},
      {mbYesNoCancel, {mbYes, mbNo, mbCancel}},
      {mbAbortRetryIgnore, {mbAbort, mbRetry, mbIgnore}},
      {mbAbortIgnore, {mbAbort, mbIgnore}},
      {mbAbort | mbIgnore | mbAll, {mbAbort, mbIgnore, mbAll}},
      {mbYesAllNoAllCancel, {mbYes, mbNo, mbCancel, mbNoToAll, mbYesToAll}},
  };
  for (const auto& C : Cases) EXPECT_EQ(C.Set.Buttons(), C.Buttons);
}

TEST(MessageButtons, EachButtonGivesItsResult) {
  const std::pair<TMsgDlgBtn, TModalResult> Cases[] = {
      {mbYes, mrYes},     {mbNo, mrNo},   {mbOK, mrOk},           {mbCancel, mrCancel},    {mbAbort, mrAbort},
      {mbRetry, mrRetry}, {mbIgnore, mrIgnore}, {mbAll, mrAll}, {mbNoToAll, mrNoToAll}, {mbYesToAll, mrYesToAll},
  };
  for (const auto& [Button, Result] : Cases) EXPECT_EQ(ModalResultOf(Button), Result) << ButtonCaption(Button);
}

TEST(MessageButtons, EscapeStandsForCancelThenNoThenAnOnlyButton) {
  struct {
    TMsgDlgButtons Set;
    bool Has;
    TMsgDlgBtn Button;
  } const Cases[] = {
      {mbYesNoCancel, true, mbCancel}, {mbYesNo, true, mbNo},       {mbOK, true, mbOK},
      {mbOKCancel, true, mbCancel},    {mbAbortIgnore, false, mbOK}, {mbAbort | mbIgnore | mbAll, false, mbOK},
  };
  for (const auto& C : Cases) {
    TMsgDlgBtn Button = mbOK;
    EXPECT_EQ(EscapeButton(C.Set, Button), C.Has);
    if (C.Has) {
      EXPECT_EQ(Button, C.Button);
    }
  }
}

TEST(MessageDlg, IsCaptionedByItsKind) {
  SetApplicationTitle("Animora Pro");
  TScriptedDialogs Dialogs({Press(mrOk), Press(mrOk), Press(mrOk), Press(mrYes), Press(mrOk), Press(mrOk)});
  MessageDlg("w", mtWarning, mbOK);
  MessageDlg("e", mtError, mbOK);
  MessageDlg("i", mtInformation, mbOK);
  EXPECT_EQ(MessageDlg("Save changes?", mtConfirmation, mbYesNoCancel), mrYes);
  MessageDlg("c", mtCustom, mbOK);
  ShowMessage("plain");
  const std::vector<std::string> Captions = {"Warning", "Error", "Information", "Confirm", "Animora Pro", "Animora Pro"};
  ASSERT_EQ(Dialogs.Calls().size(), Captions.size());
  for (size_t I = 0; I < Captions.size(); ++I) EXPECT_EQ(Dialogs.Calls()[I].Caption, Captions[I]);
  EXPECT_EQ(Dialogs.Calls()[3].Text, "Save changes?");
  EXPECT_EQ(Dialogs.Calls()[3].Buttons, mbYesNoCancel);
  EXPECT_EQ(Dialogs.Calls()[5].Type, mtCustom);
  EXPECT_TRUE(Dialogs.Done());
}

TEST(ScriptedDialogs, RefusesWhatTheScriptDidNotExpect) {
  TScriptedDialogs Dialogs({Press(mrYes), uitest::Cancel(uitest::TDialogKind::Open)});
  EXPECT_THROW(MessageDlg("Overwrite?", mtWarning, mbOKCancel), std::logic_error);  // Yes is not a button
  TScriptedDialogs Other({uitest::Cancel(uitest::TDialogKind::Open)});
  EXPECT_THROW(ShowMessage("surprise"), std::logic_error);  // an open dialog was expected
  TScriptedDialogs Empty;
  EXPECT_THROW(ShowMessage("none left"), std::logic_error);
}

TEST(ScriptedDialogs, OverridesNestAndRestore) {
  TScriptedDialogs Outer;
  {
    TScriptedDialogs Inner({Press(mrOk)});
    ShowMessage("inner");
    EXPECT_EQ(Inner.Calls().size(), 1u);
  }
  Outer.Then(Press(mrOk));
  ShowMessage("outer");
  EXPECT_EQ(Outer.Calls().size(), 1u);
}

TEST(DialogService, AnInstalledServiceAnswersUntilRemoved) {
  TScriptedDialogs Mine({Press(mrOk)});
  SetDialogService(&Mine);
  EXPECT_EQ(&Dialogs(), &Mine);
  ShowMessage("through the installed service");
  EXPECT_EQ(Mine.Calls().size(), 1u);
  SetDialogService(nullptr);
  EXPECT_NE(&Dialogs(), static_cast<TDialogService*>(&Mine));
}
