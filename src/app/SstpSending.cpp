// Requests to the other character of a conversation: scripts and the commands Quiet and Restore as
// SSTP over WM_COPYDATA, lines to Stand through the mailslots, and the talking-state query.
// Every wait is bounded, so a hung or vanished character cannot freeze the cat.
#include "app/TumbleDlg.h"
#include "interop/SstpOutgoing.h"

namespace tc {

namespace {
constexpr int kQueryTimeoutMs = 1000;
constexpr int kStandAnswerTimeoutMs = 1000;

}  // namespace

bool CTumbleDlg::SendCommand(int command, const SDSakura& partner) {
    if (IsStandEntry(partner)) return false;
    // The directory is written by other programs: a value there that is no window (the
    // broadcast handle, say) gets nothing.
    if (!Windows().IsWindow(WindowHandleOf(partner.hwnd))) return false;
    SendSstp(WindowHandleOf(partner.hwnd),
             FormatCommandRequest(command == 0 ? SstpCommand::Quiet : SstpCommand::Restore,
                                  static_cast<std::int32_t>(m_hWnd)));
    return true;
}

bool CTumbleDlg::SendScript(const std::string& script, const SDSakura& partner) {
    if (IsStandEntry(partner)) {
        return platform().ipc.ExchangeMailslot(kOwnMailslotName, kStandMailslotName, FormatStandLine(script),
                                               kStandAnswerTimeoutMs);
    }
    SendSstp(WindowHandleOf(partner.hwnd), FormatScriptRequest(script, static_cast<std::int32_t>(m_hWnd)));
    return true;
}

// Bounded, so a hung receiver cannot freeze the cat; a receiver that does not take it in
// time simply misses it. Never broadcast.
void CTumbleDlg::SendSstp(NativeHandle to, const std::string& text) {
    if (!IsAddressable(to)) return;
    platform().ipc.SendCopyData(to, m_hWnd, kSstpCopyDataId, text, kSstpSendTimeoutMs);
}

// A character that does not answer in time counts as silent; the talk engine bounds the
// wait of each step as well.
bool CTumbleDlg::PartnerTalking(const SDSakura& partner) {
    const NativeHandle window = WindowHandleOf(partner.hwnd);
    if (IsStandEntry(partner) || !IsAddressable(window)) return false;
    const auto answer = platform().ipc.SendQuery(window, m_talkQueryMessage,
                                                 kTalkingQueryWParam, 0, kQueryTimeoutMs);
    return answer.value_or(0) != 0;
}

}  // namespace tc
