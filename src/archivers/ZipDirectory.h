// The names a ZIP archive's central directory gives its members. The directory is the
// archive's index and what other readers (Info-ZIP, Windows, Python) name members by;
// libarchive names a member by its local header instead (its name, or a Unicode-path field of
// its own), which may say something else. So every member name of a ZIP read through its
// directory comes from here: the entry's Unicode-path field when it is for the entry's own
// name (version 1, the CRC-32 of that name), else the name, UTF-8 when the entry's flag says
// so, Shift_JIS otherwise.
//
// The names are paired with libarchive's members in the order its seeking reader visits them:
// by local header offset, the first of the entries sharing one offset standing for them all.
// The directory is found as that reader finds it (the last end record in the file's last
// 16 KB, the directory searched forward from where its size puts it). A directory this cannot
// read (none, a Zip64 one, an offset beyond 32 bits) gives nothing, and the reader refuses to
// pair; the caller then reads the local headers.
#pragma once

#include <optional>
#include <vector>

#include "archivers/ArchiveFiles.h"
#include "archivers/MemberPath.h"

namespace tc::archivers {

// The directory's member names in libarchive's order; at most kMaxMembers + 1 of them (an
// archive with more is refused by its member count). The source's place is left anywhere.
std::optional<std::vector<MemberName>> ReadZipDirectoryNames(ByteSource& source);

// Whether the directory holds up: its entries' local headers, each with the compressed size
// the directory gives and no data descriptor, follow one another from the file's first byte
// to the directory, which runs to the end record that ends the file. Then there is no byte
// where a member the directory does not list could hide, and walking the local headers
// would find exactly the directory's members. The source's place is left anywhere.
bool ZipDirectoryAccountsForEveryByte(ByteSource& source);

}  // namespace tc::archivers
