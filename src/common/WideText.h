// Shift_JIS texts as the system's wide text and back. Texts stay Shift_JIS bytes everywhere in
// the program, its files and its protocols; only where they cross the window system or the
// file system do they become wide (UTF-16 on Windows, UTF-32 natively), always with code page
// 932 and never the system's ANSI code page, so that a Windows of any language reads them as
// Japanese.
//
// Names (files, folders, named objects) convert exactly or not at all: a broken double-byte
// pair, a lone surrogate or a character Shift_JIS lacks gives nothing, and the caller refuses
// the name rather than make it garbled. Texts that are only shown convert whatever they hold:
// what cannot be read becomes U+FFFD on the wide side and the geta mark "〓" on the Shift_JIS
// side (a visible mark that is never half of a pair).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tc {

// Exact conversions (win32/ and posix/ define them).
std::optional<std::wstring> ShiftJisToWide(std::string_view sjis);
std::optional<std::string> WideToShiftJis(std::wstring_view wide);

// A name for a wide file or object function. A name with no UTF-16 form (a broken pair)
// becomes the empty name, which the file functions refuse; callers that would take an empty
// name for "no name" (named objects) check with ShiftJisToWide themselves.
inline std::wstring WideName(std::string_view sjis) { return ShiftJisToWide(sjis).value_or(std::wstring()); }

// Conversions of shown texts; character by character where the whole does not convert.
std::wstring WideText(std::string_view sjis);
std::string ShiftJisText(std::wstring_view wide);

// The longest start of wide that fits with its terminating NUL into capacity units and ends
// at a character boundary (a surrogate pair is never cut), for the system's fixed fields.
std::wstring_view WidePrefix(std::wstring_view wide, std::size_t capacity);

}  // namespace tc
