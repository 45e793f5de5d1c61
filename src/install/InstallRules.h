// Installing a dropped archive, decided without touching anything: which archive kind a
// dropped file is, where its path is cut into folder and file name, what its install.txt
// says, whether the folder name it gives may be used, and which name the install notice says.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tc {

enum class ArchiveKind { None, Lzh, Zip };

// Kind from the file name: at least 5 bytes, the last three l, z, h or z, i, p in any case
// (the dot before them is not looked at).
ArchiveKind ArchiveKindOf(std::string_view fileName);

struct DroppedPath {
    std::string folder;    // before the last backslash (empty when there is none)
    std::string fileName;  // after it
};

// Cuts a dropped path at its last backslash; the second byte of a double-byte character
// is never a cut point.
DroppedPath SplitDroppedPath(std::string_view path);

enum class InstallType { Skin = 0, Dropling = 1 };

struct InstallDescriptor {
    bool valid = false;
    InstallType type = InstallType::Skin;
    std::string folder;
};

// install.txt: its first two lines (read in text mode, 1023 bytes a line), in either order,
// must be "type,skin" or "type,dropling" (exactly, letters in any case) and "directory,"
// followed by the folder name (everything after the comma). A line shorter than 6 bytes, a
// type line of any other form, or another line shorter than 11 bytes ends the reading; any
// other line is ignored but counts as one of the two.
InstallDescriptor ReadInstallTxt(std::string_view bytes);

// The longest folder path Windows makes (MAX_PATH less room for an 8.3 name), in bytes.
inline constexpr std::size_t kMaxInstallFolderPath = 247;

// Whether a folder name from install.txt may name a folder under "skin\" or "dropling\"
// (the root, whose path ending in a backslash is rootLength bytes long): refused when it holds '\',
// '/', ':' or "..", a character no Windows name may hold, ends in '.' or a blank, is empty or
// a device name (CON, NUL, COM1, ...), or when the folder's path with its own trailing
// backslash (rootLength + name + 1 bytes) would be longer than kMaxInstallFolderPath. The
// archive must not choose where outside its folder it writes.
bool IsAcceptableFolderName(std::string_view name, std::size_t rootLength);

// The name the install notice gives the installed item: for a falling-object set the line
// after the first "#name" line (any case) of its dropling.txt, even an empty one and even
// on a last line without a line feed; for a skin the first line of its profile.txt when that
// is not empty. Without one, "[名前取得失敗]".
std::string InstalledName(std::string_view nameFileBytes, bool isDropling);

// The private folder install.txt is first extracted into, under the base directory; a
// number is added when the name is taken.
inline constexpr const char* kInstallWorkFolder = "install.work";
inline constexpr int kInstallWorkTries = 10;

}  // namespace tc
