// The cat on a desktop under Wine: standing on the taskbar in the shape of its picture,
// with a tray icon, hiding into it and back, drawn transparent when the settings say so,
// and remembering a free position in its skin's omni.txt.
#include <gtest/gtest.h>

#include "CatHarness.h"
#include "Desktop.h"
#include "Wait.h"

#include <shellapi.h>

namespace e2e {
namespace {

constexpr UINT kTrayMessage = 0x8068;
constexpr WPARAM kCmdQuit = 32777;
constexpr WPARAM kCmdIconize = 32790;
constexpr COLORREF kTabbyGrey = RGB(128, 128, 128);    // the body of the test skin's surface 0
constexpr COLORREF kTabbyOrange = RGB(230, 140, 50);   // and of its surface 1
// Every normal pose of the default skin has (244, 164, 71) there, drawn gamma-corrected.
constexpr COLORREF kWhiskerbyFur = RGB(245, 171, 80);

std::string Settings(const std::string& skin, int transparency = 767) {
    return "0\r\n" + skin + "\r\n10\r\n0\r\n0\r\n0\r\n9801\r\n1\r\n" + std::to_string(transparency) +
           "\r\n1\r\n%rnd\r\n";
}

bool TrayIconExists(HWND window, UINT id) {
    NOTIFYICONDATAA data{};
    data.cbSize = sizeof data;
    data.hWnd = window;
    data.uID = id;
    data.uFlags = NIF_TIP;
    lstrcpyA(data.szTip, "probe");
    return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

::testing::AssertionResult WaitForVisibility(HWND window, bool visible) {
    return WaitUntil([&] { return (IsWindowVisible(window) != FALSE) == visible; }, kShowTimeout,
                     visible ? "the window to show" : "the window to hide");
}

TEST(Desktop, CatStandsOnTheTaskbarInTheShapeOfItsPicture) {
    DesktopScene desktop(false);
    CatHarness cat;
    HANDLE process = nullptr;
    HWND window = cat.StartTabby(Settings("tabby"), &process);
    ASSERT_NE(window, nullptr);
    // Probed through Wine's own tray, before the scene's taskbar exists and becomes the tray.
    EXPECT_TRUE(TrayIconExists(window, 1)) << "the tray icon exists";
    EXPECT_FALSE(TrayIconExists(window, 2)) << "(the probe tells a missing icon apart)";

    // The cat finds the taskbar at every tick and stands on it.
    desktop.AddTaskbar();

    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    const RECT r = WaitForRect(
        window, [&](const RECT& rect) { return rect.bottom - 1 == screenHeight - kTaskbarHeight; },
        "the bottom row on the taskbar's top row");
    EXPECT_EQ(r.right - r.left, 40);
    EXPECT_EQ(r.bottom - r.top, 48);

    ExpectScreen({{r.left + 20, r.top + 40, {kTabbyGrey, kTabbyOrange}, "the body (around picture column 20, row 30)"},
                  // Key-coloured pixels are outside the window: the desktop shows there, not magenta.
                  {r.left + 1, r.top + 1, {kDesktopColour}, "the top-left corner"},
                  {r.left + 1, r.top + 40, {kDesktopColour}, "beside the body"},
                  {r.left + 20, r.top + 2, {kDesktopColour}, "between the ears"},
                  {r.left + 20, r.bottom + 5, {kTaskbarColour}, "the taskbar below"}},
                 "desktop-tabby");
}

TEST(Desktop, IconizeHidesIntoTheTrayAndShowsAgain) {
    DesktopScene desktop;  // its taskbar is the tray
    CatHarness cat;
    HANDLE process = nullptr;
    HWND window = cat.StartTabby(Settings("tabby"), &process);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(desktop.HasTrayIcon(window, 1)) << "start-up adds the tray icon";

    SendMessageA(window, kTrayMessage, 1, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(WaitForVisibility(window, false)) << "a double click on the tray icon hides the cat";
    EXPECT_TRUE(desktop.HasTrayIcon(window, 1));
    SendMessageA(window, kTrayMessage, 1, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(WaitForVisibility(window, true));
    SendMessageA(window, WM_COMMAND, kCmdIconize, 0);
    EXPECT_TRUE(WaitForVisibility(window, false)) << "the iconize command hides it too";

    PostMessageA(window, WM_COMMAND, kCmdQuit, 0);
    EXPECT_EQ(cat.WaitForExit(process, kEndTimeout), 0u) << "Quit while iconized ends the program";
    // Wine drops the icons of a destroyed window by itself, so the removal counts only when
    // the program asked for it while its window still existed.
    bool removed = false;
    for (const TrayRequest& request : desktop.TrayRequests()) {
        if (request.message == NIM_DELETE && request.window == window && request.id == 1) {
            removed = true;
            EXPECT_TRUE(request.windowExisted) << "the icon is removed before the window goes";
        }
    }
    EXPECT_TRUE(removed) << "the program removes its tray icon";
    EXPECT_FALSE(desktop.HasTrayIcon(window, 1));
}

TEST(Desktop, TransparencyFromTheSettingsMakesALayeredWindow) {
    CatHarness cat;
    HWND window = cat.StartTabby(Settings("tabby", 512 + 256 + 128));
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_LAYERED) != 0; }, kShowTimeout,
                          "the layered style"));
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(window, nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 128);
    EXPECT_EQ(flags & LWA_ALPHA, static_cast<DWORD>(LWA_ALPHA));
}

TEST(Desktop, OpaqueWithoutTransparency) {
    CatHarness cat;
    // Returns once start-up, which applies the opacity, is over.
    HWND window = cat.StartTabby(Settings("tabby"));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_LAYERED, 0);
}

TEST(Desktop, FreePlacementKeepsTheDraggedPosition) {
    CatHarness cat;
    cat.InstallTestSkin("tabby-bmp", "tabby");
    cat.WriteFile("skin\\tabby\\omni.txt", "200\r\n300\r\n");
    cat.WriteFile("tumblecat.cfg", Settings("tabby"));
    HANDLE process = cat.Start();
    HWND window = cat.WaitForCatWindow(process, kStartTimeout);
    ASSERT_NE(window, nullptr);
    RECT r = WaitForRect(
        window, [](const RECT& rect) { return rect.left == 200 && rect.top == 300; }, "the place omni.txt gives");
    EXPECT_EQ(r.left, 200);
    EXPECT_EQ(r.top, 300);

    // Press at (10, 10) in the window, move to (60, 30) of the window, release.
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(60, 30));
    SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(60, 30));
    r = WaitForRect(
        window, [](const RECT& rect) { return rect.left == 250 && rect.top == 320; }, "the dragged place");
    EXPECT_EQ(r.left, 250);
    EXPECT_EQ(r.top, 320);

    PostMessageA(window, WM_COMMAND, kCmdQuit, 0);
    EXPECT_EQ(cat.WaitForExit(process, kEndTimeout), 0u);
    EXPECT_EQ(cat.ReadFile("skin\\tabby\\omni.txt"), "250\r\n320\r\n\r\n");
    EXPECT_EQ(cat.ReadFile("tumblecat.cfg").substr(0, 5), "250\r\n") << "the settings keep the position too";
}

TEST(Desktop, DefaultSkinShowsWhiskerby) {
    DesktopScene desktop;
    CatHarness cat;
    cat.InstallDataSkin("whiskerby");
    HANDLE process = cat.Start();
    HWND window = cat.WaitForCatWindow(process, kStartTimeout);
    ASSERT_NE(window, nullptr);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    const RECT r = WaitForRect(
        window, [&](const RECT& rect) { return rect.bottom - 1 == screenHeight - kTaskbarHeight; },
        "the cat on the taskbar");
    EXPECT_EQ(r.right - r.left, 156);
    EXPECT_EQ(r.bottom - r.top, 174);
    const ScreenShot shot = ExpectScreen({{r.left + 80, r.top + 125, {kWhiskerbyFur}, "the fur"},
                                          {r.left + 1, r.top + 1, {kDesktopColour}, "no key colour at the corner"}},
                                         "desktop-whiskerby");
    int fringe = 0;
    for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.left; x < r.right; ++x) {
            const COLORREF c = shot.Pixel(x, y);
            if (GetRValue(c) > 200 && GetBValue(c) > 200 && GetGValue(c) < 80) ++fringe;
        }
    }
    EXPECT_EQ(fringe, 0) << "no magenta pixel shows anywhere in the window";
}

}  // namespace
}  // namespace e2e
