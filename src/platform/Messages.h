// Window message numbers and command ids, spelled as on Windows, so the portable core can
// handle messages without including <windows.h>.
#pragma once

namespace tc {

constexpr unsigned kWmDestroy = 0x0002;
constexpr unsigned kWmClose = 0x0010;
constexpr unsigned kWmQueryEndSession = 0x0011;
constexpr unsigned kWmEndSession = 0x0016;
constexpr unsigned kWmPaint = 0x000F;
constexpr unsigned kWmQueryDragIcon = 0x0037;
constexpr unsigned kWmKeyDown = 0x0100;
constexpr unsigned kWmKeyUp = 0x0101;
constexpr unsigned kWmInitDialog = 0x0110;
constexpr unsigned kWmCommand = 0x0111;
constexpr unsigned kWmTimer = 0x0113;
constexpr unsigned kWmMouseMove = 0x0200;
constexpr unsigned kWmLButtonDown = 0x0201;
constexpr unsigned kWmLButtonUp = 0x0202;
constexpr unsigned kWmLButtonDblClk = 0x0203;
constexpr unsigned kWmRButtonDown = 0x0204;
constexpr unsigned kWmCaptureChanged = 0x0215;
constexpr unsigned kWmDisplayChange = 0x007E;
constexpr unsigned kWmDpiChanged = 0x02E0;
constexpr unsigned kWmDropFiles = 0x0233;
constexpr unsigned kWmCopyData = 0x004A;

constexpr unsigned kWmNotify = 0x004E;
constexpr unsigned kWmHScroll = 0x0114;

// Property sheet notifications to their pages.
constexpr int kPsnSetActive = -200;
constexpr int kPsnKillActive = -201;
constexpr int kPsnApply = -202;
constexpr int kPsnReset = -203;

// Control notifications that arrive with WM_COMMAND.
constexpr int kCbnSelChange = 1;   // combo box
constexpr int kLbnSelChange = 1;   // list box
constexpr int kBnClicked = 0;      // button

constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;

}  // namespace tc
