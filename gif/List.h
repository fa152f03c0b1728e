// Ordered lists of stream items that own their items. An item that is destroyed
// directly takes itself out of its list through Remove, so no entry dangles.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "gif/Item.h"

namespace gif {

class TGIFSubImage;

class TGIFList : public base::TPersistent {
 public:
  ANIMORA_CLASS(TGIFList)
  explicit TGIFList(TGIFImage* AImage) : FImage(AImage) {}
  ~TGIFList() override;
  TGIFList(const TGIFList&) = delete;
  TGIFList& operator=(const TGIFList&) = delete;

  TGIFImage* Image() const { return FImage; }
  int Count() const { return static_cast<int>(FItems.size()); }
  // Out-of-range indexes raise EListError "List index out of bounds (%d)".
  TGIFItem* Items(int Index) const;
  int IndexOf(const TGIFItem* Item) const;

  int Add(std::unique_ptr<TGIFItem> Item);
  void Delete(int Index);
  void Clear();
  virtual void Exchange(int Index1, int Index2);
  virtual void Move(int CurIndex, int NewIndex);
  // Takes the item out without freeing it; nothing when it is not in the list.
  void Remove(const TGIFItem* Item);

  virtual void ReportWarning(base::TObject* Sender, TGIFSeverity Severity, const std::string& Message);
  virtual void SaveToStream(base::TStream& Stream);
  virtual void LoadFromStream(base::TStream& Stream, base::TObject* Parent) = 0;

 protected:
  TGIFImage* FImage;

 private:
  std::vector<std::unique_ptr<TGIFItem>> FItems;
};

// The frames of an image.
class TGIFImageList : public TGIFList {
 public:
  ANIMORA_CLASS(TGIFImageList)
  using TGIFList::TGIFList;
  // Pixels of all frames together that one load accepts.
  static constexpr int64_t MaxImagePixels = int64_t{1} << 29;

  TGIFSubImage* SubImages(int Index) const;
  // As the list does, but the loop blocks stay on the first frame: a loop block means
  // the start of the animation, wherever the frame that held it goes.
  void Exchange(int Index1, int Index2) override;
  void Move(int CurIndex, int NewIndex) override;
  // Walks the blocks up to the trailer, one frame per extension or image block.
  void LoadFromStream(base::TStream& Stream, base::TObject* Parent) override;
  void SaveToStream(base::TStream& Stream) override;
  // Pixels that the next frame read may still have, so that a frame too many is
  // refused before its pixels are allocated; MaxImagePixels outside a load.
  int64_t PixelAllowance() const { return FPixelAllowance; }

 private:
  // The loop blocks of FormerFirst and of the frame now first change places.
  void KeepLoopsFirst(TGIFSubImage* FormerFirst);

  int64_t FPixelAllowance = MaxImagePixels;
};

}  // namespace gif
