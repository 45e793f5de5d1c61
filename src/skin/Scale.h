// Whole-factor enlargement for large displays: every pixel becomes a factor × factor block
// (nearest neighbour, so pixel art stays crisp and the key colour stays exact), and the
// window shape grows with it run by run. The cat's surfaces keep their own size and are
// drawn enlarged in exactly this way by the window system; falling objects are enlarged here.
#pragma once

#include "skin/DibImage.h"
#include "skin/Shape.h"

namespace tc {

constexpr int kMaxScale = 3;

// The picture enlarged factor times in each direction, same depth and colour table. A factor
// of 1 (or less) gives a copy; a result wider or higher than kMaxImageSide is not made.
std::optional<DibImage> ScaleImage(const DibImage& image, int factor);

// The shape of the enlarged picture from the shape of the original: each run repeated on
// factor rows with its columns multiplied. Equal to BuildSurfaceShape(*ScaleImage(image,
// factor)) without scanning factor² as many pixels; a shape without runs keeps its extent.
SurfaceShape ScaleShape(const SurfaceShape& shape, int factor);

}  // namespace tc
