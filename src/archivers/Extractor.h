// Running a command of the archiver libraries: the archive is read twice. The first pass
// looks at every member's header, and refuses the whole archive before anything is written
// when one member is refused (its name or kind; see MemberPath.h), when there are more than
// kMaxMembers members, or when the sizes the headers declare add up to more than
// kMaxOutputBytes. The second pass extracts (or tests) the chosen members, counting the bytes
// really written against the same cap, so a header that lies about its size gains nothing;
// a file cut off by the cap or by damaged data is removed.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "archivers/ArchiveFiles.h"
#include "archivers/ArchiverCommand.h"

namespace tc::archivers {

struct CommandOutcome {
    int code = 0;
    std::string output;  // the members listed (l), or the files written, one a line (CR LF)
};

CommandOutcome RunRequest(ArchiverKind kind, const ArchiverRequest& request, ArchiveFiles& files);

// Parses and runs a command text of the library of that kind.
CommandOutcome RunCommand(ArchiverKind kind, std::string_view commandText, ArchiveFiles& files);

// One member as the archive handle functions report it.
struct MemberRecord {
    std::string name;  // Shift_JIS, folders separated by backslashes
    long long originalSize = 0;
    std::int64_t modified = 0;
    bool directory = false;
    bool readOnly = false;
};

// The members of an archive (its first pass): 0 with the records, or a result code.
int ListMembers(ArchiverKind kind, ByteSource& source, std::vector<MemberRecord>& members);

// Reads every member's data as well: 0 when the whole archive is sound.
int TestArchive(ArchiverKind kind, ByteSource& source);

}  // namespace tc::archivers
