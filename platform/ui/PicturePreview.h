// The picture preview of an open dialog: the file under the cursor, loaded through the
// picture registry and fitted into a square beside the file list.
#pragma once

#include <QImage>
#include <QString>

class QFileDialog;

namespace ui {

inline constexpr int PicturePreviewSide = 160;

// The picture of FileName fitted into Side x Side, keeping its proportions; a null image
// for a file that is no picture the registry can read.
QImage PicturePreviewImage(const QString& FileName, int Side = PicturePreviewSide);
// Adds the preview to a dialog built from Qt's own widgets.
void AddPicturePreview(QFileDialog& Box);

}  // namespace ui
