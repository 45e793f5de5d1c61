// Texts across the wide (…W) functions of the system: every text of the program is Shift_JIS,
// converted with code page 932 by common/WideText.h, never with the system's ANSI code page.
#pragma once

#include <string>
#include <string_view>

#include "common/WideText.h"

namespace tc {

// A name for a wide file or object function. A name with no UTF-16 form (a broken pair)
// becomes the empty name, which the file functions refuse; callers that would take an empty
// name for "no name" (named objects) check with ShiftJisToWide themselves.
inline std::wstring WideName(std::string_view sjis) { return ShiftJisToWide(sjis).value_or(std::wstring()); }

}  // namespace tc
