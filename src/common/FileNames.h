// Paths and names of files. Which texts Windows takes as a plain file or folder name. Names come from archives and
// install.txt, which anybody can write, so a name that would reach outside its folder, name
// a device or lose characters on the way is refused instead of changed.
#pragma once

#include <string>
#include <string_view>

namespace tc {

// The folder part of the program's path, with its trailing separator. Works for any file
// name and for either separator, and never splits a double-byte character.
std::string BaseDirectoryFromModulePath(const std::string& modulePath);

// Whether one Shift_JIS part of a path may be a file or folder name: not empty, "." or "..";
// whole characters only; no control character or one of \ / : < > " | ? *; not ending in a
// single-byte '.' or blank (Windows drops them); no device name.
bool IsSafePart(std::string_view part);

// Whether the text is a Windows device name, with or without an extension.
bool IsDeviceName(std::string_view part);

}  // namespace tc
