// OptionSettings: the editor's named settings with their defaults, the window layout
// they keep and the colour defaults of the GIF library they set. A value that is
// missing, not a decimal number or outside its range reads as its default.
#pragma once

#include <string>

#include "platform/base/Types.h"
#include "platform/ui/SettingsStore.h"

namespace editor {

struct TIntegerSetting {
  const char* Name;
  int Default;
  int Min;
  int Max;
};

struct TBoolSetting {
  const char* Name;
  bool Default;
};

struct TTextSetting {
  const char* Name;
  const char* Default;
};

namespace option {

inline constexpr int MaxPosition = 32767;

inline constexpr TIntegerSetting Width{"Width", 600, 1, MaxPosition};
inline constexpr TIntegerSetting Heigth{"Heigth", 400, 1, MaxPosition};
inline constexpr TIntegerSetting Left{"Left", 600, -MaxPosition, MaxPosition};
inline constexpr TIntegerSetting Top{"Top", 400, -MaxPosition, MaxPosition};
inline constexpr TIntegerSetting WinState{"WinState", 0, 0, 2};
inline constexpr TIntegerSetting TB1Left{"TB1Left", 12, -MaxPosition, MaxPosition};
inline constexpr TIntegerSetting TB1Top{"TB1Top", 2, -MaxPosition, MaxPosition};
inline constexpr TIntegerSetting TB2Left{"TB2Left", 360, -MaxPosition, MaxPosition};
inline constexpr TIntegerSetting TB2Top{"TB2Top", 2, -MaxPosition, MaxPosition};
inline constexpr TIntegerSetting TB3Left{"TB3Left", 12, -MaxPosition, MaxPosition};
inline constexpr TIntegerSetting TB3Top{"TB3Top", 28, -MaxPosition, MaxPosition};
inline constexpr TIntegerSetting TB1Width{"TB1Width", 382, 1, MaxPosition};
inline constexpr TIntegerSetting TB2Width{"TB2Width", 240, 1, MaxPosition};
inline constexpr TIntegerSetting TB3Width{"TB3Width", 158, 1, MaxPosition};
inline constexpr TIntegerSetting PreviewLeft{"PreviewLeft", 100, -MaxPosition, MaxPosition};
inline constexpr TIntegerSetting PreviewTop{"PreviewTop", 100, -MaxPosition, MaxPosition};
inline constexpr TIntegerSetting PreviewWidth{"PreviewWidth", 200, 1, MaxPosition};
inline constexpr TIntegerSetting PreviewHeight{"PreviewHeight", 200, 1, MaxPosition};
inline constexpr TBoolSetting ShowOpenWiz{"ShowOpenWiz", true};
inline constexpr TTextSetting DefaultTransparent{"DefaultTransparent", "$00010101"};
inline constexpr TIntegerSetting DefaultReduction{"DefaultReduction", 8, 0, 9};
inline constexpr TIntegerSetting Quantize{"Quantize", 7, 3, 8};
inline constexpr TIntegerSetting Dither{"Dither", 0, 0, 6};

}  // namespace option

// The section Option of a settings store.
class TOptionSettings {
 public:
  explicit TOptionSettings(ui::TSettingsStore& Store) : FStore(Store) {}

  int ReadInteger(const TIntegerSetting& Setting) const;
  // "1" is true and "0" false; any other decimal number is true.
  bool ReadBool(const TBoolSetting& Setting) const;
  std::string ReadString(const TTextSetting& Setting) const;
  void WriteInteger(const TIntegerSetting& Setting, int Value);
  void WriteBool(const TBoolSetting& Setting, bool Value);
  void WriteString(const TTextSetting& Setting, const std::string& Value);

 private:
  ui::TSettingsStore& FStore;
};

enum class TWindowState { wsNormal, wsMinimized, wsMaximized };
using enum TWindowState;

struct TWindowBounds {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
  friend bool operator==(const TWindowBounds&, const TWindowBounds&) = default;
};

// The main window, its three tool bars and the preview window.
struct TLayout {
  TWindowBounds Main;
  TWindowState MainState = wsNormal;
  base::TPoint ToolBar1;
  base::TPoint ToolBar4;
  base::TPoint ToolBar3;
  int ToolBar1Width = 0;
  int ToolBar4Width = 0;
  int ToolBar3Width = 0;
  TWindowBounds Preview;
  TWindowState PreviewState = wsNormal;
  friend bool operator==(const TLayout&, const TLayout&) = default;
};

// A stored minimised state comes back as normal, so the window is never restored
// out of sight.
TLayout ReadLayout(const TOptionSettings& Settings);
// The main window's and the preview's bounds are written only while their state is
// normal, so the last normal bounds survive a run that ended maximised.
void WriteLayout(TOptionSettings& Settings, const TLayout& Layout);

// Sets the GIF library's reduction method, quantize bits, dither kind and the colour
// of an added transparent entry; a value that cannot be read takes its default and
// does not stop the others.
void ReadColorDefaults(const TOptionSettings& Settings);

}  // namespace editor
