#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

namespace tabulon {

// Whether a window whose frame covers `frame` can be taken and moved by the
// user: the middle of its title bar and at least a quarter of its area lie
// on the screens' usable `areas` (the quarter may be shared among screens).
bool isReachable(const QRect& frame, const QList<QRect>& areas);

// The place for a window of `size` stored at `stored`: kept when reachable,
// else the top left of the primary screen's usable area `primary`.
QPoint reachablePlace(QPoint stored, QSize size, const QList<QRect>& areas, const QRect& primary);

// `rect` moved (and, where larger, shrunk) as little as needed to lie wholly
// within `area`.
QRect fittedInto(const QRect& rect, const QRect& area);

} // namespace tabulon
