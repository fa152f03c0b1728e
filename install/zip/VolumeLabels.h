// Volume labels of removable disks, which this platform does not have: a program that
// can label its media installs a TVolumeLabels; without one no volume has a label.
#pragma once

#include <string>

namespace zip {

class TVolumeLabels {
 public:
  virtual ~TVolumeLabels() = default;
  // The label of the volume whose root is given, empty when it has none.
  virtual std::string GetLabel(const std::string& Root) = 0;
  virtual bool SetLabel(const std::string& Root, const std::string& Label) = 0;
};

// The process-wide service, none by default; the caller keeps ownership.
void SetVolumeLabels(TVolumeLabels* Service);
TVolumeLabels* VolumeLabels();

// At most 11 characters; empty without a service.
std::string GetVolumeLabelOf(const std::string& Root);
// False without a service.
bool SetVolumeLabelOf(const std::string& Root, const std::string& Label);
// The root the labels of FileName's volume are kept under: its folder, with a final "/".
std::string VolumeRootOf(const std::string& FileName);

}  // namespace zip
