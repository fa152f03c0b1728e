#include "gif/List.h"

#include <algorithm>

#include "gif/GIFImage.h"
#include "platform/base/Strings.h"

namespace gif {

TGIFList::~TGIFList() { Clear(); }

TGIFItem* TGIFList::Items(int Index) const {
  base::CheckListIndex(Index, Count());
  return FItems[static_cast<size_t>(Index)].get();
}

int TGIFList::IndexOf(const TGIFItem* Item) const {
  const auto Found = std::find_if(FItems.begin(), FItems.end(), [Item](const auto& P) { return P.get() == Item; });
  return Found == FItems.end() ? -1 : static_cast<int>(Found - FItems.begin());
}

int TGIFList::Add(std::unique_ptr<TGIFItem> Item) {
  FItems.push_back(std::move(Item));
  return Count() - 1;
}

void TGIFList::Delete(int Index) {
  base::CheckListIndex(Index, Count());
  // Out of the list before it is freed, so its destructor finds nothing to remove.
  std::unique_ptr<TGIFItem> Item = std::move(FItems[static_cast<size_t>(Index)]);
  FItems.erase(FItems.begin() + Index);
}

void TGIFList::Clear() {
  while (!FItems.empty()) Delete(0);
}

void TGIFList::Exchange(int Index1, int Index2) {
  base::CheckListIndex(Index1, Count());
  base::CheckListIndex(Index2, Count());
  std::swap(FItems[static_cast<size_t>(Index1)], FItems[static_cast<size_t>(Index2)]);
}

void TGIFList::Move(int CurIndex, int NewIndex) {
  if (CurIndex == NewIndex) return;
  base::CheckListIndex(CurIndex, Count());
  base::CheckListIndex(NewIndex, Count());
  std::unique_ptr<TGIFItem> Item = std::move(FItems[static_cast<size_t>(CurIndex)]);
  FItems.erase(FItems.begin() + CurIndex);
  FItems.insert(FItems.begin() + NewIndex, std::move(Item));
}

void TGIFList::Remove(const TGIFItem* Item) {
  const int Index = IndexOf(Item);
  if (Index < 0) return;
  (void)FItems[static_cast<size_t>(Index)].release();
  FItems.erase(FItems.begin() + Index);
}

void TGIFList::ReportWarning(base::TObject* Sender, TGIFSeverity Severity, const std::string& Message) {
  if (FImage != nullptr) FImage->ReportWarning(Sender, Severity, Message);
}

void TGIFList::SaveToStream(base::TStream& Stream) {
  for (const auto& Item : FItems) Item->SaveToStream(Stream);
}

}  // namespace gif
