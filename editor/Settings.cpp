#include "editor/Settings.h"

#include "platform/graphics/ColorText.h"
#include "gif/GIFImage.h"

namespace editor {

namespace {

TWindowBounds ReadBounds(const TOptionSettings& Settings, const TIntegerSetting& Left, const TIntegerSetting& Top,
                         const TIntegerSetting& Width, const TIntegerSetting& Height) {
  return {Settings.ReadInteger(Left), Settings.ReadInteger(Top), Settings.ReadInteger(Width),
          Settings.ReadInteger(Height)};
}

void WriteBounds(TOptionSettings& Settings, const TWindowBounds& Bounds, const TIntegerSetting& Left,
                 const TIntegerSetting& Top, const TIntegerSetting& Width, const TIntegerSetting& Height) {
  Settings.WriteInteger(Width, Bounds.Width);
  Settings.WriteInteger(Height, Bounds.Height);
  Settings.WriteInteger(Left, Bounds.Left);
  Settings.WriteInteger(Top, Bounds.Top);
}

}  // namespace

int TOptionSettings::ReadInteger(const TIntegerSetting& Setting) const {
  const int Value = FStore.ReadInteger(ui::OptionSection, Setting.Name, Setting.Default);
  return Value < Setting.Min || Value > Setting.Max ? Setting.Default : Value;
}

bool TOptionSettings::ReadBool(const TBoolSetting& Setting) const {
  return FStore.ReadBool(ui::OptionSection, Setting.Name, Setting.Default);
}

std::string TOptionSettings::ReadString(const TTextSetting& Setting) const {
  return FStore.ReadString(ui::OptionSection, Setting.Name, Setting.Default);
}

void TOptionSettings::WriteInteger(const TIntegerSetting& Setting, int Value) {
  FStore.WriteInteger(ui::OptionSection, Setting.Name, Value);
}

void TOptionSettings::WriteBool(const TBoolSetting& Setting, bool Value) {
  FStore.WriteBool(ui::OptionSection, Setting.Name, Value);
}

void TOptionSettings::WriteString(const TTextSetting& Setting, const std::string& Value) {
  FStore.WriteString(ui::OptionSection, Setting.Name, Value);
}

TLayout ReadLayout(const TOptionSettings& Settings) {
  using namespace option;
  TLayout Layout;
  Layout.Main = ReadBounds(Settings, Left, Top, Width, Heigth);
  Layout.ToolBar1 = {Settings.ReadInteger(TB1Left), Settings.ReadInteger(TB1Top)};
  Layout.ToolBar4 = {Settings.ReadInteger(TB2Left), Settings.ReadInteger(TB2Top)};
  Layout.ToolBar3 = {Settings.ReadInteger(TB3Left), Settings.ReadInteger(TB3Top)};
  Layout.ToolBar1Width = Settings.ReadInteger(TB1Width);
  Layout.ToolBar4Width = Settings.ReadInteger(TB2Width);
  Layout.ToolBar3Width = Settings.ReadInteger(TB3Width);
  Layout.Preview = ReadBounds(Settings, PreviewLeft, PreviewTop, PreviewWidth, PreviewHeight);
  Layout.MainState = Settings.ReadInteger(WinState) == 2 ? wsMaximized : wsNormal;
  return Layout;
}

void WriteLayout(TOptionSettings& Settings, const TLayout& Layout) {
  using namespace option;
  if (Layout.MainState == wsNormal) WriteBounds(Settings, Layout.Main, Left, Top, Width, Heigth);
  Settings.WriteInteger(WinState, static_cast<int>(Layout.MainState));
  Settings.WriteInteger(TB1Left, Layout.ToolBar1.X);
  Settings.WriteInteger(TB1Top, Layout.ToolBar1.Y);
  Settings.WriteInteger(TB2Left, Layout.ToolBar4.X);
  Settings.WriteInteger(TB2Top, Layout.ToolBar4.Y);
  Settings.WriteInteger(TB3Left, Layout.ToolBar3.X);
  Settings.WriteInteger(TB3Top, Layout.ToolBar3.Y);
  if (Layout.PreviewState == wsNormal)
    WriteBounds(Settings, Layout.Preview, PreviewLeft, PreviewTop, PreviewWidth, PreviewHeight);
}

void ReadColorDefaults(const TOptionSettings& Settings) {
  using namespace option;
  gif::TGIFLibraryDefaults& Defaults = gif::GIFLibraryDefaults();
  const auto Transparent = graphics::StringToColor(Settings.ReadString(DefaultTransparent));
  Defaults.TransparentFill = Transparent ? *Transparent : *graphics::StringToColor(DefaultTransparent.Default);
  Defaults.ReductionMethod = static_cast<gif::TReductionMethod>(Settings.ReadInteger(DefaultReduction));
  Defaults.QuantizeBits = Settings.ReadInteger(Quantize);
  Defaults.DitherKind = static_cast<gif::TDitherKind>(Settings.ReadInteger(Dither));
}

}  // namespace editor
