// How the zip writer splits its output: one file, removable disks, or numbered block
// files of a given size.
#pragma once

#include <cstdint>

#include "install/zip/ZipReader.h"
#include "platform/base/Persistent.h"

namespace zip {

class TMultiZipInfo : public base::TPersistent {
 public:
  ANIMORA_CLASS(TMultiZipInfo)
  TMultiMode MultiMode = mmNone;
  int64_t BlockSize = 1457600;       // bytes per block after the first
  int64_t FirstBlockSize = 1457600;  // bytes of the first block
  bool CheckDiskLabels = true;       // copied to the reading side
  bool WriteDiskLabels = true;       // label spanned disks

  void Assign(const base::TPersistent* Source) override;
};

}  // namespace zip
