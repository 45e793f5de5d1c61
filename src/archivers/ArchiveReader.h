// A libarchive reader over a byte source, one pass over the members of an archive, with
// libarchive's failures turned into the libraries' result codes.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "archivers/ArchiveFiles.h"
#include "archivers/ArchiveHandler.h"
#include "archivers/MemberPath.h"

namespace tc::archivers {

// While it lives, the thread converts between code pages and Unicode as libarchive needs
// for member names (a UTF-8 locale on POSIX; nothing to do on Windows). Platform part.
class NameLocaleScope {
public:
    NameLocaleScope();
    ~NameLocaleScope();
    NameLocaleScope(const NameLocaleScope&) = delete;
    NameLocaleScope& operator=(const NameLocaleScope&) = delete;

private:
    void* m_previous = nullptr;
    void* m_own = nullptr;
};

struct MemberInfo {
    MemberName name;
    bool directory = false;
    bool regular = false;    // a plain file
    bool encrypted = false;
    long long declaredSize = -1;  // -1 when the header does not say
    std::int64_t modified = 0;    // seconds since 1970
    bool readOnly = false;
};

class ArchiveReader {
public:
    ArchiveReader(const ArchiveHandler& handler, ByteSource& source);
    ~ArchiveReader();
    ArchiveReader(const ArchiveReader&) = delete;
    ArchiveReader& operator=(const ArchiveReader&) = delete;

    // 0 when the reader is set up, else a result code.
    int Open();
    // 1 with the next member in info, 0 at the end, or a negative result code.
    int Next(MemberInfo& info);
    // Reads the current member's data: the bytes read (0 at its end), or a negative result code.
    long long Read(void* buffer, std::size_t size);

    struct CallbackData;

private:
    int DataError() const;
    std::unique_ptr<CallbackData> m_data;
    NameLocaleScope m_locale;
    archive* m_archive = nullptr;
    const ArchiveHandler& m_handler;
    ByteSource& m_source;
    bool m_sawMember = false;
    // The names paired with the members in order, when the handler takes them from the directory.
    std::optional<std::vector<MemberName>> m_directoryNames;
    std::size_t m_named = 0;
};

}  // namespace tc::archivers
