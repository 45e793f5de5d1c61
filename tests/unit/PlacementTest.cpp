// Where the window stands and how it looks: pose choice, taskbar offset, per-tick placement,
// dragging, painting of frames, transparency, always on top, iconizing and the tray, and
// the timers that drive them.
#include <gtest/gtest.h>

#include <set>

#include "common/Random.h"
#include "platform/Monitors.h"
#include "support/DialogHarness.h"

namespace tc {
namespace {

using test::DialogHarness;
using test::FakeWindowSystem;
using test::kMkLButton;

constexpr NativeHandle kTaskbar = 0x7001;

class PlacementTest : public ::testing::Test, protected DialogHarness {
protected:
    // Surfaces 100 pixels high, 20 wide; surfaces from 'dropFirst' on are drop poses.
    CTumbleDlg& StartSkin(int surfaces = 4, int dropFirst = 2, const char* omni = nullptr) {
        WriteRectangleSkin("r", surfaces, 20, 100);
        dir.Write("skin\\r\\separate.txt", std::to_string(dropFirst) + "\r\n");
        if (omni) dir.Write("skin\\r\\omni.txt", omni);
        UseSkin("r");
        return Start();
    }
    void AddBottomTaskbar() {
        fake.windows.windowsByClass["Shell_TrayWnd"] = kTaskbar;
        fake.windows.Window(kTaskbar).rect = {0, 738, 1024, 768};
    }
};

TEST_F(PlacementTest, StandingOnTheTaskbarTopRow) {
    AddBottomTaskbar();
    CTumbleDlg& d = StartSkin();
    EXPECT_EQ(d.m_posY, 669) << "screen bottom 768 - 100 + 1";
    Timer(kTimerTick);
    EXPECT_EQ(d.m_taskbarOffset, 30);
    EXPECT_EQ(fake.windows.Main().rect.top, 639);
    EXPECT_EQ(fake.windows.Main().rect.bottom - 1, 738) << "the bottom row is the taskbar's top row";
    EXPECT_EQ(fake.windows.Main().invalidations.back(), std::make_pair(20, 100));
}

TEST_F(PlacementTest, AnIdleTickNeitherMovesNorRepaintsButABlinkRepaints) {
    CTumbleDlg& d = StartSkin();
    Timer(kTimerTick);
    const std::size_t before = fake.windows.Main().invalidations.size();
    Timer(kTimerTick);
    EXPECT_EQ(fake.windows.Main().invalidations.size(), before);
    d.m_surface = 1;
    d.m_surfaceLastFrame[1] = 0;
    d.m_surfaceFrames[1][0] = OwnedObject(fake.painting, 0x9000);
    d.m_blinkCounter = 0;
    d.MoveToPosition();
    EXPECT_EQ(fake.windows.Main().invalidations.size(), before + 1) << "the frame is due";
}

TEST_F(PlacementTest, TaskbarAtTheSideOrTopOrInFreePlacementGivesNoOffset) {
    AddBottomTaskbar();
    fake.windows.Window(kTaskbar).rect = {0, 0, 60, 768};
    CTumbleDlg& d = StartSkin();
    EXPECT_EQ(d.TaskbarOffset(), 0);
    fake.windows.Window(kTaskbar).rect = {0, 0, 1024, 30};
    EXPECT_EQ(d.TaskbarOffset(), 0);
    fake.windows.Window(kTaskbar).rect = {0, 738, 1024, 768};
    EXPECT_EQ(d.TaskbarOffset(), 30);
    d.m_placeMode = 1;
    EXPECT_EQ(d.TaskbarOffset(), 0);
    fake.windows.windowsByClass.clear();
    d.m_placeMode = 0;
    EXPECT_EQ(d.TaskbarOffset(), 0) << "no taskbar window";
}

TEST_F(PlacementTest, PosesAreChosenFromTheirRanges) {
    CTumbleDlg& d = StartSkin(5, 3);
    SeedRandom(42);
    std::set<int> normal, drop;
    for (int i = 0; i < 200; ++i) {
        d.SetPose(false);
        normal.insert(d.m_surface);
        EXPECT_FALSE(d.m_dropPose);
        d.SetPose(true);
        drop.insert(d.m_surface);
        EXPECT_TRUE(d.m_dropPose);
    }
    EXPECT_EQ(normal, (std::set<int>{0, 1, 2}));
    EXPECT_EQ(drop, (std::set<int>{3, 4}));

    SeedRandom(1);  // first draw 41: (41 * 3) >> 15 = 0
    d.SetPose(false);
    EXPECT_EQ(d.m_surface, 0);
    EXPECT_EQ(MainLook().shape, fake.painting.liveRegions.at(d.m_surfaceRegion[0].Get()));
    EXPECT_EQ(d.m_winWidth, 20);
    EXPECT_EQ(d.m_winHeight, 100);
    EXPECT_TRUE(fake.windows.Main().topmost);
}

TEST_F(PlacementTest, SurfaceWithoutOpaquePixelsGetsTheOnePixelShape) {
    dir.Write("skin\\e\\profile.txt", "E\r\n");
    for (int s = 0; s < 2; ++s) {
        dir.Write("skin\\e\\surface" + std::to_string(s) + ".bmp", test::MakeBmp(5, 5, [](int, int) { return 7u; }));
    }
    UseSkin("e");
    CTumbleDlg& d = Start();
    EXPECT_FALSE(d.m_surfaceRegion[0]);
    EXPECT_TRUE(MainLook().shapeIsOnePixel);
}

TEST_F(PlacementTest, DraggingOnTheBottomMovesOnlySideways) {
    CTumbleDlg& d = StartSkin();
    Timer(kTimerTick);
    const Rect before = fake.windows.Main().rect;
    Send(kWmLButtonDown, 0, PointParam(5, 7));
    EXPECT_TRUE(d.m_dragging);
    EXPECT_TRUE(fake.input.captured);
    Send(kWmMouseMove, kMkLButton, PointParam(55, -93));
    EXPECT_EQ(d.m_posX, before.left + 50);
    EXPECT_EQ(fake.windows.Main().rect.top, before.top);
    Send(kWmLButtonUp);
    EXPECT_FALSE(d.m_dragging);
    EXPECT_FALSE(fake.input.captured);
    Send(kWmMouseMove, kMkLButton, PointParam(80, 80));
    EXPECT_EQ(d.m_posX, before.left + 50) << "no drag without the button";
}

TEST_F(PlacementTest, ADragEndsWhenTheCaptureIsLostOrTheButtonIsUp) {
    CTumbleDlg& d = StartSkin();
    Timer(kTimerTick);
    const int startX = fake.windows.Main().rect.left;
    // A right click opens the menu mid-drag: the menu takes the capture, no button-up comes.
    Send(kWmLButtonDown, 0, PointParam(5, 7));
    Send(kWmCaptureChanged);
    Send(kWmMouseMove, kMkLButton, PointParam(45, 7));
    EXPECT_EQ(d.m_posX, startX) << "the cat no longer follows the mouse";
    // A move without the left button held does not drag either.
    Send(kWmLButtonDown, 0, PointParam(5, 7));
    Send(kWmMouseMove, 0, PointParam(45, 7));
    EXPECT_EQ(d.m_posX, startX);
}

// Layouts of several monitors, each with the x a sideways drag takes the cat (20 × 100) to:
// the cat then stands on the bottom line of the monitor below it.
struct FloorCase {
    const char* layout;
    std::vector<Monitor> monitors;  // the primary one first
    int dragBy;
    int bottomRow;  // the window's bottom row afterwards
    int balloonLeftAtMost;  // the balloon is placed on the cat's monitor
    int balloonLeftAtLeast;
};

TEST_F(PlacementTest, DraggedSidewaysTheCatStandsOnTheBottomOfTheMonitorBelowIt) {
    const Monitor primary{{0, 0, 1024, 768}, {0, 0, 1024, 728}, 96};
    const FloorCase cases[] = {
        {"primary right of a taller secondary with a bottom taskbar",
         {primary, {{-1280, -256, 0, 768}, {-1280, -256, 0, 738}, 96}}, -600, 738, -328, -1280},
        {"a monitor above and to the right, its taskbar at the top",
         {primary, {{1024, -1024, 2304, 0}, {1024, -994, 2304, 0}, 96}}, 1200, 0, 2304 - 328, 1024},
        {"a secondary right with its taskbar at the left side",
         {primary, {{1024, 0, 2048, 600}, {1084, 0, 2048, 600}, 96}}, 1200, 600, 2048 - 328, 1084},
        {"one monitor with its taskbar along the bottom", {primary}, 300, 728, 1024 - 328, 0},
    };
    for (const FloorCase& c : cases) {
        SCOPED_TRACE(c.layout);
        fake.windows.monitors = c.monitors;
        CTumbleDlg& d = StartSkin();
        Timer(kTimerTick);
        EXPECT_EQ(fake.windows.Main().rect.bottom - 1, 728) << "first on the primary's taskbar";
        const int left = fake.windows.Main().rect.left;
        Send(kWmLButtonDown, 0, PointParam(5, 7));
        Send(kWmMouseMove, kMkLButton, PointParam(5 + c.dragBy, 7));
        Send(kWmLButtonUp);
        Timer(kTimerTick);
        EXPECT_EQ(fake.windows.Main().rect.left, left + c.dragBy);
        EXPECT_EQ(fake.windows.Main().rect.bottom - 1, c.bottomRow);
        d.Say("hello");
        EXPECT_LE(d.m_balloon->m_x, c.balloonLeftAtMost);
        EXPECT_GE(d.m_balloon->m_x, c.balloonLeftAtLeast);
        EXPECT_GE(d.m_balloon->m_y, MonitorOf(c.monitors, fake.windows.Main().rect).work.top);
        Destroy();
    }
}

TEST_F(PlacementTest, APlaceOnAMonitorSinceUnpluggedComesBackOntoTheNearestOne) {
    const Monitor primary{{0, 0, 1024, 768}, {0, 0, 1024, 728}, 96};
    const Monitor left{{-1280, 0, 0, 1024}, {-1280, 0, 0, 1024}, 96};
    // Saved on a monitor that is gone: at start the cat is put on the nearest one's work area.
    fake.windows.monitors = {primary};
    StartSkin(4, 2, "-900\r\n900\r\n");
    Timer(kTimerTick);
    EXPECT_EQ(fake.windows.Main().rect, (Rect{0, 728 - 100, 20, 728}));
    Destroy();
    // Unplugged while running: moved at the display change; a monitor left of the primary
    // keeps a cat standing on it while it is there.
    fake.windows.monitors = {primary, left};
    CTumbleDlg& e = StartSkin(4, 2, "-900\r\n900\r\n");
    Timer(kTimerTick);
    EXPECT_EQ(fake.windows.Main().rect, (Rect{-900, 900, -880, 1000}));
    fake.windows.monitors = {primary};
    Send(kWmDisplayChange);
    EXPECT_EQ(fake.windows.Main().rect, (Rect{0, 628, 20, 728}));
    EXPECT_EQ(e.m_posX, 0);
}

TEST_F(PlacementTest, DraggingInFreePlacementMovesBothWays) {
    CTumbleDlg& d = StartSkin(4, 2, "300\r\n200\r\n");
    Timer(kTimerTick);
    EXPECT_EQ(fake.windows.Main().rect.left, 300);
    Send(kWmLButtonDown, 0, PointParam(5, 7));
    Send(kWmMouseMove, kMkLButton, PointParam(-15, 17));
    EXPECT_EQ(d.m_posX, 280);
    EXPECT_EQ(d.m_posY, 210);
    EXPECT_EQ(fake.windows.Main().rect.top, 210);
}

TEST_F(PlacementTest, BlinkPaintsFramesOnlyUpToTheLastOne) {
    CTumbleDlg& d = StartSkin();
    d.m_surface = 1;
    d.m_surfaceLastFrame[1] = 3;
    // Frame 2 did not decode: its surface shows in its place, never a blank window.
    for (int f : {0, 1, 3}) d.m_surfaceFrames[1][f] = OwnedObject(fake.painting, 0x9000 + f);
    for (int counter = -1; counter <= 9; ++counter) {
        d.m_blinkCounter = counter;
        Send(kWmPaint);
        if (counter >= 0 && counter <= 3 && counter != 2) {
            EXPECT_EQ(MainLook().lastPainted, static_cast<NativeHandle>(0x9000 + counter));
        } else {
            EXPECT_EQ(MainLook().lastPainted, d.m_surfaceBitmap[1].Get()) << counter;
        }
    }
    d.m_loading = true;
    Send(kWmPaint);
    EXPECT_EQ(MainLook().lastPainted, 0u) << "nothing is painted while a skin loads";
}

TEST_F(PlacementTest, AnimationRunsTenTicksOnSurfacesWithFrames) {
    CTumbleDlg& d = StartSkin();
    d.m_surface = 0;
    d.m_surfaceLastFrame.fill(-1);
    for (int i = 0; i < 500; ++i) Timer(kTimerTick);
    EXPECT_EQ(d.m_blinkCounter, -1) << "no frames, no animation";

    d.m_surfaceLastFrame[0] = 1;
    int ticks = 0;
    while (d.m_blinkCounter == -1 && ticks < 5000) {
        Timer(kTimerTick);
        ++ticks;
    }
    ASSERT_EQ(d.m_blinkCounter, 0);
    for (int expected = 1; expected <= 9; ++expected) {
        Timer(kTimerTick);
        EXPECT_EQ(d.m_blinkCounter, expected);
    }
    Timer(kTimerTick);
    EXPECT_EQ(d.m_blinkCounter, -1);
    EXPECT_EQ(fake.windows.Main().timers.at(kTimerTick), 50);
}

TEST_F(PlacementTest, PoseTimerWaitsWhileADropPoseShows) {
    CTumbleDlg& d = StartSkin();
    d.SetPose(true);
    const int placed = fake.windows.Main().placeCount;
    const int period = fake.windows.Main().timers.at(kTimerPose);
    Timer(kTimerPose);
    EXPECT_EQ(fake.windows.Main().placeCount, placed);
    EXPECT_EQ(fake.windows.Main().timers.at(kTimerPose), period) << "keeps its period";
    d.m_dropPose = false;
    for (int i = 0; i < 50; ++i) {
        Timer(kTimerPose);
        const int p = fake.windows.Main().timers.at(kTimerPose);
        EXPECT_TRUE(p == 30000 || p == 60000 || p == 90000 || p == 120000) << p;
        EXPECT_LT(d.m_surface, 2);
    }
}

TEST_F(PlacementTest, TransparencyFromTheSettings) {
    dir.Write("tumblecat.cfg", "0\r\nr\r\n10\r\n0\r\n0\r\n0\r\n9801\r\n1\r\n896\r\n1\r\n%rnd\r\n");
    WriteRectangleSkin("r", 2, 20, 100);
    CTumbleDlg& d = Start();
    EXPECT_TRUE(d.m_transparent);
    EXPECT_EQ(MainLook().layeredAlpha, 128);
}

TEST_F(PlacementTest, OpaqueWhenTransparencyIsOff) {
    StartSkin();
    EXPECT_FALSE(MainLook().layeredAlpha);
}

TEST_F(PlacementTest, IconizedCatStaysHiddenThroughPoseChanges) {
    CTumbleDlg& d = StartSkin();
    d.m_autoDrop = true;
    fake.windows.Main().timers[kTimerAutoDrop] = 60000;
    Send(kMsgTrayNotify, 1, kWmLButtonDblClk);
    EXPECT_TRUE(d.m_iconized);
    EXPECT_FALSE(fake.windows.Main().visible);
    EXPECT_EQ(fake.windows.Main().timers.count(kTimerAutoDrop), 0u) << "automatic dropping pauses";
    d.m_dropPose = false;
    Timer(kTimerPose);
    Command(kCmdAlwaysOnTop);
    EXPECT_FALSE(fake.windows.Main().visible) << "a hidden cat stays hidden";
    EXPECT_EQ(Send(kMsgTrayNotify, 1, kWmRButtonDown + 100), 1) << "other mouse messages are ignored";
    EXPECT_TRUE(d.m_iconized);
    Command(kCmdIconize);
    EXPECT_FALSE(d.m_iconized);
    EXPECT_TRUE(fake.windows.Main().visible);
    EXPECT_EQ(fake.windows.Main().timers.at(kTimerAutoDrop), d.m_autoDropMinutes * 60000);
}

TEST_F(PlacementTest, AlwaysOnTopToggles) {
    CTumbleDlg& d = StartSkin();
    EXPECT_TRUE(fake.windows.Main().topmost);
    Command(kCmdAlwaysOnTop);
    EXPECT_FALSE(d.m_alwaysOnTop);
    EXPECT_FALSE(fake.windows.Main().topmost);
    Command(kCmdAlwaysOnTop);
    EXPECT_TRUE(fake.windows.Main().topmost);
}

TEST_F(PlacementTest, QuitEndsTheWindowOnceTheGoodbyeIsSaid) {
    CTumbleDlg& d = StartSkin();
    Command(kCmdQuit);
    EXPECT_TRUE(d.m_quitRequested);
    EXPECT_FALSE(fake.windows.Main().ended);
    ASSERT_TRUE(d.BalloonSpeaking()) << "the goodbye line is typed first";
    Timer(kTimerTick);
    EXPECT_EQ(fake.windows.Main().timers.count(kTimerTick), 1u);
    while (d.BalloonSpeaking()) d.m_balloon->OnTimer(kBalloonTimerId);
    Timer(kTimerTick);
    EXPECT_EQ(fake.windows.Main().timers.count(kTimerTick), 0u);
    EXPECT_EQ(fake.windows.Main().timers.at(kTimerEnd), 1000);
    Timer(kTimerEnd);
    EXPECT_TRUE(fake.windows.Main().ended);
    EXPECT_EQ(fake.windows.Main().endResult, 1);
}

TEST_F(PlacementTest, QuitWhileIconizedEndsSooner) {
    StartSkin();
    Command(kCmdIconize);
    Command(kCmdQuit);
    Timer(kTimerTick);
    EXPECT_EQ(fake.windows.Main().timers.at(kTimerEnd), 100);
}

}  // namespace
}  // namespace tc
