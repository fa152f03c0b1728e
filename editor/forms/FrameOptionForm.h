// TFrameOptionForm: the "Gif global palette" window. It shows the preview image's
// global colour table as a grid, names the entry under the mouse in its status bar and
// recolours an entry that is clicked, in the preview's copy and in the project. Made on
// demand by the main window, one at a time; closing frees it.
#pragma once

#include <QWidget>
#include <memory>
#include <vector>

class QLabel;

namespace Ui {
class TFrameOptionForm;
}

namespace gif {
class TGIFColorMap;
}

namespace editor {

class TGiffer;
class TPaletteGrid;

class TFrameOptionForm : public QWidget {
  Q_OBJECT

 public:
  explicit TFrameOptionForm(TGiffer& Main, QWidget* Parent = nullptr);
  ~TFrameOptionForm() override;

  // Lays the grid out for Map and paints it; nothing without a project.
  void ShowColorMap(gif::TGIFColorMap* Map);
  // The preview image's global table, as the window shows it now.
  void ShowPreviewColorMap();

  TPaletteGrid* PaintBoxPalette() const;
  QLabel* StatusPanel(int Index) const;
  bool FHasPalette() const { return FHasPaletteValue; }

 public slots:
  void PaintBoxPaletteMouseMove(int X, int Y);
  void PaintBoxPaletteMouseUp(int X, int Y);
  void ExitButtonClick();

 protected:
  void showEvent(QShowEvent* Event) override;

 private:
  void FormShow();

  std::unique_ptr<Ui::TFrameOptionForm> Ui;
  TGiffer& FMain;
  std::vector<QLabel*> FPanels;
  bool FHasPaletteValue = false;
};

}  // namespace editor
