#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QPrinter>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolButton>
#include <QUrl>

#include "editor/forms/HelpDlg.h"
#include "tests/editor/EditorTestSupport.h"

using editortest::StartFolder;
using uitest::TScriptedDialogs;

namespace {

void WritePage(const QString& FileName, const QString& Html) {
  QFile File(FileName);
  ASSERT_TRUE(File.open(QIODevice::WriteOnly));
  File.write(Html.toUtf8());
}

struct HelpFolder {
  HelpFolder() {
    const QString Help = QString::fromStdString(Start.Path()) + "/Help";
    QDir().mkpath(Help);
    WritePage(Help + "/index.htm",
              "<html><head><title>Start</title></head><body>First page "
              "<a href=\"second.htm\">next</a></body></html>");
    WritePage(Help + "/second.htm", "<html><head><title>Second</title></head><body>Second page</body></html>");
  }
  QUrl Page(const char* Name) const {
    return QUrl::fromLocalFile(QString::fromStdString(Start.Path()) + "/Help/" + Name);
  }
  StartFolder Start;
};

TEST(HelpForm, OpensTheStartFoldersIndexPage) {
  HelpFolder Folder;
  QPrinter Printer;
  editor::THelpForm Form(Folder.Start.Path(), Printer);
  EXPECT_EQ(Form.windowTitle(), "Help");
  EXPECT_EQ(Form.WebBrowser()->objectName(), "WebBrowser");
  EXPECT_EQ(Form.WebBrowser()->source(), Folder.Page("index.htm"));
  EXPECT_TRUE(Form.WebBrowser()->toPlainText().contains("First page"));
  EXPECT_EQ(Form.WebBrowser()->documentTitle(), "Start");
}

TEST(HelpForm, BackAndForwardWalkTheHistory) {
  HelpFolder Folder;
  QPrinter Printer;
  editor::THelpForm Form(Folder.Start.Path(), Printer);
  EXPECT_EQ(Form.findChild<QToolButton*>("BackButton")->text(), "Back");
  EXPECT_EQ(Form.findChild<QToolButton*>("ForwardButton")->text(), "  Forward  ");
  EXPECT_EQ(Form.findChild<QToolButton*>("PrintButton")->text(), "Print");
  Form.WebBrowser()->setSource(Folder.Page("second.htm"));
  EXPECT_TRUE(Form.WebBrowser()->toPlainText().contains("Second page"));
  Form.findChild<QToolButton*>("BackButton")->click();
  EXPECT_EQ(Form.WebBrowser()->source(), Folder.Page("index.htm"));
  Form.findChild<QToolButton*>("ForwardButton")->click();
  EXPECT_EQ(Form.WebBrowser()->source(), Folder.Page("second.htm"));
}

TEST(HelpForm, PrintsThePageThroughThePrintDialog) {
  HelpFolder Folder;
  TScriptedDialogs Dialogs({uitest::Cancel(uitest::TDialogKind::Print), uitest::AcceptPrint()});
  QPrinter Printer;
  editor::THelpForm Form(Folder.Start.Path(), Printer);
  const QString Pdf = QString::fromStdString(Folder.Start.Path()) + "/page.pdf";
  Printer.setOutputFormat(QPrinter::PdfFormat);
  Printer.setOutputFileName(Pdf);
  Form.findChild<QToolButton*>("PrintButton")->click();
  EXPECT_FALSE(QFileInfo::exists(Pdf));
  Form.findChild<QToolButton*>("PrintButton")->click();
  EXPECT_GT(QFileInfo(Pdf).size(), 0);
  EXPECT_TRUE(Dialogs.Done());
}

TEST(HelpForm, AMissingPageSaysSo) {
  StartFolder Start;
  QPrinter Printer;
  editor::THelpForm Form(Start.Path(), Printer);
  EXPECT_TRUE(Form.WebBrowser()->toPlainText().contains("cannot be found"));
  EXPECT_TRUE(Form.WebBrowser()->toPlainText().contains("/Help/index.htm"));
}

TEST(HelpForm, ClosingFreesTheWindow) {
  HelpFolder Folder;
  QPrinter Printer;
  QPointer<editor::THelpForm> Form = new editor::THelpForm(Folder.Start.Path(), Printer);
  Form->show();
  Form->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(Form.isNull());
}

// The pages that ship in the program folder of the build.
QStringList ShippedPages() {
  return QDir(QStringLiteral(ANIMORA_PROGRAM_DIR "/Help")).entryList({"*.htm"}, QDir::Files, QDir::Name);
}

TEST(ShippedHelp, TheIndexIsThereAndLoads) {
  ASSERT_TRUE(ShippedPages().contains("index.htm"));
  const std::string ProgramDir = ANIMORA_PROGRAM_DIR;
  QPrinter Printer;
  editor::THelpForm Form(ProgramDir, Printer);
  EXPECT_FALSE(Form.WebBrowser()->documentTitle().isEmpty());
  EXPECT_FALSE(Form.WebBrowser()->toPlainText().contains("cannot be found"));
}

TEST(ShippedHelp, EveryLinkLeadsToAShippedPageAndEveryPageIsLinked) {
  const QDir Help(QStringLiteral(ANIMORA_PROGRAM_DIR "/Help"));
  const QRegularExpression Link("href=\"([^\"]+)\"");
  QStringList Linked{"index.htm"};
  for (const QString& Name : ShippedPages()) {
    QFile Page(Help.filePath(Name));
    ASSERT_TRUE(Page.open(QIODevice::ReadOnly));
    const QString Html = QString::fromUtf8(Page.readAll());
    EXPECT_TRUE(Html.contains("<title>")) << Name.toStdString();
    for (const QRegularExpressionMatch& Match : Link.globalMatch(Html)) {
      const QString Target = Match.captured(1).section('#', 0, 0);
      if (Target.isEmpty() || Target.contains(':')) continue;
      EXPECT_TRUE(QFileInfo::exists(Help.filePath(Target))) << Name.toStdString() << " -> " << Target.toStdString();
      Linked << Target;
    }
  }
  for (const QString& Name : ShippedPages()) EXPECT_TRUE(Linked.contains(Name)) << Name.toStdString();
}

}  // namespace
