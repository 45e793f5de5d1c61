// The inline marks of the cat's texts and the two transformations built on them: the clean-up
// that turns a configured or received line into what the balloon types, and the split of a
// conversation script into the steps said by the cat and by the other character.
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

// The message clean-up: cut at the first "\e", then "\n" becomes a line feed and "\w" the
// letter w (which the balloon reads, with a digit after it, as a pause).
void CleanMessage(std::string& text);

// Cuts a conversation script into steps: always first a step of the cat (empty when the
// script does not start with "@neko"), then alternately the other character and the cat.
// The cat's texts are cleaned; the other character's keep their marks, and a final "\e" is
// dropped because the SSTP sender appends its own.
std::vector<SAITalk> ParseTalkScript(std::string_view script);

}  // namespace tc
