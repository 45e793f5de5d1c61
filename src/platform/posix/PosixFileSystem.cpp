#include "platform/posix/PosixFileSystem.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>

#include "common/Sjis.h"

namespace tc {

namespace {

bool IsDirectory(const std::string& nativePath) {
    struct stat st {};
    return ::stat(nativePath.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool Exists(const std::string& nativePath) {
    struct stat st {};
    return ::stat(nativePath.c_str(), &st) == 0;
}

std::string MarkerPath(const std::string& nativeFolder) { return nativeFolder + "/" + PosixFileSystem::kHiddenMarker; }

std::string StripTrailingSlash(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

}  // namespace

std::string PosixFileSystem::ToNativePath(const std::string& path) { return ReplaceSjisChar(path, '\\', '/'); }

std::optional<std::string> PosixFileSystem::ReadWholeFile(const std::string& path) {
    const std::string native = ToNativePath(path);
    if (IsDirectory(native)) return std::nullopt;
    std::ifstream in(native, std::ios::binary | std::ios::ate);
    if (!in) return std::nullopt;
    const std::streamoff size = in.tellg();
    if (size < 0) return std::nullopt;
    std::string bytes(static_cast<std::size_t>(size), '\0');
    in.seekg(0);
    if (!in.read(bytes.data(), size)) return std::nullopt;
    return bytes;
}

bool PosixFileSystem::WriteWholeFile(const std::string& path, std::string_view bytes) {
    const std::string native = ToNativePath(path);
    const std::string temporary = native + ".new";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            out.close();
            std::remove(temporary.c_str());
            return false;
        }
    }
    if (std::rename(temporary.c_str(), native.c_str()) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

bool PosixFileSystem::CanOpen(const std::string& path) {
    const std::string native = ToNativePath(path);
    return !IsDirectory(native) && ::access(native.c_str(), R_OK) == 0;
}

std::optional<std::vector<DirEntry>> PosixFileSystem::ListFolder(const std::string& folderPath) {
    const std::string native = StripTrailingSlash(ToNativePath(folderPath));
    DIR* dir = ::opendir(native.c_str());
    if (dir == nullptr) return std::nullopt;
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == ".." || name == kHiddenMarker) continue;
        names.push_back(name);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());

    std::vector<DirEntry> entries;
    entries.push_back({".", true, false});
    entries.push_back({"..", true, false});
    for (const std::string& name : names) {
        const std::string child = native + "/" + name;
        const bool directory = IsDirectory(child);
        entries.push_back({name, directory, directory && Exists(MarkerPath(child))});
    }
    return entries;
}

bool PosixFileSystem::SetHidden(const std::string& path, bool hidden) {
    const std::string native = StripTrailingSlash(ToNativePath(path));
    if (!IsDirectory(native)) return false;
    const std::string marker = MarkerPath(native);
    if (!hidden) return !Exists(marker) || std::remove(marker.c_str()) == 0;
    std::ofstream out(marker, std::ios::binary | std::ios::trunc);
    return static_cast<bool>(out);
}

bool PosixFileSystem::IsHidden(const std::string& path) {
    const std::string native = StripTrailingSlash(ToNativePath(path));
    return IsDirectory(native) && Exists(MarkerPath(native));
}

// --- Installing archives ---

std::string PosixFileSystem::WorkingDirectory() {
    char buffer[4096] = {};
    return ::getcwd(buffer, sizeof buffer) ? std::string(buffer) : std::string();
}

bool PosixFileSystem::ChangeDirectory(const std::string& path) { return ::chdir(ToNativePath(path).c_str()) == 0; }

bool PosixFileSystem::MakeFolder(const std::string& path) {
    return ::mkdir(StripTrailingSlash(ToNativePath(path)).c_str(), 0777) == 0;
}

bool PosixFileSystem::RemoveEmptyFolder(const std::string& path) {
    const std::string native = StripTrailingSlash(ToNativePath(path));
    // As on Windows, the process's current folder cannot be removed.
    char folder[4096] = {}, current[4096] = {};
    if (::realpath(native.c_str(), folder) && ::getcwd(current, sizeof current) && std::string(folder) == current) {
        return false;
    }
    return ::rmdir(native.c_str()) == 0;
}

bool PosixFileSystem::CopyOver(const std::string& from, const std::string& to) {
    const auto bytes = ReadWholeFile(from);
    if (!bytes) return false;
    std::ofstream out(ToNativePath(to), std::ios::binary | std::ios::trunc);
    out.write(bytes->data(), static_cast<std::streamsize>(bytes->size()));
    return static_cast<bool>(out.flush());
}

bool PosixFileSystem::RemoveFile(const std::string& path) {
    const std::string native = ToNativePath(path);
    return !IsDirectory(native) && std::remove(native.c_str()) == 0;
}

}  // namespace tc
