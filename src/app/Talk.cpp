// Making the cat speak. Lines go to the speech balloon, which is not shown while the cat is
// hidden or a skin is loading.
#include "app/TumbleDlg.h"
#include "common/Random.h"

namespace tc {

void CTumbleDlg::Say(const std::string& text, const std::string& sender) {
    if (m_iconized || m_loading) return;  // the text is dropped
    m_lastSaid = text;
    m_lastSender = sender;
}

void CTumbleDlg::SayRandomLine(const std::vector<std::string>& lines) {
    const int i = RandomIndex(static_cast<int>(lines.size()));
    if (i != -1) Say(lines[static_cast<std::size_t>(i)]);
}

// The welcome conversation with another character, or a welcome line when alone, is the
// talk engine's; without it the cat starts silently.
void CTumbleDlg::Greet() {}

}  // namespace tc
