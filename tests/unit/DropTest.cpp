// Drops: targets for "%rnd", "%all" and a name, alone and iconized; the parameter string;
// the refusals; and the timers from the drop pose to the launch and back.
#include <gtest/gtest.h>

#include "app/Drop.h"
#include "common/Random.h"
#include "support/DialogHarness.h"

namespace tc {
namespace {

using test::DialogHarness;

constexpr NativeHandle kA = 0x100, kB = 0x200, kD = 0x300;

class DropTest : public ::testing::Test, protected DialogHarness {
protected:
    CTumbleDlg& StartCat(const std::string& target = "%rnd") {
        WriteRectangleSkin("cat", 4, 20, 40);
        dir.Write("skin\\cat\\separate.txt", "2\r\n");
        dir.Write("tumblecat.cfg", "0\r\ncat\r\n10\r\n0\r\n0\r\n0\r\n9801\r\n1\r\n767\r\n1\r\n" + target + "\r\n");
        CTumbleDlg& d = Start();
        d.m_menuDroplings = {{32802, "Apple", "apple"}};
        d.m_target = target;  // the settings file keeps no one-letter target
        return d;
    }
    // Characters A and B shown, D hidden.
    void PublishABD() {
        fake.ipc.sharedBlocks["Sakura"] = std::string("\x00\x00\x01\x00", 4) +
                                             "a.hwnd\x01" "256\r\na.name\x01" "A\r\n"
                                             "b.hwnd\x01" "512\r\nb.name\x01" "B\r\n"
                                             "d.hwnd\x01" "768\r\nd.name\x01" "D\r\n";
        fake.windows.Window(kA).style = 0x94000000;
        fake.windows.Window(kB).style = 0x96000000;
        fake.windows.Window(kD).style = 0x84000000;
    }
    // Runs one drop from a fresh state and returns its target list ("" when refused).
    std::string TargetsOfOneDrop(CTumbleDlg& d) {
        d.m_dropPose = false;
        d.m_dropParams.clear();
        d.Drop("apple");
        if (d.m_dropParams.empty()) return "<none>";
        return d.m_dropParams.substr(d.m_dropParams.rfind('~') + 1);
    }
};

TEST(DropParams, FieldsSeparatedByTilde) {
    EXPECT_EQ(FormatDropParams("apple", 1, 9801, true, 200, "A^"), "apple~1~9801~456~A^");
    EXPECT_EQ(FormatDropParams("ball", 0, 9821, false, 255, ""), "ball~0~9821~255~");
    EXPECT_EQ(SelfTargetToken("whiskerby"), "%nek:whiskerby^");
    // A name holding "~" cannot move the fixed fields: they come first, the targets last.
    EXPECT_EQ(FormatDropParams("ball", 0, 9801, false, 255, "x~1~2~3^"), "ball~0~9801~255~x~1~2~3^");
}

TEST_F(DropTest, NamedTargetIsPassedOnWhetherPresentOrNot) {
    CTumbleDlg& d = StartCat("A");
    d.m_reactionMethod = 1;
    d.m_alpha = 200;
    d.m_transparentDroplings = true;
    PublishABD();
    d.Drop("apple");
    EXPECT_EQ(d.m_dropParams, "apple~1~9801~456~A^");
    d.m_target = "%ALL";  // as another program may write it in a DROP request
    d.m_iconized = true;  // no drop on itself
    EXPECT_EQ(TargetsOfOneDrop(d), "A^B^") << "the special targets ignore letter case";
    d.m_iconized = false;
    d.m_target = "Nobody";
    EXPECT_EQ(TargetsOfOneDrop(d), "Nobody^");
}

TEST_F(DropTest, AllTargetsEveryShownCharacterAndSometimesItself) {
    CTumbleDlg& d = StartCat("%all");
    PublishABD();
    std::map<std::string, int> seen;
    SeedRandom(3);
    for (int i = 0; i < 400; ++i) ++seen[TargetsOfOneDrop(d)];
    EXPECT_EQ(seen.size(), 2u);
    EXPECT_GT(seen["A^B^"], 300);
    EXPECT_GT(seen["A^B^%nek:cat^"], 10);
    d.m_iconized = true;
    for (int i = 0; i < 100; ++i) EXPECT_EQ(TargetsOfOneDrop(d), "A^B^") << "never on itself while iconized";
}

TEST_F(DropTest, RandomTargetIsOneShownCharacterOrItself) {
    CTumbleDlg& d = StartCat("%rnd");
    PublishABD();
    std::map<std::string, int> seen;
    SeedRandom(5);
    for (int i = 0; i < 600; ++i) ++seen[TargetsOfOneDrop(d)];
    EXPECT_EQ(seen.size(), 3u);
    EXPECT_GT(seen["A^"], 200);
    EXPECT_GT(seen["B^"], 200);
    EXPECT_GT(seen["%nek:cat^"], 20);
    EXPECT_EQ(seen.count("D^"), 0u) << "hidden characters are not picked";
}

TEST_F(DropTest, PresentButNoneShownGivesAnEmptyList) {
    CTumbleDlg& d = StartCat("%rnd");
    PublishABD();
    for (auto& [handle, window] : fake.windows.windows) window.style = 0;
    d.m_iconized = true;  // no self drops
    EXPECT_EQ(TargetsOfOneDrop(d), "");
}

TEST_F(DropTest, AloneTheCatSaysItsLineOrDropsOnItself) {
    CTumbleDlg& d = StartCat();
    d.m_msgExecuteAlone = {"Nobody to play with."};
    std::map<std::string, int> seen;
    SeedRandom(9);
    for (int i = 0; i < 200; ++i) {
        d.m_lastSaid.clear();
        const std::string targets = TargetsOfOneDrop(d);
        ++seen[targets];
        if (targets == "<none>") {
            EXPECT_EQ(d.m_lastSaid, "Nobody to play with.");
        }
    }
    EXPECT_EQ(seen.size(), 2u);
    EXPECT_GT(seen["%nek:cat^"], 50);
    EXPECT_GT(seen["<none>"], 50);

    d.m_iconized = true;
    for (int i = 0; i < 50; ++i) EXPECT_EQ(TargetsOfOneDrop(d), "<none>") << "iconized and alone: nothing visible";
}

TEST_F(DropTest, HeldDroplingMutexRefusesTheDrop) {
    CTumbleDlg& d = StartCat("A");
    PublishABD();
    fake.ipc.otherMutexes.insert("dropling");
    const int placed = fake.windows.Main().placeCount;
    d.Drop("apple");
    EXPECT_TRUE(d.m_dropParams.empty());
    EXPECT_FALSE(d.m_dropPose);
    EXPECT_EQ(fake.windows.Main().timers.count(kTimerLaunch), 0u);
    EXPECT_EQ(fake.windows.Main().placeCount, placed) << "no pose change";
    d.m_noConsecutiveDrop = false;
    d.Drop("apple");
    EXPECT_EQ(d.m_dropParams, "apple~0~9801~255~A^") << "allowed when consecutive drops are";
}

TEST_F(DropTest, DropPoseThenLaunchThenNormalPose) {
    CTumbleDlg& d = StartCat("A");
    PublishABD();
    d.m_msgExecute = {"Catch!"};
    Send(kWmLButtonDblClk, 0, PointParam(3, 3));
    EXPECT_TRUE(d.m_dropPose);
    EXPECT_GE(d.m_surface, 2) << "a drop pose";
    EXPECT_EQ(fake.windows.Main().timers.at(kTimerLaunch), 200);
    EXPECT_TRUE(fake.shell.started.empty());

    const std::string firstParams = d.m_dropParams;
    EXPECT_EQ(firstParams, "apple~0~9801~255~A^");
    d.Drop("pear");  // a second request while the pose shows is refused
    EXPECT_EQ(d.m_dropParams, firstParams);

    const int posePeriod = fake.windows.Main().timers.at(kTimerPose);
    Timer(kTimerPose);
    EXPECT_GE(d.m_surface, 2) << "the pose timer waits during a drop";
    EXPECT_EQ(fake.windows.Main().timers.at(kTimerPose), posePeriod);

    Timer(kTimerLaunch);
    EXPECT_EQ(fake.windows.Main().timers.count(kTimerLaunch), 0u);
    ASSERT_EQ(fake.shell.started.size(), 1u);
    EXPECT_EQ(fake.shell.started[0].first, dir.Base() + "dropling.exe");
    EXPECT_EQ(fake.shell.started[0].second, firstParams);
    EXPECT_EQ(fake.windows.Main().timers.at(kTimerReturnPose), 1500);
    EXPECT_EQ(d.m_lastSaid, "Catch!");

    Timer(kTimerReturnPose);
    EXPECT_FALSE(d.m_dropPose);
    EXPECT_LT(d.m_surface, 2);
    EXPECT_EQ(fake.windows.Main().timers.count(kTimerReturnPose), 0u);
}

TEST_F(DropTest, DoubleClickDropsWithoutMovingTheCat) {
    CTumbleDlg& d = StartCat("A");
    PublishABD();
    Timer(kTimerTick);
    const int x = d.m_posX;
    // A double click arrives as down, up, double click, up.
    Send(kWmLButtonDown, 0, PointParam(4, 4));
    Send(kWmLButtonUp, 0, PointParam(4, 4));
    Send(kWmLButtonDblClk, 0, PointParam(4, 4));
    Send(kWmMouseMove, 0, PointParam(40, 4));
    Send(kWmLButtonUp, 0, PointParam(40, 4));
    EXPECT_TRUE(d.m_dropPose);
    EXPECT_FALSE(d.m_dragging);
    EXPECT_FALSE(fake.input.captured);
    EXPECT_EQ(d.m_posX, x) << "the double click does not drag";
}

TEST_F(DropTest, RandomDropNeedsASet) {
    CTumbleDlg& d = StartCat("A");
    PublishABD();
    d.m_menuDroplings.clear();
    d.DropRandomObject();
    EXPECT_FALSE(d.m_dropPose);
    d.m_menuDroplings = {{32802, "Apple", "apple"}, {32803, "Pear", "pear"}};
    std::set<std::string> sets;
    for (int i = 0; i < 50; ++i) {
        d.m_dropPose = false;
        d.DropRandomObject();
        sets.insert(d.m_dropParams.substr(0, d.m_dropParams.find('~')));
    }
    EXPECT_EQ(sets, (std::set<std::string>{"apple", "pear"}));
}

TEST_F(DropTest, AutomaticDroppingTimer) {
    dir.Write("tumblecat.cfg", "0\r\ncat\r\n133\r\n0\r\n0\r\n0\r\n9801\r\n1\r\n767\r\n1\r\nA\r\n");
    WriteRectangleSkin("cat", 4, 20, 40);
    CTumbleDlg& d = Start();
    PublishABD();
    EXPECT_EQ(fake.windows.Main().timers.at(kTimerAutoDrop), 5 * 60000);
    d.m_menuDroplings = {{32802, "Apple", "apple"}};
    Timer(kTimerAutoDrop);
    EXPECT_TRUE(d.m_dropPose);
    EXPECT_EQ(fake.windows.Main().timers.at(kTimerAutoDrop), 5 * 60000) << "keeps running";
    Command(kCmdIconize);
    EXPECT_EQ(fake.windows.Main().timers.count(kTimerAutoDrop), 0u);
    Command(kCmdIconize);
    EXPECT_EQ(fake.windows.Main().timers.at(kTimerAutoDrop), 5 * 60000);
}

}  // namespace
}  // namespace tc
