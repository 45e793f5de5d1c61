// The archiver libraries on Windows. Paths arrive as Shift_JIS and are turned into Unicode
// with code page 932 for the wide file functions, so the names made are the archive's names
// whatever the system's ANSI code page is.
#include <windows.h>

#include "archivers/ArchiveFiles.h"
#include "archivers/ArchiveReader.h"
#include "archivers/MemberPath.h"
#include "platform/win32/Win32Handles.h"

namespace tc::archivers {

namespace {

constexpr UINT kShiftJis = 932;

std::wstring Wide(const std::string& path) {
    if (path.empty()) return {};
    const int length = MultiByteToWideChar(kShiftJis, 0, path.data(), static_cast<int>(path.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(kShiftJis, 0, path.data(), static_cast<int>(path.size()), wide.data(), length);
    return wide;
}

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
        HANDLE h = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) return nullptr;
        return std::make_unique<FileSource>(h);
    }
    bool MakeFolder(const std::string& path) override {
        const std::wstring wide = Wide(path);
        // A junction or link standing where a folder should be is not a folder of ours.
        return CreateDirectoryW(wide.c_str(), nullptr) || IsPlainFolder(wide);
    }
    std::unique_ptr<ByteSink> Create(const std::string& path) override {
        HANDLE h = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                               nullptr);
        if (h == INVALID_HANDLE_VALUE) return nullptr;
        return std::make_unique<FileSink>(h);
    }
    void Remove(const std::string& path) override { DeleteFileW(Wide(path).c_str()); }
};

}  // namespace

ArchiveFiles& SystemArchiveFiles() {
    static Win32ArchiveFiles files;
    return files;
}

std::optional<std::string> WideToShiftJis(std::wstring_view text) {
    if (text.empty()) return std::string();
    BOOL usedDefault = FALSE;
    const int length = WideCharToMultiByte(kShiftJis, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()),
                                           nullptr, 0, nullptr, &usedDefault);
    if (length <= 0 || usedDefault) return std::nullopt;
    std::string out(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(kShiftJis, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()), out.data(), length,
                        nullptr, &usedDefault);
    if (usedDefault) return std::nullopt;
    return out;
}

std::optional<std::wstring> ShiftJisToWide(std::string_view text) {
    if (text.empty()) return std::wstring();
    const int length =
        MultiByteToWideChar(kShiftJis, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (length <= 0) return std::nullopt;
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(kShiftJis, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

// Windows libarchive converts names with the code-page functions; nothing to set up.
NameLocaleScope::NameLocaleScope() = default;
NameLocaleScope::~NameLocaleScope() = default;

}  // namespace tc::archivers
