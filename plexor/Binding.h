// The editor's binding of the image-tools library: loaded from the program's folder and
// bound by ordinal when the editor starts. Each call runs on the GUI thread and returns
// when the library's dialog has closed. Tests put a fake TPlexor in its place.
#pragma once

#include <QLibrary>
#include <cstdint>
#include <string>

#include "platform/base/Exceptions.h"
#include "plexor/PlexorEntry.h"

class QWidget;

namespace plexor {

// The library could not be loaded or lacks an entry; the text says which and why.
class EPlexorError : public base::Exception {
 public:
  using base::Exception::Exception;
};

class TPlexor {
 public:
  virtual ~TPlexor() = default;
  virtual void About(QWidget* Window) = 0;
  // 1: an image was written to StartDir/gif.dat; anything else: nothing was.
  virtual uint8_t Scan(QWidget* Window, const std::string& StartDir) = 0;
  // Works on StartDir/gif.dat, which the caller has written.
  virtual void CutWizard(QWidget* Window, const std::string& StartDir) = 0;
  // Edits DefaultTransparent, DefaultReduction, Quantize and Dither in the settings.
  virtual void ProgramOptions(QWidget* Window) = 0;
};

class TPlexorLibrary : public TPlexor {
 public:
  // Loads Folder/libPlexor.so and binds the four ordinals, or raises EPlexorError.
  explicit TPlexorLibrary(const std::string& Folder);
  ~TPlexorLibrary() override;

  void About(QWidget* Window) override;
  uint8_t Scan(QWidget* Window, const std::string& StartDir) override;
  void CutWizard(QWidget* Window, const std::string& StartDir) override;
  void ProgramOptions(QWidget* Window) override;

 private:
  QLibrary FLibrary;
  TPlexorAbout FAbout = nullptr;
  TPlexorScan FScan = nullptr;
  TPlexorCutWizard FCutWizard = nullptr;
  TPlexorProgramOptions FProgramOptions = nullptr;
};

// The folder the running program lies in.
std::string ProgramFolder();

}  // namespace plexor
