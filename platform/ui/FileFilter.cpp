#include "platform/ui/FileFilter.h"

namespace ui {

QStringList QtNameFilters(const std::string& Filter) {
  const QStringList Parts = QString::fromStdString(Filter).split(QLatin1Char('|'));
  QStringList Result;
  for (qsizetype I = 0; I + 1 < Parts.size(); I += 2) {
    QStringList Patterns = Parts[I + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (QString& Pattern : Patterns) Pattern = Pattern.trimmed();
    // Qt reads the patterns from the last parentheses, so a description that carries
    // its own "(*.gif;*.bmp)" is shown as written.
    Result << Parts[I] + QStringLiteral(" (") + Patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
  }
  return Result;
}

int FilterIndexOf(const std::string& Filter, const QString& Chosen) {
  const qsizetype Index = QtNameFilters(Filter).indexOf(Chosen);
  if (Index >= 0) return static_cast<int>(Index) + 1;
  // Qt gives the shown text, whitespace simplified, when the patterns are hidden.
  const QStringList Parts = QString::fromStdString(Filter).split(QLatin1Char('|'));
  for (qsizetype I = 0; I + 1 < Parts.size(); I += 2)
    if (Parts[I].simplified() == Chosen) return static_cast<int>(I / 2) + 1;
  return 1;
}

}  // namespace ui
