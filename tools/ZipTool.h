// The pieces every ziptool command shares: exit codes, messages and opening an archive
// by the volume rule.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "install/zip/ZipReader.h"

namespace ziptool {

enum : int { ExitOk = 0, ExitRefused = 1, ExitUsage = 2 };

using TArgs = std::vector<std::string>;

// One line on standard error.
void Report(const std::string& Message);

// Points Reader at Archive, or, when it does not exist, at the highest-numbered
// STEM.NNN beside it, and answers its volume requests with STEM.%03d, then
// STEM.z%02d, then Archive itself. Reader must outlive nothing it is given here.
void OpenArchive(zip::TZipReader& Reader, const std::string& Archive);

// Runs Body; an exception becomes one message about Archive and exit status 1.
int Guarded(const std::string& Archive, const std::function<int()>& Body);

// The commands, each in its own file.
int List(const TArgs& Args);
int Create(const TArgs& Args);

}  // namespace ziptool
