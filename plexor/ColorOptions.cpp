#include "plexor/ColorOptions.h"

#include <cstdio>

#include "platform/graphics/ColorText.h"

namespace plexor {

namespace {

int InRange(const ui::TSettingsStore& Store, const char* Ident, int Default, int Low, int High) {
  const int Value = Store.ReadInteger(ui::OptionSection, Ident, Default);
  return Value < Low || Value > High ? Default : Value;
}

}  // namespace

TColorOptions ReadColorOptions(const ui::TSettingsStore& Store) {
  TColorOptions Options;
  const TColorOptions Defaults;
  const std::string Text = Store.ReadString(ui::OptionSection, "DefaultTransparent", ColorText(Defaults.DefaultTransparent));
  Options.DefaultTransparent = graphics::StringToColor(Text).value_or(Defaults.DefaultTransparent);
  Options.DefaultReduction = InRange(Store, "DefaultReduction", Defaults.DefaultReduction, 0, ReductionCount - 1);
  Options.Quantize = InRange(Store, "Quantize", Defaults.Quantize, MinQuantize, MaxQuantize);
  Options.Dither = InRange(Store, "Dither", Defaults.Dither, 0, DitherCount - 1);
  return Options;
}

void WriteColorOptions(ui::TSettingsStore& Store, const TColorOptions& Options) {
  Store.WriteString(ui::OptionSection, "DefaultTransparent", ColorText(Options.DefaultTransparent));
  Store.WriteInteger(ui::OptionSection, "DefaultReduction", Options.DefaultReduction);
  Store.WriteInteger(ui::OptionSection, "Quantize", Options.Quantize);
  Store.WriteInteger(ui::OptionSection, "Dither", Options.Dither);
  Store.UpdateFile();
}

std::string ColorText(base::TColor Color) {
  char Text[16];
  std::snprintf(Text, sizeof Text, "$%08X", static_cast<unsigned>(Color));
  return Text;
}

}  // namespace plexor
