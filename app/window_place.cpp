#include "app/window_place.h"

#include <algorithm>

#include <QRegion>

namespace tabulon {

namespace {

// How far below the frame's top edge the title bar is probed: inside any
// title bar, before its size is known.
constexpr int kTitleBarDepth = 8;

qint64 area(const QRect& rect) {
    return static_cast<qint64>(rect.width()) * rect.height();
}

} // namespace

bool isReachable(const QRect& frame, const QList<QRect>& areas) {
    const QPoint titleBar(frame.left() + frame.width() / 2, frame.top() + kTitleBarDepth);
    if (std::none_of(areas.begin(), areas.end(), [&](const QRect& area) { return area.contains(titleBar); }))
        return false;
    // A region, so that screens that overlap (mirrored ones) count once.
    QRegion shown;
    for (const QRect& area : areas)
        shown += area.intersected(frame);
    qint64 shownArea = 0;
    for (const QRect& part : shown)
        shownArea += area(part);
    return 4 * shownArea >= area(frame);
}

QPoint reachablePlace(QPoint stored, QSize size, const QList<QRect>& areas, const QRect& primary) {
    if (isReachable(QRect(stored, size), areas) || primary.isEmpty())
        return stored;
    return primary.topLeft();
}

QRect fittedInto(const QRect& rect, const QRect& area) {
    const QSize size = rect.size().boundedTo(area.size());
    return {QPoint(std::clamp(rect.x(), area.left(), area.left() + area.width() - size.width()),
                   std::clamp(rect.y(), area.top(), area.top() + area.height() - size.height())),
            size};
}

} // namespace tabulon
