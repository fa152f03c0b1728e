#include "editor/forms/HelpDlg.h"

#include <QFileInfo>
#include <QPrinter>
#include <QUrl>

#include "platform/ui/DialogService.h"
#include "ui_HelpDlg.h"

namespace editor {

THelpForm::THelpForm(const std::string& StartDir, QPrinter& Printer, QWidget* Parent)
    : QWidget(Parent), Ui(std::make_unique<::Ui::THelpForm>()), FPrinter(Printer) {
  Ui->setupUi(this);
  setAttribute(Qt::WA_DeleteOnClose);
  connect(Ui->BackButton, &QToolButton::clicked, this, &THelpForm::BackButtonClick);
  connect(Ui->ForwardButton, &QToolButton::clicked, this, &THelpForm::ForwardButtonClick);
  connect(Ui->PrintButton, &QToolButton::clicked, this, &THelpForm::PrintButtonClick);
  FormCreate(StartDir);
}

THelpForm::~THelpForm() = default;

QTextBrowser* THelpForm::WebBrowser() const { return Ui->WebBrowser; }

QString THelpForm::StartPage(const std::string& StartDir) {
  return QString::fromStdString(StartDir) + QStringLiteral("/Help/index.htm");
}

void THelpForm::FormCreate(const std::string& StartDir) {
  const QString Page = StartPage(StartDir);
  if (QFileInfo(Page).isFile())
    Ui->WebBrowser->setSource(QUrl::fromLocalFile(Page));
  else
    Ui->WebBrowser->setHtml(QStringLiteral("<p>The help page %1 cannot be found.</p>").arg(Page.toHtmlEscaped()));
}

void THelpForm::BackButtonClick() { Ui->WebBrowser->backward(); }

void THelpForm::ForwardButtonClick() { Ui->WebBrowser->forward(); }

void THelpForm::PrintButtonClick() {
  ui::TPrintDialog Dialog(FPrinter);
  if (Dialog.Execute()) Ui->WebBrowser->print(&FPrinter);
}

}  // namespace editor
