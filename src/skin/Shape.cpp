#include "skin/Shape.h"

#include <algorithm>

namespace tc {

namespace {

// Reads the pixel values of one stored row in the way DibImage::PixelValue does, without
// working out the row and the depth again for every pixel.
void RowValues(const DibImage& image, int y, std::vector<std::uint32_t>& values) {
    const std::uint8_t* row =
        image.Bits() + static_cast<std::size_t>(image.height - 1 - y) * static_cast<std::size_t>(image.stride);
    switch (image.bitCount) {
    case 24:
        for (int x = 0; x < image.width; ++x, row += 3) {
            values[static_cast<std::size_t>(x)] = (std::uint32_t{row[0]} << 16) | (std::uint32_t{row[1]} << 8) | row[2];
        }
        break;
    case 8:
        for (int x = 0; x < image.width; ++x) values[static_cast<std::size_t>(x)] = row[x];
        break;
    default:
        for (int x = 0; x < image.width; ++x) values[static_cast<std::size_t>(x)] = image.PixelValue(x, y);
        break;
    }
}

}  // namespace

SurfaceShape BuildSurfaceShape(const DibImage& image) {
    SurfaceShape shape;
    if (image.width <= 0 || image.height <= 0) return shape;
    const std::uint32_t key = image.PixelValue(0, 0);
    std::vector<std::uint32_t> values(static_cast<std::size_t>(image.width));
    for (int y = 0; y < image.height; ++y) {
        RowValues(image, y, values);
        int runStart = -1;
        for (int x = 0; x <= image.width; ++x) {
            const bool opaque = x < image.width && values[static_cast<std::size_t>(x)] != key;
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
