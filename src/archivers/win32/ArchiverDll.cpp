#include "archivers/win32/ArchiverDll.h"

#include <map>
#include <memory>

#include "archivers/ArchiveFiles.h"
#include "archivers/Extractor.h"
#include "archivers/ResultCodes.h"
#include "common/Sjis.h"

namespace tc::archivers::dll {

namespace {

LONG s_running = 0;

// Marks the library running for one command; a second command meanwhile is refused.
class RunningScope {
public:
    RunningScope() : m_entered(InterlockedCompareExchange(&s_running, 1, 0) == 0) {}
    ~RunningScope() {
        if (m_entered) InterlockedExchange(&s_running, 0);
    }
    RunningScope(const RunningScope&) = delete;
    RunningScope& operator=(const RunningScope&) = delete;
    bool Entered() const { return m_entered; }

private:
    bool m_entered;
};

// An archive opened by OpenArchive, with its members read once, and the member the last
// FindFirst or FindNext reached.
struct OpenedArchive {
    std::string name;
    long long fileSize = 0;
    std::vector<MemberRecord> members;
    std::string pattern;
    std::size_t next = 0;
    const MemberRecord* current = nullptr;
};

SRWLOCK s_lock = SRWLOCK_INIT;
std::map<std::uintptr_t, std::unique_ptr<OpenedArchive>> s_opened;
std::uintptr_t s_nextHandle = 1;

class Locked {
public:
    Locked() { AcquireSRWLockExclusive(&s_lock); }
    ~Locked() { ReleaseSRWLockExclusive(&s_lock); }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;
};

OpenedArchive* Find(HANDLE handle) {
    const auto it = s_opened.find(reinterpret_cast<std::uintptr_t>(handle));
    return it == s_opened.end() ? nullptr : it->second.get();
}

// Moves to the next member matching the pattern: 0, -1 at the end, or a result code.
int Advance(OpenedArchive& archive, ArchiverMemberRecord* record) {
    while (archive.next < archive.members.size()) {
        const MemberRecord& member = archive.members[archive.next++];
        // A pattern names the whole path, folders separated by '/' as in the commands.
        const std::string path = ReplaceSjisChar(member.name, '\\', '/');
        if (!archive.pattern.empty() && !MatchesPattern(archive.pattern, {path}, true)) continue;
        archive.current = &member;
        if (record) {
            *record = ArchiverMemberRecord{};
            record->originalSize = static_cast<std::uint32_t>(member.originalSize);
            record->attributes = member.directory ? 0x10 : 0x20;
            if (member.readOnly) record->attributes |= 0x01;
            const std::uint32_t dos = DosDateTime(member.modified);
            record->date = static_cast<std::uint16_t>(dos >> 16);
            record->time = static_cast<std::uint16_t>(dos & 0xFFFF);
            record->writeTime = static_cast<std::uint32_t>(member.modified);
            CopyOut(member.name, record->fileName, sizeof record->fileName);
        }
        return 0;
    }
    archive.current = nullptr;
    return -1;
}

const MemberRecord* Current(HANDLE handle) {
    const OpenedArchive* archive = Find(handle);
    return archive ? archive->current : nullptr;
}

}  // namespace

int Command(ArchiverKind kind, HWND, LPCSTR command, LPSTR output, DWORD size) {
    RunningScope running;
    if (!running.Entered()) return kAlreadyRunning;
    if (!command) return kBadCommand;
    const CommandOutcome outcome = RunCommand(kind, command, SystemArchiveFiles());
    CopyOut(outcome.output, output, size);
    return outcome.code;
}

BOOL Running() { return s_running != 0; }

BOOL CheckArchive(ArchiverKind kind, LPCSTR archive, int mode) {
    if (!archive) return FALSE;
    std::unique_ptr<ByteSource> source = SystemArchiveFiles().OpenRead(archive);
    if (!source) return FALSE;
    std::vector<MemberRecord> members;
    // Mode 0 reads the headers only; any other mode reads every member's data too.
    return (mode == 0 ? ListMembers(kind, *source, members) : TestArchive(kind, *source)) == 0;
}

int FileCount(ArchiverKind kind, LPCSTR archive) {
    if (!archive) return -1;
    std::unique_ptr<ByteSource> source = SystemArchiveFiles().OpenRead(archive);
    if (!source) return -1;
    std::vector<MemberRecord> members;
    if (ListMembers(kind, *source, members)) return -1;
    return static_cast<int>(members.size());
}

HANDLE OpenArchive(ArchiverKind kind, LPCSTR name) {
    if (!name) return nullptr;
    std::unique_ptr<ByteSource> source = SystemArchiveFiles().OpenRead(name);
    if (!source) return nullptr;
    auto archive = std::make_unique<OpenedArchive>();
    archive->name = name;
    archive->fileSize = source->Size();
    if (ListMembers(kind, *source, archive->members)) return nullptr;
    Locked lock;
    const std::uintptr_t handle = s_nextHandle++;
    s_opened[handle] = std::move(archive);
    return reinterpret_cast<HANDLE>(handle);
}

int CloseArchive(HANDLE handle) {
    Locked lock;
    return s_opened.erase(reinterpret_cast<std::uintptr_t>(handle)) ? 0 : kNotOpened;
}

int FindFirst(HANDLE handle, LPCSTR pattern, ArchiverMemberRecord* record) {
    Locked lock;
    OpenedArchive* archive = Find(handle);
    if (!archive) return kNotOpened;
    archive->pattern = pattern ? pattern : "";
    archive->next = 0;
    return Advance(*archive, record);
}

int FindNext(HANDLE handle, ArchiverMemberRecord* record) {
    Locked lock;
    OpenedArchive* archive = Find(handle);
    if (!archive) return kNotOpened;
    if (archive->next == 0 && !archive->current) return kNoCurrentMember;
    return Advance(*archive, record);
}

int ArcFileName(HANDLE handle, LPSTR buffer, int size) {
    Locked lock;
    const OpenedArchive* archive = Find(handle);
    if (!archive) return kNotOpened;
    CopyOut(archive->name, buffer, size > 0 ? static_cast<std::size_t>(size) : 0);
    return 0;
}

DWORD ArcFileSize(HANDLE handle) {
    Locked lock;
    const OpenedArchive* archive = Find(handle);
    return archive ? static_cast<DWORD>(archive->fileSize) : static_cast<DWORD>(-1);
}

DWORD ArcOriginalSize(HANDLE handle) {
    Locked lock;
    const OpenedArchive* archive = Find(handle);
    if (!archive) return static_cast<DWORD>(-1);
    long long total = 0;
    for (const MemberRecord& member : archive->members) total += member.originalSize;
    return static_cast<DWORD>(total);
}

int FileName(HANDLE handle, LPSTR buffer, int size) {
    Locked lock;
    const MemberRecord* member = Current(handle);
    if (!member) return Find(handle) ? kNoCurrentMember : kNotOpened;
    CopyOut(member->name, buffer, size > 0 ? static_cast<std::size_t>(size) : 0);
    return 0;
}

int OriginalSize(HANDLE handle) {
    Locked lock;
    const MemberRecord* member = Current(handle);
    return member ? static_cast<int>(member->originalSize) : -1;
}

WORD Date(HANDLE handle) {
    Locked lock;
    const MemberRecord* member = Current(handle);
    return member ? static_cast<WORD>(DosDateTime(member->modified) >> 16) : 0xFFFF;
}

WORD Time(HANDLE handle) {
    Locked lock;
    const MemberRecord* member = Current(handle);
    return member ? static_cast<WORD>(DosDateTime(member->modified) & 0xFFFF) : 0xFFFF;
}

int Attribute(HANDLE handle) {
    Locked lock;
    const MemberRecord* member = Current(handle);
    if (!member) return -1;
    return (member->directory ? 0x10 : 0x20) | (member->readOnly ? 0x01 : 0);
}

DWORD WriteTime(HANDLE handle) {
    Locked lock;
    const MemberRecord* member = Current(handle);
    return member ? static_cast<DWORD>(member->modified) : static_cast<DWORD>(-1);
}

}  // namespace tc::archivers::dll
