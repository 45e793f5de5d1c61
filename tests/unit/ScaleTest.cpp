// Whole-factor enlargement of surfaces: every depth keeps its pixel values block by block,
// the header describes the new size, and the enlarged shape is exactly the shape of the
// enlarged picture.
#include <gtest/gtest.h>

#include <algorithm>

#include "common/Bytes.h"
#include "platform/Monitors.h"
#include "skin/Scale.h"
#include "support/Images.h"

namespace tc {
namespace {

// An irregular picture: a key colour around a shape with holes and one lone pixel, so runs
// start and end at odd columns and rows differ.
std::uint32_t Pattern(int x, int y) { return ((x * 7 + y * 3) % 5 == 2 || (x == 12 && y == 4)) ? 1 : 0; }

struct Depth {
    int bitCount;
    std::uint32_t on;  // the pixel value of the shape's pixels at that depth
};
constexpr Depth kDepths[] = {{1, 1}, {4, 9}, {8, 200}, {24, 0x00A0B1C2}};

TEST(ScaleImage, EveryPixelBecomesABlockOfItsValue) {
    for (const Depth& depth : kDepths) {
        test::BmpOptions o;
        o.bitCount = depth.bitCount;
        const auto image =
            ParseBmpFile(test::MakeBmp(13, 5, [&](int x, int y) { return Pattern(x, y) * depth.on; }, o));
        ASSERT_TRUE(image);
        for (int factor = 1; factor <= kMaxScale; ++factor) {
            SCOPED_TRACE("depth " + std::to_string(depth.bitCount) + " factor " + std::to_string(factor));
            const auto scaled = ScaleImage(*image, factor);
            ASSERT_TRUE(scaled);
            EXPECT_EQ(scaled->width, 13 * factor);
            EXPECT_EQ(scaled->height, 5 * factor);
            EXPECT_EQ(scaled->stride, DibStride(13 * factor, depth.bitCount));
            EXPECT_EQ(ReadU32({reinterpret_cast<const char*>(scaled->header.data()), 24}, 4), 13u * factor);
            EXPECT_EQ(ReadU32({reinterpret_cast<const char*>(scaled->header.data()), 24}, 8), 5u * factor);
            EXPECT_EQ(ReadU32({reinterpret_cast<const char*>(scaled->header.data()), 24}, 20), scaled->BitsSize());
            EXPECT_TRUE(std::equal(image->header.begin() + 40, image->header.end(), scaled->header.begin() + 40))
                << "the colour table is kept";
            for (int y = 0; y < scaled->height; ++y) {
                for (int x = 0; x < scaled->width; ++x) {
                    ASSERT_EQ(scaled->PixelValue(x, y), image->PixelValue(x / factor, y / factor)) << x << "," << y;
                }
            }
        }
    }
}

TEST(ScaleImage, PicturesThatWouldOutgrowTheLimitAreNotMade) {
    const auto image = ParseBmpFile(test::MakeBmp(kMaxImageSide / 2 + 1, 1, [](int, int) { return 0u; }));
    ASSERT_TRUE(image);
    EXPECT_TRUE(ScaleImage(*image, 1));
    EXPECT_FALSE(ScaleImage(*image, 2));
}

TEST(ScaleShape, RunsOfTheEnlargedPictureExactly) {
    const auto image = ParseBmpFile(test::MakeBmp(13, 5, [](int x, int y) { return Pattern(x, y) * 0x123456u; }));
    ASSERT_TRUE(image);
    const SurfaceShape original = BuildSurfaceShape(*image);
    // Row 0 of the pattern: opaque at 1, 6, 11 (x*7 % 5 == 2), so its runs are [1,2) [6,7) [11,12).
    ASSERT_EQ(original.runs.front(), (ShapeRun{0, 1, 2}));
    for (int factor = 1; factor <= kMaxScale; ++factor) {
        SCOPED_TRACE(factor);
        const SurfaceShape scaled = ScaleShape(original, factor);
        const SurfaceShape fromPicture = BuildSurfaceShape(*ScaleImage(*image, factor));
        EXPECT_EQ(scaled.runs, fromPicture.runs);
        EXPECT_EQ(scaled.runs.size(), original.runs.size() * static_cast<std::size_t>(factor));
        EXPECT_EQ(scaled.runs[1], (ShapeRun{0, 6 * factor, 7 * factor}));
        EXPECT_EQ(scaled.runs.back().y, 5 * factor - 1);
        EXPECT_EQ(scaled.extentLeft, fromPicture.extentLeft);
        EXPECT_EQ(scaled.extentRight, fromPicture.extentRight);
        EXPECT_EQ(scaled.extentRight, 13 * factor);
    }
    const SurfaceShape empty = ScaleShape(SurfaceShape{}, 3);
    EXPECT_TRUE(empty.runs.empty());
    EXPECT_EQ(empty.extentLeft, 1024) << "no opaque pixel keeps the empty extent";
}

TEST(WholeScale, TheMonitorsScaleRoundedDownToAWholeFactor) {
    for (const auto& [dpi, factor] : {std::pair{96, 1}, {72, 1}, {144, 1}, {192, 2}, {240, 2}, {288, 3}, {480, 3}}) {
        EXPECT_EQ(WholeScaleFor(dpi, kMaxScale), factor) << dpi;
    }
}

}  // namespace
}  // namespace tc
