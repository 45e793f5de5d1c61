// The settings sheet and the other dialogs of the context menu under Wine, driven from
// outside through their controls' messages: the five pages in order, OK taking the target,
// the interval and the transparency into tumblecat.cfg, closing the sheet otherwise undoing
// the transparency preview, the interval's range message, hiding a skin on the file set
// page, and the profile, falling-object profile and about dialogs with the sliding picture.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <cstdio>

#include "CatHarness.h"
#include "Desktop.h"
#include "ProcessWindows.h"
#include "ShownMenu.h"
#include "Wait.h"
#include "peer/Peer.h"

namespace e2e {
namespace {

constexpr WPARAM kCmdProfile = 32775;
constexpr WPARAM kCmdQuit = 32777;
constexpr WPARAM kCmdAbout = 32779;
constexpr WPARAM kCmdSettings = 32780;
constexpr WPARAM kCmdDroplingProfile = 32791;

// The pages in their order, and their controls.
enum Page { kTargetPage, kReactionPage, kAutomaticPage, kTransparencyPage, kFileSetPage };
constexpr int kTargetCombo = 1032;
constexpr int kMethodCombo = 1031;
constexpr int kMinutesEdit = 1033;
constexpr int kAutomaticCheck = 1034;
constexpr int kAlphaSlider = 1035;
constexpr int kTransparentCheck = 1036;
constexpr int kDroplingsCheck = 1039;
constexpr int kSizeCombo = 1044;
constexpr int kSkinList = 1040;
constexpr int kDroplingList = 1042;
constexpr int kProfileEdit = 1017;
constexpr int kSetCombo = 1041;
constexpr int kAboutEdit = 1018;
constexpr int kAboutPictureWidth = 184;
constexpr int kAboutPictureHeight = 282;
constexpr int kMessageBoxText = 0xFFFF;  // the text of Wine's message box

std::string Settings(const std::string& target, int autoDrop, int transparency) {
    return "0\r\ntabby\r\n" + std::to_string(autoDrop) + "\r\n0\r\n0\r\n0\r\n9801\r\n1\r\n" +
           std::to_string(transparency) + "\r\n1\r\n" + target + "\r\n";
}
// Automatic dropping off at 10 minutes; opaque.
std::string PlainSettings() { return Settings("%rnd", 10, 767); }

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    EXPECT_TRUE(SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, 10000, &result))
        << "message " << message << " handled";
    return static_cast<LRESULT>(result);
}

HWND OpenSheet(HWND cat) {
    PostMessageA(cat, WM_COMMAND, kCmdSettings, 0);  // the sheet runs modally inside the cat
    return WaitForWindowOf(cat, "設定", "the settings sheet");
}

HWND CurrentPage(HWND sheet) { return reinterpret_cast<HWND>(Send(sheet, PSM_GETCURRENTPAGEHWND, 0, 0)); }

// Turns to the page (made the first time) and returns its window once it shows.
HWND ShowPage(HWND sheet, Page index) {
    Send(sheet, PSM_SETCURSEL, index, 0);
    HWND page = CurrentPage(sheet);
    EXPECT_TRUE(WaitUntil([&] { return page && IsWindowVisible(page); }, kShowTimeout, "the page to show"));
    return page;
}

// A selection as the user makes it: the list changes and tells its page.
void Choose(HWND page, int id, int index) {
    HWND control = GetDlgItem(page, id);
    char className[16] = {};
    GetClassNameA(control, className, sizeof className);
    const bool combo = lstrcmpiA(className, "ComboBox") == 0;
    Send(control, combo ? CB_SETCURSEL : LB_SETCURSEL, index, 0);
    Send(page, WM_COMMAND, MAKEWPARAM(id, combo ? CBN_SELCHANGE : LBN_SELCHANGE), reinterpret_cast<LPARAM>(control));
}

void Click(HWND page, int id) { Send(GetDlgItem(page, id), BM_CLICK, 0, 0); }

void Type(HWND page, int id, const std::string& text) {
    Send(GetDlgItem(page, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

// The slider's thumb moved to position, as a drag ends.
void Slide(HWND page, int id, int position) {
    HWND slider = GetDlgItem(page, id);
    Send(slider, TBM_SETPOS, TRUE, position);
    Send(page, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position), reinterpret_cast<LPARAM>(slider));
}

bool Checked(HWND page, int id) { return Send(GetDlgItem(page, id), BM_GETCHECK, 0, 0) == BST_CHECKED; }

// The window's layered opacity, -1 while it is not layered.
int LayeredAlpha(HWND window) {
    if (!(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_LAYERED)) return -1;
    BYTE alpha = 0;
    DWORD flags = 0;
    if (!GetLayeredWindowAttributes(window, nullptr, &alpha, &flags) || !(flags & LWA_ALPHA)) return -1;
    return alpha;
}

::testing::AssertionResult WaitForAlpha(HWND window, int alpha, const std::string& what) {
    return WaitUntil([&] { return LayeredAlpha(window) == alpha; }, kShowTimeout, what);
}

// The sheet's own buttons (not those of its pages), by their texts.
std::vector<std::string> SheetButtons(HWND sheet) {
    std::vector<std::string> texts;
    for (HWND b = FindWindowExA(sheet, nullptr, "Button", nullptr); b; b = FindWindowExA(sheet, b, "Button", nullptr)) {
        if (IsWindowVisible(b)) texts.push_back(WindowText(b));
    }
    return texts;
}

void CloseSheet(HWND sheet, UINT how) {
    if (how == WM_CLOSE) {
        PostMessageA(sheet, WM_CLOSE, 0, 0);
    } else {
        PostMessageA(sheet, WM_COMMAND, how, 0);
    }
    EXPECT_TRUE(WaitForGone(sheet, "the sheet to close"));
}

void PressOk(HWND sheet) { PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0); }

// The message box the cat shows, titled like its window.
HWND WaitForMessageBox(HWND cat) {
    HWND box = nullptr;
    EXPECT_TRUE(WaitUntil(
        [&] {
            for (HWND w : WindowsOfProcessOf(cat, kCatTitle, "#32770")) {
                if (w != cat) box = w;
            }
            return box != nullptr;
        },
        kShowTimeout, "the message box"));
    return box;
}

// With other characters shown, the cat's greeting is a conversation, and the settings
// command does nothing until it is over: its Restore tells.
void WaitForTheGreeting(const Peer& peer) {
    EXPECT_TRUE(WaitUntil(
        [&] {
            for (const ReceivedData& r : peer.Received()) {
                if (r.text.find("\r\nCommand: Restore\r\n") != std::string::npos) return true;
            }
            return false;
        },
        kShowTimeout, "the greeting's end"));
}

void Quit(CatHarness& cat, HWND window, HANDLE process) {
    PostMessageA(window, WM_COMMAND, kCmdQuit, 0);
    EXPECT_EQ(cat.WaitForExit(process, kEndTimeout), 0u) << "the program ends";
}

TEST(Settings, TheSheetShowsItsFivePagesInOrderWithOnlyAnOkButton) {
    DesktopScene desktop;
    Peer peer({{"aya", "Aya", "Ayako", true}, {"bee", "Bee", "Bumble", true}});
    CatHarness cat;
    HANDLE process = nullptr;
    HWND window = cat.StartTabby(PlainSettings(), &process);
    ASSERT_NE(window, nullptr);
    WaitForTheGreeting(peer);

    const ScreenShot before;
    HWND sheet = OpenSheet(window);
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(SheetButtons(sheet), std::vector<std::string>{"OK"});
    const RECT outer = WindowArea(sheet);
    EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - (outer.right - outer.left)) >> 1) << "centred";
    EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - (outer.bottom - outer.top)) >> 1) << "centred";
    // Without a window manager nobody draws the frame and the title: the shots keep the inside.
    const RECT area = ClientArea(sheet);

    struct Expected {
        const char* name;
        std::vector<int> controls;
    };
    const Expected pages[] = {{"target", {kTargetCombo}},
                              {"reaction", {kMethodCombo}},
                              {"automatic", {kAutomaticCheck, kMinutesEdit}},
                              {"transparency", {kTransparentCheck, kDroplingsCheck, kAlphaSlider, kSizeCombo}},
                              {"filesets", {kSkinList, kDroplingList}}};
    ScreenShot previous = before;
    std::vector<HWND> shown;
    for (int i = kTargetPage; i <= kFileSetPage; ++i) {
        HWND page = ShowPage(sheet, static_cast<Page>(i));
        ASSERT_NE(page, nullptr);
        for (int id : pages[i].controls) EXPECT_NE(GetDlgItem(page, id), nullptr) << pages[i].name << " holds " << id;
        const ScreenShot shot = SettledShot(area, &previous);
        shot.Save("settings-" + std::to_string(i + 1) + "-" + pages[i].name, area);
        previous = shot;
        shown.push_back(page);
    }

    // What the pages show of the settings and the other characters.
    HWND target = GetDlgItem(shown[kTargetPage], kTargetCombo);
    EXPECT_EQ(Send(target, CB_GETCOUNT, 0, 0), 4) << "ランダム, 全員, Aya and Bee";
    EXPECT_EQ(Send(target, CB_GETCURSEL, 0, 0), 0) << "%rnd is ランダム";
    EXPECT_EQ(Send(GetDlgItem(shown[kReactionPage], kMethodCombo), CB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(Send(GetDlgItem(shown[kReactionPage], kMethodCombo), CB_GETCURSEL, 0, 0), 0) << "SEND SSTP/1.1";
    EXPECT_FALSE(Checked(shown[kAutomaticPage], kAutomaticCheck));
    EXPECT_EQ(WindowText(GetDlgItem(shown[kAutomaticPage], kMinutesEdit)), "10");
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(shown[kAutomaticPage], kMinutesEdit))) << "greyed while off";
    EXPECT_FALSE(Checked(shown[kTransparencyPage], kTransparentCheck));
    EXPECT_EQ(Send(GetDlgItem(shown[kTransparencyPage], kAlphaSlider), TBM_GETPOS, 0, 0), 255);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(shown[kTransparencyPage], kAlphaSlider))) << "greyed while off";
    EXPECT_EQ(Send(GetDlgItem(shown[kFileSetPage], kSkinList), LB_GETCOUNT, 0, 0), 1) << "the skin tabby";
    EXPECT_EQ(Send(GetDlgItem(shown[kFileSetPage], kDroplingList), LB_GETCOUNT, 0, 0), 0) << "no sets";

    CloseSheet(sheet, WM_CLOSE);
    Quit(cat, window, process);
    EXPECT_EQ(cat.ReadFile("tumblecat.cfg"), PlainSettings()) << "closing the sheet changed nothing";
}

TEST(Settings, OkTakesTheTargetTheIntervalAndTheTransparencyIntoTheSettings) {
    Peer peer({{"aya", "Aya", "Ayako", true}, {"bee", "Bee", "Bumble", true}});
    CatHarness cat;
    HANDLE process = nullptr;
    HWND window = cat.StartTabby(PlainSettings(), &process);
    ASSERT_NE(window, nullptr);
    WaitForTheGreeting(peer);
    HWND sheet = OpenSheet(window);
    ASSERT_NE(sheet, nullptr);

    HWND targets = ShowPage(sheet, kTargetPage);
    EXPECT_EQ(ComboItems(GetDlgItem(targets, kTargetCombo)), (std::vector<std::string>{"ランダム", "全員", "Aya", "Bee"}));
    Choose(targets, kTargetCombo, 3);
    HWND automatic = ShowPage(sheet, kAutomaticPage);
    Type(automatic, kMinutesEdit, "25");
    Click(automatic, kAutomaticCheck);
    EXPECT_TRUE(Checked(automatic, kAutomaticCheck));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(automatic, kMinutesEdit))) << "the interval can be typed once it is on";
    HWND transparency = ShowPage(sheet, kTransparencyPage);
    Click(transparency, kTransparentCheck);
    EXPECT_TRUE(WaitForAlpha(window, 255, "the cat layered at the slider's opacity")) << "the preview starts";
    Slide(transparency, kAlphaSlider, 100);
    EXPECT_TRUE(WaitForAlpha(window, 100, "the cat at the new opacity")) << "the preview follows the slider";
    Click(transparency, kDroplingsCheck);
    EXPECT_TRUE(Checked(transparency, kDroplingsCheck));

    PressOk(sheet);
    EXPECT_TRUE(WaitForGone(sheet, "the sheet to close on OK"));
    EXPECT_TRUE(WaitForAlpha(window, 100, "the cat keeps the new opacity"));
    HWND balloon = FindBalloon(window);
    ASSERT_NE(balloon, nullptr);
    EXPECT_EQ(LayeredAlpha(balloon), 100) << "and so does its balloon";

    Quit(cat, window, process);
    // Line 2: automatic dropping (bit 7) every 25 minutes; line 8: opacity 100, transparency
    // (bit 8), bit 9, transparent falling objects (bit 10); line 11: the target.
    EXPECT_EQ(cat.ReadFile("tumblecat.cfg"), Settings("Bee", 128 + 25, 100 + 256 + 512 + 1024));
}

TEST(Settings, ClosingTheSheetOtherwiseUndoesTheTransparencyPreview) {
    CatHarness cat;
    const std::string settings = Settings("%rnd", 10, 200 + 256 + 512);  // transparent at 200
    HANDLE process = nullptr;
    HWND window = cat.StartTabby(settings, &process);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitForAlpha(window, 200, "the cat at its opacity from the settings"));
    HWND sheet = OpenSheet(window);
    ASSERT_NE(sheet, nullptr);

    HWND transparency = ShowPage(sheet, kTransparencyPage);
    EXPECT_TRUE(Checked(transparency, kTransparentCheck));
    Slide(transparency, kAlphaSlider, 60);
    EXPECT_TRUE(WaitForAlpha(window, 60, "the preview on the cat"));
    CloseSheet(sheet, IDCANCEL);
    EXPECT_TRUE(WaitForAlpha(window, 200, "the cat back at its opacity"));

    Quit(cat, window, process);
    EXPECT_EQ(cat.ReadFile("tumblecat.cfg"), settings) << "nothing of the sheet is kept";
}

TEST(Settings, AnIntervalOfZeroIsRefusedWithAMessageAndThePageStays) {
    DesktopScene desktop;
    CatHarness cat;
    HANDLE process = nullptr;
    HWND window = cat.StartTabby(PlainSettings(), &process);
    ASSERT_NE(window, nullptr);
    HWND sheet = OpenSheet(window);
    ASSERT_NE(sheet, nullptr);

    HWND automatic = ShowPage(sheet, kAutomaticPage);
    Type(automatic, kMinutesEdit, "0");
    PressOk(sheet);
    HWND box = WaitForMessageBox(window);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(WindowText(GetDlgItem(box, kMessageBoxText)), "1 から 60 までの整数を入力してください。");
    ScreenShot().Save("settings-interval-message");
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitForGone(box, "the message box to close"));

    EXPECT_TRUE(IsWindowVisible(sheet)) << "the sheet stays open";
    EXPECT_EQ(CurrentPage(sheet), automatic) << "on the page with the wrong interval";
    CloseSheet(sheet, IDCANCEL);
    Quit(cat, window, process);
    EXPECT_EQ(cat.ReadFile("tumblecat.cfg"), PlainSettings());
}

TEST(Settings, HidingASkinOnTheFileSetPageMarksItAndTakesItOffTheSkinMenu) {
    DesktopScene desktop;
    CatHarness cat;
    cat.InstallTestSkin("tabby-bmp", "another");
    HANDLE process = nullptr;
    HWND window = cat.StartTabby(PlainSettings(), &process);  // installs tabby too
    ASSERT_NE(window, nullptr);
    // The skins are listed in the order of their folders.
    const auto listing = cat.ListFolder("skin");
    int another = -1, position = -1, listed = 0;
    for (std::size_t i = 0; i < listing.size(); ++i) {
        if (listing[i] == "another") {
            another = listed;
            position = static_cast<int>(i);
        }
        if (listing[i] == "another" || listing[i] == "tabby") ++listed;
    }
    ASSERT_GE(another, 0);

    HWND sheet = OpenSheet(window);
    ASSERT_NE(sheet, nullptr);
    HWND fileSets = ShowPage(sheet, kFileSetPage);
    EXPECT_EQ(Send(GetDlgItem(fileSets, kSkinList), LB_GETCOUNT, 0, 0), 2);
    Choose(fileSets, kSkinList, another);
    EXPECT_NE(GetFileAttributesA((cat.Base() + "skin\\another").c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u)
        << "the skin's folder is hidden";
    EXPECT_EQ(Send(GetDlgItem(fileSets, kSkinList), LB_GETCOUNT, 0, 0), 2) << "and still listed";
    EXPECT_EQ(Send(GetDlgItem(fileSets, kSkinList), LB_GETCURSEL, 0, 0), LB_ERR) << "no item stays selected";
    CloseSheet(sheet, WM_CLOSE);  // availability changes at once, however the sheet closes

    HWND popup = nullptr;
    ASSERT_TRUE(OpenContextMenu(window, popup));
    std::vector<std::string> skinItems;
    for (const ShownMenuItem& item : ReadShownMenu(popup)) {
        if (item.path.rfind("3.", 0) == 0) skinItems.push_back(std::to_string(item.id) + " " + item.text);
    }
    const auto listed0 = std::to_string(33824 + [&] {
        for (std::size_t i = 0; i < listing.size(); ++i) {
            if (listing[i] == "tabby") return static_cast<int>(i);
        }
        return -1;
    }());
    EXPECT_EQ(skinItems, (std::vector<std::string>{"32778 ウィスカビー", listed0 + " Tabby BMP"}))
        << "the hidden skin is left out of the skin submenu";

    // Q is the access key of the Quit item.
    INPUT keys[2] = {};
    keys[0].type = keys[1].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = keys[1].ki.wVk = 'Q';
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, keys, sizeof(INPUT));
    EXPECT_EQ(cat.WaitForExit(process, kEndTimeout), 0u);
    const std::string lists = cat.ReadFile("filesetlists.cfg");
    EXPECT_NE(lists.find(std::to_string(33824 + position) + "\x01× Tabby BMP\x01" + "another\r\n"), std::string::npos)
        << lists;
    EXPECT_NE(lists.find(listed0 + "\x01○ Tabby BMP\x01" + "tabby\r\n"), std::string::npos) << lists;
}

TEST(Dialogs, ProfileFallingObjectProfileAndAboutOpenByTheirCommands) {
    DesktopScene desktop;
    CatHarness cat;
    cat.MakeFolder("dropling\\ball");
    cat.WriteFile("dropling\\ball\\dropling.txt", "#name\r\nBall\r\n");
    cat.WriteFile("dropling\\ball\\surface0.png", "png");
    cat.WriteFile("dropling\\ball\\profile.txt", "A red ball.\r\nIt bounces twice");
    cat.WriteFile("readme.txt", "tumblecat 9.8.7\r\nA cat on the taskbar.\r\n");
    HANDLE process = nullptr;
    HWND window = cat.StartTabby(PlainSettings(), &process);
    ASSERT_NE(window, nullptr);

    const ScreenShot beforeProfile;
    PostMessageA(window, WM_COMMAND, kCmdProfile, 0);
    HWND profile = WaitForWindowOf(window, "Tabby BMPについて", "the skin's profile titled by its name");
    ASSERT_NE(profile, nullptr);
    EXPECT_EQ(WindowText(GetDlgItem(profile, kProfileEdit)), "A tiny test skin.\r\n") << "profile.txt after its name";
    SettledShot(ClientArea(profile), &beforeProfile).Save("dialog-profile", ClientArea(profile));
    PostMessageA(profile, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitForGone(profile, "the profile to close"));

    const ScreenShot beforeSets;
    PostMessageA(window, WM_COMMAND, kCmdDroplingProfile, 0);
    HWND sets = WaitForWindowOf(window, "落下物について", "the falling-object profiles");
    ASSERT_NE(sets, nullptr);
    EXPECT_EQ(Send(GetDlgItem(sets, kSetCombo), CB_GETCOUNT, 0, 0), 1);
    EXPECT_EQ(Send(GetDlgItem(sets, kSetCombo), CB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(WindowText(GetDlgItem(sets, kProfileEdit)), "A red ball.\r\nIt bounces twice\r\n")
        << "the first set's profile.txt, every line ended by CR LF";
    SettledShot(ClientArea(sets), &beforeSets).Save("dialog-dropling-profile", ClientArea(sets));
    PostMessageA(sets, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitForGone(sets, "the falling-object profiles to close"));

    PostMessageA(window, WM_COMMAND, kCmdAbout, 0);
    HWND about = WaitForWindowOf(window, "たんぶるについて", "the about dialog");
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(WindowText(GetDlgItem(about, kAboutEdit)), "tumblecat 9.8.7\r\nA cat on the taskbar.\r\n")
        << "readme.txt, its first line the version";
    const RECT client = ClientArea(about);
    const RECT picture = {client.left, client.top, client.left + kAboutPictureWidth, client.top + kAboutPictureHeight};
    // The picture slides left 2 pixels every 50 ms: a later shot shows the columns of an
    // earlier one some even number of pixels further left.
    const ScreenShot first = ScreenShot::WaitFor(
        [&](const ScreenShot& s) { return CountPixels(s, picture, kDesktopColour, 8) == 0; }, kShowTimeout);
    first.Save("dialog-about-1", client);
    // (The dialog's small white frame stands still over the picture's top-left corner.)
    const auto shiftedBy = [&](const ScreenShot& later) {
        for (int shift = 2; shift < kAboutPictureWidth / 2; shift += 2) {
            const RECT kept = {picture.left, picture.top + 20, picture.right - shift, picture.bottom};
            bool same = true;
            for (int y = kept.top; y < kept.bottom && same; y += 3) {
                for (int x = kept.left; x < kept.right && same; ++x) {
                    same = later.Pixel(x, y) == first.Pixel(x + shift, y);
                }
            }
            if (same) return shift;
        }
        return 0;
    };
    int shift = 0;
    const ScreenShot second = ScreenShot::WaitFor(
        [&](const ScreenShot& s) {
            shift = shiftedBy(s);
            return shift > 0;
        },
        kShowTimeout);
    second.Save("dialog-about-2", client);
    EXPECT_GT(shift, 0) << "the picture slides to the left";
    std::printf("the about picture moved %d pixels between two shots\n", shift);
    PostMessageA(about, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitForGone(about, "the about dialog to close"));

    Quit(cat, window, process);
}

}  // namespace
}  // namespace e2e
