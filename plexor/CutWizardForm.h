// The cut wizard: shows the image of gif.dat, lets the user draw rectangles around the
// figures in it and saves each rectangle as a BMP file in a chosen folder.
#pragma once

#include <QImage>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/base/Types.h"
#include "platform/graphics/BmpCodec.h"
#include "platform/ui/Form.h"

namespace Ui {
class TCutWizardForm;
}

namespace plexor {

// Saves each rectangle of Image (clipped to it; empty ones are skipped) as
// Folder/Cut<n>.bmp with the first n from 1 whose file does not exist; returns the paths.
std::vector<std::string> SaveCuts(const graphics::TDIBImage& Image, const std::vector<base::TRect>& Rects,
                                  const std::string& Folder);

// The image at its size with the chosen rectangles outlined; a drag draws a new one.
class TCutView : public QWidget {
 public:
  explicit TCutView(const QImage& Image, QWidget* Parent = nullptr);
  void SetRects(const std::vector<base::TRect>* Rects);
  QSize sizeHint() const override { return FImage.size(); }

  std::function<void(const base::TRect&)> OnRectDrawn;

 protected:
  void paintEvent(QPaintEvent* Event) override;
  void mousePressEvent(QMouseEvent* Event) override;
  void mouseMoveEvent(QMouseEvent* Event) override;
  void mouseReleaseEvent(QMouseEvent* Event) override;

 private:
  base::TRect Band() const;

  QImage FImage;
  const std::vector<base::TRect>* FRects = nullptr;
  QPoint FStart;
  QPoint FEnd;
  bool FDragging = false;
};

class TCutWizardForm : public ui::TForm {
 public:
  ANIMORA_CLASS(TCutWizardForm)
  TCutWizardForm(graphics::TDIBImage Image, std::string StartDir, QWidget* Parent = nullptr);
  ~TCutWizardForm() override;

  const std::vector<base::TRect>& Rects() const { return FRects; }
  void AddRect(const base::TRect& Rect);

  void RemoveBtnClick();
  void SaveBtnClick();

 private:
  void RefillList();

  std::unique_ptr<::Ui::TCutWizardForm> Ui;
  graphics::TDIBImage FImage;
  std::string FStartDir;
  std::vector<base::TRect> FRects;
  TCutView* FView;
};

}  // namespace plexor
