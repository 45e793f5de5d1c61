// Loading skins into the character window: surface numbering and kinds, frames, the pose
// split, the descriptor files, and the release of every picture and shape.
#include <gtest/gtest.h>

#include "common/Random.h"
#include "support/DialogHarness.h"

namespace tc {
namespace {

using test::DialogHarness;
using test::MakeBmp;
using test::MakePng;

class SkinLoadTest : public ::testing::Test, protected DialogHarness {
protected:
    std::string SmallBmp() const {
        return MakeBmp(8, 6, [](int x, int) { return x > 2 ? 0x336699u : 0xFF00FFu; });
    }
    std::string SmallPng() const {
        return MakePng(8, 6, [](int x, int) { return x > 2 ? 0x336699u : 0xFF00FFu; });
    }
    void WriteSkinFile(const std::string& name, const std::string& bytes) { dir.Write("skin\\s\\" + name, bytes); }
    void StartWithSkinS() {
        WriteSkinFile("profile.txt", "S\r\n");
        UseSkin("s");
        Start();
    }
};

TEST_F(SkinLoadTest, SurfacesLoadWithoutGapsUpToTheFirstMissingOne) {
    for (int s : {0, 1, 2, 3, 5}) WriteSkinFile("surface" + std::to_string(s) + ".bmp", SmallBmp());
    StartWithSkinS();
    EXPECT_FALSE(fake.windows.Main().ended);
    EXPECT_EQ(dlg->m_surfaceCount, 4);
    EXPECT_FALSE(dlg->m_surfaceInfo[5]) << "surface5.bmp after the gap is not used";
    EXPECT_EQ(fake.painting.liveBitmaps.size(), 4u);
}

TEST_F(SkinLoadTest, FromTenOnSurfacesCarryTheLetterM) {
    for (int s = 0; s < 10; ++s) WriteSkinFile("surface" + std::to_string(s) + ".bmp", SmallBmp());
    WriteSkinFile("surface10m.bmp", SmallBmp());
    StartWithSkinS();
    EXPECT_EQ(dlg->m_surfaceCount, 11);
    Destroy();

    dir.Write("skin\\s\\surface10m.bmp", "");
    WriteSkinFile("surface10.bmp", SmallBmp());
    Start();
    EXPECT_EQ(dlg->m_surfaceCount, 10) << "an empty surface10m.bmp ends the surfaces";
    EXPECT_EQ(dlg->m_surfaceLastFrame[1], 0) << "surface10.bmp is frame 0 of surface 1";
}

TEST_F(SkinLoadTest, PngWinsWhenBothKindsArePresent) {
    WriteSkinFile("surface0.png", SmallPng());
    WriteSkinFile("surface1.png", SmallPng());
    WriteSkinFile("surface0.bmp", SmallBmp());
    WriteSkinFile("surface1.bmp", SmallBmp());
    WriteSkinFile("surface2.bmp", SmallBmp());
    StartWithSkinS();
    EXPECT_EQ(dlg->m_surfaceCount, 2) << "surface2.bmp beside PNG surfaces is ignored";
}

TEST_F(SkinLoadTest, RefusedFirstSurfaceFailsTheSkin) {
    test::PngOptions rgba;
    rgba.colorType = 6;
    WriteSkinFile("surface0.png", MakePng(8, 6, [](int, int) { return 0u; }, rgba));
    WriteSkinFile("surface1.png", SmallPng());
    StartWithSkinS();
    EXPECT_TRUE(fake.windows.Main().ended);
    EXPECT_TRUE(dlg->m_startFailed);
    EXPECT_TRUE(dlg->m_loading);
    EXPECT_TRUE(fake.painting.liveBitmaps.empty());
}

TEST_F(SkinLoadTest, MissingProfileFailsTheSkin) {
    WriteSkinFile("surface0.bmp", SmallBmp());
    UseSkin("s");
    Start();
    EXPECT_TRUE(fake.windows.Main().ended);
}

TEST_F(SkinLoadTest, FramesAreNumberedWithoutGaps) {
    WriteSkinFile("surface0.png", SmallPng());
    WriteSkinFile("surface1.png", SmallPng());
    WriteSkinFile("surface00.png", SmallPng());
    WriteSkinFile("surface01.png", SmallPng());
    WriteSkinFile("surface03.png", SmallPng());
    WriteSkinFile("surface10.png", SmallPng());
    WriteSkinFile("surface11.png", SmallPng());
    StartWithSkinS();
    EXPECT_EQ(dlg->m_surfaceLastFrame[0], 1);
    EXPECT_EQ(dlg->m_surfaceLastFrame[1], 1);
    EXPECT_EQ(dlg->m_surfaceLastFrame[2], -1);
}

TEST_F(SkinLoadTest, BrokenFramesEndPngFramesButCountForBmp) {
    WriteSkinFile("surface0.png", SmallPng());
    WriteSkinFile("surface1.png", SmallPng());
    WriteSkinFile("surface00.png", "not a png");
    WriteSkinFile("surface01.png", SmallPng());
    StartWithSkinS();
    EXPECT_EQ(dlg->m_surfaceLastFrame[0], -1);
    Destroy();

    dir.Write("skin\\t\\profile.txt", "T\r\n");
    dir.Write("skin\\t\\surface0.bmp", SmallBmp());
    dir.Write("skin\\t\\surface1.bmp", SmallBmp());
    dir.Write("skin\\t\\surface00.bmp", "damaged");
    dir.Write("skin\\t\\surface01.bmp", SmallBmp());
    UseSkin("t");
    Start();
    EXPECT_EQ(dlg->m_surfaceLastFrame[0], 1);
    EXPECT_FALSE(dlg->m_surfaceFrames[0][0]) << "a frame that does not load is drawn as nothing";
    EXPECT_TRUE(dlg->m_surfaceFrames[0][1]);
}

TEST_F(SkinLoadTest, TestSkinLoadsWithPosesShapesAndDefaults) {
    test::CopyTestSkin("tabby-bmp", dir.Base() + "skin\\tabby");
    UseSkin("tabby");
    Start();
    CTumbleDlg& d = *dlg;
    EXPECT_EQ(d.m_surfaceCount, 3);
    EXPECT_EQ(d.m_normalSurfaceCount, 2);
    EXPECT_EQ(d.m_dropSurfaceFirst, 2);
    EXPECT_EQ(d.m_dropSurfaceCount, 1);
    EXPECT_EQ(d.m_surfaceLastFrame[1], 1);
    EXPECT_EQ(d.m_surfaceInfo[0]->bitCount, 8);
    EXPECT_EQ(d.m_surfaceInfo[1]->bitCount, 24);
    EXPECT_EQ(d.m_surfaceInfo[0]->width, 40);
    EXPECT_EQ(d.m_surfaceInfo[0]->height, 48);
    EXPECT_EQ(d.m_surfaceBitsSize[1], 120 * 48) << "40 pixels of 3 bytes per row";
    EXPECT_EQ(d.m_balloonOffsetX, 1024);
    EXPECT_EQ(d.m_placeMode, 0);
    // The body is a circle of radius 14.5 around column 20: the extent is about 6 to 35.
    EXPECT_GE(d.m_surfaceExtent[0].left, 5);
    EXPECT_LE(d.m_surfaceExtent[0].left, 7);
    const HeadRect head = d.m_headRect[0];
    EXPECT_EQ(head.top, 0);
    EXPECT_EQ(head.bottom, 31);
    EXPECT_EQ(head.left, d.m_surfaceExtent[0].left + ((d.m_surfaceExtent[0].right - d.m_surfaceExtent[0].left) >> 2));
    EXPECT_FALSE(d.m_loading);
    EXPECT_LT(d.m_surface, 2) << "start-up chooses a normal pose";
    EXPECT_EQ(fake.painting.liveRegions.size(), 3u);
}

// The size setting enlarges pictures, shapes, head rectangles and balloon offsets alike.
TEST_F(SkinLoadTest, EverySizeEnlargesWhatTheSkinMeasures) {
    fake.windows.screen = {0, 0, 2048, 1536};  // room for the balloon at 3 times
    for (int f = 1; f <= 3; ++f) {
        SCOPED_TRACE(f);
        for (int s = 0; s < 2; ++s) WriteSkinFile("surface" + std::to_string(s) + ".bmp", SmallBmp());
        WriteSkinFile("profile.txt", "S\r\n");
        WriteSkinFile("balloon.txt", "10\r\n40\r\n");
        WriteSkinFile("headrect.txt", "1,2,3,4\r\n");
        WriteSkinFile("omni.txt", "100\r\n200\r\n");
        dir.Write("tumblecat.cfg", "0\r\ns\r\n10\r\n0\r\n0\r\n0\r\n9801\r\n1\r\n767\r\n1\r\n%rnd\r\n" +
                                       std::to_string(f) + "\r\n");
        CTumbleDlg& d = Start();
        EXPECT_EQ(fake.windows.Main().rect, (Rect{100, 200, 100 + 8 * f, 200 + 6 * f}));
        std::vector<ShapeRun> runs;  // x > 2 of every row, each row f times
        for (int y = 0; y < 6 * f; ++y) runs.push_back({y, 3 * f, 8 * f});
        EXPECT_EQ(MainLook().shape, runs);
        Send(kWmPaint);
        EXPECT_EQ(MainLook().paintedSize, (test::FakePainting::WindowLook::PaintedSize{8, 6, f}))
            << "the picture's own pixels, drawn enlarged";
        EXPECT_EQ(d.m_headRect[0], (HeadRect{f, 2 * f, 3 * f, 4 * f})) << "from headrect.txt";
        EXPECT_EQ(d.m_headRect[1], (HeadRect{4 * f, 0, 7 * f, 31 * f})) << "from the opaque extent 3 to 8";
        d.Say("hi");
        EXPECT_EQ(d.m_balloon->m_x, 100 + 8 * f + 10 * f) << "right of the extent, balloon.txt's gap enlarged";
        EXPECT_EQ(d.m_balloon->m_y, 200 + 40 * f);
        Destroy();
    }
}

TEST_F(SkinLoadTest, DescriptorFilesTakeEffect) {
    for (int s = 0; s < 5; ++s) WriteSkinFile("surface" + std::to_string(s) + ".bmp", SmallBmp());
    WriteSkinFile("separate.txt", "3\r\n");
    WriteSkinFile("balloon.txt", "10\r\n40\r\n");
    WriteSkinFile("headrect.txt", "1,2,3,4\r\n");
    WriteSkinFile("omni.txt", "100\r\n200\r\n\r\n");
    StartWithSkinS();
    EXPECT_EQ(dlg->m_normalSurfaceCount, 3);
    EXPECT_EQ(dlg->m_dropSurfaceFirst, 3);
    EXPECT_EQ(dlg->m_dropSurfaceCount, 2);
    EXPECT_EQ(dlg->m_balloonOffsetX, 10);
    EXPECT_EQ(dlg->m_balloonOffsetY, 40);
    EXPECT_EQ(dlg->m_headRect[0], (HeadRect{1, 2, 3, 4}));
    EXPECT_EQ(dlg->m_headRect[1], DefaultHeadRect(dlg->m_surfaceExtent[1]));
    EXPECT_EQ(dlg->m_placeMode, 1);
    EXPECT_EQ(fake.windows.Main().rect.left, 100);
    EXPECT_EQ(fake.windows.Main().rect.top, 200);
}

TEST_F(SkinLoadTest, FailingBitmapCreationEndsTheSurfaces) {
    for (int s = 0; s < 4; ++s) WriteSkinFile("surface" + std::to_string(s) + ".bmp", SmallBmp());
    fake.painting.failBitmapsAfter = 2;
    StartWithSkinS();
    EXPECT_EQ(dlg->m_surfaceCount, 2);
}

TEST_F(SkinLoadTest, DestructionReleasesEverythingAndSavesTheFreePosition) {
    for (int s = 0; s < 2; ++s) WriteSkinFile("surface" + std::to_string(s) + ".bmp", SmallBmp());
    WriteSkinFile("surface00.bmp", SmallBmp());
    WriteSkinFile("omni.txt", "");
    StartWithSkinS();
    EXPECT_EQ(dlg->m_placeMode, 1) << "mode 2 becomes 1 at the first pose";
    EXPECT_EQ(dlg->m_posY, 768 - 6 + 1) << "its height computed once from the screen bottom";
    dlg->m_posX = 33;
    Destroy();
    EXPECT_EQ(dir.Read("skin\\s\\omni.txt"), "33\r\n763\r\n\r\n");
    EXPECT_TRUE(fake.painting.liveBitmaps.empty());
    EXPECT_TRUE(fake.painting.liveRegions.empty());
}

TEST_F(SkinLoadTest, BottomStandingSkinWritesNoOmniFile) {
    for (int s = 0; s < 2; ++s) WriteSkinFile("surface" + std::to_string(s) + ".bmp", SmallBmp());
    StartWithSkinS();
    Destroy();
    EXPECT_FALSE(dir.Exists("skin\\s\\omni.txt"));
}

}  // namespace
}  // namespace tc
