// The files of a skin folder that decide whether a skin can be loaded: its profile.txt and
// the kind (PNG or BMP) of its surfaces.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"
#include "skin/DibImage.h"

namespace tc {

enum class SurfaceKind { None = 0, Bmp = 1, Png = 2 };

// base directory + "skin\" + skin name + "\" + file name.
std::string SkinFilePath(const std::string& baseDirectory, const std::string& skinName, std::string_view fileName);

// profile.txt: the first line is the character's name; every further line is appended to
// the profile followed by CR LF.
void ParseProfile(std::string_view fileBytes, std::string& title, std::string& profile);

// PNG when surface0.png can be opened, else BMP when surface0.bmp can, else None.
SurfaceKind ProbeSurfaceKind(FileSystem& files, const std::string& baseDirectory, const std::string& skinName);

// The first picture of a skin or falling-object set folder (folderPath ends in a backslash):
// surface0.png when it is there, else surface0.bmp, decoded; nothing when neither decodes.
std::optional<DibImage> ReadFirstPicture(FileSystem& files, const std::string& folderPath);

}  // namespace tc
