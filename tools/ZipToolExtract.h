// ziptool test and extract: every entry through the extraction engine.
#pragma once

#include "tools/ZipTool.h"

namespace ziptool {

int Test(const TArgs& Args);
int Extract(const TArgs& Args);

}  // namespace ziptool
