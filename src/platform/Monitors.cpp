#include "platform/Monitors.h"

#include <algorithm>
#include <cstdint>

namespace tc {

namespace {

std::int64_t OverlapArea(const Rect& a, const Rect& b) {
    const std::int64_t width = std::min(a.right, b.right) - std::max(a.left, b.left);
    const std::int64_t height = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
    return width > 0 && height > 0 ? width * height : 0;
}

// Squared distance from a point to the nearest point of rect (0 inside it).
std::int64_t DistanceSquared(const Rect& rect, std::int64_t x, std::int64_t y) {
    const std::int64_t dx = x < rect.left ? rect.left - x : (x >= rect.right ? x - rect.right + 1 : 0);
    const std::int64_t dy = y < rect.top ? rect.top - y : (y >= rect.bottom ? y - rect.bottom + 1 : 0);
    return dx * dx + dy * dy;
}

}  // namespace

const Monitor& MonitorOf(std::span<const Monitor> monitors, const Rect& rect) {
    const Monitor* best = &monitors.front();
    std::int64_t bestOverlap = 0;
    for (const Monitor& monitor : monitors) {
        const std::int64_t overlap = OverlapArea(monitor.area, rect);
        if (overlap > bestOverlap) {
            best = &monitor;
            bestOverlap = overlap;
        }
    }
    if (bestOverlap > 0) return *best;
    const std::int64_t x = (std::int64_t{rect.left} + rect.right) / 2;
    const std::int64_t y = (std::int64_t{rect.top} + rect.bottom) / 2;
    std::int64_t bestDistance = DistanceSquared(best->area, x, y);
    for (const Monitor& monitor : monitors) {
        const std::int64_t distance = DistanceSquared(monitor.area, x, y);
        if (distance < bestDistance) {
            best = &monitor;
            bestDistance = distance;
        }
    }
    return *best;
}

const Monitor& FloorMonitorOf(std::span<const Monitor> monitors, const Rect& rect) {
    const Monitor* best = nullptr;
    int bestColumns = 0;
    for (const Monitor& monitor : monitors) {
        const int columns = std::min(monitor.area.right, rect.right) - std::max(monitor.area.left, rect.left);
        if (columns > bestColumns || (best && columns == bestColumns && monitor.area.bottom > best->area.bottom)) {
            best = &monitor;
            bestColumns = columns;
        }
    }
    return best && bestColumns > 0 ? *best : MonitorOf(monitors, rect);
}

Point KeepOnMonitors(std::span<const Monitor> monitors, const Rect& rect) {
    const Monitor& monitor = MonitorOf(monitors, rect);
    if (OverlapArea(monitor.area, rect) > 0) return {rect.left, rect.top};
    // Right and bottom edges first, so that a window larger than the work area keeps its
    // top-left corner on it.
    const Rect& work = monitor.work;
    const int left = std::clamp(rect.left, work.left, std::max(work.left, work.right - rect.Width()));
    const int top = std::clamp(rect.top, work.top, std::max(work.top, work.bottom - rect.Height()));
    return {left, top};
}

int BottomTaskbarHeight(const Monitor& monitor) {
    return monitor.work.bottom < monitor.area.bottom ? monitor.area.bottom - monitor.work.bottom : 0;
}

int WholeScaleFor(int dpi, int maxFactor) { return std::clamp(dpi / kBaseDpi, 1, std::max(1, maxFactor)); }

}  // namespace tc
