#include "interop/DirectoryRecord.h"

#include "common/Random.h"

namespace tc {

std::optional<SDSakura> CurrentPartner(const DirectoryRecord& directory) {
    if (directory.m_sakuraCurrent < 0) return std::nullopt;
    return directory.m_sakuraList[static_cast<std::size_t>(directory.m_sakuraCurrent)];
}

bool IsShown(WindowSystem& windows, const SDSakura& entry) {
    return IsShownStyle(windows.WindowStyle(WindowHandleOf(entry.hwnd)));
}

bool RefreshDirectory(DirectoryRecord& directory, InterProcess& ipc, WindowSystem& windows) {
    std::vector<SDSakura>& list = directory.m_sakuraList;
    list.clear();
    list.shrink_to_fit();
    directory.m_sakuraCurrent = -1;

    if (const auto text = ipc.ReadSharedText(kSakuraBlockName, kSakuraGuardMutex, kSakuraTextOffset)) {
        list = ParseSakuraText(*text);
        for (std::size_t i = 0; i < list.size(); ++i) {
            if (IsShown(windows, list[i])) {
                directory.m_sakuraCurrent = static_cast<int>(i);
                break;
            }
        }
    }

    if (const NativeHandle stand = windows.FindWindowByClass(kStandWindowClass)) {
        const Rect r = windows.WindowRect(stand);
        if (r.Width() == kStandWindowSide && r.Height() == kStandWindowSide) {
            list.push_back(StandEntry(static_cast<std::int32_t>(stand)));
            if (directory.m_sakuraCurrent == -1) directory.m_sakuraCurrent = 0;
        }
    }
    return !list.empty();
}

std::string ShownTargets(const DirectoryRecord& directory, WindowSystem& windows) {
    std::string targets;
    for (const SDSakura& entry : directory.m_sakuraList) {
        if (IsShown(windows, entry)) targets += entry.name + "^";
    }
    return targets;
}

std::string RandomShownTarget(const DirectoryRecord& directory, WindowSystem& windows) {
    std::vector<const SDSakura*> shown;
    for (const SDSakura& entry : directory.m_sakuraList) {
        if (IsShown(windows, entry)) shown.push_back(&entry);
    }
    if (shown.empty()) return std::string();
    return shown[static_cast<std::size_t>(RandomIndex(static_cast<int>(shown.size())))]->name + "^";
}

std::unique_ptr<SharedBlock> PublishOwnBlock(InterProcess& ipc, NativeHandle window) {
    auto block = ipc.CreateSharedBlock(kOwnBlockName, kOwnBlockSize);
    if (block) block->Write(0, FormatOwnBlock(static_cast<std::int32_t>(window)));
    return block;
}

std::string FormatRectangleAnswer(const Rect& head) {
    std::string text = std::to_string(head.left) + "," + std::to_string(head.top) + "," +
                       std::to_string(head.right) + "," + std::to_string(head.bottom);
    text.push_back('\0');
    return text;
}

}  // namespace tc
