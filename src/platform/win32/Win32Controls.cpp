// Dialog controls through their window messages. Combo boxes and list boxes are told apart
// by their class, so callers use one set of item operations for both.
#include "platform/win32/Win32Platform.h"

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "common/WideText.h"

namespace tc {

namespace {

HWND Control(NativeHandle dialog, int id) { return GetDlgItem(reinterpret_cast<HWND>(dialog), id); }

bool HasClass(HWND control, const wchar_t* className) {
    wchar_t name[16] = {};
    GetClassNameW(control, name, 16);
    return lstrcmpiW(name, className) == 0;
}

bool IsCombo(HWND control) { return HasClass(control, L"ComboBox"); }

LRESULT Send(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    return SendMessageW(control, message, wParam, lParam);
}

LRESULT SendText(HWND control, UINT message, WPARAM wParam, const std::string& text) {
    const std::wstring wide = WideText(text);
    return Send(control, message, wParam, reinterpret_cast<LPARAM>(wide.c_str()));
}

}  // namespace

std::string Win32Controls::Text(NativeHandle dialog, int id) {
    HWND control = Control(dialog, id);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return ShiftJisText(text);
}

void Win32Controls::SetText(NativeHandle dialog, int id, const std::string& text) {
    HWND control = Control(dialog, id);
    // An edit box takes at most about 30000 characters unless told otherwise: a long
    // profile would be cut.
    if (HasClass(control, L"Edit")) Send(control, EM_SETLIMITTEXT, 0, 0);
    SetWindowTextW(control, WideText(text).c_str());
}

void Win32Controls::AddItem(NativeHandle dialog, int id, const std::string& text) {
    HWND control = Control(dialog, id);
    SendText(control, IsCombo(control) ? CB_ADDSTRING : LB_ADDSTRING, 0, text);
}

void Win32Controls::InsertItem(NativeHandle dialog, int id, int index, const std::string& text) {
    HWND control = Control(dialog, id);
    SendText(control, IsCombo(control) ? CB_INSERTSTRING : LB_INSERTSTRING, static_cast<WPARAM>(index), text);
}

void Win32Controls::DeleteItem(NativeHandle dialog, int id, int index) {
    HWND control = Control(dialog, id);
    Send(control, IsCombo(control) ? CB_DELETESTRING : LB_DELETESTRING, static_cast<WPARAM>(index), 0);
}

std::string Win32Controls::ItemText(NativeHandle dialog, int id, int index) {
    HWND control = Control(dialog, id);
    const bool combo = IsCombo(control);
    const LRESULT length = Send(control, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length < 0) return std::string();
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied = Send(control, combo ? CB_GETLBTEXT : LB_GETTEXT, static_cast<WPARAM>(index),
                                reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied < 0 ? 0 : static_cast<std::size_t>(copied));
    return ShiftJisText(text);
}

int Win32Controls::Selection(NativeHandle dialog, int id) {
    HWND control = Control(dialog, id);
    return static_cast<int>(Send(control, IsCombo(control) ? CB_GETCURSEL : LB_GETCURSEL, 0, 0));
}

void Win32Controls::Select(NativeHandle dialog, int id, int index) {
    HWND control = Control(dialog, id);
    Send(control, IsCombo(control) ? CB_SETCURSEL : LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

bool Win32Controls::IsChecked(NativeHandle dialog, int id) {
    return IsDlgButtonChecked(reinterpret_cast<HWND>(dialog), id) == BST_CHECKED;
}

void Win32Controls::SetChecked(NativeHandle dialog, int id, bool checked) {
    CheckDlgButton(reinterpret_cast<HWND>(dialog), id, checked ? BST_CHECKED : BST_UNCHECKED);
}

void Win32Controls::SetSliderRange(NativeHandle dialog, int id, int minimum, int maximum) {
    Send(Control(dialog, id), TBM_SETRANGE, TRUE, MAKELPARAM(minimum, maximum));
}

int Win32Controls::SliderPosition(NativeHandle dialog, int id) {
    return static_cast<int>(Send(Control(dialog, id), TBM_GETPOS, 0, 0));
}

void Win32Controls::SetSliderPosition(NativeHandle dialog, int id, int position) {
    Send(Control(dialog, id), TBM_SETPOS, TRUE, position);
}

void Win32Controls::Enable(NativeHandle dialog, int id, bool enable) {
    EnableWindow(Control(dialog, id), enable ? TRUE : FALSE);
}

void Win32Controls::Focus(NativeHandle dialog, int id) {
    SendMessageW(reinterpret_cast<HWND>(dialog), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Control(dialog, id)), TRUE);
}

void Win32Controls::ShowMessage(NativeHandle owner, const std::string& text) {
    MessageBoxW(reinterpret_cast<HWND>(owner), WideText(text).c_str(), L"たんぶる",
                MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace tc
