// What the program sets up before its first window and undoes when it ends: its title
// and icon, the glyph rasterizer of its canvases, and the GIF library (the "gif" picture format,
// the "GIF Image" clipboard format and the screen's dither decision).
#pragma once

namespace editor {

class TProgramSetup {
 public:
  TProgramSetup();
  ~TProgramSetup();
  TProgramSetup(const TProgramSetup&) = delete;
  TProgramSetup& operator=(const TProgramSetup&) = delete;
};

}  // namespace editor
