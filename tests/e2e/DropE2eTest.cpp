// Drops and the other characters under Wine, with the peer desktop character and the
// recorder standing in for the falling-object program: targets, the drop pose and its
// timing, the refusal while a falling-object program runs, the own block, the rectangle
// query, the context menu, skin changes from the menu, and Quit.
#include <gtest/gtest.h>

#include "CatHarness.h"
#include "Desktop.h"
#include "peer/Peer.h"

namespace e2e {
namespace {

constexpr DWORD kStartTimeout = 20000;
constexpr WPARAM kCmdQuit = 32777;
constexpr COLORREF kDropPoseColour = RGB(90, 110, 160);  // surface 2 of the test skin

std::string Settings(const std::string& target, int noConsecutiveDrop = 1) {
    return "0\r\ntabby\r\n10\r\n0\r\n0\r\n0\r\n9801\r\n" + std::to_string(noConsecutiveDrop) + "\r\n767\r\n1\r\n" +
           target + "\r\n";
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
    cat.WriteFile("tumblecat.cfg", settings);
    cat.MakeFolder("dropling\\ball");
    cat.WriteFile("dropling\\ball\\dropling.txt", "#name\r\nBall\r\n");
    cat.WriteFile("dropling\\ball\\surface0.png", "png");
    cat.CopyIn(TUMBLECAT_RECORDER_PATH, "dropling.exe");
    HANDLE process = cat.Start();
    return cat.WaitForCatWindow(process, kStartTimeout);
}

COLORREF BodyColour(HWND cat) {
    RECT r{};
    GetWindowRect(cat, &r);
    HDC screen = GetDC(nullptr);
    const COLORREF c = GetPixel(screen, r.left + 20, r.top + 40);
    ReleaseDC(nullptr, screen);
    return c;
}

std::string WaitForCalls(const CatHarness& cat, DWORD milliseconds) {
    for (DWORD waited = 0; waited < milliseconds; waited += 50) {
        const std::string calls = cat.ReadFile("dropling-calls.txt");
        if (calls != "<missing>" && !calls.empty()) return calls;
        Sleep(50);
    }
    return cat.ReadFile("dropling-calls.txt");
}

TEST(Drop, DoubleClickOnEveryShownCharacterWithTheDropPoseForAbout1700Ms) {
    Peer peer(ShownAAndBHiddenD());
    CatHarness cat;
    HWND window = StartDropper(cat, Settings("%all"));
    ASSERT_NE(window, nullptr);
    Sleep(300);
    EXPECT_FALSE(SameColour(BodyColour(window), kDropPoseColour)) << "a normal pose first";

    const DWORD clicked = GetTickCount();
    SendMessageA(window, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(20, 40));
    Sleep(100);
    EXPECT_TRUE(SameColour(BodyColour(window), kDropPoseColour)) << "the drop pose shows at once";

    const std::string calls = WaitForCalls(cat, 3000);
    EXPECT_TRUE(calls == "ball~0~9801~255~A^B^\r\n" || calls == "ball~0~9801~255~A^B^%nek:tabby^\r\n")
        << calls;

    DWORD back = 0;
    while (GetTickCount() - clicked < 5000) {
        if (!SameColour(BodyColour(window), kDropPoseColour)) {
            back = GetTickCount() - clicked;
            break;
        }
        Sleep(20);
    }
    EXPECT_GE(back, 1500u) << "the pose returns 200 + 1500 ms after the drop";
    EXPECT_LE(back, 3200u);
}

TEST(Drop, NamedTargetAndRefusalWhileTheFallingObjectProgramRuns) {
    Peer peer(ShownAyaAndBee());
    CatHarness cat;
    HWND window = StartDropper(cat, Settings("Aya"));
    ASSERT_NE(window, nullptr);

    SendMessageA(window, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(20, 40));
    EXPECT_EQ(WaitForCalls(cat, 3000), "ball~0~9801~255~Aya^\r\n");
    Sleep(2000);  // the pose is back

    HANDLE running = CreateMutexA(nullptr, TRUE, "dropling");
    SendMessageA(window, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(20, 40));
    Sleep(100);
    EXPECT_FALSE(SameColour(BodyColour(window), kDropPoseColour)) << "no drop pose";
    Sleep(1000);
    EXPECT_EQ(cat.ReadFile("dropling-calls.txt"), "ball~0~9801~255~Aya^\r\n") << "nothing was launched";
    CloseHandle(running);
}

TEST(Interop, OwnBlockAndRectangleQuery) {
    Peer peer(ShownAyaAndBee());
    CatHarness cat;
    cat.InstallTestSkin("tabby-bmp", "tabby");
    cat.WriteFile("skin\\tabby\\headrect.txt", "1,2,30,40\r\n1,2,30,40\r\n5,6,7,8\r\n");
    cat.WriteFile("tumblecat.cfg", Settings("%rnd"));
    HANDLE process = cat.Start();
    HWND window = cat.WaitForCatWindow(process, kStartTimeout);
    ASSERT_NE(window, nullptr);

    HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, "Tumblecat");
    ASSERT_NE(mapping, nullptr) << "the own block is published";
    const char* view = static_cast<const char*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0));
    ASSERT_NE(view, nullptr);
    const std::string expected = std::string("\x00\x00\x01\x00.hwnd\x01", 10) +
                                 std::to_string(static_cast<long long>(reinterpret_cast<INT_PTR>(window))) + "\r\n";
    EXPECT_EQ(std::string(view, expected.size() + 1), expected + std::string(1, '\0'));
    UnmapViewOfFile(view);
    CloseHandle(mapping);

    EXPECT_EQ(peer.AskRectangle(window), "1,2,30,40") << "the head rectangle of a normal pose";
}

TEST(Menu, RightClickOpensTheMenuAndItsQuitItemEndsTheProgram) {
    DesktopScene desktop;
    CatHarness cat;
    cat.InstallTestSkin("tabby-bmp", "tabby");
    cat.MakeFolder("dropling\\ball");
    cat.WriteFile("dropling\\ball\\dropling.txt", "#name\r\nBall\r\n");
    cat.WriteFile("dropling\\ball\\surface0.png", "png");
    cat.InstallDataSkin("whiskerby");
    cat.WriteFile("tumblecat.cfg", Settings("%all"));
    HANDLE process = cat.Start();
    HWND window = cat.WaitForCatWindow(process, kStartTimeout);
    ASSERT_NE(window, nullptr);
    Sleep(300);

    // The menu runs its own loop inside the cat, so the click is posted.
    PostMessageA(window, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(20, 30));
    HWND menu = nullptr;
    for (int i = 0; i < 60 && !menu; ++i) {
        Sleep(50);
        menu = FindWindowA("#32768", nullptr);
        if (menu && !IsWindowVisible(menu)) menu = nullptr;
    }
    ASSERT_NE(menu, nullptr) << "the context menu is shown";
    Sleep(300);
    ScreenShot().Save("context-menu");

    // Q is the access key of the Quit item.
    INPUT keys[2] = {};
    keys[0].type = keys[1].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = keys[1].ki.wVk = 'Q';
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, keys, sizeof(INPUT));
    EXPECT_EQ(cat.WaitForExit(process, 10000), 0u) << "Quit from the menu ends the program";
    EXPECT_EQ(cat.ReadFile("tumblecat.cfg"), Settings("%all")) << "and the settings are written";
    EXPECT_EQ(cat.ReadFile("menulistk.cfg").substr(cat.ReadFile("menulistk.cfg").find('\x01')), "\x01" "Ball\x01" "ball\r\n");
}

TEST(Menu, ChoosingASkinSwitchesThePicture) {
    CatHarness cat;
    cat.InstallTestSkin("tabby-bmp", "tabby");
    cat.InstallDataSkin("whiskerby");
    cat.InstallDataSkin("whiskerby", "another");
    cat.WriteFile("tumblecat.cfg", Settings("%rnd"));
    HANDLE process = cat.Start();
    HWND window = cat.WaitForCatWindow(process, kStartTimeout);
    ASSERT_NE(window, nullptr);
    RECT r{};
    GetWindowRect(window, &r);
    EXPECT_EQ(r.right - r.left, 40);

    // The skin's command id is its position in the listing of skin\ plus 33824.
    const auto listing = cat.ListFolder("skin");
    int position = -1;
    for (size_t i = 0; i < listing.size(); ++i) {
        if (listing[i] == "another") position = static_cast<int>(i);
    }
    ASSERT_GE(position, 0);
    SendMessageA(window, WM_COMMAND, 33824 + position, 0);
    GetWindowRect(window, &r);
    EXPECT_EQ(r.right - r.left, 156) << "the new skin's picture";
    EXPECT_EQ(r.bottom - r.top, 174);

    SendMessageA(window, WM_COMMAND, 32778, 0);  // the default skin's item
    GetWindowRect(window, &r);
    EXPECT_EQ(r.right - r.left, 156);

    PostMessageA(window, WM_COMMAND, kCmdQuit, 0);
    EXPECT_EQ(cat.WaitForExit(process, 10000), 0u);
    EXPECT_EQ(cat.ReadFile("tumblecat.cfg").substr(0, 16), "0\r\nwhiskerby\r\n10") << "the skin in use is remembered";
}

}  // namespace
}  // namespace e2e
