// The four services of the image-tools library, each modal to Window.
#pragma once

#include <cstdint>
#include <string>

#include "platform/ui/SettingsStore.h"

class QWidget;

namespace plexor {

// Ordinal 10.
void ShowAbout(QWidget* Window);
// Ordinal 11. No scanner can be reached here, so it offers to acquire an image file
// instead: 1 when the chosen picture was written to StartDir/gif.dat, 0 when cancelled
// or when the picture could not be read (which is reported).
uint8_t Capture(QWidget* Window, const std::string& StartDir);
// Ordinal 13: the cut wizard on StartDir/gif.dat; a missing or unreadable file is
// reported and nothing else happens.
void RunCutWizard(QWidget* Window, const std::string& StartDir);
// Ordinal 15: the program-options dialog on Store.
void RunProgramOptions(QWidget* Window, ui::TSettingsStore& Store);

// The about box's text.
std::string AboutText();

}  // namespace plexor
