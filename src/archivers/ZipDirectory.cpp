#include "archivers/ZipDirectory.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "archivers/ResultCodes.h"

namespace tc::archivers {

namespace {

constexpr long long kEndSearch = 16 * 1024;
constexpr std::size_t kEndRecordSize = 22;
constexpr std::size_t kEntryHeaderSize = 46;
constexpr std::size_t kLocalHeaderSize = 30;
constexpr std::uint16_t kDataDescriptorFlag = 0x0008;
constexpr std::uint16_t kUtf8Flag = 0x0800;
constexpr std::uint16_t kUnicodePathField = 0x7075;
constexpr std::size_t kDirectoryBlock = 64 * 1024;

std::uint16_t Le16(std::string_view bytes, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                      static_cast<unsigned char>(bytes[at + 1]) << 8);
}

std::uint32_t Le32(std::string_view bytes, std::size_t at) {
    return Le16(bytes, at) | static_cast<std::uint32_t>(Le16(bytes, at + 2)) << 16;
}

std::uint32_t Crc32(std::string_view bytes) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const char byte : bytes) {
        crc ^= static_cast<unsigned char>(byte);
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

// A forward reader over the source: the bytes at a place, read in blocks.
class Bytes {
public:
    explicit Bytes(ByteSource& source, std::size_t block = kDirectoryBlock) : m_source(source), m_blockSize(block) {}

    // count bytes at offset, or nothing when the source ends first.
    std::optional<std::string_view> At(long long offset, std::size_t count) {
        if (offset < m_start || offset + static_cast<long long>(count) > m_start + static_cast<long long>(m_block.size())) {
            if (m_source.Seek(offset, 0) != offset) return std::nullopt;
            m_start = offset;
            m_block.assign(std::max(count, m_blockSize), '\0');
            std::size_t got = 0;
            while (got < m_block.size()) {
                const long long read = m_source.Read(m_block.data() + got, m_block.size() - got);
                if (read <= 0) break;
                got += static_cast<std::size_t>(read);
            }
            m_block.resize(got);
            if (got < count) return std::nullopt;
        }
        return std::string_view(m_block).substr(static_cast<std::size_t>(offset - m_start), count);
    }

private:
    ByteSource& m_source;
    std::size_t m_blockSize;
    std::string m_block;
    long long m_start = 0;
};

// Where the directory is, as libarchive's seeking reader finds it.
struct DirectoryPlace {
    long long start = 0;      // its first entry
    long long end = 0;        // the end record
    long long declared = 0;   // where the end record's size and offset put its first entry
    bool endsFile = false;    // the end record and its comment are the file's last bytes
};

std::optional<DirectoryPlace> FindDirectory(ByteSource& source, Bytes& bytes) {
    const long long size = source.Size();
    if (size <= 0) return std::nullopt;
    const long long tailStart = size - std::min(kEndSearch, size);
    const auto tail = bytes.At(tailStart, static_cast<std::size_t>(size - tailStart));
    if (!tail || tail->size() < kEndRecordSize) return std::nullopt;
    std::size_t at = tail->size() - kEndRecordSize;
    while (at > 0 && tail->substr(at, 4) != std::string_view("PK\5\6", 4)) --at;
    if (at == 0) return std::nullopt;
    const std::string_view end = tail->substr(at);
    DirectoryPlace place;
    place.end = tailStart + static_cast<long long>(at);
    place.endsFile = at + kEndRecordSize + Le16(end, 20) == tail->size();
    const std::uint32_t directorySize = Le32(end, 12);
    const bool oneVolume = Le16(end, 4) == 0 && Le16(end, 6) == 0 && Le16(end, 8) == Le16(end, 10);
    place.declared = static_cast<long long>(Le32(end, 16));
    if (!oneVolume || place.declared + directorySize > place.end) return std::nullopt;
    if (at >= 20 && tail->substr(at - 20, 4) == std::string_view("PK\6\7", 4)) return std::nullopt;  // Zip64
    // The first entry or end record at or after where the directory's size puts it (data
    // prepended to the archive moves every offset the same way).
    for (long long offset = place.end - directorySize; offset <= place.end; ++offset) {
        const auto mark = bytes.At(offset, 4);
        if (!mark) return std::nullopt;
        if (*mark == std::string_view("PK\1\2", 4) || *mark == std::string_view("PK\5\6", 4) ||
            *mark == std::string_view("PK\6\6", 4)) {
            place.start = offset;
            return place;
        }
    }
    return std::nullopt;
}

// The UTF-8 text of a Unicode-path field for the name, when the extra field holds one.
std::optional<std::string_view> UnicodePath(std::string_view name, std::string_view extra) {
    for (std::size_t at = 0; at + 4 <= extra.size();) {
        const std::uint16_t id = Le16(extra, at);
        const std::size_t size = Le16(extra, at + 2);
        if (at + 4 + size > extra.size()) break;
        const std::string_view data = extra.substr(at + 4, size);
        if (id == kUnicodePathField && size >= 5 && data[0] == 1 && Le32(data, 1) == Crc32(name)) return data.substr(5);
        at += 4 + size;
    }
    return std::nullopt;
}

std::optional<std::wstring> Utf8ToWide(std::string_view text) {
    std::wstring wide;
    for (std::size_t at = 0; at < text.size();) {
        const auto lead = static_cast<unsigned char>(text[at]);
        const std::size_t length = lead < 0x80 ? 1 : (lead & 0xE0) == 0xC0 ? 2 : (lead & 0xF0) == 0xE0 ? 3
                                                     : (lead & 0xF8) == 0xF0 ? 4 : 0;
        if (length == 0 || at + length > text.size()) return std::nullopt;
        char32_t code = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t i = 1; i < length; ++i) {
            const auto next = static_cast<unsigned char>(text[at + i]);
            if ((next & 0xC0) != 0x80) return std::nullopt;
            code = code << 6 | (next & 0x3F);
        }
        static constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < kLeast[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return std::nullopt;
        if (sizeof(wchar_t) == 2 && code > 0xFFFF) {
            wide += static_cast<wchar_t>(0xD800 + ((code - 0x10000) >> 10));
            wide += static_cast<wchar_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
        } else {
            wide += static_cast<wchar_t>(code);
        }
        at += length;
    }
    return wide;
}

MemberName EntryName(std::string_view name, std::uint16_t flags, std::string_view extra) {
    std::optional<std::wstring> wide;
    if (const auto path = UnicodePath(name, extra)) {
        wide = Utf8ToWide(*path);
    } else {
        wide = (flags & kUtf8Flag) ? Utf8ToWide(name) : ShiftJisToWide(name);
    }
    if (!wide) return {MemberNameVerdict::Undecodable, {}};
    return DecodeMemberName(*wide);
}

// One entry of the directory; the texts live until the next read of the directory's bytes.
struct DirectoryEntry {
    std::uint16_t flags;
    std::uint32_t compressedSize;
    std::uint32_t localOffset;
    std::string_view name;
    std::string_view extra;
};

// Calls visit with each entry from the directory's start, at most kMaxMembers + 1 of them:
// where the walk stopped (an end record, or past the last entry visited), or nothing when
// an entry cannot be read.
template <typename Visit>
std::optional<long long> WalkDirectory(Bytes& bytes, long long start, Visit visit) {
    long long at = start;
    for (int count = 0; count <= kMaxMembers; ++count) {
        const auto mark = bytes.At(at, 4);
        if (!mark) return std::nullopt;
        if (*mark == std::string_view("PK\5\6", 4) || *mark == std::string_view("PK\6\6", 4)) break;
        if (*mark != std::string_view("PK\1\2", 4)) return std::nullopt;
        const auto header = bytes.At(at, kEntryHeaderSize);
        if (!header) return std::nullopt;
        const std::size_t nameSize = Le16(*header, 28), extraSize = Le16(*header, 30), commentSize = Le16(*header, 32);
        const std::uint16_t flags = Le16(*header, 8);
        const std::uint32_t compressedSize = Le32(*header, 20), localOffset = Le32(*header, 42);
        if (localOffset == 0xFFFFFFFFu) return std::nullopt;  // in a Zip64 field
        const auto variable = bytes.At(at + static_cast<long long>(kEntryHeaderSize), nameSize + extraSize);
        if (!variable) return std::nullopt;
        visit(DirectoryEntry{flags, compressedSize, localOffset, variable->substr(0, nameSize), variable->substr(nameSize)});
        at += static_cast<long long>(kEntryHeaderSize + nameSize + extraSize + commentSize);
    }
    return at;
}

}  // namespace

std::optional<std::vector<MemberName>> ReadZipDirectoryNames(ByteSource& source) {
    Bytes bytes(source);
    const std::optional<DirectoryPlace> place = FindDirectory(source, bytes);
    if (!place) return std::nullopt;
    struct Entry {
        std::uint32_t localOffset;
        MemberName name;
    };
    std::vector<Entry> entries;
    const bool walked = WalkDirectory(bytes, place->start, [&entries](const DirectoryEntry& entry) {
        entries.push_back({entry.localOffset, EntryName(entry.name, entry.flags, entry.extra)});
    }).has_value();
    if (!walked) return std::nullopt;
    std::stable_sort(entries.begin(), entries.end(),
                     [](const Entry& a, const Entry& b) { return a.localOffset < b.localOffset; });
    entries.erase(std::unique(entries.begin(), entries.end(),
                              [](const Entry& a, const Entry& b) { return a.localOffset == b.localOffset; }),
                  entries.end());
    std::vector<MemberName> names;
    names.reserve(entries.size());
    for (Entry& entry : entries) names.push_back(std::move(entry.name));
    return names;
}

bool ZipDirectoryAccountsForEveryByte(ByteSource& source) {
    Bytes bytes(source);
    const std::optional<DirectoryPlace> place = FindDirectory(source, bytes);
    if (!place || !place->endsFile || place->start != place->declared) return false;
    std::vector<std::pair<long long, std::uint32_t>> spans;  // local header offset, compressed size
    bool plain = true;
    const std::optional<long long> walked = WalkDirectory(bytes, place->start, [&](const DirectoryEntry& entry) {
        plain = plain && (entry.flags & kDataDescriptorFlag) == 0 && entry.compressedSize != 0xFFFFFFFFu;
        spans.emplace_back(entry.localOffset, entry.compressedSize);
    });
    if (!plain || walked != place->end) return false;
    std::sort(spans.begin(), spans.end());
    Bytes headers(source, kLocalHeaderSize);
    long long next = 0;
    for (const auto& [offset, compressedSize] : spans) {
        if (offset != next) return false;
        const auto header = headers.At(offset, kLocalHeaderSize);
        if (!header || header->substr(0, 4) != std::string_view("PK\3\4", 4) ||
            (Le16(*header, 6) & kDataDescriptorFlag) != 0 || Le32(*header, 18) != compressedSize) {
            return false;
        }
        next = offset + static_cast<long long>(kLocalHeaderSize + Le16(*header, 26) + Le16(*header, 28)) + compressedSize;
    }
    return next == place->start;
}

}  // namespace tc::archivers
