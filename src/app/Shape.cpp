#include "app/Shape.h"

#include <algorithm>

namespace tc {

SurfaceShape BuildSurfaceShape(const DibImage& image) {
    SurfaceShape shape;
    if (image.width <= 0 || image.height <= 0) return shape;
    const std::uint32_t key = image.PixelValue(0, 0);
    for (int y = 0; y < image.height; ++y) {
        int runStart = -1;
        for (int x = 0; x <= image.width; ++x) {
            const bool opaque = x < image.width && image.PixelValue(x, y) != key;
            if (opaque && runStart < 0) {
                runStart = x;
                shape.extentLeft = std::min(shape.extentLeft, x);
            } else if (!opaque && runStart >= 0) {
                shape.runs.push_back({y, runStart, x});
                shape.extentRight = std::max(shape.extentRight, x);
                runStart = -1;
            }
        }
    }
    return shape;
}

}  // namespace tc
