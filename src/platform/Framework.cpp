#include "platform/Framework.h"

#include "platform/Messages.h"

namespace tc {

namespace {

// The signed 16-bit halves of a packed position, as GET_X_LPARAM and GET_Y_LPARAM take them.
Point PointFromPacked(std::intptr_t packed) {
    return {static_cast<std::int16_t>(packed & 0xFFFF), static_cast<std::int16_t>((packed >> 16) & 0xFFFF)};
}

constexpr std::uintptr_t kMkLButton = 0x0001;
constexpr unsigned kFirstAppMessage = 0x8000;  // WM_APP; registered messages lie above it

}  // namespace

bool CDialog::OnCommand(int id) {
    switch (id) {
    case kIdOk:
        OnOK();
        return true;
    case kIdCancel:
        OnCancel();
        return true;
    default:
        return false;
    }
}

bool CPropertyPage::OnNotify(int id, int code, std::intptr_t& result) {
    if (id != 0) return false;  // the sheet's notifications come without a control id
    switch (code) {
    case kPsnSetActive:
        OnSetActive();
        result = 0;
        return true;
    case kPsnKillActive:
        result = OnKillActive() ? 0 : 1;  // 1 keeps the page
        return true;
    default:
        return false;
    }
}

bool DispatchDialogMessage(CDialog& dialog, unsigned message, std::uintptr_t wParam, std::intptr_t lParam,
                           std::intptr_t& result) {
    result = 0;
    switch (message) {
    case kWmCommand: {
        const int id = static_cast<int>(wParam & 0xFFFF);
        // From a control (lParam is its window) the high word is the notification.
        if (lParam != 0 && dialog.OnControlCommand(id, static_cast<int>((wParam >> 16) & 0xFFFF))) return true;
        return dialog.OnCommand(id);
    }
    case kWmTimer:
        return dialog.OnTimer(static_cast<int>(wParam));
    case kWmPaint:
        return dialog.OnPaint();
    case kWmLButtonDown:
        return dialog.OnLButtonDown(PointFromPacked(lParam));
    case kWmLButtonUp:
        return dialog.OnLButtonUp(PointFromPacked(lParam));
    case kWmLButtonDblClk:
        return dialog.OnLButtonDblClk(PointFromPacked(lParam));
    case kWmRButtonDown:
        return dialog.OnRButtonDown(PointFromPacked(lParam));
    case kWmMouseMove:
        return dialog.OnMouseMove(PointFromPacked(lParam), (wParam & kMkLButton) != 0);
    case kWmCaptureChanged:
        return dialog.OnCaptureChanged();
    case kWmQueryDragIcon:
        result = static_cast<std::intptr_t>(dialog.OnQueryDragIcon());
        return result != 0;
    case kWmDestroy:
        dialog.OnDestroy();
        return true;
    case kWmDisplayChange:
        return dialog.OnDisplayChange();
    case kWmDpiChanged:
        return dialog.OnDpiChanged(static_cast<int>((wParam >> 16) & 0xFFFF));
    case kWmQueryEndSession:
        result = 1;  // a program of ours never holds up a logoff or shutdown
        return true;
    case kWmEndSession:
        dialog.OnEndSession(wParam != 0);
        return true;
    default:
        if (message >= kFirstAppMessage) return dialog.OnAppMessage(message, wParam, lParam, result);
        return false;
    }
}

}  // namespace tc
