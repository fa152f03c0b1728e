// Where the installer finds "Animora.dat": beside its own program file, whatever folder
// it was started from, so a double-click and a start from a terminal find the same one.
#pragma once

#include <string>

namespace install {

// Needs the application object.
std::string ArchiveBesideProgram();

}  // namespace install
