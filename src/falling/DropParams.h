// The parameter string the cat starts dropling.exe with: "set~reaction~port~opacity~targets"
// (common/DroplingContract.h).
//
// The first four "~" end the set, reaction, port and opacity fields; everything after the
// fourth is the target list, names each followed by "^", so a name may hold "~" or blanks.
// The marks are looked for character by character (a Shift_JIS trail byte can be 0x5E or
// 0x7E). A string that does not hold a usable drop is refused whole: the program then ends
// without showing anything.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/DroplingContract.h"

namespace tc {

enum class Reaction { Send = 0, Notify = 1 };

constexpr std::size_t kMaxTargets = 16;  // more would only crowd the screen

struct DropParams {
    std::string set;        // folder under dropling\ (never a path)
    Reaction reaction = Reaction::Send;
    int port = 9801;        // SSTP over TCP, for targets without a window
    int alpha = kOpaque;    // 0 (invisible) to 255 (opaque), the flag already applied
    std::vector<std::string> targets;  // names as the cat wrote them, "%nek:<skin>" included
    bool operator==(const DropParams&) const = default;
};

// The program's parameters in its raw command line: what follows the program name (quoted
// or not), without the blanks before it.
std::string_view CommandLineParameters(std::string_view commandLine);

// Refuses a missing field, a number that is not plain decimal digits or out of range
// (reaction 0 or 1, port 1 to 65535, opacity 0 to 511), a set name that is empty, "." or "..",
// or holds a mark no folder name may hold ("\", "/", ":" and the like), and a list without
// any name. Empty names
// (between two "^") and a last piece made of blanks only are no names; a last name without
// its "^" counts. Names beyond the first 16 are left out.
std::optional<DropParams> ParseDropParams(std::string_view parameters);

}  // namespace tc
