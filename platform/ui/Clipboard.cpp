#include "platform/ui/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QObject>

#include "platform/ui/Application.h"

namespace ui {

namespace {

class TSystemClipboard : public TClipboard {
 public:
  TSystemClipboard() {
    FConnection = QObject::connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, [this] {
      if (OnChange) Guarded(OnChange);
    });
  }
  ~TSystemClipboard() override { QObject::disconnect(FConnection); }

  bool HasAnyFormat() const override {
    const QMimeData* Data = Mime();
    return Data && !Data->formats().isEmpty();
  }
  bool HasImage() const override {
    const QMimeData* Data = Mime();
    return Data && Data->hasImage();
  }
  QImage Image() const override { return QGuiApplication::clipboard()->image(); }
  bool HasGIFImage() const override {
    const QMimeData* Data = Mime();
    return Data && Data->hasFormat(QLatin1String(GIFImageMimeType));
  }
  std::vector<uint8_t> GIFImage() const override {
    const QMimeData* Data = Mime();
    if (!Data) return {};
    const QByteArray Bytes = Data->data(QLatin1String(GIFImageMimeType));
    return {Bytes.begin(), Bytes.end()};
  }
  void SetImage(const QImage& Image, const std::vector<uint8_t>& GIFData) override {
    auto* Data = new QMimeData;
    Data->setImageData(Image);
    if (!GIFData.empty())
      Data->setData(QLatin1String(GIFImageMimeType),
                    QByteArray(reinterpret_cast<const char*>(GIFData.data()), static_cast<qsizetype>(GIFData.size())));
    QGuiApplication::clipboard()->setMimeData(Data);
  }
  void Clear() override { QGuiApplication::clipboard()->clear(); }

 private:
  static const QMimeData* Mime() { return QGuiApplication::clipboard()->mimeData(); }
  QMetaObject::Connection FConnection;
};

}  // namespace

std::unique_ptr<TClipboard> NewSystemClipboard() { return std::make_unique<TSystemClipboard>(); }

}  // namespace ui
