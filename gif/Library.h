// The library's start and end: registering TGIFImage with the picture system for the
// "gif" extension and the "GIF Image" clipboard format, and reading whether the
// screen needs dithering. Programs call InitializeGIFLibrary before they load
// pictures and FinalizeGIFLibrary when they are done; nested calls are counted.
#pragma once

#include "platform/graphics/Clipboard.h"

namespace gif {

void InitializeGIFLibrary();
void FinalizeGIFLibrary();

// The clipboard format "GIF Image", registered on first use.
graphics::TClipboardFormat GIFClipboardFormat();

}  // namespace gif
