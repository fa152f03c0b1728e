#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "platform/base/Exceptions.h"
#include "platform/ui/Form.h"
#include "tests/ui/ScriptedDialogs.h"

using namespace ui;
using uitest::Press;
using uitest::TScriptedDialogs;

namespace {

// A form with an Ok and a Cancel button, as the small dialogs have.
class TTwoButtonForm : public TForm {
 public:
  TTwoButtonForm() {
    auto* Layout = new QVBoxLayout(this);
    Ok = new QPushButton("Ok", this);
    CancelButton = new QPushButton("Cancel", this);
    Layout->addWidget(Ok);
    Layout->addWidget(CancelButton);
    SetButtonModalResult(Ok, mrOk);
    SetButtonModalResult(CancelButton, mrCancel);
  }
  QPushButton* Ok;
  QPushButton* CancelButton;
};

// Runs the steps one after another from the event loop, each once the form is shown.
void Later(TForm& Form, std::vector<std::function<void()>> Steps) {
  QTimer::singleShot(0, &Form, [&Form, Steps]() mutable {
    if (!Form.isVisible()) {
      Later(Form, Steps);
      return;
    }
    auto Step = Steps.front();
    Steps.erase(Steps.begin());
    Step();
    if (!Steps.empty()) Later(Form, Steps);
  });
}

}  // namespace

TEST(Form, AButtonWithAResultEndsTheModalForm) {
  TTwoButtonForm Form;
  int Shows = 0;
  Form.OnShow = [&](base::TObject* Sender) {
    EXPECT_EQ(Sender, &Form);
    ++Shows;
  };
  Later(Form, {[&] { Form.Ok->click(); }});
  EXPECT_EQ(Form.ShowModal(), mrOk);
  Later(Form, {[&] { Form.CancelButton->click(); }});
  EXPECT_EQ(Form.ShowModal(), mrCancel);
  EXPECT_EQ(Shows, 2);
  EXPECT_FALSE(Form.isVisible());
}

TEST(Form, EscapeAndTheCloseBoxGiveCancel) {
  TTwoButtonForm Form;
  Later(Form, {[&] { Form.reject(); }});
  EXPECT_EQ(Form.ShowModal(), mrCancel);
  Later(Form, {[&] { Form.close(); }});
  EXPECT_EQ(Form.ShowModal(), mrCancel);
}

TEST(Form, CloseQueryCanRefuseEveryWayOut) {
  TScriptedDialogs Dialogs({Press(mrOk), Press(mrOk)});
  TTwoButtonForm Form;
  bool Allow = false;
  std::vector<TModalResult> Asked;
  Form.OnCloseQuery = [&](base::TObject*, bool& CanClose) {
    Asked.push_back(Form.ModalResult());
    if (!Allow) MessageDlg("Frame count<1.", mtInformation, mbOK);
    CanClose = Allow;
  };
  Later(Form, {[&] { Form.CancelButton->click(); },
               [&] {
                 EXPECT_TRUE(Form.isVisible());
                 EXPECT_EQ(Form.ModalResult(), mrNone);
                 Form.reject();
               },
               [&] {
                 EXPECT_TRUE(Form.isVisible());
                 Allow = true;
                 Form.Ok->click();
               }});
  EXPECT_EQ(Form.ShowModal(), mrOk);
  EXPECT_EQ(Asked, (std::vector<TModalResult>{mrCancel, mrCancel, mrOk}));
  EXPECT_EQ(Dialogs.Calls().size(), 2u);
}

TEST(Form, AFailingCloseQueryIsReportedAndKeepsTheFormOpen) {
  TScriptedDialogs Dialogs({Press(mrOk)});
  TTwoButtonForm Form;
  bool Fail = true;
  Form.OnCloseQuery = [&](base::TObject*, bool&) {
    if (Fail) throw base::EConvertError("'abc' is not a valid integer value");
  };
  Later(Form, {[&] { Form.Ok->click(); },
               [&] {
                 EXPECT_TRUE(Form.isVisible());
                 EXPECT_EQ(Form.ModalResult(), mrNone);
                 Fail = false;
                 Form.Ok->click();
               }});
  EXPECT_EQ(Form.ShowModal(), mrOk);
  ASSERT_EQ(Dialogs.Calls().size(), 1u);
  EXPECT_EQ(Dialogs.Calls()[0].Text, "'abc' is not a valid integer value");
}

TEST(Form, OnCloseRunsOnEveryCloseAndItsActionDecides) {
  TTwoButtonForm Form;
  int Closes = 0;
  Form.OnClose = [&](base::TObject*, TCloseAction&) { ++Closes; };
  Later(Form, {[&] { Form.Ok->click(); }});
  Form.ShowModal();
  Later(Form, {[&] { Form.reject(); }});
  Form.ShowModal();
  EXPECT_EQ(Closes, 2);

  Form.OnClose = [](base::TObject*, TCloseAction& Action) { Action = caNone; };
  Form.show();
  EXPECT_FALSE(Form.Close());
  EXPECT_TRUE(Form.isVisible());
  Form.OnClose = nullptr;
  EXPECT_TRUE(Form.Close());
  EXPECT_FALSE(Form.isVisible());
}

TEST(Form, CaFreeDeletesAModelessForm) {
  QPointer<TTwoButtonForm> Form = new TTwoButtonForm;
  Form->OnClose = [](base::TObject*, TCloseAction& Action) { Action = caFree; };
  Form->show();
  EXPECT_TRUE(Form->Close());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(Form.isNull());
}

TEST(Form, SettingAResultOnAFormThatIsNotModalOnlyStoresIt) {
  TTwoButtonForm Form;
  Form.show();
  Form.SetModalResult(mrOk);
  EXPECT_EQ(Form.ModalResult(), mrOk);
  EXPECT_TRUE(Form.isVisible());
  Form.hide();
}
