// The command texts the two libraries accept, parsed into a request. Words are separated by
// blanks; a word in double quotes may hold blanks (the quotes are removed). Texts are
// Shift_JIS: a backslash that is the second byte of a double-byte character (as in 表) is
// part of that character, never a folder separator.
//
// UNLHA32.DLL ("Unlha"):  <command> <archive> [<destination>\] [<pattern>...]
//   command e: extract the matching files into the destination without their folders
//           x: extract them with their folders
//           t: test: read every member and check its data, write nothing
//           l: list the members' names into the output buffer, one a line
//   The destination is the first word after the archive that ends in a backslash or a
//   slash; without one, the current folder. Patterns are matched against a member's file
//   name when they name no folder, against its whole path when they do.
//
// UNZIP32.DLL ("UnZip"):  [-l | -t] [-j] <archive> [<pattern>...] [-d <destination>]
//   Extracts the matching members with their folders into the destination (the current
//   folder without -d); -j drops the folders; -l lists and -t tests instead. Patterns are
//   matched against a member's whole path.
//
// In both, no pattern means every member, "*" matches any run of characters (folder
// separators included), "?" one character, "*.*" every name, and letters match without
// regard to case. A member that exists is overwritten. Switches other than those shown are
// refused (0x801C).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tc::archivers {

enum class ArchiverKind { Lzh, Zip };

enum class CommandMode { Extract, Test, List };

struct ArchiverRequest {
    CommandMode mode = CommandMode::Extract;
    bool keepFolders = true;
    std::string archive;       // as given
    std::string destination;   // empty: the current folder
    std::vector<std::string> patterns;
    bool patternsMatchWholePath = true;
};

struct ParsedCommand {
    int result = 0;  // 0, or the code of a command that cannot be run
    ArchiverRequest request;
};

// Splits a command text into words (see above).
std::vector<std::string> SplitCommandWords(std::string_view text);

ParsedCommand ParseLhaCommand(std::string_view text);
ParsedCommand ParseZipCommand(std::string_view text);
ParsedCommand ParseCommand(ArchiverKind kind, std::string_view text);

// Whether a member (its path's parts, Shift_JIS) matches one pattern of a request.
bool MatchesPattern(std::string_view pattern, const std::vector<std::string>& memberParts, bool wholePath);

// Whether a member is chosen by the request: by any pattern, or by none given.
bool IsChosen(const ArchiverRequest& request, const std::vector<std::string>& memberParts);

// Whether text ends in a folder separator ('\' or '/') that is a character of its own.
bool EndsInSeparator(std::string_view text);

}  // namespace tc::archivers
