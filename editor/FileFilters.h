// The file dialogs of the main window's file commands, and how they tell formats apart.
#pragma once

#include <string>

namespace graphics {
class TBitmap;
}

namespace editor {

inline constexpr const char* OpenFilter =
    "All (*.gif;*.avi;*.jpg;*.gif;*.jpeg;*.bmp)|*.gif;*.avi;*.jpg;*.jpeg;*.bmp|Gif files|*.gif|Video for "
    "windows|*.avi|Bmp files|*.bmp|Jpeg files|*.jpg;*.jpeg|All files|*.*";
inline constexpr const char* SaveFilter = "Gif files|*.gif|Jpg files|*.jpg;*.jpeg|Bmp files|*.bmp|Video for windows|*.avi";
inline constexpr const char* ExportFilter = "BMP Files|*.bmp|GIF Files|*.gif|JPG and JPEG Files|*.jpg;*.jpeg";
inline constexpr const char* ImportFilter =
    "All (*.gif;*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf)|*.gif;*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf|GIF Image "
    "(*.gif)|*.gif|JPEG Image File (*.jpg)|*.jpg|JPEG Image File (*.jpeg)|*.jpeg|Bitmaps (*.bmp)|*.bmp";

// A picture file drawn into Bitmap: a GIF (frame 0 on its logical screen) through the
// GIF library, anything else through the picture registry by its extension.
void LoadPictureBitmap(const std::string& FileName, graphics::TBitmap& Bitmap);

// The upper-case extension of the whole path, from its last dot, with ".JPEG" read as
// ".JPG"; empty without a dot.
std::string UpperExtension(const std::string& Path);

}  // namespace editor
