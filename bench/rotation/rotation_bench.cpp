// The rotation effect's run of PASSES passes (default 200) on a 7 x 5 frame through the
// main window, offscreen: once with the status bar shown, so every progress report that
// is painted costs its paint, and once with it hidden, where progress paints nothing.
// The ratio shown / hidden is what painting progress adds to the run.
#include <QApplication>
#include <QDir>
#include <QProgressBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "editor/Main.h"
#include "editor/ProgramSetup.h"
#include "editor/StartupForms.h"
#include "editor/controls/EditN.h"
#include "editor/forms/RotationEffectDlg.h"
#include "gif/GIFImage.h"
#include "platform/ui/Application.h"
#include "platform/ui/Clipboard.h"
#include "platform/ui/SettingsStore.h"
#include "platform/ui/Shell.h"
#include "plexor/Binding.h"

namespace {

class TNoPlexor : public plexor::TPlexor {
 public:
  void About(QWidget*) override {}
  uint8_t Scan(QWidget*, const std::string&) override { return 0; }
  void CutWizard(QWidget*, const std::string&) override {}
  void ProgramOptions(QWidget*) override {}
};

void WriteFrame(const std::string& FileName) {
  gif::TGIFImage Image;
  Image.Header().SetScreenWidth(7);
  Image.Header().SetScreenHeight(5);
  Image.GetGlobalColorMap()->Add(0x000000);
  Image.GetGlobalColorMap()->Add(0xFFFFFF);
  auto Frame = std::make_unique<gif::TGIFSubImage>(&Image);
  Frame->SetBounds(0, 0, 7, 5);
  Frame->AllocatePixels();
  for (int Y = 0; Y < 5; ++Y)
    for (int X = 0; X < 7; ++X) Frame->Scanline(Y)[X] = X >= 3 ? 1 : 0;
  Image.Frames().Add(std::move(Frame));
  Image.SaveToFile(FileName);
}

// Seconds of one run on a freshly opened project.
double TimedRun(editor::TGiffer& Giffer, const std::string& FileName, int Passes) {
  Giffer.SetModified(false);
  Giffer.LoadProject(FileName);
  editor::TRotationEffectForm& Form = *Giffer.Forms().RotationEffectForm;
  Form.EditFirstF()->setText("1");
  Form.EditNumberFrame()->setText(QString::number(Passes));
  const auto Start = std::chrono::steady_clock::now();
  Form.OkButtonClick();
  const std::chrono::duration<double> Took = std::chrono::steady_clock::now() - Start;
  if (Giffer.FGif()->Frames().Count() != Passes + 1) {
    std::fprintf(stderr, "the run made %d frames, not %d\n", Giffer.FGif()->Frames().Count(), Passes + 1);
    std::exit(1);
  }
  return Took.count();
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  const int Passes = argc > 1 ? std::atoi(argv[1]) : 200;
  ui::TApplication Application(argc, argv);
  const editor::TProgramSetup Setup;
  QTemporaryDir Folder;
  QDir::setCurrent(Folder.path());
  const std::string FileName = Folder.filePath("frame.gif").toStdString();
  WriteFrame(FileName);
  ui::TSettingsStore Store(Folder.filePath("Animora.ini").toStdString());
  Store.WriteBool(ui::OptionSection, "ShowOpenWiz", false);
  TNoPlexor Plexor;
  editor::TGiffer Giffer(Store, Plexor, ui::NewSystemClipboard(), ui::NewSystemShell());
  Giffer.show();
  QApplication::processEvents();

  const double Shown = TimedRun(Giffer, FileName, Passes);
  Giffer.statusBar()->hide();
  Giffer.ProgressBar()->hide();
  const double Hidden = TimedRun(Giffer, FileName, Passes);
  std::printf("rotation of %d passes on 7 x 5: %.2f s with progress shown, %.2f s with it hidden\n", Passes, Shown,
              Hidden);
  std::printf("ratio shown / hidden: %.2f\n", Shown / Hidden);
  Giffer.SetModified(false);
  return 0;
}
