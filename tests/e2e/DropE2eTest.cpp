// Drops and the other characters under Wine, with the peer desktop character and the
// recorder standing in for the falling-object program: targets, the drop pose and its
// timing, the refusal while a falling-object program runs, the own block, the rectangle
// query, the context menu, skin changes from the menu, and Quit.
#include <gtest/gtest.h>

#include "CatHarness.h"
#include "Desktop.h"
#include "ProcessWindows.h"
#include "ShownMenu.h"
#include "Wait.h"
#include "peer/Peer.h"

#include <algorithm>

namespace e2e {
namespace {

constexpr WPARAM kCmdQuit = 32777;
constexpr COLORREF kDropPoseColour = RGB(90, 110, 160);  // surface 2 of the test skin
// Head rectangles that tell the poses apart through the rectangle query, which the cat
// answers from the pose it has at that moment.
constexpr const char* kHeadRects = "1,2,30,40\r\n1,2,30,40\r\n5,6,7,8\r\n";
constexpr const char* kNormalHead = "1,2,30,40";  // surfaces 0 and 1
constexpr const char* kDropHead = "5,6,7,8";      // surface 2, the drop pose

std::string Settings(const std::string& target, int noConsecutiveDrop = 1, const std::string& skin = "tabby") {
    return "0\r\n" + skin + "\r\n10\r\n0\r\n0\r\n0\r\n9801\r\n" + std::to_string(noConsecutiveDrop) +
           "\r\n767\r\n1\r\n" + target + "\r\n";
}

// Two shown characters and a hidden one.
std::vector<PeerCharacter> ShownAAndBHiddenD() {
    return {{"a", "A", "Ako", true}, {"b", "B", "Bko", true}, {"d", "D", "Dko", false}};
}

// The settings file keeps only targets longer than one byte, so a named target needs a
// longer name.
std::vector<PeerCharacter> ShownAyaAndBee() { return {{"aya", "Aya", "Ayako", true}, {"bee", "Bee", "Bumble", true}}; }

// A cat with the test skin, one falling-object set "ball" and the recorder as dropling.exe.
HWND StartDropper(CatHarness& cat, const std::string& settings) {
    cat.InstallTestSkin("tabby-bmp", "tabby");
    cat.WriteFile("skin\\tabby\\headrect.txt", kHeadRects);
    cat.WriteFile("tumblecat.cfg", settings);
    cat.MakeFolder("dropling\\ball");
    cat.WriteFile("dropling\\ball\\dropling.txt", "#name\r\nBall\r\n");
    cat.WriteFile("dropling\\ball\\surface0.png", "png");
    cat.CopyIn(TUMBLECAT_RECORDER_PATH, "dropling.exe");
    HANDLE process = cat.Start();
    return cat.WaitForCatWindow(process, kStartTimeout);
}


int Lines(const std::string& text) {
    int lines = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2)) ++lines;
    return lines;
}

// The recorder's file once it holds the given number of whole lines (what it holds when the
// bound passes otherwise). A launch starts a program, which takes long on a busy machine.
std::string WaitForCalls(const CatHarness& cat, int lines) {
    std::string calls;
    EXPECT_TRUE(WaitUntil(
        [&] {
            calls = cat.ReadFile("dropling-calls.txt");
            return Lines(calls) >= lines && calls.size() >= 2 && calls.substr(calls.size() - 2) == "\r\n";
        },
        kStartTimeout, "the falling-object program to be started " + std::to_string(lines) + " time(s)"));
    return calls;
}

TEST(Drop, DoubleClickOnEveryShownCharacterWithTheDropPoseForAbout1700Ms) {
    Peer peer(ShownAAndBHiddenD());
    CatHarness cat;
    HWND window = StartDropper(cat, Settings("%all"));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(peer.AskRectangle(window), kNormalHead) << "a normal pose first";

    const DWORD clicked = GetTickCount();
    SendMessageA(window, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(20, 40));
    EXPECT_EQ(peer.AskRectangle(window), kDropHead) << "the double click takes the drop pose at once";
    // The pose lasts at least 1700 ms: time enough to be painted.
    EXPECT_TRUE(WaitUntil([&] { return SameColour(CatBodyColour(window), kDropPoseColour); }, kShowTimeout,
                          "the drop pose on the screen"));

    const std::string calls = WaitForCalls(cat, 1);
    const DWORD launched = GetTickCount() - clicked;
    EXPECT_TRUE(calls == "ball~0~9801~255~A^B^\r\n" || calls == "ball~0~9801~255~A^B^%nek:tabby^\r\n")
        << calls;

    DWORD back = 0;
    EXPECT_TRUE(WaitUntil(
        [&] {
            back = GetTickCount() - clicked;
            return peer.AskRectangle(window) == kNormalHead;
        },
        kShowTimeout, "a normal pose after the drop"));
    // The launch comes 200 ms after the click and the pose returns 1500 ms after the launch;
    // how long starting the program takes depends on the machine, so the end is measured
    // from the moment its parameters were seen.
    EXPECT_GE(back, 1700u) << "the pose returns 200 + 1500 ms after the drop";
    EXPECT_LE(back, launched + 3000) << "about 1500 ms after the launch, seen after " << launched << " ms";
    EXPECT_TRUE(WaitUntil([&] { return !SameColour(CatBodyColour(window), kDropPoseColour); }, kShowTimeout,
                          "the normal pose on the screen"));
}

TEST(Drop, NamedTargetAndRefusalWhileTheFallingObjectProgramRuns) {
    Peer peer(ShownAyaAndBee());
    CatHarness cat;
    HWND window = StartDropper(cat, Settings("Aya"));
    ASSERT_NE(window, nullptr);

    const DWORD clicked = GetTickCount();
    SendMessageA(window, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(20, 40));
    const std::string first = WaitForCalls(cat, 1);
    const DWORD launchTook = GetTickCount() - clicked;
    EXPECT_EQ(first, "ball~0~9801~255~Aya^\r\n");
    // A drop while the pose still shows is ignored whatever runs, so the refusal is tried
    // once the pose is back.
    ASSERT_TRUE(WaitUntil([&] { return peer.AskRectangle(window) == kNormalHead; }, kShowTimeout,
                          "a normal pose after the first drop"));
    // The recorder holds the mutex while it runs; from here only the test holds it.
    ASSERT_TRUE(WaitUntil([] { return !MutexExists("dropling"); }, kShowTimeout, "the recorder to end"));

    HANDLE running = CreateMutexA(nullptr, TRUE, "dropling");
    SendMessageA(window, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(20, 40));
    // SendMessage returns once the cat has handled the double click; a drop takes its pose
    // right there.
    EXPECT_EQ(peer.AskRectangle(window), kNormalHead) << "no drop pose";
    // A launch would come 200 ms after the click and reach the file about as late as the
    // first one did; watched for twice that long from the handled click.
    EXPECT_TRUE(NeverWithin([&] { return cat.ReadFile("dropling-calls.txt") != first; }, 2 * launchTook,
                            "a launch while the falling-object program runs"));
    CloseHandle(running);

    // The same double click drops again once the falling-object program is gone.
    SendMessageA(window, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(20, 40));
    EXPECT_EQ(peer.AskRectangle(window), kDropHead) << "the drop pose";
    EXPECT_EQ(WaitForCalls(cat, 2), first + first);
}

TEST(Interop, OwnBlockAndRectangleQuery) {
    Peer peer(ShownAyaAndBee());
    CatHarness cat;
    cat.InstallTestSkin("tabby-bmp", "tabby");
    cat.WriteFile("skin\\tabby\\headrect.txt", kHeadRects);
    cat.WriteFile("tumblecat.cfg", Settings("%rnd"));
    HANDLE process = cat.Start();
    // Returns once start-up, which publishes the block, is over.
    HWND window = cat.WaitForCatWindow(process, kStartTimeout);
    ASSERT_NE(window, nullptr);

    const std::string expected = std::string("\x00\x00\x01\x00.hwnd\x01", 10) +
                                 std::to_string(static_cast<long long>(reinterpret_cast<INT_PTR>(window))) + "\r\n";
    EXPECT_EQ(ReadOwnBlock(expected.size() + 1), expected + std::string(1, '\0')) << "the own block names the window";

    EXPECT_EQ(peer.AskRectangle(window), kNormalHead) << "the head rectangle of a normal pose";
}

TEST(Menu, RightClickOpensTheMenuAndItsQuitItemEndsTheProgram) {
    DesktopScene desktop;
    CatHarness cat;
    cat.InstallTestSkin("tabby-bmp", "tabby");
    cat.MakeFolder("dropling\\ball");
    cat.WriteFile("dropling\\ball\\dropling.txt", "#name\r\nBall\r\n");
    cat.WriteFile("dropling\\ball\\surface0.png", "png");
    cat.InstallTestSkin("tabby-bmp", "another");
    cat.InstallDataSkin("whiskerby");  // the default skin has its own item only
    // No consecutive drop off, always on top on, not iconized.
    const std::string settings = Settings("%all", 0);
    cat.WriteFile("tumblecat.cfg", settings);
    HANDLE process = cat.Start();
    HWND window = cat.WaitForCatWindow(process, kStartTimeout);
    ASSERT_NE(window, nullptr);

    HWND popup = nullptr;
    ASSERT_TRUE(OpenContextMenu(window, popup));
    const std::vector<ShownMenuItem> items = ReadShownMenu(popup);
    ScreenShot().Save("context-menu");
    const auto item = [&](const std::string& path) {
        for (const ShownMenuItem& i : items) {
            if (i.path == path) return i;
        }
        ADD_FAILURE() << "no item " << path << " in the menu";
        return ShownMenuItem{};
    };
    const auto itemWithId = [&](UINT id) {
        for (const ShownMenuItem& i : items) {
            if (i.id == id && i.path.find('.') == std::string::npos) return i;
        }
        ADD_FAILURE() << "no item " << id << " in the menu";
        return ShownMenuItem{};
    };
    const auto checked = [](const ShownMenuItem& i) { return (i.state & MF_CHECKED) != 0; };
    ASSERT_FALSE(items.empty()) << "the shown menu is read";

    EXPECT_EQ(itemWithId(32775).text, "Tabby BMPについて(&W)") << "the profile item names the skin";
    EXPECT_FALSE(checked(itemWithId(32784))) << "no consecutive drop is off";
    EXPECT_TRUE(checked(itemWithId(32789))) << "always on top is on";
    EXPECT_FALSE(checked(itemWithId(32790))) << "not iconized";

    const auto droplings = cat.ListFolder("dropling");
    const auto skins = cat.ListFolder("skin");
    const auto idOf = [](const std::vector<std::string>& listing, const std::string& name, UINT base) {
        for (std::size_t i = 0; i < listing.size(); ++i) {
            if (listing[i] == name) return base + static_cast<UINT>(i);
        }
        return 0u;
    };
    // Submenu 0 drops: its own item, then the sets.
    EXPECT_EQ(item("0").text, "落とす(&G)");
    EXPECT_EQ(item("0.0").id, 32772u);
    EXPECT_EQ(item("0.1").id, idOf(droplings, "ball", 32800));
    EXPECT_EQ(item("0.1").text, "Ball") << "the set is appended to the drop submenu";
    // Submenu 3 chooses the skin: the default skin's item, then the other skins in the
    // order of their folders (which is the order of their ids).
    EXPECT_EQ(item("3").text, "スキン(&S)");
    EXPECT_EQ(item("3.0").id, 32778u);
    EXPECT_EQ(item("3.0").text, "ウィスカビー");
    const std::pair<UINT, UINT> skinIds = std::minmax(idOf(skins, "tabby", 33824), idOf(skins, "another", 33824));
    EXPECT_EQ(item("3.1").id, skinIds.first);
    EXPECT_EQ(item("3.1").text, "Tabby BMP");
    EXPECT_EQ(item("3.2").id, skinIds.second);
    EXPECT_EQ(item("3.2").text, "Tabby BMP");
    int topItems = 0, drops = 0, skinItems = 0;
    for (const ShownMenuItem& i : items) {
        topItems += i.path.find('.') == std::string::npos;
        drops += i.path.rfind("0.", 0) == 0;
        skinItems += i.path.rfind("3.", 0) == 0;
    }
    EXPECT_EQ(topItems, 14) << "the menu resource's items";
    EXPECT_EQ(drops, 2) << "nothing else in the drop submenu";
    EXPECT_EQ(skinItems, 3) << "nothing else in the skin submenu";

    // Q is the access key of the Quit item.
    INPUT keys[2] = {};
    keys[0].type = keys[1].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = keys[1].ki.wVk = 'Q';
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, keys, sizeof(INPUT));
    EXPECT_EQ(cat.WaitForExit(process, kEndTimeout), 0u) << "Quit from the menu ends the program";
    EXPECT_EQ(cat.ReadFile("tumblecat.cfg"), settings) << "and the settings are written";
    EXPECT_EQ(cat.ReadFile("menulistk.cfg"),
              std::to_string(idOf(droplings, "ball", 32800)) + "\x01" "Ball\x01" "ball\r\n");
}

TEST(Menu, ChoosingASkinSwitchesThePicture) {
    CatHarness cat;
    // Pictures of 40 x 48 (the test skin) and 156 x 174 (the default skin), so every
    // change shows in the window's size.
    cat.InstallTestSkin("tabby-bmp", "tabby");
    cat.InstallDataSkin("whiskerby");
    cat.InstallTestSkin("tabby-bmp", "another");
    cat.WriteFile("tumblecat.cfg", Settings("%rnd"));
    HANDLE process = cat.Start();
    HWND window = cat.WaitForCatWindow(process, kStartTimeout);
    ASSERT_NE(window, nullptr);
    const auto size = [&] {
        RECT r{};
        GetWindowRect(window, &r);
        return std::make_pair(static_cast<int>(r.right - r.left), static_cast<int>(r.bottom - r.top));
    };
    EXPECT_EQ(size(), std::make_pair(40, 48)) << "the test skin";

    // The command is handled, and the new picture placed, when SendMessage returns.
    SendMessageA(window, WM_COMMAND, 32778, 0);  // the default skin's item
    EXPECT_EQ(size(), std::make_pair(156, 174)) << "the default skin's picture";

    // The skin's command id is its position in the listing of skin\ plus 33824.
    const auto listing = cat.ListFolder("skin");
    int position = -1;
    for (size_t i = 0; i < listing.size(); ++i) {
        if (listing[i] == "another") position = static_cast<int>(i);
    }
    ASSERT_GE(position, 0);
    SendMessageA(window, WM_COMMAND, 33824 + position, 0);
    EXPECT_EQ(size(), std::make_pair(40, 48)) << "the chosen skin's picture";

    PostMessageA(window, WM_COMMAND, kCmdQuit, 0);
    EXPECT_EQ(cat.WaitForExit(process, kEndTimeout), 0u);
    EXPECT_EQ(cat.ReadFile("tumblecat.cfg").substr(0, 14), "0\r\nanother\r\n10") << "the skin in use is remembered";
}

}  // namespace
}  // namespace e2e
