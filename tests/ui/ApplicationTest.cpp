#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <stdexcept>

#include "platform/base/Exceptions.h"
#include "platform/base/HandOff.h"
#include "platform/base/Thread.h"
#include "platform/ui/Application.h"
#include "tests/ui/ScriptedDialogs.h"

using namespace ui;
using uitest::Press;
using uitest::TScriptedDialogs;

namespace {

// Throws from its event handler, as a form's handler might.
class TThrowingObject : public QObject {
 public:
  bool event(QEvent* Event) override {
    if (Event->type() == QEvent::User) throw base::EConvertError("'x' is not a valid integer value");
    if (Event->type() == QEvent::User + 1) base::Abort();
    return QObject::event(Event);
  }
};

class TWorker : public base::TThread {
 public:
  explicit TWorker(std::function<void()> Call) : FCall(std::move(Call)) {}
  ~TWorker() override { WaitFor(); }

 protected:
  void Execute() override { Synchronize(FCall); }

 private:
  std::function<void()> FCall;
};

}  // namespace

TEST(Application, IsTheOneApplicationObject) {
  ASSERT_NE(Application(), nullptr);
  EXPECT_EQ(Application(), QCoreApplication::instance());
}

TEST(Application, AnExceptionLeavingAnEventHandlerIsReportedInAnErrorBox) {
  SetApplicationTitle("Animora Pro");
  TScriptedDialogs Dialogs({Press(mrOk)});
  TThrowingObject Target;
  QCoreApplication::postEvent(&Target, new QEvent(QEvent::User));
  QCoreApplication::sendPostedEvents(&Target);
  ASSERT_EQ(Dialogs.Calls().size(), 1u);
  EXPECT_EQ(Dialogs.Calls()[0].Text, "'x' is not a valid integer value");
  EXPECT_EQ(Dialogs.Calls()[0].Caption, "Animora Pro");
  EXPECT_EQ(Dialogs.Calls()[0].Type, mtError);
  EXPECT_EQ(Dialogs.Calls()[0].Buttons, TMsgDlgButtons(mbOK));
}

TEST(Application, AnAbortIsSilent) {
  TScriptedDialogs Dialogs;  // any box would fail the test
  TThrowingObject Target;
  QCoreApplication::postEvent(&Target, new QEvent(static_cast<QEvent::Type>(QEvent::User + 1)));
  QCoreApplication::sendPostedEvents(&Target);
  EXPECT_TRUE(Dialogs.Calls().empty());
  Guarded([] { base::Abort(); });
  EXPECT_TRUE(Dialogs.Calls().empty());
}

TEST(Application, GuardedReportsAndReturns) {
  TScriptedDialogs Dialogs({Press(mrOk), Press(mrOk)});
  bool After = false;
  Guarded([] { throw std::runtime_error("Out of range"); });
  GuardedSlot([] { throw base::EInvalidOperation("Invalid operation"); })(true);
  After = true;
  EXPECT_TRUE(After);
  ASSERT_EQ(Dialogs.Calls().size(), 2u);
  EXPECT_EQ(Dialogs.Calls()[0].Text, "Out of range");
  EXPECT_EQ(Dialogs.Calls()[1].Text, "Invalid operation");
}

TEST(Application, TheEventLoopRunsAWorkersHandOff) {
  bool Ran = false;
  bool OnMain = false;
  TWorker Worker([&] {
    Ran = true;
    OnMain = base::IsMainThread();
  });
  Worker.Start();
  // Only the posted event can run it: nothing here checks the queue itself.
  while (!Ran) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  EXPECT_TRUE(OnMain);
}
