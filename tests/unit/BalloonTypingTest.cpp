// The balloon without its window: where it stands beside the cat, how its text is typed into
// rows, when it hides, and what each tick asks the window to repaint.
#include <gtest/gtest.h>

#include "talk/BalloonTyping.h"

namespace tc {
namespace {

BalloonPlacementInputs Cat(int x, int y) {
    return {.posX = x, .posY = y, .winWidth = 120, .extentLeft = 20, .extentRight = 90, .surfaceHeight = 200,
            .screen = {0, 0, 1024, 768}};
}

TEST(PlaceBalloon, BesideTheCatOnTheRoomierSide) {
    BalloonPlacementInputs in = Cat(100, 300);
    EXPECT_EQ(PlaceBalloon(in), (BalloonPlacement{190, 366, 0}));
    in.offsetX = 10;
    in.offsetY = 20;
    EXPECT_EQ(PlaceBalloon(in), (BalloonPlacement{200, 320, 0}));
    EXPECT_EQ(PlaceBalloon(Cat(700, 300)), (BalloonPlacement{700 + 20 - 328, 366, 1}));
    EXPECT_EQ(PlaceBalloon(Cat(100, 700)).y, 672) << "700 + 66 is lowered to 768 - 96";
    in.offsetY = 1024;
    EXPECT_EQ(PlaceBalloon(in).y, 672);
}

TEST(PlaceBalloon, StaysOnTheScreenWhereverTheCatIs) {
    EXPECT_EQ(PlaceBalloon(Cat(-200, -150)), (BalloonPlacement{0, 0, 0}));
    BalloonPlacementInputs in = Cat(300, 300);
    in.extentRight = 900;
    EXPECT_EQ(PlaceBalloon(in), (BalloonPlacement{1024 - 328, 366, 0}));
    in = Cat(980, 300);
    in.offsetX = -400;
    EXPECT_EQ(PlaceBalloon(in).x, 1024 - 328);
    in.offsetX = 2147483647;
    in.offsetY = 2147483647;
    EXPECT_EQ(PlaceBalloon(in), (BalloonPlacement{0, 672, 1}));
}

std::string Typed(BalloonTyping& b) {
    std::string all;
    for (const std::string& row : b.m_rows) all += row + "|";
    return all;
}

int TicksUntilComplete(BalloonTyping& b) {
    int ticks = 0;
    while (b.m_speaking && ticks < 10000) {
        b.Tick();
        ++ticks;
    }
    return ticks;
}

TEST(BalloonTyping, RowsWrapAt48BytesAndTheLastFiveShow) {
    BalloonTyping b;
    b.Start(std::string(60, 'a'));
    TicksUntilComplete(b);
    EXPECT_EQ(Typed(b), std::string(48, 'a') + "|" + std::string(12, 'a') + "|");
    b.Start(std::string(47, 'a') + "\x82\xA0" + "b");
    TicksUntilComplete(b);
    EXPECT_EQ(b.m_rows[0].size(), 49u);
    EXPECT_EQ(b.m_rows[1], "b");
    b.Start("0\n1\n2\n3\n4\n5\n6");
    TicksUntilComplete(b);
    EXPECT_EQ(std::vector<std::string>(b.VisibleRows().begin(), b.VisibleRows().end()),
              (std::vector<std::string>{"2", "3", "4", "5", "6"}));
    b.Start("A\x82");
    TicksUntilComplete(b);
    EXPECT_EQ(Typed(b), "A\x82|") << "a lone lead byte at the end is typed and ends the text";
}

TEST(BalloonTyping, WMarksPauseAndAreNotShown) {
    BalloonTyping b;
    b.Start("AwB");
    EXPECT_EQ(TicksUntilComplete(b), 4);  // A, w, B, then the tick that finds it complete
    EXPECT_EQ(Typed(b), "AB|");
    b.Start("Aw5B");
    b.Tick();
    for (int i = 0; i < 5; ++i) b.Tick();
    EXPECT_EQ(Typed(b), "A|");
    b.Tick();
    EXPECT_EQ(Typed(b), "AB|") << "B comes six ticks after A";
}

TEST(BalloonTyping, ShowsHidesAndCloses) {
    BalloonTyping b;
    BalloonUpdate u = b.Start("");
    EXPECT_TRUE(u.hide);
    EXPECT_FALSE(u.show);
    EXPECT_TRUE(b.m_speaking);
    b.Tick();
    EXPECT_FALSE(b.m_speaking);

    u = b.Start("Hi", "Aya");
    EXPECT_TRUE(u.show);
    EXPECT_EQ(b.m_caption, "from Aya (DirectSSTP)");
    b.Tick();
    EXPECT_FALSE(b.Click().hide) << "a click while typing does nothing";
    EXPECT_TRUE(b.DoubleClick().hide);
    EXPECT_EQ(TicksUntilComplete(b), 2) << "typing goes on unseen";
    for (int i = 1; i < 99; ++i) EXPECT_FALSE(b.Tick().hide);
    EXPECT_TRUE(b.Tick().hide) << "100 ticks after completion";
    EXPECT_EQ(b.m_closeCount, 0);
    EXPECT_TRUE(b.Click().hide);
}

TEST(BalloonTyping, RepaintsTheNewestCellOrTheTextAreaWhenScrolling) {
    BalloonTyping b;
    b.m_lowerTop = 768;
    b.Place({500, 400, 1});
    EXPECT_EQ(b.WindowTop(), 400 - 768);
    b.Start("abc\n\n\n\n\nd");
    b.Tick();
    EXPECT_EQ(b.Tick().invalidate, (Rect{12, 768 + 10, 24, 768 + 24}));
    EXPECT_EQ(b.Tick().invalidate, (Rect{18, 768 + 10, 30, 768 + 24}));
    for (int row = 1; row < 5; ++row) {
        EXPECT_EQ(b.Tick().invalidate, (Rect{12, 768 + 10 + 14 * row, 24, 768 + 24 + 14 * row})) << "line feed " << row;
    }
    EXPECT_EQ(b.Tick().invalidate, (Rect{12, 768 + 10, 319, 768 + 97})) << "the fifth line feed scrolls";
    b.Place({0, 0, 0});
    EXPECT_EQ(b.Tick().invalidate, (Rect{22, 10 + 56, 34, 24 + 56}));
}

}  // namespace
}  // namespace tc
