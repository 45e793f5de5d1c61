// Files and folders through the ANSI file functions.
#include "platform/win32/Win32Platform.h"

#include <windows.h>

#include "platform/win32/Win32Handles.h"

namespace tc {

namespace {

std::string WithoutTrailingSeparator(std::string path) {
    if (!path.empty() && (path.back() == '\\' || path.back() == '/')) path.pop_back();
    return path;
}

}  // namespace

std::optional<std::string> Win32FileSystem::ReadWholeFile(const std::string& path) {
    KernelHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
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
        KernelHandle file(CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return false;
        DWORD written = 0;
        const bool ok = bytes.empty() || (::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()),
                                                      &written, nullptr) &&
                                          written == bytes.size());
        if (!ok || !FlushFileBuffers(file.Get())) {
            file.Reset();
            DeleteFileA(temporary.c_str());
            return false;
        }
    }
    if (!MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileA(temporary.c_str());
        return false;
    }
    return true;
}

bool Win32FileSystem::CanOpen(const std::string& path) {
    KernelHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    return static_cast<bool>(file);
}

std::optional<std::vector<DirEntry>> Win32FileSystem::ListFolder(const std::string& folderPath) {
    const std::string pattern = WithoutTrailingSeparator(folderPath) + "\\*.*";
    WIN32_FIND_DATAA data{};
    FindHandle find(FindFirstFileA(pattern.c_str(), &data));
    if (find.get() == INVALID_HANDLE_VALUE) {
        find.release();
        return std::nullopt;
    }
    std::vector<DirEntry> entries;
    do {
        entries.push_back({data.cFileName, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                           (data.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) != 0});
    } while (FindNextFileA(find.get(), &data));
    return entries;
}

bool Win32FileSystem::SetHidden(const std::string& path, bool hidden) {
    const std::string target = WithoutTrailingSeparator(path);
    const DWORD attributes = GetFileAttributesA(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return false;
    const DWORD changed = hidden ? (attributes | FILE_ATTRIBUTE_HIDDEN) : (attributes & ~FILE_ATTRIBUTE_HIDDEN);
    return SetFileAttributesA(target.c_str(), changed) != 0;
}

bool Win32FileSystem::IsHidden(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(WithoutTrailingSeparator(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_HIDDEN) != 0;
}

// --- Installing archives ---

std::string Win32FileSystem::WorkingDirectory() {
    char buffer[MAX_PATH] = {};
    const DWORD length = GetCurrentDirectoryA(MAX_PATH, buffer);
    return length > 0 && length < MAX_PATH ? std::string(buffer, length) : std::string();
}

bool Win32FileSystem::ChangeDirectory(const std::string& path) { return SetCurrentDirectoryA(path.c_str()) != 0; }

bool Win32FileSystem::MakeFolder(const std::string& path) {
    return CreateDirectoryA(WithoutTrailingSeparator(path).c_str(), nullptr) != 0;
}

bool Win32FileSystem::RemoveEmptyFolder(const std::string& path) {
    return RemoveDirectoryA(WithoutTrailingSeparator(path).c_str()) != 0;
}

bool Win32FileSystem::CopyOver(const std::string& from, const std::string& to) {
    return CopyFileA(from.c_str(), to.c_str(), FALSE) != 0;
}

bool Win32FileSystem::RemoveFile(const std::string& path) { return DeleteFileA(path.c_str()) != 0; }

}  // namespace tc
