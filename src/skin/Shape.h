// The window shape of a surface: every pixel whose value differs from the top-left pixel's
// belongs to the cat. The shape is kept as runs, one per horizontal stretch of such pixels
// in a row, which the window system turns into a region in one call.
#pragma once

#include <vector>

#include "platform/Geometry.h"
#include "skin/DibImage.h"

namespace tc {

struct SurfaceShape {
    std::vector<ShapeRun> runs;  // in row order, then column order
    int extentLeft = 1024;       // leftmost opaque column; 1024 when there is none
    int extentRight = 0;         // one past the rightmost opaque column; 0 when none
};

SurfaceShape BuildSurfaceShape(const DibImage& image);

}  // namespace tc
