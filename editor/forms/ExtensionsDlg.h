// TExtensionsForm: the extension editor. A tree of every frame's extension blocks and
// local colour table (read from the preview's copy and refilled at every re-bind), the
// properties of the selected block, an Easy page for a frame's timing, transparency,
// disposal and loop count, and the Pro page that edits, adds, deletes and stores
// blocks and recolours a local table. Every change is written into the project image,
// to the block it was read from, after all its values have been checked. Made on demand
// by the main window, one at a time; closing frees it.
#pragma once

#include <QWidget>
#include <memory>
#include <optional>
#include <string>

class QLabel;
class QPlainTextEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace Ui {
class TExtensionsForm;
}

namespace base {
class TPersistent;
}

namespace gif {
class TGIFColorMap;
class TGIFSubImage;
}  // namespace gif

namespace editor {

class TEditPropertyForm;
class TExtensType;
class TGiffer;
class TPaletteGrid;

class TExtensionsForm : public QWidget {
  Q_OBJECT

 public:
  TExtensionsForm(TGiffer& Main, TEditPropertyForm& EditProperty, TExtensType& ExtensType, QWidget* Parent = nullptr);
  ~TExtensionsForm() override;

  void RefillExtensionTree();

  QTreeWidget* ExtenTree() const;
  QTreeWidget* ListViewInfo() const;
  QPlainTextEdit* MemoPreview() const;
  TPaletteGrid* PaintBoxPalette() const;
  QLabel* StatusPanel(int Index) const;
  template <class T>
  T* Control(const char* Name) const {
    return findChild<T*>(QString::fromLatin1(Name));
  }
  int FTreeFrame() const { return FTreeFrameValue; }
  const base::TPersistent* FSelected() const { return FSelectedValue; }

 public slots:
  void FormShow();
  void ExtenTreeChange();
  void EditpropertyClick();
  void MemoPreviewChange();
  void SaveButtonClick();
  void DelButtonClick();
  void AddButtonClick();
  void Button1Click();
  void PaintBoxPaletteMouseMove(int X, int Y);
  void PaintBoxPaletteMouseUp(int X, int Y);

 protected:
  void showEvent(QShowEvent* Event) override;
  void closeEvent(QCloseEvent* Event) override;
  bool eventFilter(QObject* Watched, QEvent* Event) override;

 private:
  void AddExtensionNode(QTreeWidgetItem* FrameNode, gif::TGIFSubImage& Frame, int Index);
  void AddTextRow(const QString& Name, const QString& Text);
  void AddNumberRow(const QString& Name, int Value);
  void AddYesNoRow(const QString& Name, bool Value);
  QString RowValue(int Row) const;
  // Writes the rows (or the memo) into block Index of the project's frame FTreeFrame.
  void StoreExtension(int Index);
  void LayoutPaletteGrid(const gif::TGIFColorMap& Table);
  void ClearEasyPage();
  // Frame FTreeFrame of the preview's copy and of the project; none when it is gone.
  gif::TGIFSubImage* CopyFrame() const;
  gif::TGIFSubImage* ProjectFrame() const;
  // The block of the selected node: its position in its frame's list, or none.
  std::optional<int> SelectedBlock() const;
  // The preview follows the project, and the tree the preview.
  void ProjectChanged();
  void EnableTools();

  std::unique_ptr<Ui::TExtensionsForm> Ui;
  TGiffer& FMain;
  TEditPropertyForm& FEditProperty;
  TExtensType& FExtensType;
  std::vector<QLabel*> FPanels;
  int FTreeFrameValue = 0;
  const base::TPersistent* FSelectedValue = nullptr;
};

}  // namespace editor
