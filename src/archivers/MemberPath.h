// What an archive member may be called before anything is made of it. Whatever the archive
// says, a member lands inside the destination or not at all:
//
// - its name is split into parts at '/' and '\' (after it has become Unicode, so the second
//   byte of a Shift_JIS character is never taken for a separator); "." parts are dropped;
// - a name that starts with a separator (absolute), holds a drive or stream mark (':'), a
//   ".." part, a part that Windows would change (ending in '.' or a blank), a character no
//   Windows name may hold (< > " | ? * and control characters) or a device name (CON, PRN,
//   AUX, NUL, COM1 to COM9, LPT1 to LPT9, CONIN$, CONOUT$, CLOCK$, also with an extension)
//   is refused;
// - the parts become Shift_JIS, the names the files are created with; a part that has no
//   Shift_JIS form is refused.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/FileNames.h"
#include "common/WideText.h"

namespace tc::archivers {

// Exact conversions between Shift_JIS (code page 932) and Unicode: nothing when a character
// has no form on the other side.
using tc::ShiftJisToWide;
using tc::WideToShiftJis;

using tc::IsDeviceName;
using tc::IsSafePart;

enum class MemberNameVerdict { Safe, Unsafe, Undecodable };

struct MemberName {
    MemberNameVerdict verdict = MemberNameVerdict::Safe;
    std::vector<std::string> parts;  // Shift_JIS, when safe; empty for the archive's root
};

// The parts of a member's Unicode name, and whether they may be used.
MemberName DecodeMemberName(std::wstring_view name);

// destination followed by parts, joined with backslashes (a separator is added after the
// destination unless it already ends in one).
std::string OutputPath(const std::string& destination, const std::vector<std::string>& parts);

}  // namespace tc::archivers
