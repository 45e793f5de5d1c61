// What a character hit by an object is told, as SSTP request texts. Reaction 0 sends it a
// line to say:
//
//   SEND SSTP/1.1 / Sender: <set's display name> / Script: <reaction line>\e
//
// Reaction 1 tells it what happened and leaves the answer to the character's own script:
//
//   NOTIFY SSTP/1.1 / Sender: <set's display name> / Event: OnDroplingHit
//   Reference0: the set's display name      Reference1: the set's folder name
//   Reference2: the target name it fell on  Reference3: a reaction line of the set
//
// Both end with "Charset: SJIS", "HWnd: <window>" when they go as WM_COPYDATA (the window
// that answers are sent to), and an empty line. Values lose any CR or LF, so no value can
// add a header, and the script is cut (never inside a double-byte character) so its line
// stays within the 1024 bytes a receiver reads of a line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tc {

constexpr const char* kHitEvent = "OnDroplingHit";
constexpr std::size_t kMaxScriptBytes = 1000;

struct HitReport {
    std::string setName;    // display name (the folder name when the set has none)
    std::string setFolder;
    std::string target;     // the name as the parameter string gave it
    std::string line;       // the reaction line chosen, may be empty
};

// replyWindow 0 leaves out the HWnd line (a request over TCP).
std::string FormatHitSend(const HitReport& hit, std::int32_t replyWindow);
std::string FormatHitNotify(const HitReport& hit, std::int32_t replyWindow);

}  // namespace tc
