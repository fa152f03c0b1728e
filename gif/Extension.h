// Extension blocks of a frame ('!', label byte, body): the base class, the class
// descriptors that stand for extension classes in the registries, and the list of a
// frame's extensions that reads the run of blocks in front of its image.
#pragma once

#include <cstdint>
#include <memory>

#include "gif/Item.h"
#include "gif/List.h"

namespace gif {

class TGIFExtension;
class TGIFSubImage;

// One extension class: how to make an extension of it for a frame, and how to pick,
// from the bytes after a block's label, the more particular class that reads the block.
// Descriptors are compared by identity.
struct TGIFExtensionClass {
  const char* Name;
  std::unique_ptr<TGIFExtension> (*Create)(TGIFSubImage* SubImage);
  // None: the class reads every block it is registered for itself.
  const TGIFExtensionClass* (*Resolve)(base::TStream& Stream) = nullptr;

  // The class that reads the block; none when the block cannot be read.
  const TGIFExtensionClass* ResolveClass(base::TStream& Stream) const {
    return Resolve != nullptr ? Resolve(Stream) : this;
  }
};

template <class Extension>
std::unique_ptr<TGIFExtension> CreateExtension(TGIFSubImage* SubImage) {
  return std::make_unique<Extension>(SubImage);
}

class TGIFExtension : public TGIFItem {
 public:
  ANIMORA_CLASS(TGIFExtension)
  // The frame may be none for an extension made on its own.
  explicit TGIFExtension(TGIFSubImage* ASubImage);
  // Takes the extension out of its frame's extension list.
  ~TGIFExtension() override;
  TGIFExtension(const TGIFExtension&) = delete;
  TGIFExtension& operator=(const TGIFExtension&) = delete;

  TGIFSubImage* SubImage() const { return FSubImage; }
  TGIFVersion RequiredVersion() const override { return ver89a; }
  virtual uint8_t BlockLabel() const = 0;

  // '!', the label and the body. A block without data is left out: a GIF cannot hold
  // one, and readers refuse the whole file for it (a comment of no sub-blocks).
  void SaveToStream(base::TStream& Stream) final;
  // Whether the block carries the data its kind needs; one without is never written.
  virtual bool HasData() const { return true; }
  // Checks '!' ("Invalid extension introducer") and the label ("Internal error:
  // Extension Instance does not match Extension Label"); the classes read their bodies.
  void LoadFromStream(base::TStream& Stream) override;

 protected:
  // What follows the label.
  virtual void WriteBody(base::TStream& Stream) = 0;

  TGIFSubImage* FSubImage;

 private:
  friend class TGIFImageList;
  friend class TGIFExtensionList;
  // Takes the extension, which is in its frame's list, into Frame's list at Index;
  // both frames belong to the same image.
  void MoveToFrame(TGIFSubImage& Frame, int Index);
  // The block whether or not it has data.
  void WriteBlock(base::TStream& Stream);
};

class TGIFExtensionList : public TGIFList {
 public:
  ANIMORA_CLASS(TGIFExtensionList)
  using TGIFList::TGIFList;

  // Item Index as an extension.
  TGIFExtension* Extensions(int Index) const;
  // Reads the extensions in front of a frame's image, for the frame Parent, and leaves
  // the stream at the byte that ended the run (',', ';' or a stray byte).
  void LoadFromStream(base::TStream& Stream, base::TObject* Parent) override;
  // Adds copies of Source's extensions for Frame, those without data too, so that a copy
  // of a frame shows every block its original holds.
  void AddCopies(const TGIFExtensionList& Source, TGIFSubImage* Frame);
};

}  // namespace gif
