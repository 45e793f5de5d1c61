// Dialogs and their message cracking, timers, finding and placing windows, the mouse and
// the context menu.
#include "platform/win32/Win32Platform.h"

#include <windows.h>
#include <commctrl.h>
#include <prsht.h>
#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "platform/Framework.h"
#include "platform/win32/Win32Handles.h"
#include "common/WideText.h"

namespace tc {

namespace {

// Messages whose result a dialog procedure returns directly instead of in DWLP_MSGRESULT.
bool ReturnsResultDirectly(UINT message) {
    return message == WM_QUERYDRAGICON || message == WM_CTLCOLORMSGBOX || message == WM_CTLCOLOREDIT ||
           message == WM_CTLCOLORLISTBOX || message == WM_CTLCOLORBTN || message == WM_CTLCOLORDLG ||
           message == WM_CTLCOLORSCROLLBAR || message == WM_CTLCOLORSTATIC || message == WM_COMPAREITEM ||
           message == WM_VKEYTOITEM || message == WM_CHARTOITEM || message == WM_INITDIALOG;
}

// The bytes of a WM_COPYDATA: at most cbData of them, and none of a null pointer.
std::string_view CopiedBytes(const COPYDATASTRUCT* data) {
    if (!data || !data->lpData || data->cbData == 0) return {};
    return std::string_view(static_cast<const char*>(data->lpData), data->cbData);
}

// The paths of a WM_DROPFILES; the drop handle is released here.
std::vector<std::string> DroppedPaths(HDROP drop) {
    std::vector<std::string> paths;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        const UINT length = DragQueryFileW(drop, i, nullptr, 0);
        std::wstring path(length + 1, L'\0');
        const UINT copied = DragQueryFileW(drop, i, path.data(), length + 1);
        path.resize(copied);
        // A path with no Shift_JIS form could not be opened by the program: it is left out.
        if (auto sjis = WideToShiftJis(path)) paths.push_back(*std::move(sjis));
    }
    DragFinish(drop);
    return paths;
}

// Whether the property sheet being run was confirmed: its pages are told PSN_APPLY then.
bool* s_sheetApplied = nullptr;
void NoteSheetApplied() {
    if (s_sheetApplied) *s_sheetApplied = true;
}

// Hands a message to the dialog's typed handler. Messages that carry the window system's own
// structures are decoded here; the rest by the framework.
bool CrackMessage(CDialog& dialog, UINT message, WPARAM wParam, LPARAM lParam, std::intptr_t& result) {
    switch (message) {
    case WM_DROPFILES:
        return dialog.OnDropFiles(DroppedPaths(reinterpret_cast<HDROP>(wParam)));
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->code == static_cast<UINT>(PSN_APPLY)) NoteSheetApplied();
        return dialog.OnNotify(static_cast<int>(header->idFrom), static_cast<int>(header->code), result);
    }
    case WM_HSCROLL:
    case WM_VSCROLL:
        return lParam && dialog.OnScroll(GetDlgCtrlID(reinterpret_cast<HWND>(lParam)));
    default:
        return DispatchDialogMessage(dialog, message, wParam, lParam, result);
    }
}

// The dialog object of a dialog being made: lParam of WM_INITDIALOG for a dialog, the
// page's lParam for a property page.
INT_PTR StartDialog(HWND hwnd, CDialog* dialog) {
    SetWindowLongPtrW(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(dialog));
    dialog->m_hWnd = FromHandle(hwnd);
    return dialog->OnInitDialog() ? TRUE : FALSE;
}

INT_PTR HandleDialogMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// A dialog's window procedure answers WM_COPYDATA itself and hands everything else to the
// dialog manager. Through the dialog manager the result would travel in the window's extra
// bytes, cleared before and set after the dialog procedure, each a round trip to the window
// server under Wine: the cat's SSTP answers would pay two more for every request.
LRESULT CALLBACK DialogWindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COPYDATA) {
        if (auto* dialog = reinterpret_cast<CDialog*>(GetWindowLongPtrW(hwnd, DWLP_USER))) {
            return dialog->OnCopyData(FromHandle(reinterpret_cast<HWND>(wParam)),
                                      CopiedBytes(reinterpret_cast<const COPYDATASTRUCT*>(lParam)))
                       ? TRUE
                       : FALSE;
        }
    }
    return DefDlgProcW(hwnd, message, wParam, lParam);
}

INT_PTR CALLBACK DialogProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DialogWindowProcedure));
        return StartDialog(hwnd, reinterpret_cast<CDialog*>(lParam));
    }
    return HandleDialogMessage(hwnd, message, wParam, lParam);
}

// The size of a dialog template in its dialog units.
SIZE TemplateSize(int templateId) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(templateId), MAKEINTRESOURCEW(5));  // RT_DIALOG
    const auto* bytes = found ? static_cast<const BYTE*>(LockResource(LoadResource(module, found))) : nullptr;
    if (!bytes || SizeofResource(module, found) < 26) return {0, 0};
    const bool extended = bytes[2] == 0xFF && bytes[3] == 0xFF;
    const std::size_t at = extended ? 22 : 14;  // cx and cy follow the style words and the item count
    short cx = 0, cy = 0;
    std::memcpy(&cx, bytes + at, sizeof cx);
    std::memcpy(&cy, bytes + at + 2, sizeof cy);
    return {cx, cy};
}

// The sheet measures its pages in its own font's units, the pages lay out their controls in
// theirs; where the pages' font is wider, the page, the tab strip and the sheet grow to hold
// the whole page, and the OK button moves along.
void FitPageIntoSheet(HWND page, int templateId) {
    const SIZE units = TemplateSize(templateId);
    RECT wanted{0, 0, units.cx, units.cy};
    if (!MapDialogRect(page, &wanted)) return;
    RECT current{};
    GetWindowRect(page, &current);
    const int width = std::max<int>(wanted.right, current.right - current.left);
    const int height = std::max<int>(wanted.bottom, current.bottom - current.top);
    SetWindowPos(page, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    HWND sheet = GetParent(page);
    HWND tab = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETTABCONTROL, 0, 0));
    if (!sheet || !tab) return;
    RECT tabRect{}, pageRect{};
    GetWindowRect(tab, &tabRect);
    GetWindowRect(page, &pageRect);
    constexpr int kMargin = 4;
    const int dx = std::max<int>(0, pageRect.right + kMargin - tabRect.right);
    const int dy = std::max<int>(0, pageRect.bottom + kMargin - tabRect.bottom);
    if (dx == 0 && dy == 0) return;
    auto grow = [](HWND window, int byX, int byY) {
        RECT r{};
        GetWindowRect(window, &r);
        SetWindowPos(window, nullptr, 0, 0, r.right - r.left + byX, r.bottom - r.top + byY,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    };
    grow(tab, dx, dy);
    grow(sheet, dx, dy);
    if (HWND ok = FindWindowExW(sheet, nullptr, L"Button", L"OK")) {
        RECT r{};
        GetWindowRect(ok, &r);
        POINT corner{r.left, r.top};
        ScreenToClient(sheet, &corner);
        SetWindowPos(ok, nullptr, corner.x + dx, corner.y + dy, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    RECT outer{}, screen{};
    GetWindowRect(sheet, &outer);
    GetWindowRect(GetDesktopWindow(), &screen);
    const int w = outer.right - outer.left, h = outer.bottom - outer.top;
    SetWindowPos(sheet, nullptr, (screen.right - w) >> 1, (screen.bottom - h) >> 1, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK PageProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        const auto* page = reinterpret_cast<const PROPSHEETPAGEW*>(lParam);
        auto* dialog = reinterpret_cast<CDialog*>(page->lParam);
        FitPageIntoSheet(hwnd, dialog->TemplateId());
        return StartDialog(hwnd, dialog);
    }
    return HandleDialogMessage(hwnd, message, wParam, lParam);
}

INT_PTR HandleDialogMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* dialog = reinterpret_cast<CDialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    if (!dialog) return FALSE;

    std::intptr_t result = 0;
    const bool handled = CrackMessage(*dialog, message, wParam, lParam, result);
    if (message == WM_NCDESTROY) {
        dialog->m_hWnd = 0;
        SetWindowLongPtrW(hwnd, DWLP_USER, 0);
    }
    if (!handled) return FALSE;
    if (message == WM_COMMAND) return TRUE;
    if (ReturnsResultDirectly(message)) return static_cast<INT_PTR>(result);
    // Setting a window's extra bytes is a round trip to the window server under Wine, and the
    // slot often holds the result already (Wine's dialog manager clears it before each message).
    if (GetWindowLongPtrW(hwnd, DWLP_MSGRESULT) != result) SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, result);
    return TRUE;
}

}  // namespace

int Win32WindowSystem::RunModalDialog(CDialog& dialog, int templateId, NativeHandle owner) {
    return static_cast<int>(DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId), ToHwnd(owner),
                                            DialogProcedure, reinterpret_cast<LPARAM>(&dialog)));
}

void Win32WindowSystem::EndDialog(NativeHandle window, int result) { ::EndDialog(ToHwnd(window), result); }

namespace {

// The settings sheet shows only its OK button, at its bottom right, and stands in the middle
// of the screen: the other buttons are destroyed once the sheet exists.
void KeepOnlyOkAndCentre(HWND sheet) {
    HWND button = nullptr;
    std::vector<HWND> others;
    while ((button = FindWindowExW(sheet, button, L"Button", nullptr)) != nullptr) {
        wchar_t text[3] = {};
        GetWindowTextW(button, text, 3);
        if (std::wstring_view(text) == L"OK") continue;
        others.push_back(button);
    }
    for (HWND other : others) ::DestroyWindow(other);
    RECT outer{};
    GetWindowRect(sheet, &outer);
    const int width = outer.right - outer.left, height = outer.bottom - outer.top;
    if (HWND ok = FindWindowExW(sheet, nullptr, L"Button", L"OK")) {
        RECT r{};
        GetWindowRect(ok, &r);
        const int w = r.right - r.left, h = r.bottom - r.top;
        ::MoveWindow(ok, width - w - 13, height - h - 32, w, h, TRUE);
    }
    RECT screen{};
    GetWindowRect(GetDesktopWindow(), &screen);
    ::MoveWindow(sheet, (screen.right - width) >> 1, (screen.bottom - height) >> 1, width, height, TRUE);
}

int CALLBACK SheetCallback(HWND sheet, UINT message, LPARAM) {
    if (message == PSCB_INITIALIZED) KeepOnlyOkAndCentre(sheet);
    return 0;
}

}  // namespace

int Win32WindowSystem::RunPropertySheet(CPropertySheet& sheet, NativeHandle owner) {
    std::vector<PROPSHEETPAGEW> pages;
    std::vector<std::wstring> titles;
    titles.reserve(sheet.Pages().size());  // the pages point into it
    for (CPropertyPage* page : sheet.Pages()) {
        PROPSHEETPAGEW p{};
        p.dwSize = sizeof p;
        p.dwFlags = PSP_USETITLE;
        p.hInstance = GetModuleHandleW(nullptr);
        p.pszTemplate = MAKEINTRESOURCEW(page->TemplateId());
        p.pszTitle = titles.emplace_back(WideText(page->Caption())).c_str();
        p.pfnDlgProc = PageProcedure;
        p.lParam = reinterpret_cast<LPARAM>(static_cast<CDialog*>(page));
        pages.push_back(p);
    }
    PROPSHEETHEADERW header{};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW | PSH_USECALLBACK;
    header.hwndParent = ToHwnd(owner);
    header.hInstance = GetModuleHandleW(nullptr);
    const std::wstring caption = WideText(sheet.Caption());
    header.pszCaption = caption.c_str();
    header.nPages = static_cast<UINT>(pages.size());
    header.nStartPage = 0;
    header.ppsp = pages.data();
    header.pfnCallback = SheetCallback;
    bool applied = false;
    bool* outer = s_sheetApplied;
    s_sheetApplied = &applied;
    PropertySheetW(&header);
    s_sheetApplied = outer;
    return applied ? kIdOk : kIdCancel;
}

NativeHandle Win32WindowSystem::CreateModelessDialog(CDialog& dialog, int templateId, NativeHandle owner) {
    return FromHandle(CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId), ToHwnd(owner),
                                         DialogProcedure, reinterpret_cast<LPARAM>(&dialog)));
}

void Win32WindowSystem::DestroyWindow(NativeHandle window) {
    if (::IsWindow(ToHwnd(window))) ::DestroyWindow(ToHwnd(window));
}

NativeHandle Win32WindowSystem::LoadAppIcon(int resourceId) {
    return FromHandle(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resourceId)));
}

void Win32WindowSystem::SetIcons(NativeHandle window, NativeHandle icon) {
    SendMessageW(ToHwnd(window), WM_SETICON, ICON_BIG, static_cast<LPARAM>(icon));
    SendMessageW(ToHwnd(window), WM_SETICON, ICON_SMALL, static_cast<LPARAM>(icon));
}

void Win32WindowSystem::SetWindowTitle(NativeHandle window, const std::string& title) {
    SetWindowTextW(ToHwnd(window), WideText(title).c_str());
}

void Win32WindowSystem::SetTimer(NativeHandle window, int timerId, int milliseconds) {
    ::SetTimer(ToHwnd(window), static_cast<UINT_PTR>(timerId), static_cast<UINT>(milliseconds), nullptr);
}

void Win32WindowSystem::KillTimer(NativeHandle window, int timerId) {
    ::KillTimer(ToHwnd(window), static_cast<UINT_PTR>(timerId));
}

NativeHandle Win32WindowSystem::FindWindowByTitle(const std::string& title) {
    return FromHandle(FindWindowW(nullptr, WideText(title).c_str()));
}

NativeHandle Win32WindowSystem::FindWindowByClass(const std::string& className) {
    return FromHandle(FindWindowW(WideText(className).c_str(), nullptr));
}

void Win32WindowSystem::SetForeground(NativeHandle window) { SetForegroundWindow(ToHwnd(window)); }

NativeHandle Win32WindowSystem::SmallIcon(NativeHandle window) {
    return static_cast<NativeHandle>(SendMessageW(ToHwnd(window), WM_GETICON, ICON_SMALL, 0));
}

Rect Win32WindowSystem::ScreenRect() { return WindowRect(FromHandle(GetDesktopWindow())); }

namespace {

Rect RectOf(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

// A monitor's own scale where the system knows one (Windows 8.1 on, through shcore, looked
// up so older systems still start), else the system's (Wine 8 answers 0 for every monitor).
int MonitorDpi(HMONITOR monitor) {
    using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    static const auto getDpi = [] {
        HMODULE shcore = LoadLibraryW(L"shcore.dll");  // kept loaded for the life of the process
        return shcore ? reinterpret_cast<GetDpiForMonitorFn>(
                            reinterpret_cast<void*>(GetProcAddress(shcore, "GetDpiForMonitor")))
                      : nullptr;
    }();
    UINT dpiX = 0;
    UINT dpiY = 0;
    if (getDpi && getDpi(monitor, 0 /* MDT_EFFECTIVE_DPI */, &dpiX, &dpiY) == S_OK && dpiY > 0) {
        return static_cast<int>(dpiY);
    }
    // The system's scale is fixed for the life of the process.
    static const int systemDpi = [] {
        WindowDc screen;
        return screen.Get() ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 96;
    }();
    return systemDpi;
}

BOOL CALLBACK AddMonitor(HMONITOR handle, HDC, LPRECT, LPARAM list) {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (!GetMonitorInfoW(handle, &info)) return TRUE;
    auto& monitors = *reinterpret_cast<std::vector<Monitor>*>(list);
    const Monitor monitor{RectOf(info.rcMonitor), RectOf(info.rcWork), MonitorDpi(handle)};
    if (info.dwFlags & MONITORINFOF_PRIMARY) {
        monitors.insert(monitors.begin(), monitor);
    } else {
        monitors.push_back(monitor);
    }
    return TRUE;
}

}  // namespace

std::vector<Monitor> Win32WindowSystem::Monitors() {
    std::vector<Monitor> monitors;
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
    if (monitors.empty()) {
        const Rect screen = ScreenRect();
        monitors.push_back({screen, screen, 96});
    }
    return monitors;
}

Rect Win32WindowSystem::WindowRect(NativeHandle window) {
    RECT r{};
    GetWindowRect(ToHwnd(window), &r);
    return {r.left, r.top, r.right, r.bottom};
}

void Win32WindowSystem::PlaceWindow(NativeHandle window, bool topmost, const Rect& rect, bool show) {
    SetWindowPos(ToHwnd(window), topmost ? HWND_TOPMOST : HWND_NOTOPMOST, rect.left, rect.top, rect.Width(),
                 rect.Height(), SWP_NOCOPYBITS | (show ? SWP_SHOWWINDOW : 0));
}

void Win32WindowSystem::SetTopmost(NativeHandle window, bool topmost, bool show) {
    SetWindowPos(ToHwnd(window), topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOCOPYBITS | (show ? SWP_SHOWWINDOW : 0));
}

void Win32WindowSystem::MoveWindow(NativeHandle window, const Rect& rect) {
    ::MoveWindow(ToHwnd(window), rect.left, rect.top, rect.Width(), rect.Height(), TRUE);
}

void Win32WindowSystem::Invalidate(NativeHandle window, int width, int height) {
    const RECT r{0, 0, width, height};
    ::InvalidateRect(ToHwnd(window), &r, FALSE);
}

void Win32WindowSystem::InvalidateRect(NativeHandle window, const Rect& rect) {
    const RECT r{rect.left, rect.top, rect.right, rect.bottom};
    ::InvalidateRect(ToHwnd(window), &r, FALSE);
}

void Win32WindowSystem::ShowWindow(NativeHandle window, bool show) {
    ::ShowWindow(ToHwnd(window), show ? SW_SHOWNA : SW_HIDE);
}

bool Win32WindowSystem::IsWindowVisible(NativeHandle window) { return ::IsWindowVisible(ToHwnd(window)) != FALSE; }

bool Win32WindowSystem::IsWindow(NativeHandle window) { return ::IsWindow(ToHwnd(window)) != FALSE; }

std::uint32_t Win32WindowSystem::WindowStyle(NativeHandle window) {
    if (!::IsWindow(ToHwnd(window))) return 0;
    return static_cast<std::uint32_t>(GetWindowLongW(ToHwnd(window), GWL_STYLE));
}

namespace {
struct MenuCloser {
    void operator()(HMENU menu) const { DestroyMenu(menu); }
};
using MenuHandle = std::unique_ptr<std::remove_pointer_t<HMENU>, MenuCloser>;

void AppendItems(HMENU menu, const std::vector<MenuItem>& items) {
    for (const MenuItem& item : items) {
        AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(item.id), WideText(item.label).c_str());
    }
}
}  // namespace

void Win32Input::TrackContextMenu(NativeHandle window, const ContextMenu& menu, Point screen) {
    MenuHandle loaded(LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(menu.resourceId)));
    if (!loaded) return;
    HMENU popup = GetSubMenu(loaded.get(), 0);
    if (!popup) return;
    if (HMENU drops = GetSubMenu(popup, 0)) AppendItems(drops, menu.dropItems);
    if (HMENU skins = GetSubMenu(popup, 3)) AppendItems(skins, menu.skinItems);
    if (menu.relabelId) {
        ModifyMenuW(popup, static_cast<UINT>(menu.relabelId), MF_BYCOMMAND | MF_STRING,
                    static_cast<UINT_PTR>(menu.relabelId), WideText(menu.relabelText).c_str());
    }
    for (const auto& [id, checked] : menu.checks) {
        CheckMenuItem(popup, static_cast<UINT>(id), MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
    }
    HWND owner = ToHwnd(window);
    // Without the foreground the menu would not close when the user clicks elsewhere, which
    // matters when it is opened from the tray icon.
    SetForegroundWindow(owner);
    TrackPopupMenu(popup, TPM_RIGHTBUTTON | TPM_LEFTALIGN, screen.x, screen.y, 0, owner, nullptr);
    PostMessageW(owner, WM_NULL, 0, 0);
}

Point Win32WindowSystem::ClientToScreen(NativeHandle window, Point point) {
    POINT p{point.x, point.y};
    ::ClientToScreen(ToHwnd(window), &p);
    return {p.x, p.y};
}

Point Win32WindowSystem::ScreenToClient(NativeHandle window, Point point) {
    POINT p{point.x, point.y};
    ::ScreenToClient(ToHwnd(window), &p);
    return {p.x, p.y};
}

Point Win32Input::CursorPosition() {
    POINT p{};
    GetCursorPos(&p);
    return {p.x, p.y};
}

void Win32Input::SetCapture(NativeHandle window) { ::SetCapture(ToHwnd(window)); }
void Win32Input::ReleaseCapture() { ::ReleaseCapture(); }

}  // namespace tc
