// The context menu and its commands: what the menu shows, the run-time ids, switching
// skins, and the switches.
#include <gtest/gtest.h>

#include "support/DialogHarness.h"

namespace tc {
namespace {

using test::DialogHarness;

class CommandsTest : public ::testing::Test, protected DialogHarness {
protected:
    CTumbleDlg& StartCat() {
        WriteRectangleSkin("whiskerby", 2, 20, 40);
        WriteRectangleSkin("tall", 3, 30, 90);
        dir.Write("skin\\tall\\profile.txt", "Tall cat\r\nVery tall.\r\n");
        return Start();
    }
};

TEST_F(CommandsTest, MenuShowsTheListsTheProfileLabelAndTheChecks) {
    CTumbleDlg& d = StartCat();
    d.m_menuDroplings = {{32802, "Apple", "apple"}, {32803, "Ball", "ball"}, {32806, "Cube", "cube"}};
    d.m_menuSkins = {{33827, "Tall cat", "tall"}, {33829, "Small", "small"}};
    d.m_skinTitle = "N";
    Send(kWmRButtonDown, 0, PointParam(5, 6));
    ASSERT_EQ(fake.input.menus.size(), 1u);
    const ContextMenu& menu = fake.input.menus[0];
    EXPECT_EQ(menu.resourceId, 143);
    EXPECT_EQ(menu.dropItems,
              (std::vector<MenuItem>{{32802, "Apple"}, {32803, "Ball"}, {32806, "Cube"}}));
    EXPECT_EQ(menu.skinItems, (std::vector<MenuItem>{{33827, "Tall cat"}, {33829, "Small"}}));
    EXPECT_EQ(menu.relabelId, 32775);
    EXPECT_EQ(menu.relabelText, "Nについて(&W)");
    EXPECT_EQ(menu.checks, (std::vector<std::pair<int, bool>>{{32784, true}, {32789, true}, {32790, false}}));
    EXPECT_EQ(fake.input.menuPoints[0].x, fake.windows.Main().rect.left + 5);
    EXPECT_EQ(fake.input.menuPoints[0].y, fake.windows.Main().rect.top + 6);

    Command(kCmdNoConsecutiveDrop);
    Command(kCmdAlwaysOnTop);
    Send(kWmRButtonDown, 0, PointParam(5, 6));
    EXPECT_EQ(fake.input.menus[1].checks,
              (std::vector<std::pair<int, bool>>{{32784, false}, {32789, false}, {32790, false}}));
}

TEST_F(CommandsTest, TrayRightClickOpensTheMenuAtTheCursor) {
    StartCat();
    fake.input.cursor = {500, 400};
    Send(kMsgTrayNotify, 1, kWmRButtonDown);
    ASSERT_EQ(fake.input.menuPoints.size(), 1u);
    EXPECT_EQ(fake.input.menuPoints[0].x, 500);
    EXPECT_EQ(fake.input.menuPoints[0].y, 400);
}

TEST_F(CommandsTest, NoMenuAfterQuit) {
    StartCat();
    Command(kCmdQuit);
    Send(kWmRButtonDown, 0, PointParam(5, 6));
    EXPECT_TRUE(fake.input.menus.empty());
}

TEST_F(CommandsTest, DropItemsDropTheirSet) {
    CTumbleDlg& d = StartCat();
    d.m_menuDroplings = {{32802, "Apple", "apple"}, {32803, "Ball", "ball"}};
    d.m_target = "A";
    fake.ipc.sharedBlocks["Sakura"] = std::string("\x00\x00\x01\x00", 4) + "a.name\x01" "A\r\n";
    Command(32803);
    EXPECT_EQ(d.m_dropParams, "ball~0~9801~255~A^");
    d.m_dropPose = false;
    d.m_dropParams.clear();
    Command(32804);
    EXPECT_TRUE(d.m_dropParams.empty()) << "an id no item has does nothing";
}

TEST_F(CommandsTest, SkinItemsSwitchTheSkinAndSaveTheFreePosition) {
    CTumbleDlg& d = StartCat();
    dir.Write("skin\\whiskerby\\omni.txt", "");
    d.LoadSkin(true);
    d.m_posX = 70;
    d.m_menuSkins = {{33827, "Tall cat", "tall"}};
    Command(33827);
    EXPECT_EQ(d.m_skinName, "tall");
    EXPECT_EQ(d.m_skinTitle, "Tall cat");
    EXPECT_EQ(d.m_surfaceCount, 3);
    EXPECT_EQ(d.m_winHeight, 90);
    EXPECT_EQ(dir.Read("skin\\whiskerby\\omni.txt"), "70\r\n" + std::to_string(768 - 40 + 1) + "\r\n\r\n");
    EXPECT_EQ(fake.windows.Main().timers.at(kTimerTick), 50) << "timers restart after the change";
    EXPECT_FALSE(fake.windows.Main().ended);

}

TEST_F(CommandsTest, TheDefaultSkinItemSavesTheFreePositionOfTheSkinLeft) {
    CTumbleDlg& d = StartCat();
    dir.Write("skin\\tall\\omni.txt", "10\r\n20\r\n");
    d.m_menuSkins = {{33827, "Tall cat", "tall"}};
    Command(33827);
    ASSERT_EQ(d.m_placeMode, 1);
    d.m_posX = 123;  // dragged there
    Command(kCmdDefaultSkin);
    EXPECT_EQ(d.m_skinName, "whiskerby");
    EXPECT_EQ(d.m_winHeight, 40);
    EXPECT_EQ(dir.Read("skin\\tall\\omni.txt"), "123\r\n20\r\n\r\n");
}

TEST_F(CommandsTest, AFailedSkinChangeKeepsTheSkinInUseSaysSoAndSilencesNobody) {
    struct Case {
        bool skinInUseLoads;
        const char* wornAfter;
    };
    for (const Case c : {Case{true, "tall"}, Case{false, "whiskerby"}}) {
        SCOPED_TRACE(c.wornAfter);
        UseSkin("tall");
        dir.Write("speak.txt", "#welcome.sstp.ex\r\n\\hHi\r\n");
        fake.ipc.sharedBlocks["Sakura"] = std::string("\x00\x00\x01\x00", 4) + "a.hwnd\x01" "256\r\na.name\x01" "Aya\r\n";
        fake.windows.Window(0x100).style = 0x94000000;
        CTumbleDlg& d = StartCat();
        d.CutConversation();  // the greeting is over
        if (!c.skinInUseLoads) dir.Write("skin\\tall\\surface0.bmp", "not a picture");
        dir.Write("skin\\broken\\profile.txt", "Broken\r\n");  // a profile, but no surfaces
        d.m_menuSkins = {{33830, "Broken", "broken"}};
        fake.ipc.copyData.clear();
        Command(33830);
        EXPECT_FALSE(fake.windows.Main().ended);
        EXPECT_EQ(d.m_skinName, c.wornAfter);
        EXPECT_EQ(d.m_lastSaid, "「broken」には着替えられなかったよ。");
        EXPECT_TRUE(fake.ipc.copyData.empty()) << "no greeting: nobody is told to keep quiet";
        Destroy();
        fake.windows.Main().ended = false;
    }
}

TEST_F(CommandsTest, ASkinChangeEndsTheProgramOnlyWhenNoSkinLoadsAtAll) {
    CTumbleDlg& d = StartCat();
    dir.Write("tumblecat.cfg", "0\r\nwhiskerby\r\n");
    dir.Write("skin\\whiskerby\\surface0.bmp", "not a picture");
    d.m_menuSkins = {{33830, "Broken", "broken"}};
    dir.Write("skin\\broken\\profile.txt", "Broken\r\n");
    Command(33830);
    EXPECT_TRUE(fake.windows.Main().ended);
    EXPECT_TRUE(d.m_startFailed);
    Destroy();
    EXPECT_EQ(dir.Read("tumblecat.cfg"), "0\r\nwhiskerby\r\n");
}

TEST_F(CommandsTest, AFailedSkinChangeNeverWritesThePositionOfTheSkinLeftIntoTheNewOne) {
    dir.Write("skin\\whiskerby\\omni.txt", "300\r\n200\r\n");
    CTumbleDlg& d = StartCat();
    ASSERT_EQ(d.m_placeMode, 1);
    dir.Write("skin\\broken\\profile.txt", "Broken\r\n");  // a profile, but no surfaces
    d.m_menuSkins = {{33830, "Broken", "broken"}};
    Command(33830);
    EXPECT_EQ(d.m_posX, 300) << "back in the skin left, where it stood";
    Destroy();
    EXPECT_FALSE(dir.Exists("skin\\broken\\omni.txt"));
    EXPECT_EQ(dir.Read("skin\\whiskerby\\omni.txt"), "300\r\n200\r\n\r\n") << "the skin left keeps its own";
}

TEST_F(CommandsTest, DefaultSkinCommandDoesNothingOnTheDefaultSkin) {
    CTumbleDlg& d = StartCat();
    const int placed = fake.windows.Main().placeCount;
    Command(kCmdDefaultSkin);
    EXPECT_EQ(fake.windows.Main().placeCount, placed);
    EXPECT_EQ(d.m_skinName, "whiskerby");
}

TEST_F(CommandsTest, QuitWritesTheSettingsAtTheEnd) {
    CTumbleDlg& d = StartCat();
    d.m_target = "%all";
    Command(kCmdQuit);
    Timer(kTimerTick);
    Timer(kTimerEnd);
    EXPECT_TRUE(fake.windows.Main().ended);
    Destroy();
    EXPECT_NE(dir.Read("tumblecat.cfg").find("%all\r\n"), std::string::npos);
}

}  // namespace
}  // namespace tc
