// The archiver libraries on Windows. Paths arrive as Shift_JIS and are turned into Unicode
// with code page 932 (WideName, common/WideText.h) for the wide file functions, so the names
// made are the archive's names whatever the system's ANSI code page is; a path with no
// Unicode form is refused, so nothing is made under a garbled name.
#include <windows.h>

#include "archivers/ArchiveFiles.h"
#include "archivers/ArchiveReader.h"
#include "archivers/MemberPath.h"
#include "common/WideText.h"
#include "platform/win32/Win32Handles.h"

namespace tc::archivers {

namespace {

class FileSource : public ByteSource {
public:
    explicit FileSource(HANDLE h) : m_file(h) {}
    long long Read(void* buffer, std::size_t size) override {
        DWORD got = 0;
        const DWORD want = static_cast<DWORD>(size > 0x40000000 ? 0x40000000 : size);
        if (!ReadFile(m_file.Get(), buffer, want, &got, nullptr)) return -1;
        return got;
    }
    long long Seek(long long offset, int whence) override {
        LARGE_INTEGER distance{};
        distance.QuadPart = offset;
        LARGE_INTEGER now{};
        const DWORD method = whence == 0 ? FILE_BEGIN : whence == 1 ? FILE_CURRENT : FILE_END;
        if (!SetFilePointerEx(m_file.Get(), distance, &now, method)) return -1;
        return now.QuadPart;
    }
    long long Size() override {
        LARGE_INTEGER size{};
        return GetFileSizeEx(m_file.Get(), &size) ? size.QuadPart : -1;
    }

private:
    KernelHandle m_file;
};

class FileSink : public ByteSink {
public:
    explicit FileSink(HANDLE h) : m_file(h) {}
    bool Write(const void* bytes, std::size_t size) override {
        DWORD written = 0;
        return WriteFile(m_file.Get(), bytes, static_cast<DWORD>(size), &written, nullptr) && written == size;
    }

private:
    KernelHandle m_file;
};

bool IsPlainFolder(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
           !(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

class Win32ArchiveFiles : public ArchiveFiles {
public:
    std::unique_ptr<ByteSource> OpenRead(const std::string& path) override {
        HANDLE h = CreateFileW(WideName(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) return nullptr;
        return std::make_unique<FileSource>(h);
    }
    bool MakeFolder(const std::string& path) override {
        const std::wstring wide = WideName(path);
        // A junction or link standing where a folder should be is not a folder of ours.
        return CreateDirectoryW(wide.c_str(), nullptr) || IsPlainFolder(wide);
    }
    std::unique_ptr<ByteSink> Create(const std::string& path) override {
        HANDLE h = CreateFileW(WideName(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                               nullptr);
        if (h == INVALID_HANDLE_VALUE) return nullptr;
        return std::make_unique<FileSink>(h);
    }
    void Remove(const std::string& path) override { DeleteFileW(WideName(path).c_str()); }
};

}  // namespace

ArchiveFiles& SystemArchiveFiles() {
    static Win32ArchiveFiles files;
    return files;
}

// Windows libarchive converts names with the code-page functions; nothing to set up.
NameLocaleScope::NameLocaleScope() = default;
NameLocaleScope::~NameLocaleScope() = default;

}  // namespace tc::archivers
