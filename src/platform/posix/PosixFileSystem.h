// Files for the native build, on a real POSIX file system. Paths arrive in the Windows form
// the core builds (backslash separators, Shift_JIS names) and are mapped to '/' here.
//
// POSIX has no hidden attribute, so a hidden folder is represented by a marker file named
// ".tumblecat-hidden" inside it. The marker survives between runs, is not listed, and is the
// only record of the attribute, just as the attribute is on Windows. Files cannot be hidden.
//
// Listings imitate FindFirstFileA on NTFS: "." and ".." first, then the names in byte order.
#pragma once

#include "platform/Platform.h"

namespace tc {

class PosixFileSystem : public FileSystem {
public:
    static constexpr const char* kHiddenMarker = ".tumblecat-hidden";

    std::optional<std::string> ReadWholeFile(const std::string& path) override;
    bool WriteWholeFile(const std::string& path, std::string_view bytes) override;
    bool CanOpen(const std::string& path) override;
    std::optional<std::vector<DirEntry>> ListFolder(const std::string& folderPath) override;
    bool SetHidden(const std::string& path, bool hidden) override;
    bool IsHidden(const std::string& path) override;

    std::string WorkingDirectory() override;
    bool ChangeDirectory(const std::string& path) override;
    bool MakeFolder(const std::string& path) override;
    bool RemoveEmptyFolder(const std::string& path) override;
    bool CopyOver(const std::string& from, const std::string& to) override;
    bool RemoveFile(const std::string& path) override;

    // The POSIX form of a Windows-form path.
    static std::string ToNativePath(const std::string& path);
};

}  // namespace tc
