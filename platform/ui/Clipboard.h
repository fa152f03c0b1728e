// The clipboard behind a small interface: images, the GIF library's "GIF Image" format
// (a GIF stream under the MIME type image/gif), and a notification when the content
// changes.
#pragma once

#include <QImage>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace ui {

inline constexpr const char* GIFImageMimeType = "image/gif";

class TClipboard {
 public:
  virtual ~TClipboard() = default;
  // Whether the clipboard holds anything at all.
  virtual bool HasAnyFormat() const = 0;
  virtual bool HasImage() const = 0;
  // A null image when there is none.
  virtual QImage Image() const = 0;
  virtual bool HasGIFImage() const = 0;
  // Empty when there is none.
  virtual std::vector<uint8_t> GIFImage() const = 0;
  // Replaces the content with Image and, when GIFData is not empty, its GIF stream.
  virtual void SetImage(const QImage& Image, const std::vector<uint8_t>& GIFData = {}) = 0;
  virtual void Clear() = 0;

  // Fires after any program, this one included, changed the content.
  std::function<void()> OnChange;
};

// The system clipboard through QClipboard; OnChange follows QClipboard::dataChanged.
std::unique_ptr<TClipboard> NewSystemClipboard();

}  // namespace ui
