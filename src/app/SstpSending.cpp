// Requests to the current other character: scripts and the commands Quiet and Restore as
// SSTP over WM_COPYDATA, lines to Stand through the mailslots, and the talking-state query.
// Every wait is bounded, so a hung or vanished character cannot freeze the cat.
#include "app/TumbleDlg.h"
#include "interop/SstpRequests.h"

namespace tc {

namespace {
constexpr int kQueryTimeoutMs = 1000;
constexpr int kStandAnswerTimeoutMs = 1000;

}  // namespace

bool CTumbleDlg::SendCommand(int command) {
    if (m_sakuraCurrent < 0) return false;
    // A copy of the entry: the send below lets incoming requests refresh the directory.
    const SDSakura partner = m_sakuraList[static_cast<std::size_t>(m_sakuraCurrent)];
    if (IsStandEntry(partner)) return false;
    const std::string request = FormatCommandRequest(command == 0 ? SstpCommand::Quiet : SstpCommand::Restore,
                                                     static_cast<std::int32_t>(m_hWnd));
    platform().ipc.SendCopyData(WindowHandleOf(partner.hwnd), m_hWnd, kSstpCopyDataId, request, kSstpSendTimeoutMs);
    return true;
}

bool CTumbleDlg::SendScript(const std::string& script) {
    if (m_sakuraCurrent < 0) return false;
    const SDSakura partner = m_sakuraList[static_cast<std::size_t>(m_sakuraCurrent)];
    if (IsStandEntry(partner)) {
        return platform().ipc.ExchangeMailslot(kOwnMailslotName, kStandMailslotName, FormatStandLine(script),
                                               kStandAnswerTimeoutMs);
    }
    const std::string request = FormatScriptRequest(script, static_cast<std::int32_t>(m_hWnd));
    platform().ipc.SendCopyData(WindowHandleOf(partner.hwnd), m_hWnd, kSstpCopyDataId, request, kSstpSendTimeoutMs);
    return true;
}

// A character that does not answer in time counts as silent; the talk engine bounds the
// wait of each step as well.
bool CTumbleDlg::PartnerTalking() {
    if (m_sakuraCurrent < 0) return false;
    const SDSakura partner = m_sakuraList[static_cast<std::size_t>(m_sakuraCurrent)];
    if (IsStandEntry(partner)) return false;
    const auto answer = platform().ipc.SendQuery(WindowHandleOf(partner.hwnd), m_talkQueryMessage, kTalkingQueryWParam, 0,
                                                 kQueryTimeoutMs);
    return answer.value_or(0) != 0;
}

}  // namespace tc
