// Code page 932 through the system's own tables, named explicitly: the ANSI code page of the
// system may be any. MB_ERR_INVALID_CHARS refuses broken pairs; WC_NO_BEST_FIT_CHARS with the
// default-character flag refuses what Shift_JIS lacks instead of guessing a look-alike.
#include <windows.h>

#include "common/WideText.h"

namespace tc {

namespace {
constexpr UINT kShiftJis = 932;
}

std::optional<std::wstring> ShiftJisToWide(std::string_view sjis) {
    if (sjis.empty()) return std::wstring();
    const int size = static_cast<int>(sjis.size());
    const int length = MultiByteToWideChar(kShiftJis, MB_ERR_INVALID_CHARS, sjis.data(), size, nullptr, 0);
    if (length <= 0) return std::nullopt;
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    if (MultiByteToWideChar(kShiftJis, MB_ERR_INVALID_CHARS, sjis.data(), size, wide.data(), length) != length) {
        return std::nullopt;
    }
    return wide;
}

std::optional<std::string> WideToShiftJis(std::wstring_view wide) {
    if (wide.empty()) return std::string();
    const int size = static_cast<int>(wide.size());
    BOOL usedDefault = FALSE;
    const int length =
        WideCharToMultiByte(kShiftJis, WC_NO_BEST_FIT_CHARS, wide.data(), size, nullptr, 0, nullptr, &usedDefault);
    if (length <= 0 || usedDefault) return std::nullopt;
    std::string sjis(static_cast<std::size_t>(length), '\0');
    if (WideCharToMultiByte(kShiftJis, WC_NO_BEST_FIT_CHARS, wide.data(), size, sjis.data(), length, nullptr,
                            &usedDefault) != length ||
        usedDefault) {
        return std::nullopt;
    }
    return sjis;
}

}  // namespace tc
