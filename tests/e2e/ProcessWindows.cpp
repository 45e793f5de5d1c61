#include "ProcessWindows.h"

#include <cstdlib>

#include "Wait.h"
#include "common/WideText.h"

namespace e2e {

namespace {

constexpr int kBalloonWidth = 328;
constexpr int kBalloonShapeHeight = 96;
// Where the rows and the caption start in each shape (from the shape's left edge).
constexpr int kRightOfCatTextX = 22;  // the upper shape, tail on the left
constexpr int kLeftOfCatTextX = 12;   // the lower shape, tail on the right
constexpr int kTextTop = 10;
constexpr int kCaptionTop = 80;

struct Search {
    DWORD processId = 0;
    std::string title;
    std::string className;
    std::vector<HWND> found;
};

BOOL CALLBACK Collect(HWND hwnd, LPARAM lParam) {
    auto* search = reinterpret_cast<Search*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != search->processId || !IsWindowVisible(hwnd)) return TRUE;
    wchar_t text[256] = {};
    GetWindowTextW(hwnd, text, 256);
    char className[64] = {};
    GetClassNameA(hwnd, className, sizeof className);
    if ((search->title.empty() || search->title == tc::ShiftJisText(text)) &&
        (search->className.empty() || search->className == className)) {
        search->found.push_back(hwnd);
    }
    return TRUE;
}

struct OwnedSearch {
    HWND owner = nullptr;
    HWND found = nullptr;
};

BOOL CALLBACK CollectOwned(HWND hwnd, LPARAM lParam) {
    auto* search = reinterpret_cast<OwnedSearch*>(lParam);
    if (GetWindow(hwnd, GW_OWNER) != search->owner) return TRUE;
    RECT r{};
    GetWindowRect(hwnd, &r);
    if (r.right - r.left != kBalloonWidth) return TRUE;
    search->found = hwnd;
    return FALSE;
}

}  // namespace

std::vector<HWND> WindowsOfProcessOf(HWND window, const std::string& title, const std::string& className) {
    Search search;
    GetWindowThreadProcessId(window, &search.processId);
    search.title = title;
    search.className = className;
    EnumWindows(Collect, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForWindowOf(HWND cat, const std::string& title, const std::string& what, const std::string& className) {
    HWND found = nullptr;
    const auto result = WaitUntil(
        [&] {
            const auto windows = WindowsOfProcessOf(cat, title, className);
            found = windows.empty() ? nullptr : windows.front();
            return found != nullptr;
        },
        kShowTimeout, what);
    EXPECT_TRUE(result);
    return found;
}

::testing::AssertionResult WaitForGone(HWND window, const std::string& what) {
    return WaitUntil([&] { return !IsWindow(window) || !IsWindowVisible(window); }, kShowTimeout, what);
}

::testing::AssertionResult OpenContextMenu(HWND cat, HWND& popup) {
    PostMessageA(cat, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(20, 30));
    popup = nullptr;
    return WaitUntil(
        [&] {
            popup = FindWindowA("#32768", nullptr);
            return popup && IsWindowVisible(popup);
        },
        kShowTimeout, "the context menu");
}

HWND FindBalloon(HWND cat) {
    OwnedSearch search{cat, nullptr};
    EnumWindows(CollectOwned, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool BalloonRightOfTheCat(HWND balloon) { return WindowArea(balloon).top >= 0; }

RECT BalloonShape(HWND balloon) {
    const RECT window = WindowArea(balloon);
    const int top = BalloonRightOfTheCat(balloon) ? window.top : window.bottom - kBalloonShapeHeight;
    return {window.left, top, window.left + kBalloonWidth, top + kBalloonShapeHeight};
}

RECT BalloonTextArea(HWND balloon) {
    const RECT shape = BalloonShape(balloon);
    const int x = shape.left + (BalloonRightOfTheCat(balloon) ? kRightOfCatTextX : kLeftOfCatTextX);
    return {x, shape.top + kTextTop, x + 290, shape.top + kCaptionTop};
}

RECT BalloonCaptionArea(HWND balloon) {
    const RECT shape = BalloonShape(balloon);
    const int x = shape.left + (BalloonRightOfTheCat(balloon) ? kRightOfCatTextX : kLeftOfCatTextX);
    return {x, shape.top + kCaptionTop, x + 290, shape.bottom - 2};
}

int CountPixels(const ScreenShot& shot, const RECT& area, COLORREF colour, int tolerance) {
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            const COLORREF c = shot.Pixel(x, y);
            if (c != CLR_INVALID && SameColour(c, colour, tolerance)) ++count;
        }
    }
    return count;
}

int CountTextPixels(const ScreenShot& shot, const RECT& area) { return CountPixels(shot, area, RGB(0, 0, 0), 40); }

bool SameArea(const ScreenShot& a, const ScreenShot& b, const RECT& area) {
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            if (a.Pixel(x, y) != b.Pixel(x, y)) return false;
        }
    }
    return true;
}

ScreenShot SettledShot(const RECT& area, const ScreenShot* unlike, DWORD settledMs) {
    ScreenShot last;
    DWORD lastChange = GetTickCount();
    EXPECT_TRUE(WaitUntil(
        [&] {
            ScreenShot shot;
            if (!SameArea(shot, last, area)) {
                last = shot;
                lastChange = GetTickCount();
                return false;
            }
            return GetTickCount() - lastChange >= settledMs && (!unlike || !SameArea(shot, *unlike, area));
        },
        kShowTimeout, "a new picture to settle on the screen"));
    return last;
}

RECT WindowArea(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

RECT ClientArea(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    OffsetRect(&r, origin.x, origin.y);
    return r;
}

std::string WindowText(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) return "<no answer>";
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                             5000, &copied)) {
        return "<no answer>";
    }
    text.resize(copied);
    return tc::ShiftJisText(text);
}

std::vector<std::string> ComboItems(HWND combo) {
    std::vector<std::string> items;
    DWORD_PTR count = 0;
    if (!SendMessageTimeoutW(combo, CB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &count)) return items;
    for (WPARAM i = 0; i < count; ++i) {
        DWORD_PTR length = 0, copied = 0;
        SendMessageTimeoutW(combo, CB_GETLBTEXTLEN, i, 0, SMTO_ABORTIFHUNG, 5000, &length);
        std::wstring text(length + 1, L'\0');
        SendMessageTimeoutW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG, 5000,
                            &copied);
        text.resize(copied);
        items.push_back(tc::ShiftJisText(text));
    }
    return items;
}

COLORREF CatBodyColour(HWND cat) {
    const RECT r = WindowArea(cat);
    HDC screen = GetDC(nullptr);
    const COLORREF c = GetPixel(screen, r.left + 20, r.top + 40);
    ReleaseDC(nullptr, screen);
    return c;
}

}  // namespace e2e
