// The cat on displays of today: on a display of twice the usual scale, with the size that
// follows the display, it shows twice as large in whole blocks of pixels, its shape with it.
#include <gtest/gtest.h>

#include "CatHarness.h"
#include "Desktop.h"
#include "Wait.h"

namespace e2e {
namespace {

constexpr WPARAM kCmdQuit = 32777;

// tumblecat.cfg of the default skin, the twelfth line (the size) only when given.
std::string Settings(const std::string& size) {
    return "0\r\nwhiskerby\r\n10\r\n0\r\n0\r\n0\r\n9801\r\n1\r\n767\r\n1\r\n%rnd\r\n" +
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

}  // namespace
}  // namespace e2e
