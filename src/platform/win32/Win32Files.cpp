// Files and folders through the wide file functions. Paths are converted whole (WideName): a
// path with no UTF-16 form becomes the empty path, which every one of them refuses.
#include "platform/win32/Win32Platform.h"

#include <windows.h>

#include "common/Sjis.h"
#include "platform/win32/Win32Handles.h"
#include "common/WideText.h"

namespace tc {

namespace {

// A separator ending the path is dropped; the 0x5C ending a double-byte character (表) is kept.
std::string WithoutTrailingSeparator(std::string path) {
    const std::size_t last = path.empty() ? std::string::npos : path.size() - 1;
    if (last != std::string::npos &&
        (FindLastSjisChar(path, '\\') == last || FindLastSjisChar(path, '/') == last)) {
        path.pop_back();
    }
    return path;
}

}  // namespace

std::optional<std::string> Win32FileSystem::ReadWholeFile(const std::string& path) {
    KernelHandle file(CreateFileW(WideName(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::nullopt;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart > 0x7FFFFFFF) return std::nullopt;
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!bytes.empty() && (!::ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
                           read != bytes.size())) {
        return std::nullopt;
    }
    return bytes;
}

bool Win32FileSystem::WriteWholeFile(const std::string& path, std::string_view bytes) {
    const std::string temporary = path + ".new";
    {
        KernelHandle file(CreateFileW(WideName(temporary).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return false;
        DWORD written = 0;
        const bool ok = bytes.empty() || (::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()),
                                                      &written, nullptr) &&
                                          written == bytes.size());
        if (!ok || !FlushFileBuffers(file.Get())) {
            file.Reset();
            DeleteFileW(WideName(temporary).c_str());
            return false;
        }
    }
    if (!MoveFileExW(WideName(temporary).c_str(), WideName(path).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileW(WideName(temporary).c_str());
        return false;
    }
    return true;
}

bool Win32FileSystem::CanOpen(const std::string& path) {
    KernelHandle file(CreateFileW(WideName(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    return static_cast<bool>(file);
}

std::optional<std::vector<DirEntry>> Win32FileSystem::ListFolder(const std::string& folderPath) {
    const std::string pattern = WithoutTrailingSeparator(folderPath) + "\\*.*";
    WIN32_FIND_DATAW data{};
    FindHandle find(FindFirstFileW(WideName(pattern).c_str(), &data));
    if (find.get() == INVALID_HANDLE_VALUE) {
        find.release();
        return std::nullopt;
    }
    std::vector<DirEntry> entries;
    do {
        // A name with no Shift_JIS form could not be opened by the program: it is left out.
        if (auto name = WideToShiftJis(data.cFileName)) {
            entries.push_back({*std::move(name), (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                               (data.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) != 0});
        }
    } while (FindNextFileW(find.get(), &data));
    return entries;
}

bool Win32FileSystem::SetHidden(const std::string& path, bool hidden) {
    const std::wstring target = WideName(WithoutTrailingSeparator(path));
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return false;
    const DWORD changed = hidden ? (attributes | FILE_ATTRIBUTE_HIDDEN) : (attributes & ~FILE_ATTRIBUTE_HIDDEN);
    return SetFileAttributesW(target.c_str(), changed) != 0;
}

bool Win32FileSystem::IsHidden(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(WideName(WithoutTrailingSeparator(path)).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_HIDDEN) != 0;
}

// --- Installing archives ---

std::string Win32FileSystem::WorkingDirectory() {
    wchar_t buffer[MAX_PATH] = {};
    const DWORD length = GetCurrentDirectoryW(MAX_PATH, buffer);
    return length > 0 && length < MAX_PATH ? WideToShiftJis(std::wstring_view(buffer, length)).value_or(std::string())
                                           : std::string();
}

bool Win32FileSystem::ChangeDirectory(const std::string& path) { return SetCurrentDirectoryW(WideName(path).c_str()) != 0; }

bool Win32FileSystem::MakeFolder(const std::string& path) {
    return CreateDirectoryW(WideName(WithoutTrailingSeparator(path)).c_str(), nullptr) != 0;
}

bool Win32FileSystem::RemoveEmptyFolder(const std::string& path) {
    return RemoveDirectoryW(WideName(WithoutTrailingSeparator(path)).c_str()) != 0;
}

bool Win32FileSystem::CopyOver(const std::string& from, const std::string& to) {
    return CopyFileW(WideName(from).c_str(), WideName(to).c_str(), FALSE) != 0;
}

bool Win32FileSystem::RemoveFile(const std::string& path) { return DeleteFileW(WideName(path).c_str()) != 0; }

}  // namespace tc
