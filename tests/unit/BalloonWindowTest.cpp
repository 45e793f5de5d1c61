// The balloon window as the cat moves it: it follows a drag of the cat, hides with the cat
// when the cat goes into the tray, and takes the cat's opacity from the start.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/DialogHarness.h"

namespace tc {
namespace {

using test::DialogHarness;
using test::kMkLButton;

class BalloonWindowTest : public ::testing::Test, protected DialogHarness {
protected:
    // A 20 x 40 cat alone at the bottom left, greeting with a line; lookBits: tumblecat.cfg's
    // ninth line (alpha, transparency 256, ...).
    CTumbleDlg& StartTalkingCat(int lookBits = 255 + 512) {
        WriteRectangleSkin("cat", 2, 20, 40);
        dir.Write("tumblecat.cfg",
                  "0\r\ncat\r\n10\r\n0\r\n0\r\n0\r\n9801\r\n1\r\n" + std::to_string(lookBits) + "\r\n1\r\n%rnd\r\n");
        dir.Write("speak.txt", "#welcome.alone.message\r\nHello\r\n");
        CTumbleDlg& d = Start();
        Timer(kTimerTick);
        return d;
    }
    test::FakeWindowSystem::FakeWindow& Balloon() { return fake.windows.Window(dlg->m_balloon->m_hWnd); }
};

TEST_F(BalloonWindowTest, FollowsADragOfTheCat) {
    StartTalkingCat();
    ASSERT_TRUE(Balloon().visible);
    const Rect before = Balloon().rect;
    Send(kWmLButtonDown, 0, PointParam(5, 7));
    Send(kWmMouseMove, kMkLButton, PointParam(105, 7));
    EXPECT_EQ(Balloon().rect, (Rect{before.left + 100, before.top, before.right + 100, before.bottom}));
}

TEST_F(BalloonWindowTest, HidesWhenTheCatIsIconizedAndStaysHidden) {
    CTumbleDlg& d = StartTalkingCat();
    ASSERT_TRUE(Balloon().visible);
    Command(kCmdIconize);
    EXPECT_FALSE(Balloon().visible);
    d.Say("Anyone?");
    EXPECT_FALSE(Balloon().visible) << "an iconized cat says nothing";
}

TEST_F(BalloonWindowTest, TakesTheOpacityTheCatStartsWith) {
    StartTalkingCat(100 + 256 + 512);
    EXPECT_EQ(fake.painting.Look(dlg->m_balloon->m_hWnd).layeredAlpha, 100);
    EXPECT_EQ(MainLook().layeredAlpha, 100);
}

TEST_F(BalloonWindowTest, GrowsWithTheCatOnAMonitorOfTwiceTheScale) {
    fake.windows.monitors = {{{0, 0, 1024, 768}, {0, 0, 1024, 768}, 192}};
    CTumbleDlg& d = StartTalkingCat();
    ASSERT_EQ(d.m_scale, 2);
    EXPECT_EQ(fake.painting.Look(d.m_balloon->m_hWnd).shapeBounds, (Rect{0, 0, 656, 192}))
        << "the upper box and its tail, 328 by 96, twice";
    EXPECT_EQ(Balloon().rect.Width(), 656);
    EXPECT_EQ(d.m_balloon->m_x, 2 * 10) << "right of the cat's enlarged extent";
    for (int tick = 0; tick < 10; ++tick) d.m_balloon->OnTimer(kBalloonTimerId);
    d.m_balloon->OnPaint();
    const auto& drawn = fake.painting.Look(d.m_balloon->m_hWnd).drawn;
    ASSERT_FALSE(drawn.empty());
    EXPECT_EQ(drawn.front().factor, 2) << "the art in blocks of two";
    const auto text = std::find_if(drawn.begin(), drawn.end(), [](const auto& op) { return op.text == "Hello"; });
    ASSERT_NE(text, drawn.end());
    EXPECT_EQ(text->at, (Point{44, 20})) << "the text twice as far in";
    EXPECT_EQ(fake.painting.liveFonts.at(text->object).height, 24) << "a font twice 12 pixels high";
}

}  // namespace
}  // namespace tc
