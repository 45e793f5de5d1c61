// The skin's small text files: balloon offsets, head rectangles, pose separation and the
// free placement of omni.txt, with their defaults.
#include <gtest/gtest.h>

#include "skin/Descriptors.h"
#include "skin/SkinFiles.h"

namespace tc {
namespace {

TEST(Profile, NameLineThenProfileLinesEachEndedByCrLf) {
    std::string title, profile;
    ParseProfile("Whisker\r\nA cat.\r\nLikes naps.\r\n", title, profile);
    EXPECT_EQ(title, "Whisker");
    EXPECT_EQ(profile, "A cat.\r\nLikes naps.\r\n");
    ParseProfile("Only\n", title, profile);
    EXPECT_EQ(profile, "");
    ParseProfile("", title, profile);
    EXPECT_EQ(title, "");
}

TEST(BalloonFile, OffsetsAndTheirNotGivenValue) {
    auto o = ParseBalloonOffsets(std::nullopt);
    EXPECT_EQ(o.x, 1024);
    EXPECT_EQ(o.y, 1024);
    o = ParseBalloonOffsets(std::string("10\r\n40\r\n"));
    EXPECT_EQ(o.x, 10);
    EXPECT_EQ(o.y, 40);
    o = ParseBalloonOffsets(std::string("10\r\n"));
    EXPECT_EQ(o.x, 10);
    EXPECT_EQ(o.y, 1024) << "a one-line file leaves Y not given";
    o = ParseBalloonOffsets(std::string(""));
    EXPECT_EQ(o.x, 1024);
}

TEST(HeadRectFile, DefaultsComeFromTheOpaqueExtent) {
    EXPECT_EQ(DefaultHeadRect({40, 120}), (HeadRect{60, 0, 100, 31}));
    EXPECT_EQ(DefaultHeadRect({1024, 0}), (HeadRect{1024 + ((0 - 1024) >> 2), 0, 0 - ((0 - 1024) >> 2), 31}))
        << "a surface without opaque pixels keeps the arithmetic of its empty extent";
}

TEST(HeadRectFile, EachValueNeedsTheCommaThatEndsIt) {
    std::array<HeadRect, kSurfaceCount> rects;
    rects.fill({1, 2, 3, 4});
    ParseHeadRects("10,20,30,40\r\n10,20,30\r\n10,20,30,\r\nno comma\r\n,,,7\r\n", rects);
    EXPECT_EQ(rects[0], (HeadRect{10, 20, 30, 40}));
    EXPECT_EQ(rects[1], (HeadRect{10, 20, 3, 4})) << "10,20,30 sets left and top only";
    EXPECT_EQ(rects[2], (HeadRect{10, 20, 30, 4})) << "a third comma with nothing after it";
    EXPECT_EQ(rects[3], (HeadRect{1, 2, 3, 4}));
    EXPECT_EQ(rects[4], (HeadRect{0, 0, 0, 7}));
    EXPECT_EQ(rects[5], (HeadRect{1, 2, 3, 4}));
}

TEST(HeadRectFile, LinesBeyondThe32ndAreIgnored) {
    std::string file;
    for (int i = 0; i < 33; ++i) file += std::to_string(i) + ",0,0,0\n";
    std::array<HeadRect, kSurfaceCount> rects{};
    ParseHeadRects(file, rects);
    EXPECT_EQ(rects[31].left, 31);
}

TEST(SeparateFile, FirstDropPoseWithinTheSurfaces) {
    EXPECT_EQ(ParseSeparation(std::string("3\r\n"), 5), 3);
    EXPECT_EQ(ParseSeparation(std::string("5\r\n"), 5), 1);
    EXPECT_EQ(ParseSeparation(std::string("0"), 5), 1);
    EXPECT_EQ(ParseSeparation(std::string("-2"), 5), 1);
    EXPECT_EQ(ParseSeparation(std::string(""), 5), 1);
    EXPECT_EQ(ParseSeparation(std::nullopt, 5), 1);
    EXPECT_EQ(ParseSeparation(std::string("4"), 5), 4);
}

TEST(OmniFile, PresenceAndSizeChooseThePlacementMode) {
    EXPECT_EQ(ParseOmni(std::nullopt).mode, 0);
    EXPECT_EQ(ParseOmni(std::string("")).mode, 2);
    EXPECT_EQ(ParseOmni(std::string("7")).mode, 2);
    const auto free = ParseOmni(std::string("100\r\n200\r\n\r\n"));
    EXPECT_EQ(free.mode, 1);
    EXPECT_EQ(free.x, 100);
    EXPECT_EQ(free.y, 200);
    const auto oneLine = ParseOmni(std::string("150"));
    EXPECT_EQ(oneLine.mode, 1);
    EXPECT_EQ(oneLine.y, 150) << "without a second line the first is read again";
}

TEST(OmniFile, WrittenAsTwoNumbersAndAnEmptyLine) {
    EXPECT_EQ(FormatOmni(-5, 300), "-5\r\n300\r\n\r\n");
    const auto back = ParseOmni(FormatOmni(-5, 300));
    EXPECT_EQ(back.x, -5);
    EXPECT_EQ(back.y, 300);
}

}  // namespace
}  // namespace tc
