#include "install/zip/MultiZipInfo.h"

namespace zip {

void TMultiZipInfo::Assign(const base::TPersistent* Source) {
  if (const auto* Other = dynamic_cast<const TMultiZipInfo*>(Source)) {
    MultiMode = Other->MultiMode;
    BlockSize = Other->BlockSize;
    FirstBlockSize = Other->FirstBlockSize;
    CheckDiskLabels = Other->CheckDiskLabels;
    WriteDiskLabels = Other->WriteDiskLabels;
    return;
  }
  base::TPersistent::Assign(Source);
}

}  // namespace zip
