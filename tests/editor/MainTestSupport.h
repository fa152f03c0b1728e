// Fixtures of the main-window tests: the window in a start folder of its own with its
// own settings, a recording stand-in for the image-tools library and the shell, a
// frame editor that records what the main window asks of it, and a small GIF file.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "editor/Main.h"
#include "gif/GIFImage.h"
#include "platform/ui/Clipboard.h"
#include "platform/ui/Shell.h"
#include "plexor/Binding.h"
#include "tests/editor/EditorTestSupport.h"

namespace maintest {

class TFakePlexor : public plexor::TPlexor {
 public:
  void About(QWidget*) override { Calls.push_back("About"); }
  uint8_t Scan(QWidget*, const std::string& StartDir) override {
    Calls.push_back("Scan");
    if (OnScan) return OnScan(StartDir);
    return 0;
  }
  void CutWizard(QWidget*, const std::string& StartDir) override {
    Calls.push_back("CutWizard");
    if (OnCutWizard) OnCutWizard(StartDir);
  }
  void ProgramOptions(QWidget*) override {
    Calls.push_back("ProgramOptions");
    if (OnProgramOptions) OnProgramOptions();
  }
  std::vector<std::string> Calls;
  std::function<void()> OnProgramOptions;
  // What a scan does and reports; none: nothing is scanned.
  std::function<uint8_t(const std::string& StartDir)> OnScan;
  std::function<void(const std::string&)> OnCutWizard;
};

class TFakeShell : public ui::TShell {
 public:
  explicit TFakeShell(std::vector<std::string>& Log) : FLog(Log) {}
  bool OpenUrl(const std::string& FileOrAddress) override {
    FLog.push_back(FileOrAddress);
    return true;
  }
  bool StartProgram(const std::string&, const std::vector<std::string>&, const std::string&) override { return false; }
  std::string CreateDesktopLink(const ui::TShellLink&) override { return {}; }

 private:
  std::vector<std::string>& FLog;
};

class TFakeFrameEditor : public editor::TFrameEditorLink {
 public:
  bool HasSelection() const override { return Selection; }
  void CommitSelection() override {
    Log.push_back("commit");
    Selection = false;
  }
  bool SelectionPanelVisible() const override { return Selection; }
  void SetPaintBoxCursor(Qt::CursorShape Shape) override {
    Log.push_back(Shape == Qt::CrossCursor ? "cross" : "default");
    Cursor = Shape;
  }
  QSize ImagePanelSize() const override { return Panel; }
  void SetImagePanelSize(QSize Size) override { Panel = Size; }
  void RestoreRealSize() override { Panel = RealSize; }
  void CopySelection() override { Log.push_back("copy"); }
  void CutSelection() override { Log.push_back("cut"); }
  void DeleteSelection() override { Log.push_back("delete"); }
  void PasteClipboard() override { Log.push_back("paste"); }
  void UndoEdit() override { Log.push_back("undo"); }
  void RedoEdit() override { Log.push_back("redo"); }
  void StoreFrame() override { Log.push_back("store"); }
  bool CheckModified() override {
    Log.push_back("check");
    return true;
  }
  void Discard() override { Log.push_back("discard"); }
  void ShowEditor() override { Log.push_back("show"); }
  bool IsActiveChild() const override { return Active; }

  bool Selection = false;
  bool Active = true;
  Qt::CursorShape Cursor = Qt::ArrowCursor;
  QSize Panel{100, 80};
  QSize RealSize{100, 80};
  std::vector<std::string> Log;
};

// A two-frame GIF of Width by Height written with the library.
inline void WriteGIF(const std::string& FileName, int Width = 8, int Height = 6) {
  gif::TGIFImage Image;
  Image.Header().SetScreenWidth(static_cast<uint16_t>(Width));
  Image.Header().SetScreenHeight(static_cast<uint16_t>(Height));
  Image.GetGlobalColorMap()->Add(0x000000);
  Image.GetGlobalColorMap()->Add(0xFFFFFF);
  for (int Index = 0; Index < 2; ++Index) {
    auto Frame = std::make_unique<gif::TGIFSubImage>(&Image);
    Frame->SetBounds(0, 0, static_cast<uint16_t>(Width), static_cast<uint16_t>(Height));
    Frame->AllocatePixels();
    for (int Y = 0; Y < Height; ++Y)
      for (int X = 0; X < Width; ++X) Frame->Scanline(Y)[X] = static_cast<uint8_t>((X + Y + Index) % 2);
    Image.Frames().Add(std::move(Frame));
  }
  Image.SaveToFile(FileName);
}

// The main window in a fresh start folder (the current folder while it lives) with a
// settings file of its own; the start chooser is off unless a test turns it on.
class MainWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    FOldDir = QDir::currentPath();
    QDir::setCurrent(QString::fromStdString(Start.Path()));
    Settings.Store.WriteBool(ui::OptionSection, "ShowOpenWiz", false);
  }
  void TearDown() override {
    Giffer.reset();
    QGuiApplication::clipboard()->clear();
    QDir::setCurrent(FOldDir);
  }

  editor::TGiffer& Make() {
    Giffer = std::make_unique<editor::TGiffer>(Settings.Store, Plexor, ui::NewSystemClipboard(),
                                               std::make_unique<TFakeShell>(Urls));
    return *Giffer;
  }
  // Made and shown, with its show sequence run.
  editor::TGiffer& Shown(std::vector<std::string> Arguments = {}) {
    Make();
    Giffer->SetArguments(std::move(Arguments));
    Giffer->show();
    editortest::RunPosted();
    return *Giffer;
  }
  std::string InStart(const std::string& Name) const { return Start.Path() + "/" + Name; }

  editortest::StartFolder Start;
  editortest::TempSettings Settings;
  TFakePlexor Plexor;
  std::vector<std::string> Urls;
  std::unique_ptr<editor::TGiffer> Giffer;

 private:
  QString FOldDir;
};

// Runs Answer on the modal dialog of type T once it is up.
template <class T>
void WhenModal(std::function<void(T&)> Answer) {
  auto* Timer = new QTimer;
  Timer->setInterval(0);
  QObject::connect(Timer, &QTimer::timeout, [Timer, Answer] {
    auto* Dialog = qobject_cast<T*>(QApplication::activeModalWidget());
    if (!Dialog) return;
    Timer->stop();
    Timer->deleteLater();
    Answer(*Dialog);
  });
  Timer->start();
}

}  // namespace maintest
