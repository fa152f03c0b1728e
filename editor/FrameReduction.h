// The optimiser's colour reduction of one frame: its rendering is reduced by the
// project's method, dither and bits and becomes the frame's pixels and table, and the
// pixels that were transparent stay transparent (an entry is added for them, or the
// least used one is freed when the table is full).
#pragma once

namespace gif {
class TGIFImage;
class TGIFSubImage;
}  // namespace gif

namespace editor {

void ReduceFrameColors(gif::TGIFImage& Project, gif::TGIFSubImage& Frame);

}  // namespace editor
