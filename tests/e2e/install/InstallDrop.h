// What the install tests need beyond the cat harness: Unix programs run from inside Wine
// (the archive maker and the drop), and a real drop of files on the cat's window.
//
// The drop is the one a Linux desktop makes: xdnd_drop.py offers the files' Unix paths as
// text/uri-list to the cat's X window through the XDND protocol; Wine's X11 driver turns a
// drop on a window that accepts files and has no OLE drop target into WM_DROPFILES with the
// Windows paths, in the cat's own process. (Wine's OLE DoDragDrop drops only on registered
// OLE drop targets, and a WM_DROPFILES posted from another process carries no usable drop
// handle, so neither reaches a plain DragAcceptFiles window.)
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

// The Unix path (UTF-8) of a Windows path (Shift_JIS); empty when it has none.
std::string UnixPathOf(const std::string& windowsPath);

// Runs a Unix program with its arguments and waits for it; true when it ran and exited 0.
bool RunUnixProgram(const std::vector<std::string>& argv);

// Makes the test archives of make_archives.py in folder (a Windows path ending in '\').
bool MakeTestArchives(const std::string& folder);

// Drops files (Windows paths) on window at a point of its client area, through XDND; true
// when the window took the drop and said it was finished.
bool DropFilesOn(HWND window, POINT client, const std::vector<std::string>& files);

// The cat's balloon while it shows: a visible top-level window of the cat's process other
// than the cat; null when none shows.
HWND ShownBalloon(HWND cat);

}  // namespace e2e
