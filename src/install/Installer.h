// One whole install of a dropped archive, from the dropped path to its outcome: the window
// only says the outcome's line and rebuilds the lists it names (app/DropFiles.cpp).
//
// - The archiver library is loaded from the program's folder by its full path, never by its
//   bare name (a library of that name beside a downloaded archive is never taken).
// - install.txt is extracted into a private folder of our own under the base directory
//   (never into the archive's folder, where it would replace and then carry off a user's
//   file), removed with everything in it on every path; the folder name it gives must be a
//   plain name (IsAcceptableFolderName).
// - The archive is extracted straight from the dropped file into the destination (no copy of
//   it is made, and nothing the install did not create is ever removed).
// - What arrived is checked before success is announced: the new folder must be listed in
//   its kind's list and its first picture must decode; otherwise the install counts as a
//   structure failure and a folder this install made is removed again, leaving every other
//   skin or set as it was.
// After every attempt the current folder is the base directory.
#pragma once

#include <functional>
#include <string>

#include "install/InstallRules.h"
#include "platform/Controls.h"
#include "platform/FileSystem.h"
#include "platform/Libraries.h"

namespace tc {

enum class InstallLine { None, Filetype, Dll, Extract, Structure, Complete };

struct InstallOutcome {
    InstallLine line = InstallLine::None;
    InstallType type = InstallType::Skin;
    std::string folder;       // the installed folder's name (Complete)
    std::string destination;  // its path, ending in a backslash (Complete)
    // The lists of the installed type are to be rebuilt (Complete).
    bool rebuildLists() const { return line == InstallLine::Complete; }
};

// Whether a folder that just arrived can be used: listed in its kind's list and its first
// picture decodes. The window's side knows the lists and pictures; the install asks.
using InstalledFolderCheck =
    std::function<bool(InstallType type, const std::string& folder, const std::string& destination)>;

struct InstallContext {
    FileSystem& files;
    Libraries& libraries;
    Controls& controls;
    NativeHandle owner = 0;
    std::string baseDirectory;  // the program's folder, ending in a backslash
    InstalledFolderCheck isUsable;
};

// Runs the install of the dropped file (only the first file of a drop is given).
InstallOutcome RunInstall(const InstallContext& context, const std::string& droppedPath);

}  // namespace tc
