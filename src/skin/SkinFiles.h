// The files of a skin folder that decide whether a skin can be loaded: its profile.txt and
// the kind (PNG or BMP) of its surfaces.
#pragma once

#include <string>
#include <string_view>

#include "platform/FileSystem.h"

namespace tc {

enum class SurfaceKind { None = 0, Bmp = 1, Png = 2 };

// base directory + "skin\" + skin name + "\" + file name.
std::string SkinFilePath(const std::string& baseDirectory, const std::string& skinName, std::string_view fileName);

// profile.txt: the first line is the character's name; every further line is appended to
// the profile followed by CR LF.
void ParseProfile(std::string_view fileBytes, std::string& title, std::string& profile);

// PNG when surface0.png can be opened, else BMP when surface0.bmp can, else None.
SurfaceKind ProbeSurfaceKind(FileSystem& files, const std::string& baseDirectory, const std::string& skinName);

}  // namespace tc
