#include "platform/ui/FontFaces.h"

#include <QFontDatabase>
#include <QString>

namespace ui {
namespace {

struct Substitute {
  const char* Asked;
  const char* Installed;
};

constexpr Substitute Substitutes[] = {
    {"MS Sans Serif", SystemSansFace},
    {"Times New Roman", "Liberation Serif"},
    {"Arial", "Liberation Sans"},
    {"Courier New", "Liberation Mono"},
};

}  // namespace

std::string InstalledFace(const std::string& Face) {
  const QString Asked = QString::fromStdString(Face);
  for (const Substitute& S : Substitutes)
    if (Asked.compare(QLatin1String(S.Asked), Qt::CaseInsensitive) == 0 && QFontDatabase::hasFamily(S.Installed))
      return S.Installed;
  if (!Asked.isEmpty() && QFontDatabase::hasFamily(Asked)) return Face;
  return SystemSansFace;
}

}  // namespace ui
