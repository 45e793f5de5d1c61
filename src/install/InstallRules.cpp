#include "install/InstallRules.h"

#include "common/Sjis.h"
#include "common/TextReader.h"

namespace tc {

namespace {

constexpr std::size_t kInstallLineBuffer = 1024;

bool StartsNoCase(std::string_view text, std::string_view start) {
    return text.size() >= start.size() && EqualsNoCase(text.substr(0, start.size()), start);
}

bool IsDevice(std::string_view name) {
    std::string_view base = name.substr(0, std::min(name.size(), FindSjisChar(name, '.')));
    while (!base.empty() && base.back() == ' ') base.remove_suffix(1);
    for (std::string_view device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$", "CLOCK$"}) {
        if (EqualsNoCase(base, device)) return true;
    }
    if (base.size() == 4 && (StartsNoCase(base, "COM") || StartsNoCase(base, "LPT"))) {
        return base[3] >= '1' && base[3] <= '9';
    }
    return false;
}

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
        if (StartsNoCase(line, "type,")) {
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
        if (StartsNoCase(line, "directory,")) {
            descriptor.folder = line.substr(10);
            haveFolder = true;
        }
    }
    descriptor.valid = haveType && haveFolder;
    return descriptor;
}

bool IsAcceptableFolderName(std::string_view name, std::size_t rootLength) {
    if (name.empty() || rootLength + name.size() + 1 > kMaxInstallFolderPath) return false;
    if (name.find("..") != std::string_view::npos) return false;
    std::size_t last = 0;
    for (std::size_t i = 0; i < name.size(); i += SjisCharWidth(name, i)) {
        last = i;
        if (SjisCharWidth(name, i) == 2) {
            // A lead byte must be followed by a real second byte ("\xFC:" is no character).
            if (!IsSjisTrailByte(static_cast<unsigned char>(name[i + 1]))) return false;
            continue;
        }
        const auto c = static_cast<unsigned char>(name[i]);
        if (IsSjisLeadByte(c) || c < 0x20 || c == 0x7F) return false;
        switch (c) {
        case '\\': case '/': case ':': case '<': case '>': case '"': case '|': case '?': case '*':
            return false;
        default:
            break;
        }
    }
    if (SjisCharWidth(name, last) == 1 && (name[last] == '.' || name[last] == ' ')) return false;
    return !IsDevice(name);
}

std::string InstalledName(std::string_view nameFileBytes, bool isDropling) {
    std::string name = "[名前取得失敗]";
    TextReader reader(nameFileBytes);
    std::string line;
    if (!isDropling) {
        if (reader.ReadLine(line, kInstallLineBuffer)) {
            DropTrailingLineFeed(line);
            if (!line.empty()) name = line;
        }
        return name;
    }
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
