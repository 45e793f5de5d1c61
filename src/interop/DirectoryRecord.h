// The window's view of the other characters: the directory read from the "Sakura" block and
// Stand's window, the current entry, and the own block "Tumblecat" it publishes. The
// character window derives from this record, so these are members of the window as well.
//
// The directory is rebuilt whole by every refresh: code that may receive messages while it
// works (a send pumps incoming WM_COPYDATA, whose handler refreshes) copies what it needs
// out of the list instead of holding references into it.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "interop/Directory.h"
#include "platform/Platform.h"

namespace tc {

struct DirectoryRecord {
    std::vector<SDSakura> m_sakuraList;
    int m_sakuraCurrent = -1;                 // first shown entry, -1 when none
    std::unique_ptr<SharedBlock> m_ownBlock;  // the mapping and its view, released together
};

// A copy of the current entry (see above why a copy); nothing when there is none.
std::optional<SDSakura> CurrentPartner(const DirectoryRecord& directory);

// Whether the entry's window is shown (by its style).
bool IsShown(WindowSystem& windows, const SDSakura& entry);

// Rebuilds the directory from the "Sakura" block and Stand's window; true when it holds any
// entry.
bool RefreshDirectory(DirectoryRecord& directory, InterProcess& ipc, WindowSystem& windows);

// The names of the shown entries, each followed by "^" (the target list of a drop on all).
std::string ShownTargets(const DirectoryRecord& directory, WindowSystem& windows);
// The name of one shown entry at random followed by "^"; empty when none is shown.
std::string RandomShownTarget(const DirectoryRecord& directory, WindowSystem& windows);

// Publishes the own block "Tumblecat" naming window; nothing when it cannot be created.
std::unique_ptr<SharedBlock> PublishOwnBlock(InterProcess& ipc, NativeHandle window);

// The answer to the rectangle query: "left,top,right,bottom" with its NUL.
std::string FormatRectangleAnswer(const Rect& head);

}  // namespace tc
