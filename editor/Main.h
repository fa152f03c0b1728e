// TGiffer: the main window, an MDI frame. It owns the project image, routes every menu
// item and tool button, keeps the command and drawing-tool state, the status texts and
// the window layout, and runs the show and close sequences.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "editor/ProgressPacer.h"
#include "editor/RecentProjects.h"
#include "editor/forms/HelpDlg.h"
#include "editor/Settings.h"
#include "editor/StartupForms.h"
#include "gif/GIFImage.h"
#include "platform/base/Events.h"

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QPrinter;
class QProgressBar;
class QToolBar;

namespace Ui {
class TGiffer;
}

namespace plexor {
class TPlexor;
}

namespace ui {
class TClipboard;
class TShell;
}  // namespace ui

namespace editor {

class TEffectForm;
struct TEffectRun;
class TExtensionsForm;
class TFrameOptionForm;
class TGifPreview;
class TMapForm;
class TOptimizerForm;
class TTransitionFrames;

// What the main window needs of the frame editor; the frame editor registers itself
// with SetFrameEditor while it is open.
class TFrameEditorLink {
 public:
  virtual ~TFrameEditorLink() = default;
  virtual bool HasSelection() const = 0;
  virtual void CommitSelection() = 0;
  virtual bool SelectionPanelVisible() const = 0;
  virtual void SetPaintBoxCursor(Qt::CursorShape Cursor) = 0;
  virtual QSize ImagePanelSize() const = 0;
  virtual void SetImagePanelSize(QSize Size) = 0;
  // Back to the size recorded when the frame was opened.
  virtual void RestoreRealSize() = 0;
  // The Edit commands.
  virtual void CopySelection() = 0;
  virtual void CutSelection() = 0;
  virtual void DeleteSelection() = 0;
  virtual void PasteClipboard() = 0;
  virtual void UndoEdit() = 0;
  virtual void RedoEdit() = 0;
  // The picture back into its frame of the project.
  virtual void StoreFrame() = 0;
  // Unstored changes ask "Frame was modified Save changes?"; false for Cancel.
  virtual bool CheckModified() = 0;
  // Closes without asking; the changes are lost.
  virtual void Discard() = 0;
  // Brings the editor back to its normal size and to the front.
  virtual void ShowEditor() = 0;
  virtual bool IsActiveChild() const = 0;
};

enum class TZoomStep { zsGrowHalf, zsDouble, zsShrinkHalf, zsHalve };
using enum TZoomStep;

// The frame view never shrinks below this side.
inline constexpr int MinZoomSide = 1;
// One zoom step of a panel side: x1.5 and x0.5 round halves to even, halving cuts.
int ZoomSide(int Side, TZoomStep Step);

// Where a frame of Width x Height pixels prints on a page of PageWidth x PageHeight
// dots at DpiX x DpiY: one pixel per 1/72 inch, centred, halves rounded to even.
base::TRect PrintRect(int Width, int Height, double DpiX, double DpiY, int PageWidth, int PageHeight);

// " Frame 3 of 7" for index 2; empty for a negative index.
std::string FramePaintText(int FrameIndex, int FrameCount);

inline constexpr const char* MainCaption = "Veltrane Animora Pro";

class TGiffer : public QMainWindow {
  Q_OBJECT

 public:
  TGiffer(ui::TSettingsStore& Store, plexor::TPlexor& Plexor, std::unique_ptr<ui::TClipboard> Clipboard,
          std::unique_ptr<ui::TShell> Shell, QWidget* Parent = nullptr);
  ~TGiffer() override;

  // Project state.
  gif::TGIFImage* FGif() const { return FGifImage.get(); }
  int FProjectOpen() const { return FProjectOpenFlag; }
  const std::string& FFileName() const { return FFileNameValue; }
  const std::string& FStartDir() const { return FStartDirValue; }
  // The modified flag: the Save button's enabled state.
  bool Modified() const;
  void SetModified(bool Value);

  // The command-line arguments the show sequence looks at.
  void SetArguments(std::vector<std::string> Arguments) { FArguments = std::move(Arguments); }
  // The dialogs made once at start-up.
  TStartupForms& Forms() { return *FForms; }
  // The open frame editor, or none when it closes.
  void SetFrameEditor(TFrameEditorLink* Editor) { FFrameEditor = Editor; }
  TFrameEditorLink* FrameEditor() const { return FFrameEditor; }
  // The clipboard the Edit commands use; none in a window made without one.
  ui::TClipboard* Clipboard() const { return FClipboard.get(); }
  // UndoButton with Edit > "Undo", RedoButton with Edit > "Redo".
  void SetUndoEnabled(bool On);
  void SetRedoEnabled(bool On);
  THelpForm* HelpForm() const { return FHelpForm; }
  TMapForm* MapForm() const;
  plexor::TPlexor& Plexor() const { return FPlexor; }
  TGifPreview* Preview() const { return FPreview; }
  // The one printer: Print, Printer Setup and the help window's print all use it.
  QPrinter& Printer() const { return *FPrinter; }
  // The GIF wizard's new project: Count blank frames of Width x Height, unsaved, on
  // screen with frame 1 current (WizardCommands.cpp).
  void NewWizardProject(int Count, int Width, int Height);
  // Shows an on-demand window; the first time it joins the MDI area, placed inside it.
  void ShowChildWindow(QWidget* Form);
  // Made on demand; none while closed.
  TFrameOptionForm* FrameOptionForm() const;
  TOptimizerForm* OptimizerForm() const;
  TExtensionsForm* ExtensionsForm() const;
  void CloseFrameOptionForm();

  QAction* Action(const char* Name) const;
  // The command's own state, which it has whether or not its command is built yet.
  static bool CommandOn(const QAction* Action);
  std::vector<QAction*> ToolButtons() const;
  QMenu* LastProjectsMenu() const;
  QLabel* StatusPanel(int Index) const;
  QProgressBar* ProgressBar() const;
  QMdiArea* MdiArea() const;
  QToolBar* ToolBar(int Index) const;  // 1, 3 or 4

  void ResetProject();
  void EnableEditTools(bool On);
  void EnableFrameTools(bool On);
  void UpdatePasteEnabled();
  void ShowPaintStatus(int FrameIndex, int FrameCount);
  void ShowProgress(base::TObject* Sender, base::TProgressStage Stage, uint8_t PercentDone, bool RedrawNow,
                    const base::TRect& R, const std::string& Msg);
  void DisplayHint(const QString& Hint);
  void GifWarning(base::TObject* Sender, gif::TGIFSeverity Severity, const std::string& Message);
  void BindProjectEvents();
  void ReleaseToolButtons();
  bool OpenUrl(const std::string& FileOrAddress);
  void AddRecentFile(const std::string& Path);

  // Loads a GIF or any registered picture as the project; an error passes on after the
  // window has been left with an empty project under that name.
  void LoadProject(const std::string& Name);
  // True when the whole project was written; false when the name choice or the JPEG
  // options were cancelled, or when a BMP or JPEG name took only the current frame of
  // several (the status bar then says so).
  bool SaveButtonClick();
  // gif.dat of the start folder into the current frame.
  void LoadExchangeBitmap();
  // The first video stream of an AVI file as a new animation, the project untouched.
  std::unique_ptr<gif::TGIFImage> ImportAvi(const std::string& FileName);
  // The preview's copy of the project as an uncompressed 8-bit AVI video.
  void ExportAvi(const std::string& FileName);

  // The layout as the window shows it now, and applying a stored one.
  TLayout CurrentLayout() const;
  void ApplyLayout(const TLayout& Layout);

 public slots:
  void CreateButtonClick();
  void OpenButtonClick();
  void Saveas1Click();
  void PrintClick();
  void PrinterSetup1Click();
  void RecentFileClick(const QString& Path);
  void CloseButtonClick();
  void UndoButtonClick();
  void Redo1Click();
  void CutButtonClick();
  void CopyButtonClick();
  void PasteButtonClick();
  void DeleteButtonClick();
  void SaveFrameClick();
  void Exchange1Click();
  void Addframe1Click();
  void EditFrameClick();
  void Delete1Click();
  void Moveframe1Click();
  void Frameoption1Click();
  void Insertfromfile1Click();
  void Export1Click();
  void ScanButtonClick();
  void ExtensButtonClick();
  void GlobalOptionClick();
  void Optimizepalette1Click();
  void Optimize1Click();
  void Optimizeframesize1Click();
  void Fallwall1Click();
  void Rain1Click();
  void Moveapart1Click();
  void Lines1Click();
  void Rotation1Click();
  void GIFWizard1Click();
  void MapofGIF1Click();
  void Cutwizard1Click();
  void Scale50BClick();
  void Scale100BClick();
  void Scale50SClick();
  void Scale100SClick();
  void Realsize1Click();
  void Programoption1Click();
  void Cascade1Click();
  void Tile1Click();
  void Next1Click();
  void Previous1Click();
  void Help2Click();
  void AnimoraHomePage1Click();
  void Homepage1Click();
  void HomePageClick();
  void Label6Click();
  void AboutClick();
  void ToolButtonClick(QAction* Button);

 protected:
  bool event(QEvent* Event) override;
  void showEvent(QShowEvent* Event) override;
  void closeEvent(QCloseEvent* Event) override;
  void resizeEvent(QResizeEvent* Event) override;

 private:
  void FormCreate();
  void FormShow();
  // False when the window is to stay open.
  bool FormClose();
  void FormResize();
  void BuildStatusBar();
  void ConnectCommands();
  // The start chooser's buttons run the main window's commands.
  void BindOpenWizForm();
  void SetOn(QAction* Action, bool On);
  void SetOn(const char* Name, bool On);
  void SetMenuOn(QMenu* Menu, bool On);
  void RebuildRecentMenu();
  void Zoom(TZoomStep Step);
  // The Window menu ends with the open children; choosing one brings it back.
  void ListWindows();
  void WriteRecentFile();
  // A modified project asks "Save changes?"; false when it is to stay as it is.
  bool AskSaveChanges();
  // The frame of FGif at FFrameIndex; an error when there is none.
  gif::TGIFSubImage& CurrentFrame() const;
  // The loaded or new project on screen: frame 1 current, the project open.
  void ShowProject();
  // Closes an on-demand window (none: nothing), which frees it.
  static void CloseChildWindow(QWidget* Form);
  // After a change to the frame list: the preview's copy, its list and its frame.
  void FramesChanged();
  // A window the stored layout puts past the available screen comes back onto it,
  // made smaller where it does not fit.
  void KeepOnScreen();
  // The preview window where the stored layout puts it.
  void PlacePreview(const TWindowBounds& Bounds);
  // A failed load leaves no project behind, and no name to save over.
  void DropProject();
  // Count blank frames of Width x Height as a new project under Caption, on screen; a
  // failure leaves no project.
  void NewBlankProject(int Count, int Width, int Height, const QString& Caption);
  // The AVI file converted into a GIF beside it; empty when the user keeps an old GIF.
  std::string ConvertAvi(const std::string& FileName);
  // Writes the current frame; Format is ".BMP", ".JPG" or ".GIF".
  // False when the JPEG options were cancelled.
  bool WriteCurrentFrame(const std::string& FileName, const std::string& Format, bool AskJPEGOptions);
  // Shows Form; on Ok with a run that fits the project, Draw repaints the run on the
  // preview's copy and the project, and the preview shows the result, also when Draw
  // stops part-way.
  void RunEffect(TEffectForm& Form, const std::function<void(TTransitionFrames&, const TEffectRun&)>& Draw);

  std::unique_ptr<Ui::TGiffer> Ui;
  ui::TSettingsStore& FStore;
  TOptionSettings FSettings;
  plexor::TPlexor& FPlexor;
  std::unique_ptr<ui::TClipboard> FClipboard;
  std::unique_ptr<ui::TShell> FShell;
  std::unique_ptr<gif::TGIFImage> FGifImage;
  std::unique_ptr<QPrinter> FPrinter;
  int FProjectOpenFlag = 0;
  std::string FFileNameValue;
  std::string FStartDirValue;
  std::vector<std::string> FArguments;
  TRecentProjects FRecent;
  TFrameEditorLink* FFrameEditor = nullptr;
  QPointer<THelpForm> FHelpForm;
  QPointer<TFrameOptionForm> FFrameOptionForm;
  QPointer<TOptimizerForm> FOptimizerForm;
  QPointer<TExtensionsForm> FExtensionsForm;
  QPointer<TMapForm> FMapForm;
  // Made with the window, it keeps the current frame; closing it minimises it.
  TGifPreview* FPreview = nullptr;
  QMdiSubWindow* FPreviewWindow = nullptr;
  std::vector<QAction*> FWindowItems;
  bool FShown = false;
  std::vector<QLabel*> FPanels;
  TProgressPacer FProgressPacer;
  // After the preview, as the program starts its forms.
  std::unique_ptr<TStartupForms> FForms;
};

}  // namespace editor
