// The character window's side of the directory: refreshing it from the "Sakura" block and
// Stand's window, publishing the own block, and answering the rectangle query.
#include <cstdio>

#include "app/TumbleDlg.h"
#include "interop/Directory.h"

namespace tc {

namespace {
NativeHandle HandleOf(std::int32_t hwnd) { return static_cast<NativeHandle>(static_cast<std::intptr_t>(hwnd)); }
}  // namespace

bool CTumbleDlg::IsShown(const SDSakura& entry) { return IsShownStyle(Windows().WindowStyle(HandleOf(entry.hwnd))); }

bool CTumbleDlg::RefreshDirectory() {
    m_sakuraList.clear();
    m_sakuraList.shrink_to_fit();
    m_sakuraCurrent = -1;

    if (const auto text = platform().system.ReadSharedText(kSakuraBlockName, kSakuraGuardMutex, kSakuraTextOffset)) {
        m_sakuraList = ParseSakuraText(*text);
        for (std::size_t i = 0; i < m_sakuraList.size(); ++i) {
            if (IsShown(m_sakuraList[i])) {
                m_sakuraCurrent = static_cast<int>(i);
                break;
            }
        }
    }

    if (const NativeHandle stand = Windows().FindWindowByClass(kStandWindowClass)) {
        const Rect r = Windows().WindowRect(stand);
        if (r.Width() == kStandWindowSide && r.Height() == kStandWindowSide) {
            m_sakuraList.push_back(StandEntry(static_cast<std::int32_t>(stand)));
            if (m_sakuraCurrent == -1) m_sakuraCurrent = 0;
        }
    }
    return !m_sakuraList.empty();
}

void CTumbleDlg::PublishOwnBlock() {
    m_ownBlock = platform().system.CreateSharedBlock(kOwnBlockName, kOwnBlockSize);
    if (m_ownBlock) m_ownBlock->Write(0, FormatOwnBlock(static_cast<std::int32_t>(m_hWnd)));
}

std::intptr_t CTumbleDlg::OnRectangleQuery(std::uintptr_t processId, std::intptr_t address) {
    const HeadRect head = m_surface >= 0 ? m_headRect[static_cast<std::size_t>(m_surface)] : HeadRect{};
    char text[200];
    const int length = std::snprintf(text, sizeof text, "%d,%d,%d,%d", head.left, head.top, head.right, head.bottom);
    const bool written = platform().system.WriteProcessMemory(
        static_cast<std::uint32_t>(processId), static_cast<std::uintptr_t>(address),
        std::string_view(text, static_cast<std::size_t>(length) + 1));
    return written ? 1 : 0;
}

}  // namespace tc
