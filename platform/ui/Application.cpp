#include "platform/ui/Application.h"

#include <QEvent>
#include <QObject>
#include <atomic>

#include "platform/base/Exceptions.h"
#include "platform/base/HandOff.h"
#include "platform/ui/DialogService.h"

namespace ui {

namespace {

TApplication* Instance = nullptr;
std::string Title;
bool TitleSet = false;

const QEvent::Type HandOffEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

}  // namespace

// Lives on the GUI thread; a worker's hand-off posts it an event, and the event runs the
// queue. One event is outstanding at a time.
class THandOffDispatcher : public QObject {
 public:
  THandOffDispatcher() {
    base::SetWakeMainThread([this] {
      if (!FPosted.exchange(true)) QCoreApplication::postEvent(this, new QEvent(HandOffEvent));
    });
  }
  ~THandOffDispatcher() override { base::SetWakeMainThread(nullptr); }

  bool event(QEvent* Event) override {
    if (Event->type() != HandOffEvent) return QObject::event(Event);
    FPosted = false;
    base::CheckSynchronize();
    return true;
  }

 private:
  std::atomic<bool> FPosted = false;
};

namespace {

THandOffDispatcher* Dispatcher = nullptr;

}  // namespace

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
  Instance = this;
  Dispatcher = new THandOffDispatcher;
}

TApplication::~TApplication() {
  delete Dispatcher;
  Dispatcher = nullptr;
  base::CheckSynchronize();  // no worker may be left waiting on a dispatcher that is gone
  Instance = nullptr;
}

bool TApplication::notify(QObject* Receiver, QEvent* Event) {
  try {
    return QApplication::notify(Receiver, Event);
  } catch (...) {
    HandleException();
    return true;
  }
}

TApplication* Application() { return Instance; }

std::string ApplicationTitle() {
  if (TitleSet) return Title;
  return QCoreApplication::applicationName().toStdString();
}

void SetApplicationTitle(const std::string& Value) {
  Title = Value;
  TitleSet = true;
}

void ProcessMessages() {
  QCoreApplication::processEvents();
  base::CheckSynchronize();
}

void HandleException() {
  std::string Text;
  try {
    throw;
  } catch (const base::EAbort&) {
    return;
  } catch (const std::exception& E) {
    Text = E.what();
  } catch (...) {
    Text = "Unknown exception";
  }
  Dialogs().MessageBox(Text, ApplicationTitle(), mtError, mbOK);
}

void Guarded(const std::function<void()>& Handler) {
  try {
    Handler();
  } catch (...) {
    HandleException();
  }
}

}  // namespace ui
