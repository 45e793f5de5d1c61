// The character window's side of the other characters: refreshing the directory, the own
// block, and answering the rectangle query.
#include "app/TumbleDlg.h"

namespace tc {

bool CTumbleDlg::RefreshDirectory() { return tc::RefreshDirectory(*this, platform().ipc, Windows()); }

bool CTumbleDlg::IsShown(const SDSakura& entry) { return tc::IsShown(Windows(), entry); }

void CTumbleDlg::PublishOwnBlock() { m_ownBlock = tc::PublishOwnBlock(platform().ipc, m_hWnd); }

// Writes the head rectangle of the shown surface into the asking process at address.
std::intptr_t CTumbleDlg::OnRectangleQuery(std::uintptr_t processId, std::intptr_t address) {
    const HeadRect head = m_surface >= 0 ? m_headRect[static_cast<std::size_t>(m_surface)] : HeadRect{};
    const bool written = platform().ipc.WriteProcessMemory(static_cast<std::uint32_t>(processId),
                                                           static_cast<std::uintptr_t>(address),
                                                           FormatRectangleAnswer({head.left, head.top, head.right,
                                                                                  head.bottom}));
    return written ? 1 : 0;
}

}  // namespace tc
