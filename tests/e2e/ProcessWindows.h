// The windows the cat's process shows besides its character window, seen from outside: the
// speech balloon, the settings sheet, dialogs and message boxes; and reading what they show.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "Desktop.h"
#include "Wait.h"

namespace e2e {

// Visible top-level windows of the process that made window, titled title (any title when
// empty) and of class className (any class when empty).
std::vector<HWND> WindowsOfProcessOf(HWND window, const std::string& title, const std::string& className = "");

// Waits for one visible top-level window of cat's process with that title (and class);
// null, with a test failure naming what, when none shows in time.
HWND WaitForWindowOf(HWND cat, const std::string& title, const std::string& what, const std::string& className = "");
// Waits until window is gone.
::testing::AssertionResult WaitForGone(HWND window, const std::string& what);

// Right-clicks the cat and waits for its context menu's popup window. The menu runs its own
// loop inside the cat, so the click is posted.
::testing::AssertionResult OpenContextMenu(HWND cat, HWND& popup);

// The balloon: the popup that the character window owns, 328 pixels wide.
HWND FindBalloon(HWND cat);

// The balloon window is as high as the screen plus 96 and shows one 328 x 96 shape: the
// upper one at its top when it stands right of the cat, the lower one at its bottom (the
// window then starts above the screen) when it stands left of it. The shape's screen
// rectangle.
RECT BalloonShape(HWND balloon);
// Whether the shape in use is the one with its tail on the left (the balloon right of the cat).
bool BalloonRightOfTheCat(HWND balloon);
// Where the balloon's text rows are typed, in screen coordinates, and where its caption is.
RECT BalloonTextArea(HWND balloon);
RECT BalloonCaptionArea(HWND balloon);

// How many pixels of area the shot shows near colour (within tolerance per channel).
int CountPixels(const ScreenShot& shot, const RECT& area, COLORREF colour, int tolerance);
// How many pixels of area are dark as text is (no channel above 40): neither the balloon's
// own picture nor the scene's taskbar has any so dark.
int CountTextPixels(const ScreenShot& shot, const RECT& area);
// Whether two shots show the same pixels in area.
bool SameArea(const ScreenShot& a, const ScreenShot& b, const RECT& area);
// A shot once area has shown the same pixels for settledMs (so a paint or a line being typed
// is over) and, if unlike is given, differs from it there.
ScreenShot SettledShot(const RECT& area, const ScreenShot* unlike = nullptr, DWORD settledMs = 300);

// The colour of the cat's body in the test skins (20, 40 inside its window), as the screen shows it.
COLORREF CatBodyColour(HWND cat);

// A window's screen rectangle, and its client area's.
RECT WindowArea(HWND window);
RECT ClientArea(HWND window);

// A window's text through WM_GETTEXT (which Wine carries between processes), however long.
std::string WindowText(HWND window);

// The items of a combo box of another process, read as UTF-16 and written in Shift_JIS with
// code page 932 (so they match only if the program gave the system the right characters).
std::vector<std::string> ComboItems(HWND combo);

}  // namespace e2e
