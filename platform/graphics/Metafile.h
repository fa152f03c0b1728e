// TMetafile: an enhanced (.emf) or placeable Windows (.wmf) metafile, drawn by playing
// its records (MetafilePlayer.h) so that its frame fills the rectangle it is drawn on.
// Its size is the frame's at the screen's resolution; metafiles are transparent (what
// they do not draw on stays). Saving writes the file as it was loaded.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/graphics/Graphic.h"
#include "platform/graphics/MetafileRecords.h"

namespace graphics {

class TMetafile : public TGraphic {
 public:
  ANIMORA_CLASS(TMetafile)
  TMetafile();
  ~TMetafile() override = default;
  TMetafile(const TMetafile&) = delete;
  TMetafile& operator=(const TMetafile&) = delete;

  // A TMetafile: a copy; others as the stock assignment.
  void Assign(const base::TPersistent* Source) override;

  bool Empty() const override { return FData.empty(); }
  int Width() const override { return FWidth; }
  int Height() const override { return FHeight; }
  // The size the picture is drawn at by Draw(X, Y) (it scales to any rectangle).
  void SetWidth(int Value) override;
  void SetHeight(int Value) override;

  // Reads the file from the stream's position to its end; a malformed file raises
  // EInvalidGraphic and keeps the metafile held before.
  void LoadFromStream(base::TStream& Stream) override;
  void SaveToStream(base::TStream& Stream) override;

  void Draw(TCanvas& ACanvas, const base::TRect& Rect) override;

  // Whether the file is an enhanced metafile (otherwise a placeable Windows one).
  bool Enhanced() const { return FContent.Kind == TMetafileKind::Enhanced; }
  const TMetafileContent& Content() const { return FContent; }

 private:
  std::vector<uint8_t> FData;
  TMetafileContent FContent;
  int FWidth = 0;
  int FHeight = 0;
};


}  // namespace graphics
