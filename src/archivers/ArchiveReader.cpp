#include "archivers/ArchiveReader.h"

#include <archive.h>
#include <archive_entry.h>

#include <cstring>
#include <utility>

#include "archivers/ResultCodes.h"
#include "archivers/ZipDirectory.h"

namespace tc::archivers {

struct ArchiveReader::CallbackData {
    ByteSource* source = nullptr;
    bool sought = false;
    char buffer[64 * 1024];
};

namespace {

// After a seek the reader usually wants one member's header (the directory's reader visits
// each local header in turn), so the first read there is small; reading on goes in full blocks.
constexpr std::size_t kAfterSeek = 4096;

la_ssize_t ReadCallback(archive*, void* data, const void** block) {
    auto* callback = static_cast<ArchiveReader::CallbackData*>(data);
    *block = callback->buffer;
    const std::size_t size = std::exchange(callback->sought, false) ? kAfterSeek : sizeof callback->buffer;
    const long long got = callback->source->Read(callback->buffer, size);
    return got < 0 ? -1 : static_cast<la_ssize_t>(got);
}

la_int64_t SeekCallback(archive*, void* data, la_int64_t offset, int whence) {
    auto* callback = static_cast<ArchiveReader::CallbackData*>(data);
    callback->sought = true;
    return callback->source->Seek(offset, whence);
}

bool Contains(const char* text, const char* part) { return text && std::strstr(text, part) != nullptr; }

}  // namespace

ArchiveReader::ArchiveReader(const ArchiveHandler& handler, ByteSource& source)
    : m_archive(archive_read_new()), m_handler(handler), m_source(source) {}

ArchiveReader::~ArchiveReader() {
    if (m_archive) archive_read_free(m_archive);
}

int ArchiveReader::Open() {
    if (!m_archive || !m_handler.Configure(m_archive)) return kNotArchive;
    if (m_handler.NamesFromDirectory()) {
        m_directoryNames = ReadZipDirectoryNames(m_source);
        if (m_source.Seek(0, 0) != 0) return kTruncated;
    }
    // The block the callbacks read into lives as long as this reader (libarchive is freed
    // first, in the destructor's body).
    m_data = std::make_unique<CallbackData>();
    m_data->source = &m_source;
    archive_read_set_read_callback(m_archive, ReadCallback);
    archive_read_set_seek_callback(m_archive, SeekCallback);
    archive_read_set_callback_data(m_archive, m_data.get());
    const int opened = archive_read_open1(m_archive);
    if (opened != ARCHIVE_OK) return archive_format(m_archive) == 0 ? kNotArchive : kBrokenHeader;
    // libarchive read a directory that ours cannot pair with its members.
    if (m_handler.NamesFromDirectory() && !m_directoryNames) return kBrokenHeader;
    return kOk;
}

int ArchiveReader::Next(MemberInfo& info) {
    archive_entry* entry = nullptr;
    const int got = archive_read_next_header(m_archive, &entry);
    if (got == ARCHIVE_EOF) {
        if (m_directoryNames && m_named != m_directoryNames->size()) return -kBrokenHeader;
        return m_sawMember || archive_format(m_archive) != 0 ? 0 : -kNotArchive;
    }
    if (got < ARCHIVE_WARN) {
        if (!m_sawMember && archive_format(m_archive) == 0) return -kNotArchive;
        return Contains(archive_error_string(m_archive), "runcated") ? -kTruncated : -kBrokenHeader;
    }
    m_sawMember = true;
    info = MemberInfo{};
    const wchar_t* name = archive_entry_pathname_w(entry);
    if (m_directoryNames) {
        if (m_named >= m_directoryNames->size()) return -kBrokenHeader;
        info.name = (*m_directoryNames)[m_named++];
    } else if (!name) {
        info.name.verdict = MemberNameVerdict::Undecodable;
    } else {
        info.name = DecodeMemberName(name);
    }
    const auto type = archive_entry_filetype(entry);
    info.directory = type == AE_IFDIR;
    info.regular = type == AE_IFREG && archive_entry_hardlink(entry) == nullptr;
    info.encrypted = archive_entry_is_encrypted(entry) != 0;
    info.declaredSize = archive_entry_size_is_set(entry) ? archive_entry_size(entry) : -1;
    info.modified = archive_entry_mtime(entry);
    info.readOnly = (archive_entry_perm(entry) & 0222) == 0;
    return 1;
}

long long ArchiveReader::Read(void* buffer, std::size_t size) {
    const la_ssize_t got = archive_read_data(m_archive, buffer, size);
    if (got < 0) return -DataError();
    return got;
}

int ArchiveReader::DataError() const {
    const char* message = archive_error_string(m_archive);
    if (Contains(message, "CRC")) return kChecksum;
    if (Contains(message, "runcated") || Contains(message, "Premature")) return kTruncated;
    return kDamagedData;
}

}  // namespace tc::archivers
