// THelpForm: the help window, a browser on the help pages below the start folder
// (Help/index.htm) with back, forward and print (on the printer it is given). It frees
// itself when closed; the main window keeps a guarded pointer to it.
#pragma once

#include <QWidget>
#include <memory>
#include <string>

class QPrinter;
class QTextBrowser;

namespace Ui {
class THelpForm;
}

namespace editor {

class THelpForm : public QWidget {
  Q_OBJECT

 public:
  THelpForm(const std::string& StartDir, QPrinter& Printer, QWidget* Parent = nullptr);
  ~THelpForm() override;

  QTextBrowser* WebBrowser() const;
  // StartDir/Help/index.htm
  static QString StartPage(const std::string& StartDir);

 public slots:
  void BackButtonClick();
  void ForwardButtonClick();
  void PrintButtonClick();

 private:
  void FormCreate(const std::string& StartDir);

  std::unique_ptr<Ui::THelpForm> Ui;
  QPrinter& FPrinter;
};

}  // namespace editor
