// The settings sheet and the small dialogs: the rules between page values and settings,
// the interval check, the settings command end to end over the recording double (OK takes
// the pages' values, anything else changes nothing and undoes the preview), the file set
// page's availability toggle, and the profile and about dialogs.
#include <gtest/gtest.h>

#include "dialogs/ProfileDialogs.h"
#include "dialogs/SettingsSheet.h"
#include "skin/Resources.h"
#include "support/DialogHarness.h"

namespace tc {
namespace {

using test::DialogHarness;
using test::FakeSheet;

constexpr int kTargetPage = 0, kAutoPage = 2, kLookPage = 3, kFilePage = 4;

TEST(SettingsValues, TargetPositionsAndNames) {
    const std::vector<std::string> names = SplitNames("A^B^Cee^");
    EXPECT_EQ(names, (std::vector<std::string>{"A", "B", "Cee"}));
    EXPECT_EQ(TargetPosition("%rnd", names), 0);
    EXPECT_EQ(TargetPosition("%all", names), 1);
    EXPECT_EQ(TargetPosition("%ALL", names), 1) << "the tokens without case, as the drop reads them";
    EXPECT_EQ(TargetPosition("%Rnd", SplitNames("%Rnd^")), 0);
    EXPECT_EQ(TargetPosition("Cee", names), 4);
    EXPECT_EQ(TargetPosition("Nobody", names), 0);
    EXPECT_EQ(TargetAtPosition(3, names), "B");
    EXPECT_EQ(TargetAtPosition(9, names), "%rnd");
    EXPECT_EQ(SplitNames("表^"), (std::vector<std::string>{"表"})) << "a trail byte is no separator";
}

TEST(SettingsValues, TheIntervalIsAWholeNumberFrom1To60) {
    EXPECT_EQ(CheckMinutes("60").minutes, 60);
    EXPECT_FALSE(CheckMinutes(" 5 ").message);
    EXPECT_EQ(CheckMinutes("0").message, "1 から 60 までの整数を入力してください。");
    EXPECT_EQ(CheckMinutes("61").message, "1 から 60 までの整数を入力してください。");
    EXPECT_EQ(CheckMinutes("").message, "整数を入力してください。");
    EXPECT_EQ(CheckMinutes("1.5").message, "整数を入力してください。");
    EXPECT_EQ(CheckMinutes("99999999999").message, "整数を入力してください。");
}

TEST(SettingsValues, BothEndsOfTheIntervalAreAcceptedWithoutAMessage) {
    for (const auto& [text, minutes] : {std::pair{"1", 1}, {"60", 60}}) {
        const MinutesCheck check = CheckMinutes(text);
        EXPECT_FALSE(check.message) << text;
        EXPECT_EQ(check.minutes, minutes) << text;
    }
}

class SettingsCommandTest : public ::testing::Test, protected DialogHarness {
protected:
    CTumbleDlg& StartCat() {
        WriteRectangleSkin("whiskerby", 2, 20, 40);
        WriteRectangleSkin("tall", 2, 30, 90);
        fake.ipc.sharedBlocks["Sakura"] =
            std::string("\x00\x00\x01\x00", 4) + "a.hwnd\x01" "256\r\na.name\x01" "Aya\r\nb.name\x01" "Bo\r\n";
        CTumbleDlg& d = Start();
        d.m_talkIndex = -1;
        return d;
    }
};

TEST_F(SettingsCommandTest, OkTakesThePagesValuesAndTheTimerFollows) {
    CTumbleDlg& d = StartCat();
    d.m_target = "Bo";
    fake.windows.whileSheetRuns = [&](FakeSheet& s) {
        const NativeHandle target = s.Page(kTargetPage).m_hWnd;
        EXPECT_EQ(fake.controls.At(target, 1032).items, (std::vector<std::string>{"ランダム", "全員", "Aya", "Bo"}));
        EXPECT_EQ(fake.controls.At(target, 1032).selection, 3);
        fake.controls.At(target, 1032).selection = 1;
        ASSERT_TRUE(s.ShowPage(kAutoPage));
        const NativeHandle autoPage = s.Page(kAutoPage).m_hWnd;
        fake.controls.At(autoPage, 1034).checked = true;
        fake.controls.At(autoPage, 1033).text = "15";
        EXPECT_TRUE(s.PressOk());
    };
    Command(kCmdSettings);
    EXPECT_EQ(fake.windows.sheetCaptions, (std::vector<std::string>{"設定"}));
    EXPECT_EQ(d.m_target, "%all");
    EXPECT_TRUE(d.m_autoDrop);
    EXPECT_EQ(d.m_autoDropMinutes, 15);
    EXPECT_EQ(fake.windows.Main().timers.at(kTimerAutoDrop), 15 * 60000);
    Destroy();
    EXPECT_NE(dir.Read("tumblecat.cfg").find("%all\r\n"), std::string::npos);
}

TEST_F(SettingsCommandTest, AWrongIntervalKeepsThePageAndNothingIsTaken) {
    CTumbleDlg& d = StartCat();
    fake.windows.whileSheetRuns = [&](FakeSheet& s) {
        ASSERT_TRUE(s.ShowPage(kAutoPage));
        fake.controls.At(s.Page(kAutoPage).m_hWnd, 1033).text = "0";
        EXPECT_FALSE(s.PressOk());
        EXPECT_FALSE(s.ShowPage(kLookPage)) << "the page cannot be left either";
        ASSERT_EQ(fake.controls.messages.size(), 2u);
        EXPECT_EQ(fake.controls.messages[0].second, "1 から 60 までの整数を入力してください。");
    };  // then closed without OK
    Command(kCmdSettings);
    EXPECT_EQ(d.m_autoDropMinutes, 10);
}

TEST_F(SettingsCommandTest, ClosingWithoutOkUndoesTheTransparencyPreview) {
    CTumbleDlg& d = StartCat();
    ASSERT_FALSE(MainLook().layeredAlpha);
    fake.windows.whileSheetRuns = [&](FakeSheet& s) {
        ASSERT_TRUE(s.ShowPage(kLookPage));
        CPropertyPage& page = s.Page(kLookPage);
        fake.controls.At(page.m_hWnd, 1036).checked = true;
        fake.controls.At(page.m_hWnd, 1035).position = 40;
        page.OnControlCommand(1036, kBnClicked);
        EXPECT_EQ(MainLook().layeredAlpha, 40) << "the preview shows on the cat at once";
        EXPECT_EQ(fake.painting.Look(d.m_balloon->m_hWnd).layeredAlpha, 40) << "and on its balloon";
    };
    Command(kCmdSettings);
    EXPECT_FALSE(d.m_transparent);
    EXPECT_FALSE(MainLook().layeredAlpha) << "back to opaque";
    EXPECT_FALSE(fake.painting.Look(d.m_balloon->m_hWnd).layeredAlpha);
}

TEST_F(SettingsCommandTest, TheSizeFollowsTheDisplayUntilAFactorIsChosen) {
    fake.windows.monitors = {{{0, 0, 1024, 768}, {0, 0, 1024, 768}, 192}};
    CTumbleDlg& d = StartCat();
    EXPECT_EQ(fake.windows.Main().rect.Width(), 40) << "200 % gives twice the 20 pixels";
    EXPECT_EQ(fake.windows.Main().rect.Height(), 80);
    EXPECT_EQ(fake.windows.Main().rect.bottom, 769) << "still on the bottom line";
    // The monitor's scale changes (or the cat reached a monitor of another scale).
    fake.windows.monitors[0].dpi = 144;
    Send(kWmDpiChanged, (144 << 16) | 144);
    EXPECT_EQ(fake.windows.Main().rect.Width(), 20) << "150 % rounds down to the pictures' own size";
    EXPECT_EQ(fake.windows.Main().rect.bottom, 769);
    fake.windows.monitors[0].dpi = 192;
    Send(kWmDpiChanged, (192 << 16) | 192);
    EXPECT_EQ(fake.windows.Main().rect.Width(), 40);
    fake.windows.whileSheetRuns = [&](FakeSheet& s) {
        ASSERT_TRUE(s.ShowPage(kLookPage));
        const NativeHandle page = s.Page(kLookPage).m_hWnd;
        EXPECT_EQ(fake.controls.At(page, 1044).items, (std::vector<std::string>{"画面に合わせる", "等倍", "2倍", "3倍"}));
        EXPECT_EQ(fake.controls.At(page, 1044).selection, 0);
        fake.controls.At(page, 1044).selection = 3;
        EXPECT_TRUE(s.PressOk());
    };
    Command(kCmdSettings);
    EXPECT_EQ(d.m_size, 3);
    EXPECT_EQ(fake.windows.Main().rect.Width(), 60) << "three times, at once";
    EXPECT_EQ(d.m_surfaceExtent[d.m_surface].right, 3 * (10 + d.m_surface));
    Destroy();
    const std::string cfg = dir.Read("tumblecat.cfg");
    EXPECT_EQ(cfg.substr(cfg.size() - 3), "3\r\n") << "a twelfth line";
}

TEST_F(SettingsCommandTest, TheFileSetPageTogglesAvailabilityOnDiskAndTheMenusFollow) {
    CTumbleDlg& d = StartCat();
    ASSERT_EQ(s_filesetSkins.size(), 1u);
    ASSERT_EQ(d.m_menuSkins.size(), 1u) << "the default skin has its own item";
    fake.windows.whileSheetRuns = [&](FakeSheet& s) {
        ASSERT_TRUE(s.ShowPage(kFilePage));
        CPropertyPage& page = s.Page(kFilePage);
        const auto& items = fake.controls.At(page.m_hWnd, 1040).items;
        for (const char* shown : {"× tall", "○ tall", "× tall"}) {
            fake.controls.At(page.m_hWnd, 1040).selection = 0;
            page.OnControlCommand(1040, kLbnSelChange);
            EXPECT_EQ(items, std::vector<std::string>{shown}) << "each click toggles, the item replaced in place";
        }
    };
    Command(kCmdSettings);
    EXPECT_EQ(s_filesetSkins[0].text, "× tall");
    EXPECT_TRUE(fake.files.IsHidden(dir.Base() + "skin\\tall"));
    EXPECT_TRUE(d.m_menuSkins.empty()) << "the hidden skin left the menu";
}

TEST_F(SettingsCommandTest, TheFileSetPageActsOnTheFolderItShowsAfterTheListsWereRebuilt) {
    StartCat();
    fake.windows.whileSheetRuns = [&](FakeSheet& s) {
        ASSERT_TRUE(s.ShowPage(kFilePage));
        WriteRectangleSkin("aaa", 2, 20, 40);  // installed meanwhile: it comes first in the rebuilt list
        ScanResources(fake.files, dir.Base(), ResourceListKind::FilesetSkins, s_filesetSkins);
        CPropertyPage& page = s.Page(kFilePage);
        fake.controls.At(page.m_hWnd, 1040).selection = 0;  // "○ tall", as the page shows it
        page.OnControlCommand(1040, kLbnSelChange);
    };
    Command(kCmdSettings);
    EXPECT_TRUE(fake.files.IsHidden(dir.Base() + "skin\\tall"));
    EXPECT_FALSE(fake.files.IsHidden(dir.Base() + "skin\\aaa"));
    ASSERT_EQ(s_filesetSkins.size(), 2u);
    EXPECT_EQ(s_filesetSkins[0].text, "○ aaa");
    EXPECT_EQ(s_filesetSkins[1].text, "× tall") << "the program's list follows the page";
}

TEST_F(SettingsCommandTest, TheCatOwnsItsDialogsAndTakesNoCommandWhileOneRuns) {
    CTumbleDlg& d = StartCat();
    d.m_menuSkins = {{33827, "tall", "tall"}};
    auto tryEverything = [&] {
        EXPECT_TRUE(fake.windows.Main().disabled);
        Command(kCmdSettings);
        Command(33827);
        Command(kCmdQuit);
        Send(kMsgTrayNotify, 1, kWmRButtonDown);
        dir.Write("skin.zip", "PK");
        d.OnDropFiles({dir.Base() + "skin.zip"});
    };
    fake.windows.whileSheetRuns = [&](FakeSheet&) { tryEverything(); };
    fake.windows.whileOwnedRuns = [&](CDialog& dialog) {
        EXPECT_EQ(fake.windows.Window(dialog.m_hWnd).owner, test::FakeWindowSystem::kDialogWindow);
        tryEverything();
    };
    for (int command : {kCmdSettings, kCmdAbout, kCmdProfile, kCmdDroplingProfile}) Command(command);
    EXPECT_EQ(fake.windows.sheetCaptions.size(), 1u);
    EXPECT_EQ(fake.windows.modalTemplates.size(), 3u) << "the about and the two profile dialogs, once each";
    EXPECT_EQ(d.m_skinName, "whiskerby");
    EXPECT_FALSE(d.m_quitRequested);
    EXPECT_TRUE(fake.input.menus.empty());
    EXPECT_NE(d.m_lastSaid.find("形式"), 0u);
    EXPECT_FALSE(fake.windows.Main().disabled) << "usable again once the dialogs are closed";
    Command(kCmdQuit);
    EXPECT_TRUE(d.m_quitRequested);
}

TEST_F(SettingsCommandTest, AFolderThatCannotChangeKeepsItsMark) {
    StartCat();
    ElementList list = {{0, "○ Gone", "gone"}};
    EXPECT_FALSE(ToggleAvailability(fake.files, dir.Base(), ResourceListKind::FilesetSkins, list, 0));
    EXPECT_EQ(list[0].text, "○ Gone") << "the list and the disk do not disagree";
}

TEST(ProfileDialogs, TextsAndTheAboutPicturesSteps) {
    EXPECT_EQ(ProfileText(std::string("one\ntwo\r\nthree")), "one\r\ntwo\r\nthree\r\n");
    EXPECT_EQ(ProfileText(std::nullopt), "");
    EXPECT_EQ(AboutText(std::string("tumblecat 0.2\nby us\nthanks\n")), "tumblecat 0.2\r\nby us\r\nthanks\r\n");
    EXPECT_EQ(AboutText(std::nullopt).substr(0, 2), "\r\n");
    int offset = 0;
    for (int i = 0; i < 20; ++i) offset = NextAboutOffset(offset);
    EXPECT_EQ(offset, 40);
    for (int i = 20; i < 147; ++i) offset = NextAboutOffset(offset);
    EXPECT_EQ(offset, 293);
    EXPECT_EQ(NextAboutOffset(offset), 293) << "the picture stops at its right end";
}

// Lines of more than 1023 bytes come in pieces that end between characters; 表 is 0x95 0x5C.
TEST(ProfileDialogs, OverlongLinesAreCutBetweenCharacters) {
    const std::string hyo = "\x95\x5C";
    const struct {
        std::size_t before;  // bytes ahead of 表 on the first line
        std::string profile;
    } cases[] = {
        {1021, std::string(1021, 'a') + hyo + "\r\nn\r\n"},
        {1022, std::string(1022, 'a') + "\r\n" + hyo + "n\r\n"},
        {1023, std::string(1023, 'a') + "\r\n" + hyo + "n\r\n"},
    };
    for (const auto& c : cases) {
        const std::string file = std::string(c.before, 'a') + hyo + "n\n";
        EXPECT_EQ(ProfileText(file), c.profile) << c.before;
        // The about text joins the pieces again: its long first line is whole.
        EXPECT_EQ(AboutText(file + "B\n"), std::string(c.before, 'a') + hyo + "n\r\nB\r\n") << c.before;
    }
}

class ProfileDialogTest : public ::testing::Test, protected DialogHarness {};

TEST_F(ProfileDialogTest, TheSetProfilesListEverySetAndShowTheChosenOnesText) {
    s_filesetDroplings = {{32802, "○ Apple", "apple"}, {32803, "× Ball", "ball"}};
    dir.Write("dropling\\ball\\profile.txt", "A ball.\nRound.");
    CDroplingProfileDlg dialog(fake.platform, dir.Base());
    dialog.m_hWnd = 0x3000;
    dialog.OnInitDialog();
    EXPECT_EQ(fake.controls.At(0x3000, 1041).items, (std::vector<std::string>{"Apple", "Ball"}));
    EXPECT_EQ(fake.controls.At(0x3000, 1017).text, "") << "Apple has no profile.txt";
    fake.controls.At(0x3000, 1041).selection = 1;
    dialog.OnControlCommand(1041, kCbnSelChange);
    EXPECT_EQ(fake.controls.At(0x3000, 1017).text, "A ball.\r\nRound.\r\n");
    s_filesetDroplings.clear();
}

}  // namespace
}  // namespace tc
