#include "skin/Resources.h"

#include "common/Sjis.h"
#include "common/TextReader.h"

namespace tc {

ElementList s_filesetDroplings;
ElementList s_filesetSkins;

namespace {

constexpr std::size_t kNameLineBuffer = 1024;

bool IsDroplingKind(ResourceListKind kind) {
    return kind == ResourceListKind::MenuDroplings || kind == ResourceListKind::FilesetDroplings;
}

bool IsMenuKind(ResourceListKind kind) {
    return kind == ResourceListKind::MenuDroplings || kind == ResourceListKind::MenuSkins;
}

bool IsLeftOut(const std::string& name, ResourceListKind kind) {
    if (name == "." || name == "..") return true;
    return !IsDroplingKind(kind) && EqualsNoCase(name, kDefaultSkinFolder);
}

struct KeyFiles {
    bool profile = false, dropling = false;
    bool bmp0 = false, bmp1 = false, png0 = false, png1 = false;
};

std::optional<KeyFiles> FindKeyFiles(FileSystem& files, const std::string& folderPath) {
    const auto entries = files.ListFolder(folderPath);
    if (!entries) return std::nullopt;
    KeyFiles found;
    for (const DirEntry& entry : *entries) {
        if (entry.directory) continue;
        const std::string& n = entry.name;
        if (EqualsNoCase(n, "profile.txt")) found.profile = true;
        if (EqualsNoCase(n, "dropling.txt")) found.dropling = true;
        if (EqualsNoCase(n, "surface0.bmp")) found.bmp0 = true;
        if (EqualsNoCase(n, "surface1.bmp")) found.bmp1 = true;
        if (EqualsNoCase(n, "surface0.png")) found.png0 = true;
        if (EqualsNoCase(n, "surface1.png")) found.png1 = true;
    }
    return found;
}

bool IsUsable(const KeyFiles& k, ResourceListKind kind) {
    if (IsDroplingKind(kind)) return k.dropling && (k.bmp0 || k.png0);
    // Both first surfaces must be of one kind.
    return k.profile && ((k.bmp0 && k.bmp1) || (k.png0 && k.png1));
}

void SetDisplayName(SElement& element, ResourceListKind kind, const std::string& name) {
    if (IsMenuKind(kind)) {
        element.text = name;
    } else {
        element.text += name;
    }
}

// Reads the first line of a file, without its line feed.
std::optional<std::string> FirstLine(FileSystem& files, const std::string& path) {
    const auto bytes = files.ReadWholeFile(path);
    if (!bytes) return std::nullopt;
    return FirstLineOf(*bytes);
}

void ReadSkinNames(FileSystem& files, const std::string& folder, ResourceListKind kind, ElementList& list) {
    for (SElement& element : list) {
        const auto name = FirstLine(files, folder + element.folder + "\\profile.txt");
        // The first skin without a name stops the reading: it and the rest keep their text.
        if (!name || name->empty()) return;
        SetDisplayName(element, kind, *name);
    }
}

void ReadDroplingNames(FileSystem& files, const std::string& folder, ResourceListKind kind, ElementList& list) {
    for (SElement& element : list) {
        const auto bytes = files.ReadWholeFile(folder + element.folder + "\\dropling.txt");
        if (!bytes) return;  // it and the rest keep their text
        if (const auto name = DroplingListName(*bytes)) SetDisplayName(element, kind, *name);
    }
}

bool StartsWithNameComma(const std::string& line) { return line.compare(0, 5, "name,") == 0; }

std::string SkipBlanksAndTabs(const std::string& text, std::size_t from) {
    while (from < text.size() && (text[from] == ' ' || text[from] == '\t')) ++from;
    return text.substr(from);
}

}  // namespace

std::string ResourceFolder(const std::string& baseDirectory, ResourceListKind kind) {
    return baseDirectory + (IsDroplingKind(kind) ? "dropling\\" : "skin\\");
}

std::optional<std::string> DroplingListName(std::string_view droplingTxt) {
    TextReader reader(droplingTxt);
    std::string line;
    bool markerSeen = false;
    while (reader.ReadLine(line, kNameLineBuffer) && !reader.AtEnd()) {
        DropTrailingLineFeed(line);
        if (EqualsNoCase(line, "#name")) {
            markerSeen = true;  // a repeated marker only repeats it
        } else if (markerSeen) {
            return line;
        } else if (StartsWithNameComma(line)) {
            return SkipBlanksAndTabs(line, 5);
        }
    }
    return std::nullopt;
}

bool ToggleAvailability(FileSystem& files, const std::string& baseDirectory, ResourceListKind kind,
                        ElementList& list, std::size_t index) {
    if (index >= list.size()) return false;
    SElement& entry = list[index];
    const std::string_view markAvailable = kMarkAvailable;
    const bool available = entry.text.compare(0, markAvailable.size(), markAvailable) == 0;
    const std::string folder = ResourceFolder(baseDirectory, kind) + entry.folder;
    if (!files.SetHidden(folder, available) || files.IsHidden(folder) != available) return false;
    const std::string name = entry.text.size() >= markAvailable.size() ? entry.text.substr(markAvailable.size()) : "";
    entry.text = (available ? kMarkUnavailable : kMarkAvailable) + name;
    return true;
}

void ScanResources(FileSystem& files, const std::string& baseDirectory, ResourceListKind kind, ElementList& list) {
    list.clear();
    list.shrink_to_fit();
    const std::string folder = ResourceFolder(baseDirectory, kind);
    const auto entries = files.ListFolder(folder.substr(0, folder.size() - 1));
    if (!entries) return;

    const int idBase = IsDroplingKind(kind) ? kDroplingIdBase : kSkinIdBase;
    const int positionLimit = IsDroplingKind(kind) ? kSkinIdBase - kDroplingIdBase : 0x10000 - kSkinIdBase;
    for (int position = 0; position < static_cast<int>(entries->size()) && position < positionLimit; ++position) {
        const DirEntry& entry = (*entries)[position];
        if (!entry.directory || IsLeftOut(entry.name, kind)) continue;
        if (IsMenuKind(kind) && entry.hidden) continue;
        SElement element;
        element.commandId = idBase + position;
        element.folder = entry.name;
        element.text = IsMenuKind(kind) ? entry.name : (entry.hidden ? kMarkUnavailable : kMarkAvailable);
        list.push_back(std::move(element));
    }

    for (std::size_t i = list.size(); i-- > 0;) {
        const auto keys = FindKeyFiles(files, folder + list[i].folder);
        if (!keys || !IsUsable(*keys, kind)) list.erase(list.begin() + static_cast<std::ptrdiff_t>(i));
    }
    ReadDisplayNames(files, baseDirectory, kind, list);
}

void ReadDisplayNames(FileSystem& files, const std::string& baseDirectory, ResourceListKind kind, ElementList& list) {
    const std::string folder = ResourceFolder(baseDirectory, kind);
    if (IsDroplingKind(kind)) {
        ReadDroplingNames(files, folder, kind, list);
    } else {
        ReadSkinNames(files, folder, kind, list);
    }
}

}  // namespace tc
