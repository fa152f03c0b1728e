// The platform's dialog filters, "description|pattern|description|pattern", patterns
// separated by ';', as Qt name filters "description (pattern pattern)".
#pragma once

#include <QStringList>
#include <string>

namespace ui {

// One Qt filter per pair; a description without its pattern is dropped.
QStringList QtNameFilters(const std::string& Filter);
// The 1-based index of Chosen among Filters; 1 when it is not there.
int FilterIndexOf(const QStringList& Filters, const QString& Chosen);

}  // namespace ui
