// Face names as programs ask for them, resolved to the faces installed here: the
// classic faces of the original platform go to installed faces with the same metrics
// (the bitmap system face to the system's sans-serif face), other installed faces are
// used as they are, and the rest fall back to the sans-serif face. Needs a
// QGuiApplication (the font database, which fontconfig fills).
#pragma once

#include <string>

namespace ui {

// The family name of the system's sans-serif face.
constexpr const char* SystemSansFace = "DejaVu Sans";

std::string InstalledFace(const std::string& Face);

}  // namespace ui
