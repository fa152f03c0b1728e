// TFastIMG: a control that shows one fast bitmap in one of five draw styles, and can
// load it from a BMP file itself. The picture is drawn onto the control's persistent
// surface whenever the image, the style or the size changes; painting only copies it.
// An image the control loads or creates is its own and is freed when replaced or when
// the control goes; an image given as a plain pointer stays its caller's.
#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <string>

#include "editor/bitmaps/Fast256.h"
#include "editor/bitmaps/FastRGB.h"
#include "platform/base/Types.h"
#include "platform/ui/WindowCanvas.h"

class QMouseEvent;

namespace editor {

enum class TDrawStyle { dsDraw, dsStretch, dsResize, dsTile, dsCenter };
using enum TDrawStyle;

enum class TDataType { dtFastBMP, dtFast256 };
using enum TDataType;

// Where dsResize puts a picture of ImageW x ImageH in a control of W x H: scaled to
// fit with its aspect kept, centred.
base::TRect FitRect(int W, int H, int ImageW, int ImageH);

class TFastIMG : public ui::TWindowCanvas {
 public:
  using TMouseEvent = std::function<void(TFastIMG* Sender, QMouseEvent* Event)>;
  using TNotifyEvent = std::function<void(TFastIMG* Sender)>;

  explicit TFastIMG(QWidget* Parent = nullptr);
  ~TFastIMG() override;

  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool Value);
  bool BilinearResize() const { return FBilinearResize; }
  void SetBilinearResize(bool Value);
  TDrawStyle DrawStyle() const { return FDrawStyle; }
  void SetDrawStyle(TDrawStyle Value);
  // The class a load makes when the control holds no image.
  TDataType DataType() const { return FDataType; }
  void SetDataType(TDataType Value) { FDataType = Value; }
  // How a file of more than 8 bits is reduced when loaded into a TFast256.
  TConversionMode Convert_256() const { return FConvert256; }
  void SetConvert_256(TConversionMode Value);
  const std::string& FileName() const { return FFileName; }
  // An empty name detaches the image; a missing file leaves the image shown.
  void SetFileName(const std::string& Value);
  base::TColor Color() const { return FColor; }
  void SetColor(base::TColor Value);

  TFastRGB* Image() const { return FImage; }
  // The caller keeps Image; the control frees an image of its own that this replaces.
  void SetImage(TFastRGB* Image);
  // The control takes Image.
  void SetImage(std::unique_ptr<TFastRGB> Image);
  // Reads Name into the image (made by DataType when there is none); nothing when the
  // file does not exist. A file that cannot be read raises and leaves the image.
  void LoadImage(const std::string& Name);
  // Draws the picture again.
  void Repaint();

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseMove;
  TMouseEvent OnMouseUp;

 protected:
  void resizeEvent(QResizeEvent* Event) override;
  void mousePressEvent(QMouseEvent* Event) override;
  void mouseMoveEvent(QMouseEvent* Event) override;
  void mouseReleaseEvent(QMouseEvent* Event) override;
  void mouseDoubleClickEvent(QMouseEvent* Event) override;

 private:
  void Attach(TFastRGB* Image);
  void TakeImageSize();
  void FillAround(const base::TRect& Picture);
  // Image scaled into Target by SmoothResize or the stretch of the drawing layer.
  void DrawScaled(const base::TRect& Target);

  bool FAutoSize = false;
  bool FBilinearResize = false;
  TDrawStyle FDrawStyle = dsDraw;
  TDataType FDataType = dtFastBMP;
  TConversionMode FConvert256 = cmGray;
  std::string FFileName;
  base::TColor FColor;
  TFastRGB* FImage = nullptr;
  std::unique_ptr<TFastRGB> FOwned;
  bool FPressed = false;
};

}  // namespace editor
