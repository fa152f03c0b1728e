// Crops every frame after the first to the rectangle in which it changes the screen.
// Each frame is compared, inside its rectangle, with the screen as the frames before
// it leave it; pixels never drawn count as changed, so the result shows the same
// pictures on every pass of a loop. The crop keeps the frame's own indexes, timing and
// disposal.
#pragma once

namespace gif {

class TGIFImage;

// Empty frames, frames that restore the background and frames reaching beyond the
// logical screen stay as they are, and so does a frame that changes nothing. Returns
// how many frames were cropped. "Image dimensions too large" for a logical screen
// beyond the compositor's limit, before anything changes.
int OptimizeFrameSize(TGIFImage& Image);

}  // namespace gif
