// The shell behind an interface: opening links and documents with the desktop's
// handler, starting programs, and desktop links as freedesktop entries.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace ui {

struct TShellLink {
  std::string Name;        // the entry's name and file name: "Animora"
  std::string Program;     // the program to start
  std::string WorkFolder;  // its working folder
  std::string Icon;        // an icon file or theme name; may be empty
};

class TShell {
 public:
  virtual ~TShell() = default;
  // A web or mail address, or a document path, opened by the desktop's handler.
  virtual bool OpenUrl(const std::string& FileOrAddress) = 0;
  // Starts Program detached in WorkFolder.
  virtual bool StartProgram(const std::string& Program, const std::vector<std::string>& Arguments,
                            const std::string& WorkFolder) = 0;
  // Writes the link on the desktop and returns its path.
  virtual std::string CreateDesktopLink(const TShellLink& Link) = 0;
};

std::unique_ptr<TShell> NewSystemShell();

// Writes Link into Folder as "<Name>.desktop", or "<Name>(n).desktop" with the first n
// from 1 that is free, executable so desktops offer to start it; returns the path.
// A file that cannot be written raises EFCreateError.
std::string WriteDesktopEntry(const std::string& Folder, const TShellLink& Link);

// The entry's text: Exec quoted by the freedesktop rules, values escaped.
std::string DesktopEntryText(const TShellLink& Link);

}  // namespace ui
