#include "install/zip/VolumeLabels.h"

namespace zip {

namespace {
TVolumeLabels* Service = nullptr;
}

void SetVolumeLabels(TVolumeLabels* Value) { Service = Value; }

TVolumeLabels* VolumeLabels() { return Service; }

std::string GetVolumeLabelOf(const std::string& Root) {
  return Service ? Service->GetLabel(Root).substr(0, 11) : std::string();
}

bool SetVolumeLabelOf(const std::string& Root, const std::string& Label) {
  return Service && Service->SetLabel(Root, Label.substr(0, 11));
}

std::string VolumeRootOf(const std::string& FileName) {
  const size_t Slash = FileName.rfind('/');
  return Slash == std::string::npos ? std::string("./") : FileName.substr(0, Slash + 1);
}

}  // namespace zip
