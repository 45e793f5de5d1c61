#include "dropling/TargetWindows.h"

#include <cstring>
#include <memory>

#include "interop/DirectoryRecord.h"

namespace tc {

namespace {

// A region handle deleted when it goes.
struct RegionDeleter {
    void operator()(HRGN region) const { DeleteObject(region); }
};
using OwnedRegion = std::unique_ptr<std::remove_pointer_t<HRGN>, RegionDeleter>;

constexpr std::size_t kAnswerBufferSize = 4096;  // far more than the cat's 200-byte answer

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

std::optional<Rect> AskHeadRect(InterProcess& ipc, NativeHandle cat) {
    // The cat writes into this buffer from its own process while the message is sent.
    auto answer = std::make_unique<char[]>(kAnswerBufferSize);
    std::memset(answer.get(), 0, kAnswerBufferSize);
    const auto written = ipc.SendQuery(cat, kMsgRectangleQuery, GetCurrentProcessId(),
                                       reinterpret_cast<std::intptr_t>(answer.get()), kQueryTimeoutMs);
    if (!written || *written == 0) return std::nullopt;
    const void* nul = std::memchr(answer.get(), '\0', kAnswerBufferSize);
    const std::size_t length = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - answer.get()) : 0;
    return ParseRectangleAnswer(std::string_view(answer.get(), length));
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
