// The inline marks of the cat's conversation scripts: the split of a script into the steps said
// by the cat and by the other character, and the replace operation. What a line shows in the
// balloon is read from its tags by talk/SakuraScript.h.
//
// Marks are ASCII, but the second byte of a double-byte character can be a backslash (0x5C),
// so every search walks the text character by character and only matches at a character start.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tc {

// One step of a conversation.
struct SAITalk {
    int speaker = 1;   // 1: the cat says text in its balloon; 0: text goes to the other character
    std::string text;
    bool operator==(const SAITalk&) const = default;
};

// Where a conversation script hands over: "@neko" starts the cat's part; these marks end it
// (and stay at the head of the other character's part).
constexpr std::string_view kCatPartMark = "@neko";
constexpr std::string_view kPartnerPartMarks[] = {"\\h", "\\u", "\\0", "\\1", "<c,0>", "<c,1>", "<c,-1>"};

// Position of the first occurrence of mark that starts at a character start at or after from,
// or npos. from must itself be a character start.
std::size_t FindMark(std::string_view text, std::string_view mark, std::size_t from = 0);

// Replaces every occurrence of find, scanning from the left; the scan resumes after the
// inserted text, so a replacement that contains find is never replaced again. An empty find
// changes nothing.
void ReplaceAll(std::string& text, std::string_view find, std::string_view repl);

// Cuts a conversation script into steps: always first a step of the cat (empty when the
// script does not start with "@neko"), then alternately the other character and the cat.
// Every step keeps its marks (the balloon reads the cat's, the other character reads its own);
// a final "\e" is dropped because the SSTP sender appends its own.
std::vector<SAITalk> ParseTalkScript(std::string_view script);

}  // namespace tc
