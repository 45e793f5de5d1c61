// The cat on displays of today: on a display of twice the usual scale, with the size that
// follows the display, it shows twice as large in whole blocks of pixels, its shape with it;
// a change of the display's size brings it back onto the screen; on a display of two
// monitors it belongs to the one it stands on, its balloon with it.
#include <gtest/gtest.h>

#include "CatHarness.h"
#include "Desktop.h"
#include "ProcessWindows.h"
#include "Wait.h"
#include "peer/Peer.h"

namespace e2e {
namespace {

constexpr WPARAM kCmdQuit = 32777;

// tumblecat.cfg of the default skin standing at x on the bottom, the twelfth line (the size)
// only when given.
std::string Settings(const std::string& size, int x = 0) {
    return std::to_string(x) + "\r\nwhiskerby\r\n10\r\n0\r\n0\r\n0\r\n9801\r\n1\r\n767\r\n1\r\n%rnd\r\n" +
           (size.empty() ? std::string() : size + "\r\n");
}

// The system's dots per inch as Wine reads them when a program starts, put back afterwards.
class LogPixels {
public:
    explicit LogPixels(DWORD dpi) {
        RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &m_key,
                        nullptr);
        DWORD size = sizeof m_old;
        m_hadOld = RegQueryValueExW(m_key, L"LogPixels", nullptr, nullptr, reinterpret_cast<BYTE*>(&m_old), &size) ==
                   ERROR_SUCCESS;
        RegSetValueExW(m_key, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);
    }
    ~LogPixels() {
        if (m_hadOld) {
            RegSetValueExW(m_key, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&m_old), sizeof m_old);
        } else {
            RegDeleteValueW(m_key, L"LogPixels");
        }
        RegCloseKey(m_key);
    }
    LogPixels(const LogPixels&) = delete;
    LogPixels& operator=(const LogPixels&) = delete;

private:
    HKEY m_key = nullptr;
    DWORD m_old = 0;
    bool m_hadOld = false;
};

// The primary monitor switched to another resolution, as a user does in the display settings,
// and back when this ends.
class DisplayMode {
public:
    DisplayMode(int width, int height) {
        DEVMODEW mode{};
        mode.dmSize = sizeof mode;
        mode.dmPelsWidth = static_cast<DWORD>(width);
        mode.dmPelsHeight = static_cast<DWORD>(height);
        mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
        m_changed = ChangeDisplaySettingsExW(nullptr, &mode, nullptr, CDS_FULLSCREEN, nullptr) == DISP_CHANGE_SUCCESSFUL;
    }
    ~DisplayMode() { Restore(); }
    DisplayMode(const DisplayMode&) = delete;
    DisplayMode& operator=(const DisplayMode&) = delete;

    bool Changed() const { return m_changed; }
    void Restore() {
        if (m_changed) ChangeDisplaySettingsExW(nullptr, nullptr, nullptr, 0, nullptr);
        m_changed = false;
    }

private:
    bool m_changed = false;
};

// Starts the cat and waits until it stands at x with its bottom row on line; null when it
// does not start.
HWND StartStanding(CatHarness& cat, HANDLE& process, int x, int line, const std::string& what) {
    process = cat.Start();
    HWND window = cat.WaitForCatWindow(process, kStartTimeout);
    if (window) WaitForRect(window, [&](const RECT& r) { return r.left == x && r.bottom - 1 == line; }, what);
    return window;
}

struct ShownCat {
    RECT rect{};
    HRGN shape = nullptr;  // window coordinates; owned by the caller
};

// Starts the cat with the settings, takes its place and shape once it stands, and ends it.
ShownCat RunCat(CatHarness& cat, const std::string& settings, int width, ScreenShot* shot = nullptr) {
    ShownCat shown;
    cat.WriteFile("tumblecat.cfg", settings);
    HANDLE process = cat.Start();
    HWND window = cat.WaitForCatWindow(process, kShowTimeout);
    if (!window) return shown;
    EXPECT_TRUE(WaitUntil(
        [&] {
            GetWindowRect(window, &shown.rect);
            return shown.rect.right - shown.rect.left == width;
        },
        kShowTimeout, "the window " + std::to_string(width) + " pixels wide"));
    shown.shape = CreateRectRgn(0, 0, 0, 0);
    GetWindowRgn(window, shown.shape);
    if (shot) {
        const RECT r = shown.rect;
        // The picture is painted once the window stands: wait for its middle to differ from the desktop.
        *shot = ScreenShot::WaitFor(
            [&](const ScreenShot& s) {
                return !SameColour(s.Pixel((r.left + r.right) / 2, (r.top + r.bottom) / 2), kDesktopColour);
            },
            kShowTimeout);
    }
    PostMessageA(window, WM_COMMAND, kCmdQuit, 0);
    EXPECT_EQ(cat.WaitForExit(process, kEndTimeout), 0u);
    return shown;
}

TEST(Displays, AtTwiceTheScaleTheCatFollowingTheDisplayIsTwiceAsLargeInSharpBlocks) {
    DesktopScene desktop(false);
    CatHarness cat;
    cat.InstallDataSkin("whiskerby");
    ScreenShot single;
    const ShownCat one = RunCat(cat, Settings(""), 156, &single);
    ASSERT_TRUE(one.shape);
    single.Save("displays-whiskerby-1x", one.rect);

    LogPixels dpi(192);
    ScreenShot doubled;
    const ShownCat two = RunCat(cat, Settings(""), 2 * 156, &doubled);
    ASSERT_TRUE(two.shape);
    doubled.Save("displays-whiskerby-2x", two.rect);
    EXPECT_EQ(two.rect.bottom - two.rect.top, 2 * 174);

    // The shape is the 1x shape with every pixel a 2 x 2 block, and where it is opaque every
    // block shows one colour: nothing was smoothed or stretched by the system.
    int shapeMisses = 0, blurredBlocks = 0, opaqueBlocks = 0;
    for (int y = 0; y < 2 * 174; ++y) {
        for (int x = 0; x < 2 * 156; ++x) {
            if ((PtInRegion(two.shape, x, y) != FALSE) != (PtInRegion(one.shape, x / 2, y / 2) != FALSE)) ++shapeMisses;
        }
    }
    for (int y = 0; y < 174; ++y) {
        for (int x = 0; x < 156; ++x) {
            if (!PtInRegion(one.shape, x, y)) continue;
            ++opaqueBlocks;
            const int sx = two.rect.left + 2 * x, sy = two.rect.top + 2 * y;
            const COLORREF c = doubled.Pixel(sx, sy);
            if (doubled.Pixel(sx + 1, sy) != c || doubled.Pixel(sx, sy + 1) != c || doubled.Pixel(sx + 1, sy + 1) != c) {
                ++blurredBlocks;
            }
        }
    }
    EXPECT_EQ(shapeMisses, 0);
    EXPECT_GT(opaqueBlocks, 156 * 174 / 4) << "the cat covers a good part of its picture";
    EXPECT_EQ(blurredBlocks, 0);
    DeleteObject(one.shape);
    DeleteObject(two.shape);
}

// A cat standing at the right end of the screen is off every monitor once the screen is made
// smaller: it comes back onto the screen on its new bottom line, and stands on the bottom
// again when the screen grows back. (Its bottom row lies one row below the bottom line, as
// it lies on a taskbar's top row.)
TEST(Displays, AfterTheScreenShrinksTheCatComesBackOntoItsNewBottomLine) {
    CatHarness cat;
    cat.InstallDataSkin("whiskerby");
    cat.WriteFile("tumblecat.cfg", Settings("", 860));
    const int height = GetSystemMetrics(SM_CYSCREEN);
    HANDLE process = nullptr;
    HWND window = StartStanding(cat, process, 860, height, "the cat at 860 on the bottom");
    ASSERT_NE(window, nullptr);

    DisplayMode smaller(800, 600);
    ASSERT_TRUE(smaller.Changed()) << "the display offers 800 x 600";
    const RECT shown = WaitForRect(
        window, [](const RECT& r) { return r.left >= 0 && r.right <= 800 && r.bottom - 1 == 600; },
        "the cat on the smaller screen's bottom line");
    EXPECT_EQ(shown.bottom - shown.top, 174);
    ScreenShot().Save("displays-smaller");

    smaller.Restore();
    WaitForRect(
        window, [&](const RECT& r) { return r.left == shown.left && r.bottom - 1 == height; },
        "the cat on the bottom of the screen grown back, where it was");
    PostMessageA(window, WM_COMMAND, kCmdQuit, 0);
    EXPECT_EQ(cat.WaitForExit(process, kEndTimeout), 0u);
}

// The tests below run on a display of two monitors: the primary one and a second one left of
// it, lower and smaller (so with negative coordinates and another bottom line).

bool Inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// Shows a line in the cat's balloon, sent by the peer's first character.
void SendLine(const Peer& peer, HWND sender, HWND cat) {
    const std::string handle = std::to_string(static_cast<long long>(reinterpret_cast<INT_PTR>(sender)));
    peer.SendSstp(cat, "SEND SSTP/1.1\r\nSender: Aya\r\nHWnd: " + handle +
                           "\r\nScript: \\0にゃあ\\e\r\n\r\n");
}

TEST(Monitors, TheCatDraggedOntoTheSecondMonitorStandsOnItsBottomLineItsBalloonThereAndStaysThere) {
    const RECT second = SecondMonitor();
    ASSERT_LT(second.left, 0) << "the second monitor lies left of the primary one";
    DesktopScene desktop;
    Peer peer({{"aya", "Aya", "Ayako", false}});
    CatHarness cat;
    cat.InstallDataSkin("whiskerby");
    cat.WriteFile("tumblecat.cfg", Settings("", 300));
    HANDLE process = nullptr;
    HWND window = StartStanding(cat, process, 300, GetSystemMetrics(SM_CYSCREEN) - kTaskbarHeight,
                                "the cat on the primary monitor's taskbar");
    ASSERT_NE(window, nullptr);

    // Pressed at (10, 10) and moved sideways to 200 pixels right of the second monitor's left edge.
    const int target = second.left + 200, move = target - 300;
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10 + move, 10));
    SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(10 + move, 10));
    const RECT dragged = WaitForRect(
        window, [&](const RECT& r) { return r.left == target && r.bottom - 1 == second.bottom; },
        "the cat on the second monitor's bottom line");

    SendLine(peer, peer.Window("aya"), window);
    HWND balloon = FindBalloon(window);
    ASSERT_NE(balloon, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(balloon) != FALSE; }, kShowTimeout, "the balloon to show"));
    const RECT shape = BalloonShape(balloon);
    EXPECT_TRUE(Inside(shape, second)) << "the balloon (" << shape.left << ", " << shape.top << ")-(" << shape.right
                                       << ", " << shape.bottom << ") on the cat's monitor";
    const RECT text = BalloonTextArea(balloon);
    EXPECT_TRUE(WaitUntil([&] { return CountTextPixels(ScreenShot(), text) > 0; }, kShowTimeout, "the line typed"));
    const RECT both{second.left, second.top, dragged.right + 400, second.bottom};
    SettledShot(text).Save("monitors-second", both);

    PostMessageA(window, WM_COMMAND, kCmdQuit, 0);
    ASSERT_EQ(cat.WaitForExit(process, kEndTimeout), 0u);
    EXPECT_EQ(cat.ReadFile("tumblecat.cfg").rfind(std::to_string(target) + "\r\n", 0), 0u) << "the place is kept";

    // Started again, it stands where it was left, on the second monitor's bottom line.
    window = StartStanding(cat, process, target, second.bottom, "the cat back on the second monitor's bottom line");
    ASSERT_NE(window, nullptr);
    PostMessageA(window, WM_COMMAND, kCmdQuit, 0);
    EXPECT_EQ(cat.WaitForExit(process, kEndTimeout), 0u);
}

}  // namespace
}  // namespace e2e
