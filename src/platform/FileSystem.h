// Files and folders. Paths are in the Windows form the core builds: the base directory
// (ending in a backslash) followed by a relative path, Shift_JIS, backslash separators.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tc {

// One entry of a folder listing, in the order the file system returns them. Like
// FindFirstFileA on "folder\*.*", a listing includes "." and ".." and files as well.
struct DirEntry {
    std::string name;
    bool directory = false;
    bool hidden = false;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // The whole file as stored (no line-end translation); nothing when it cannot be read.
    virtual std::optional<std::string> ReadWholeFile(const std::string& path) = 0;

    // Replaces the file with bytes. The new content is written under a temporary name and
    // then renamed over the old file, so a failure never leaves a truncated file behind.
    virtual bool WriteWholeFile(const std::string& path, std::string_view bytes) = 0;

    // True when the file can be opened for reading.
    virtual bool CanOpen(const std::string& path) = 0;

    // Every entry of the folder (folderPath without trailing separator); nothing when the
    // folder cannot be listed.
    virtual std::optional<std::vector<DirEntry>> ListFolder(const std::string& folderPath) = 0;

    // The hidden attribute of a file or folder, which marks a resource as not available.
    virtual bool SetHidden(const std::string& path, bool hidden) = 0;
    virtual bool IsHidden(const std::string& path) = 0;

    // --- Installing archives (app/DropFiles.cpp): the current folder and whole files ---
    // The process's current folder, as the system gives it (no trailing separator).
    virtual std::string WorkingDirectory() = 0;
    virtual bool ChangeDirectory(const std::string& path) = 0;
    // Makes one folder (path with or without a trailing separator); true only when it was
    // made now, false when it exists already or cannot be made.
    virtual bool MakeFolder(const std::string& path) = 0;
    // Removes an empty folder; not the process's current folder (Windows refuses that).
    virtual bool RemoveEmptyFolder(const std::string& path) = 0;
    // Copies a file over whatever file of that name is there.
    virtual bool CopyOver(const std::string& from, const std::string& to) = 0;
    virtual bool RemoveFile(const std::string& path) = 0;
};

}  // namespace tc
