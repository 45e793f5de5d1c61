// speak.txt: what the cat says. A common copy in the base directory and the skin's own copy
// fill the twelve lists of the talk record; the skin's file replaces, list by list, only what
// it mentions. Every list starts from a placeholder line, so a missing file or group shows
// "(… not found)" instead of silence.
//
// Each non-empty line (at most 4095 bytes; a longer one comes as several, cut between
// characters) is, in this order:
// - a section line: its head before the first "@" is one of the eighteen section keys,
//   letter case ignored and nothing else around it; the tail after "@" names the target;
// - section content, once a section is open in this file: the whole line, unchanged, is one
//   entry of the section's list (the first entry a file gives a list empties it first);
// - before any section, a plain key line "key,entry,entry,…": the key (exact case) cut at its
//   first blank, entries separated by commas that are not inside a double-byte character,
//   empty entries skipped; the line replaces the whole list.
// Lines and scripts are stored as written: the balloon reads their tags when a line is said.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "talk/TalkRecord.h"

namespace tc {

constexpr const char* kSpeakFileName = "speak.txt";
constexpr std::size_t kSpeakLineBuffer = 4096;  // a line is read in pieces of at most 4095 bytes
constexpr int kSectionKeyCount = 18;

// Empties the twelve lists and puts each list's placeholder in.
void ResetMessageDefaults(TalkRecord& talk);

// Index 0 to 17 of the section key that head equals without regard to letter case, or -1.
// No key is longer than 34 bytes, so an over-long head is never a key.
int FindSectionKey(std::string_view head);

// Reads one speak.txt over the lists as they stand.
//
// A target name has no length limit here: a section line with a tail of more than 255 bytes
// still opens its section with the whole tail as target. Cutting it would make the script
// answer to a different, shortened name; whole, it simply matches a character of that name.
void ReadSpeakFile(std::string_view fileBytes, TalkRecord& talk);

// Refills the twelve lists: defaults, then the common file, then the skin's file. Without a
// common file the defaults stay and the skin's file is not read either.
void LoadMessageConfig(const std::optional<std::string>& commonFile, const std::optional<std::string>& skinFile,
                       TalkRecord& talk);

// Saying a line of a list: a random entry (only the first 32768 can be chosen), none for an
// empty list. The caller says it without a sender.
std::optional<std::string> PickLine(const std::vector<std::string>& lines);

}  // namespace tc
