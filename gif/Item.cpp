#include "gif/Item.h"

#include "gif/GIFImage.h"

namespace gif {

void TGIFItem::ReportWarning(base::TObject* Sender, TGIFSeverity Severity, const std::string& Message) {
  if (FImage != nullptr) FImage->ReportWarning(Sender, Severity, Message);
}

void TGIFItem::SaveToFile(const std::string& FileName) {
  base::WriteFileAtomically(FileName, [this](base::TStream& Stream) { SaveToStream(Stream); });
}

void TGIFItem::LoadFromFile(const std::string& FileName) {
  base::TFileStream Stream(FileName, base::fmOpenRead | base::fmShareDenyWrite);
  LoadFromStream(Stream);
}

}  // namespace gif
