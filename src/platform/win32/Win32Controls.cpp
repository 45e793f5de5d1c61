// Dialog controls through their window messages. Combo boxes and list boxes are told apart
// by their class, so callers use one set of item operations for both.
#include "platform/win32/Win32Platform.h"

#include <windows.h>
#include <commctrl.h>

#include <string>

namespace tc {

namespace {

HWND Control(NativeHandle dialog, int id) { return GetDlgItem(reinterpret_cast<HWND>(dialog), id); }

bool IsCombo(HWND control) {
    char name[16] = {};
    GetClassNameA(control, name, sizeof name);
    return lstrcmpiA(name, "ComboBox") == 0;
}

LRESULT Send(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    return SendMessageA(control, message, wParam, lParam);
}

LPARAM TextParam(const std::string& text) { return reinterpret_cast<LPARAM>(text.c_str()); }

}  // namespace

std::string Win32Controls::Text(NativeHandle dialog, int id) {
    HWND control = Control(dialog, id);
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(control)) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

void Win32Controls::SetText(NativeHandle dialog, int id, const std::string& text) {
    HWND control = Control(dialog, id);
    char name[8] = {};
    GetClassNameA(control, name, sizeof name);
    // An edit box takes at most about 30000 characters unless told otherwise: a long
    // profile would be cut, possibly inside a double-byte character.
    if (lstrcmpiA(name, "Edit") == 0) Send(control, EM_SETLIMITTEXT, 0, 0);
    SetWindowTextA(control, text.c_str());
}

void Win32Controls::AddItem(NativeHandle dialog, int id, const std::string& text) {
    HWND control = Control(dialog, id);
    Send(control, IsCombo(control) ? CB_ADDSTRING : LB_ADDSTRING, 0, TextParam(text));
}

void Win32Controls::InsertItem(NativeHandle dialog, int id, int index, const std::string& text) {
    HWND control = Control(dialog, id);
    Send(control, IsCombo(control) ? CB_INSERTSTRING : LB_INSERTSTRING, static_cast<WPARAM>(index), TextParam(text));
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
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const LRESULT copied = Send(control, combo ? CB_GETLBTEXT : LB_GETTEXT, static_cast<WPARAM>(index),
                                reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied < 0 ? 0 : static_cast<std::size_t>(copied));
    return text;
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
    SendMessageA(reinterpret_cast<HWND>(dialog), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Control(dialog, id)), TRUE);
}

void Win32Controls::ShowMessage(NativeHandle owner, const std::string& text) {
    MessageBoxA(reinterpret_cast<HWND>(owner), text.c_str(), "たんぶる", MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace tc
