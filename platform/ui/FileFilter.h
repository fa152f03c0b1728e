// The platform's dialog filters, "description|pattern|description|pattern", patterns
// separated by ';', as Qt name filters "description (pattern pattern)".
#pragma once

#include <QStringList>
#include <string>

namespace ui {

// One Qt filter per pair; a description without its pattern is dropped.
QStringList QtNameFilters(const std::string& Filter);
// The 1-based index of the pair of Filter that Chosen names: its Qt filter, or its
// description alone, as a dialog that hides the patterns reports it; 1 when none does.
int FilterIndexOf(const std::string& Filter, const QString& Chosen);

}  // namespace ui
