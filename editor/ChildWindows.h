// Where the main window's MDI children go: inside the area they share as far as their
// least sizes allow, cascading as the platform does, and never by resizing the main
// window. Rectangles are in the area's viewport coordinates.
#pragma once

#include <QRect>
#include <vector>

class QMdiArea;
class QMdiSubWindow;

namespace editor {

// Window moved onto Area, and made smaller where it does not fit, not below Least.
QRect FitInside(const QRect& Window, const QSize& Least, const QRect& Area);
// Cells for Count windows over Area: ceil(sqrt(Count)) columns, rows filled from the
// top, the windows of a shorter last row sharing its width.
std::vector<QRect> TileCells(int Count, const QRect& Area);
// How many cascade places, Step right and down from the area's corner each, lie in the
// first half of Area; at least one.
int CascadePlaces(const QRect& Area, int Step);

// The platform's cascade offset: the height of a child's title bar.
int CascadeStep(const QMdiSubWindow& Window);
// A child just added: at the first cascade place that no other child's corner takes,
// in its preferred size as far as the area allows from there.
void PlaceNewChild(QMdiArea& Area, QMdiSubWindow& Window);
// Window > Tile and Window > Cascade, over the children that are neither hidden nor
// minimised; a maximised child comes back to normal first.
void TileChildren(QMdiArea& Area);
void CascadeChildren(QMdiArea& Area);

}  // namespace editor
