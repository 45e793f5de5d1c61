#include "install/InstallRules.h"

#include "common/FileNames.h"
#include "common/Sjis.h"
#include "common/TextReader.h"

namespace tc {

namespace {

constexpr std::size_t kInstallLineBuffer = 1024;

}  // namespace

ArchiveKind ArchiveKindOf(std::string_view fileName) {
    if (fileName.size() < 5) return ArchiveKind::None;
    const std::string_view last = fileName.substr(fileName.size() - 3);
    if (EqualsNoCase(last, "lzh")) return ArchiveKind::Lzh;
    if (EqualsNoCase(last, "zip")) return ArchiveKind::Zip;
    return ArchiveKind::None;
}

DroppedPath SplitDroppedPath(std::string_view path) {
    const std::size_t cut = FindLastSjisChar(path, '\\');
    if (cut == std::string_view::npos) return {std::string(), std::string(path)};
    return {std::string(path.substr(0, cut)), std::string(path.substr(cut + 1))};
}

InstallDescriptor ReadInstallTxt(std::string_view bytes) {
    InstallDescriptor descriptor;
    bool haveType = false, haveFolder = false;
    TextReader reader(bytes);
    std::string line;
    for (int read = 0; read < 2 && reader.ReadLine(line, kInstallLineBuffer); ++read) {
        DropTrailingLineFeed(line);
        if (line.size() < 6) break;
        if (StartsWithNoCase(line, "type,")) {
            if (line.size() == 9 && EqualsNoCase(line.substr(5), "skin")) {
                descriptor.type = InstallType::Skin;
            } else if (line.size() == 13 && EqualsNoCase(line.substr(5), "dropling")) {
                descriptor.type = InstallType::Dropling;
            } else {
                break;
            }
            haveType = true;
            continue;
        }
        if (line.size() < 11) break;
        if (StartsWithNoCase(line, "directory,")) {
            descriptor.folder = line.substr(10);
            haveFolder = true;
        }
    }
    descriptor.valid = haveType && haveFolder;
    return descriptor;
}

bool IsAcceptableFolderName(std::string_view name, std::size_t rootLength) {
    if (name.empty() || rootLength + name.size() + 1 > kMaxInstallFolderPath) return false;
    return name.find("..") == std::string_view::npos && IsSafePart(name);
}

std::string InstalledName(std::string_view nameFileBytes, bool isDropling) {
    std::string name = "[名前取得失敗]";
    if (!isDropling) {
        std::string first = FirstLineOf(nameFileBytes);
        return first.empty() ? name : first;
    }
    TextReader reader(nameFileBytes);
    std::string line;
    while (reader.ReadLine(line, kInstallLineBuffer)) {
        DropTrailingLineFeed(line);
        if (EqualsNoCase(line, "#name")) {
            // A "#name" on the last line names nothing.
            if (reader.ReadLine(line, kInstallLineBuffer)) {
                DropTrailingLineFeed(line);
                name = line;
            }
            break;
        }
    }
    return name;
}

}  // namespace tc
