// Skins under skin\ and falling-object sets under dropling\: discovery, availability,
// command ids and display names.
//
// A folder's command id is a base plus its position in the folder enumeration, counting
// every entry returned ("." and ".." and files included). Falling-object sets use 32800 to
// 33823; skins start at 33824. A dropling\ folder with more than 1024 entries would push set
// ids into the skin range, so a set whose position is 1024 or more is left out of the lists
// (it cannot be given a command id of its own).
//
// A folder with the hidden attribute is not available: it is kept in the file set list with
// the mark "× " and left out of the menu list.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"
#include "skin/Element.h"

namespace tc {

enum class ResourceListKind {
    MenuDroplings,     // m_menuDroplings
    FilesetDroplings,  // s_filesetDroplings
    MenuSkins,         // m_menuSkins
    FilesetSkins,      // s_filesetSkins
};

constexpr int kDroplingIdBase = 32800;
constexpr int kSkinIdBase = 33824;
constexpr const char* kDefaultSkinFolder = "whiskerby";
constexpr const char* kMarkAvailable = "○ ";
constexpr const char* kMarkUnavailable = "× ";

// A file set list entry's text is its mark ("○ " or "× ", both three bytes in code page
// 932) and its display name.
constexpr std::size_t kMarkBytes = std::string_view(kMarkAvailable).size();

// The folder holding the sets of that kind: "dropling\" or "skin\" under baseDirectory.
std::string ResourceFolder(const std::string& baseDirectory, ResourceListKind kind);

// The process-wide file set lists.
extern ElementList s_filesetDroplings;
extern ElementList s_filesetSkins;

// Empties list and rebuilds it from the folders under baseDirectory (which ends in a
// backslash), then fills in the display names.
void ScanResources(FileSystem& files, const std::string& baseDirectory, ResourceListKind kind, ElementList& list);

// Fills the text of every entry of list from its folder's name file.
void ReadDisplayNames(FileSystem& files, const std::string& baseDirectory, ResourceListKind kind, ElementList& list);

// Makes entry index of a file set list available ("○ ") when it is marked "× ", and not
// available when it is marked "○ ", by the hidden attribute of its folder. The mark changes
// only when the attribute did, so the list and the folder never disagree. Returns whether
// the attribute changed.
bool ToggleAvailability(FileSystem& files, const std::string& baseDirectory, ResourceListKind kind,
                        ElementList& list, std::size_t index);

// The display name a dropling.txt gives in the lists, if any. Only lines that end in a line
// feed are examined; "#name" (any case) makes the next line the name, and before such a
// marker a line starting with "name," gives the rest after blanks and tabs.
std::optional<std::string> DroplingListName(std::string_view droplingTxt);

}  // namespace tc
