#include "platform/ui/PicturePreview.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <algorithm>

#include "platform/graphics/Colors.h"
#include "platform/graphics/Picture.h"
#include "platform/ui/BitmapImage.h"

namespace ui {

QImage PicturePreviewImage(const QString& FileName, int Side) {
  if (!QFileInfo(FileName).isFile()) return {};
  try {
    graphics::TPicture Picture;
    Picture.LoadFromFile(FileName.toStdString());
    const int Width = Picture.Width();
    const int Height = Picture.Height();
    if (Width <= 0 || Height <= 0) return {};
    const double Scale = std::min(1.0, static_cast<double>(Side) / std::max(Width, Height));
    graphics::TBitmap Bitmap;
    Bitmap.SetPixelFormat(graphics::pf24bit);
    Bitmap.SetWidth(std::max(1, static_cast<int>(Width * Scale)));
    Bitmap.SetHeight(std::max(1, static_cast<int>(Height * Scale)));
    Bitmap.Canvas().Brush().SetColor(graphics::clWindow);
    Bitmap.Canvas().FillRect(base::Rect(0, 0, Bitmap.Width(), Bitmap.Height()));
    Bitmap.Canvas().StretchDraw(base::Rect(0, 0, Bitmap.Width(), Bitmap.Height()), Picture.Graphic());
    return BitmapToQImage(Bitmap);
  } catch (...) {
    // A file that cannot be read simply shows no picture.
    return {};
  }
}

void AddPicturePreview(QFileDialog& Box) {
  auto* Grid = qobject_cast<QGridLayout*>(Box.layout());
  if (!Grid) return;
  auto* Preview = new QLabel(&Box);
  Preview->setObjectName(QStringLiteral("PicturePreview"));
  Preview->setFixedSize(PicturePreviewSide, PicturePreviewSide);
  Preview->setAlignment(Qt::AlignCenter);
  Preview->setFrameShape(QFrame::StyledPanel);
  Grid->addWidget(Preview, 0, Grid->columnCount(), Grid->rowCount(), 1);
  QObject::connect(&Box, &QFileDialog::currentChanged, Preview, [Preview](const QString& FileName) {
    const QImage Image = PicturePreviewImage(FileName);
    if (Image.isNull())
      Preview->setText(QStringLiteral("(None)"));
    else
      Preview->setPixmap(QPixmap::fromImage(Image));
  });
}

}  // namespace ui
