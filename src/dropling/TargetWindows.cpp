#include "dropling/TargetWindows.h"

#include <memory>

#include "interop/DirectoryRecord.h"

namespace tc {

namespace {

// A region handle deleted when it goes.
struct RegionDeleter {
    void operator()(HRGN region) const { DeleteObject(region); }
};
using OwnedRegion = std::unique_ptr<std::remove_pointer_t<HRGN>, RegionDeleter>;

}  // namespace

std::vector<CharacterWindow> ReadCharacterWindows(InterProcess& ipc, WindowSystem& windows) {
    std::vector<CharacterWindow> characters;
    const auto text = ipc.ReadSharedText(kSakuraBlockName, kSakuraGuardMutex, kSakuraTextOffset);
    if (!text) return characters;
    for (const SDSakura& entry : ParseSakuraText(*text)) {
        characters.push_back({entry.name, entry.hwnd, IsShown(windows, entry)});
    }
    return characters;
}

std::int32_t ReadCatWindow(InterProcess& ipc) {
    const auto text = ipc.ReadSharedText(kOwnBlockName, "", kSakuraTextOffset);
    if (!text) return 0;
    const auto entries = ParseSakuraText(*text);
    return entries.empty() ? 0 : entries.front().hwnd;
}

std::optional<Rect> AskHeadRect(Win32InterProcess& ipc, NativeHandle cat) {
    const auto answer = ipc.QueryText(cat, kMsgRectangleQuery, kQueryTimeoutMs);
    return answer ? ParseRectangleAnswer(*answer) : std::nullopt;
}

std::vector<Rect> WindowShapeRects(NativeHandle window) {
    std::vector<Rect> rects;
    OwnedRegion region(CreateRectRgn(0, 0, 0, 0));
    if (!region || GetWindowRgn(reinterpret_cast<HWND>(window), region.get()) == ERROR) return rects;
    const DWORD size = GetRegionData(region.get(), 0, nullptr);
    if (size < sizeof(RGNDATAHEADER)) return rects;
    std::vector<std::uint8_t> buffer(size);
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    if (GetRegionData(region.get(), size, data) != size) return rects;
    const auto* parts = reinterpret_cast<const RECT*>(data->Buffer);
    for (DWORD i = 0; i < data->rdh.nCount && (i + 1) * sizeof(RECT) <= size - sizeof(RGNDATAHEADER); ++i) {
        rects.push_back({parts[i].left, parts[i].top, parts[i].right, parts[i].bottom});
    }
    return rects;
}

}  // namespace tc
