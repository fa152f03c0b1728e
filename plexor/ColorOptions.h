// The four colour-reduction defaults the program-options dialog edits, as the editor
// reads them from the section Option.
#pragma once

#include <string>

#include "platform/base/Types.h"
#include "platform/ui/SettingsStore.h"

namespace plexor {

struct TColorOptions {
  base::TColor DefaultTransparent = 0x00010101;
  int DefaultReduction = 8;  // rdOptimizedWindows
  int Quantize = 7;
  int Dither = 0;  // dkNone
  friend bool operator==(const TColorOptions&, const TColorOptions&) = default;
};

inline constexpr int ReductionCount = 10;
inline constexpr int DitherCount = 7;
inline constexpr int MinQuantize = 3;
inline constexpr int MaxQuantize = 8;

// Values that are missing, unreadable or out of range read as the defaults above.
TColorOptions ReadColorOptions(const ui::TSettingsStore& Store);
// "DefaultTransparent" as "$" and eight hexadecimal digits, the rest as decimal text.
void WriteColorOptions(ui::TSettingsStore& Store, const TColorOptions& Options);
std::string ColorText(base::TColor Color);

}  // namespace plexor
