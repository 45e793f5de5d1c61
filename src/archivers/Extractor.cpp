#include "archivers/Extractor.h"

#include <memory>

#include "archivers/ArchiveHandler.h"
#include "archivers/ArchiveReader.h"
#include "archivers/ResultCodes.h"
#include "archivers/ZipDirectory.h"

namespace tc::archivers {

namespace {

constexpr std::size_t kCopyBlock = 64 * 1024;

std::string JoinedName(const std::vector<std::string>& parts) {
    std::string name;
    for (const std::string& part : parts) {
        if (!name.empty()) name += '\\';
        name += part;
    }
    return name;
}

// The verdict of the first pass on one member: 0 when it may be extracted.
int Refusal(const MemberInfo& member) {
    if (member.name.verdict == MemberNameVerdict::Undecodable) return kBrokenHeader;
    if (member.name.verdict == MemberNameVerdict::Unsafe) return kCannotCreate;
    if (!member.directory && !member.regular) return kCannotCreate;  // links, devices, pipes
    if (member.encrypted) return kCannotCreate;
    return kOk;
}

// The first pass: every header checked, the declared sizes and the members counted.
int ScanHeaders(const ArchiveHandler& handler, ByteSource& source, std::vector<MemberRecord>* records) {
    ArchiveReader reader(handler, source);
    if (const int opened = reader.Open()) return opened;
    long long declared = 0;
    int count = 0;
    MemberInfo member;
    for (;;) {
        const int next = reader.Next(member);
        if (next < 0) return -next;
        if (next == 0) return kOk;
        if (++count > kMaxMembers) return kOutputTooLarge;
        if (const int refused = Refusal(member)) return refused;
        if (member.declaredSize > 0) declared += member.declaredSize;
        if (declared > kMaxOutputBytes) return kOutputTooLarge;
        if (records) {
            records->push_back({JoinedName(member.name.parts), std::max(0LL, member.declaredSize), member.modified,
                                member.directory, member.readOnly});
        }
    }
}

// Which reader reads the archive. A ZIP archive's central directory is its index, but one
// that is damaged or displaced (an empty or misplaced directory, a bad signature or size)
// can hide members that their local headers describe intact: a result of 0 must mean every
// member arrived, so when the directory cannot be read, or lists fewer members than the
// local headers hold, the members are read from their local headers instead (their data is
// CRC-checked as always). Walking every local header reads the whole archive, so it is
// done only when the directory does not account for every byte of it.
const ArchiveHandler* ChooseHandler(ArchiverKind kind, ByteSource& source, std::vector<MemberRecord>& records,
                                    int& scanned) {
    scanned = ScanHeaders(HandlerFor(kind), source, &records);
    // A member the directory shows to be refused (a link, an unsafe name, beyond the caps)
    // refuses the archive: its local header may not tell.
    const bool unreadable = scanned == kBrokenHeader || scanned == kNotArchive || scanned == kTruncated;
    if (kind != ArchiverKind::Zip || (scanned != kOk && !unreadable)) return &HandlerFor(kind);
    if (scanned == kOk && ZipDirectoryAccountsForEveryByte(source)) return &HandlerFor(kind);
    if (source.Seek(0, 0) != 0) return &HandlerFor(kind);
    std::vector<MemberRecord> local;
    if (ScanHeaders(ZipLocalHeadersHandler(), source, &local) != kOk) return &HandlerFor(kind);
    if (scanned == kOk && local.size() <= records.size()) return &HandlerFor(kind);
    scanned = kOk;
    records = std::move(local);
    return &ZipLocalHeadersHandler();
}

class Extraction {
public:
    Extraction(ArchiverKind kind, const ArchiverRequest& request, ArchiveFiles& files)
        : m_kind(kind), m_request(request), m_files(files) {}

    CommandOutcome Run() {
        std::unique_ptr<ByteSource> source = m_files.OpenRead(m_request.archive);
        if (!source) return {kCannotOpen, {}};
        std::vector<MemberRecord> records;
        int scanned = 0;
        m_handler = ChooseHandler(m_kind, *source, records, scanned);
        if (scanned) return {scanned, {}};
        if (m_request.mode == CommandMode::List) {
            for (const MemberRecord& record : records) m_outcome.output += record.name + "\r\n";
            return m_outcome;
        }
        if (source->Seek(0, 0) != 0) return {kTruncated, {}};
        m_outcome.code = SecondPass(*source);
        return m_outcome;
    }

private:
    int SecondPass(ByteSource& source) {
        ArchiveReader reader(*m_handler, source);
        if (const int opened = reader.Open()) return opened;
        const bool writing = m_request.mode == CommandMode::Extract;
        if (writing && !m_request.destination.empty()) m_files.MakeFolder(WithoutSeparator(m_request.destination));
        MemberInfo member;
        for (;;) {
            const int next = reader.Next(member);
            if (next < 0) return -next;
            if (next == 0) return kOk;
            // The first pass saw these headers; a source that changed between the passes is
            // checked again rather than trusted.
            if (const int refused = Refusal(member)) return refused;
            const bool chosen = !member.name.parts.empty() && IsChosen(m_request, member.name.parts);
            if (!writing) {
                if (const int tested = Copy(reader, nullptr)) return tested;
                continue;
            }
            if (!chosen) continue;
            if (member.directory) {
                if (m_request.keepFolders) {
                    if (const int made = MakeFolders(member.name.parts, member.name.parts.size())) return made;
                }
                continue;
            }
            if (const int written = Extract(reader, member)) return written;
        }
    }

    static std::string WithoutSeparator(std::string path) {
        if (EndsInSeparator(path)) path.pop_back();
        return path;
    }

    int MakeFolders(const std::vector<std::string>& parts, std::size_t count) {
        std::vector<std::string> partial;
        for (std::size_t i = 0; i < count; ++i) {
            partial.push_back(parts[i]);
            const std::string path = OutputPath(m_request.destination, partial);
            if (path.size() > kMaxOutputPath) return kPathTooLong;
            if (!m_files.MakeFolder(path)) return kMakeFolder;
        }
        return kOk;
    }

    int Extract(ArchiveReader& reader, const MemberInfo& member) {
        std::vector<std::string> parts = member.name.parts;
        if (m_request.keepFolders) {
            if (const int made = MakeFolders(parts, parts.size() - 1)) return made;
        } else {
            parts = {parts.back()};
        }
        const std::string path = OutputPath(m_request.destination, parts);
        if (path.size() > kMaxOutputPath) return kPathTooLong;
        std::unique_ptr<ByteSink> sink = m_files.Create(path);
        if (!sink) return kCannotCreate;
        const int copied = Copy(reader, sink.get());
        sink.reset();
        if (copied) {
            m_files.Remove(path);
            return copied;
        }
        m_outcome.output += JoinedName(parts) + "\r\n";
        return kOk;
    }

    // Copies the current member's data to sink (or only reads it, for a test), within the cap.
    int Copy(ArchiveReader& reader, ByteSink* sink) {
        std::vector<char> block(kCopyBlock);
        for (;;) {
            const long long got = reader.Read(block.data(), block.size());
            if (got < 0) return static_cast<int>(-got);
            if (got == 0) return kOk;
            m_total += got;
            if (m_total > kMaxOutputBytes) return kOutputTooLarge;
            if (sink && !sink->Write(block.data(), static_cast<std::size_t>(got))) return kWriteError;
        }
    }

    ArchiverKind m_kind;
    const ArchiveHandler* m_handler = nullptr;
    const ArchiverRequest& m_request;
    ArchiveFiles& m_files;
    CommandOutcome m_outcome;
    long long m_total = 0;
};

}  // namespace

CommandOutcome RunRequest(ArchiverKind kind, const ArchiverRequest& request, ArchiveFiles& files) {
    return Extraction(kind, request, files).Run();
}

CommandOutcome RunCommand(ArchiverKind kind, std::string_view commandText, ArchiveFiles& files) {
    const ParsedCommand parsed = ParseCommand(kind, commandText);
    if (parsed.result) return {parsed.result, {}};
    return RunRequest(kind, parsed.request, files);
}

int ListMembers(ArchiverKind kind, ByteSource& source, std::vector<MemberRecord>& members) {
    members.clear();
    int scanned = 0;
    ChooseHandler(kind, source, members, scanned);
    if (scanned) members.clear();
    return scanned;
}

int TestArchive(ArchiverKind kind, ByteSource& source) {
    std::vector<MemberRecord> records;
    int scanned = 0;
    const ArchiveHandler* handler = ChooseHandler(kind, source, records, scanned);
    if (scanned) return scanned;
    if (source.Seek(0, 0) != 0) return kTruncated;
    ArchiveReader reader(*handler, source);
    if (const int opened = reader.Open()) return opened;
    std::vector<char> block(kCopyBlock);
    long long total = 0;
    MemberInfo member;
    for (;;) {
        const int next = reader.Next(member);
        if (next <= 0) return -next;
        for (;;) {
            const long long got = reader.Read(block.data(), block.size());
            if (got < 0) return static_cast<int>(-got);
            if (got == 0) break;
            total += got;
            if (total > kMaxOutputBytes) return kOutputTooLarge;
        }
    }
}

}  // namespace tc::archivers
