// TApplication: the program's Qt application object. It runs the calls that worker
// threads hand to the GUI thread (from a posted event, and in ProcessMessages and the
// waits that call it), and reports an exception that leaves an event handler in an error
// box instead of letting it end the program.
#pragma once

#include <QApplication>
#include <exception>
#include <functional>
#include <string>

namespace ui {

class THandOffDispatcher;

class TApplication : public QApplication {
 public:
  TApplication(int& argc, char** argv);
  ~TApplication() override;

  // Delivers every event inside HandleException's guard.
  bool notify(QObject* Receiver, QEvent* Event) override;
};

// The application object while one exists, else nullptr.
TApplication* Application();

// The title message boxes carry by default: the program's name until it is set.
std::string ApplicationTitle();
void SetApplicationTitle(const std::string& Title);

// Runs the waiting events and the queued hand-offs, then returns.
void ProcessMessages();

// Reports the exception being handled: base::EAbort silently, any other in an error box
// with its text and the application's title. Call it only inside a catch block.
void HandleException();

// Runs Handler and reports what it throws, for handlers that Qt calls outside an event
// (timers, queued calls) and for slots that must not unwind into Qt.
void Guarded(const std::function<void()>& Handler);

// Wraps a slot so that it runs under Guarded; connect(Button, &QPushButton::clicked,
// Form, GuardedSlot([Form] { Form->OpenButtonClick(); })).
template <typename F>
auto GuardedSlot(F Handler) {
  return [Handler](auto&&...) { Guarded(Handler); };
}

}  // namespace ui
