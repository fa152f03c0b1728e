// The binary interface of the image-tools library: one exported C function gives the
// entry for an ordinal. Window is the calling window (a QWidget*), StartDir the
// editor's start folder as UTF-8 text, where gif.dat lies.
#pragma once

#include <cstdint>

extern "C" {

using TPlexorAbout = void (*)(void* Window);                                // ordinal 10
using TPlexorScan = uint8_t (*)(void* Window, const char* StartDir);       // ordinal 11
using TPlexorCutWizard = void (*)(void* Window, const char* StartDir);     // ordinal 13
using TPlexorProgramOptions = void (*)(void* Window);                      // ordinal 15

// The entry for Ordinal as a function pointer, or nullptr for an ordinal it lacks.
using TPlexorEntryFunction = void* (*)(int Ordinal);

}

namespace plexor {

inline constexpr int OrdinalAbout = 10;
inline constexpr int OrdinalScan = 11;
inline constexpr int OrdinalCutWizard = 13;
inline constexpr int OrdinalProgramOptions = 15;

inline constexpr const char* EntryName = "PlexorEntry";
inline constexpr const char* LibraryFileName = "libPlexor.so";

}  // namespace plexor
