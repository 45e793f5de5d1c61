// Requests other programs send the cat over WM_COPYDATA or SSTP over TCP: SEND shows a
// script in the balloon, EXECUTE answers questions about the cat, DROP drops a set on a
// character, NOTIFY is taken without an answer of substance. Every WM_COPYDATA request that
// names a window to answer to gets exactly one answer there; a TCP request gets it on its
// connection.
#include "app/Drop.h"
#include "app/TumbleDlg.h"
#include "common/Random.h"
#include "common/Sjis.h"
#include "interop/SstpOutgoing.h"
#include "interop/SstpIncoming.h"
#include "talk/ScriptText.h"

namespace tc {

namespace {

const SElement* FindByText(const ElementList& list, std::string_view text) {
    for (const SElement& element : list) {
        if (EqualsNoCase(element.text, text)) return &element;
    }
    return nullptr;
}

}  // namespace

bool CTumbleDlg::OnCopyData(NativeHandle sender, std::string_view bytes) {
    // The sender's buffer lives only as long as this message; answers to the cat's own
    // requests arrive here too and are not handled further.
    const std::string text(CopyDataText(bytes));
    if (!text.empty() && !IsSstpAnswer(text)) HandleSstpRequest(text, sender);
    return true;
}

// The window the answer goes to. A request that names a window the cat may not answer to
// (not a window, or every window) does nothing at all: any program can name any window.
// Without an HWnd line the answer goes to the window that sent the request, and a SEND
// that names neither is still shown. A question that names its window is answered without
// asking first whether that is a window: an answer to no window goes nowhere, and asking
// would cost every question a round trip to the window server.
std::optional<NativeHandle> CTumbleDlg::ReplyWindowFor(const SstpRequest& request, NativeHandle sender) {
    const bool acts = request.kind == SstpKind::Send || request.kind == SstpKind::Drop;
    const NativeHandle named = WindowHandleOf(request.replyWindow);
    if (request.replyWindow != 0 && !acts) return IsAddressable(named) ? std::optional(named) : std::nullopt;
    const NativeHandle window =
        ChooseReplyWindow(request.replyWindow, sender, [this](NativeHandle w) { return Windows().IsWindow(w); });
    if (window != 0) return window;
    if (request.replyWindow == 0 && request.kind == SstpKind::Send) return NativeHandle{0};  // shown, not answered
    return std::nullopt;
}

int CTumbleDlg::HandleSstpRequest(const std::string& text, NativeHandle sender) {
    const SstpRequest request = ParseSstpRequest(text);
    const std::optional<NativeHandle> replyTo = ReplyWindowFor(request, sender);
    if (!replyTo) return 0;
    const std::string answer = AnswerSstpRequest(request);
    if (*replyTo != 0) SendSstp(*replyTo, answer);
    return 1;
}

// Answers go back in the request's charset (a Shift_JIS request gets the bytes unchanged).
std::string CTumbleDlg::AnswerSstpRequest(const SstpRequest& request) {
    switch (request.kind) {
    case SstpKind::None:
        return EncodeSstpAnswer(request.unknownCharset ? kAnswerBadRequest : kAnswerNotImplemented, request.charset);
    case SstpKind::Send:
        return EncodeSstpAnswer(AnswerSend(request), request.charset);
    case SstpKind::Execute:
        return AnswerExecute(request);
    case SstpKind::Drop:
        return EncodeSstpAnswer(AnswerDrop(request), request.charset);
    case SstpKind::Notify:
        return EncodeSstpAnswer(kAnswerNoContent, request.charset);
    }
    return std::string(kAnswerNotImplemented);
}

// SSTP over TCP: the same requests, answered on the connection they came on (an HWnd line
// changes nothing). A request too long to be one gets 400; an answer gets none.
std::optional<std::string> CTumbleDlg::OnTcpRequest(std::string_view received, bool ended) {
    const std::optional<TcpRequest> request = CompleteTcpRequest(received, ended);
    if (!request) return std::nullopt;
    if (request->tooLong) return std::string(kAnswerBadRequest);
    if (request->text.empty() || IsSstpAnswer(request->text)) return std::string();
    return AnswerSstpRequest(ParseSstpRequest(request->text));
}

// The door on 127.0.0.1:9801, open while the settings want it. When the port is taken (a
// baseware program listens there), the cat goes without: WM_COPYDATA still reaches it.
void CTumbleDlg::OpenSstpDoor() {
    m_sstpDoor.reset();
    if (!m_sstpTcpDoor) return;
    const DoorBounds bounds{kSstpTcpMaxConnections, kSstpTcpMaxRequestBytes, kSstpTcpTimeLimitMs};
    m_sstpDoor = platform().network.OpenLoopbackDoor(
        kSstpTcpPort, bounds, [this](std::string_view received, bool ended) { return OnTcpRequest(received, ended); });
}

std::string CTumbleDlg::AnswerSend(const SstpRequest& request) {
    if (request.argument.empty() || request.sender.empty()) return std::string(kAnswerBadRequest);
    if (m_iconized) return std::string(kAnswerInvisible);
    Say(request.argument, request.sender);
    return std::string(kAnswerOk);
}

// Already in the request's charset: the object list is measured in the bytes it is sent in.
std::string CTumbleDlg::AnswerExecute(const SstpRequest& request) {
    if (request.argument.empty() || request.sender.empty()) return EncodeSstpAnswer(kAnswerBadRequest, request.charset);
    switch (ParseExecuteCommand(request.argument)) {
    case ExecuteCommand::GetName:
        return EncodeSstpAnswer(FormatNameAnswer(m_skinTitle), request.charset);
    case ExecuteCommand::GetVersion:
        return EncodeSstpAnswer(FormatValueAnswer(m_version), request.charset);
    case ExecuteCommand::GetObjectList: {
        std::vector<std::string> names;
        for (const SElement& set : m_menuDroplings) names.push_back(set.text);
        return FormatObjectListAnswer(names, request.charset);
    }
    case ExecuteCommand::Unknown:
        break;
    }
    return EncodeSstpAnswer(kAnswerBadRequest, request.charset);
}

std::string CTumbleDlg::AnswerDrop(const SstpRequest& request) {
    if (m_iconized) return std::string(kAnswerInvisible);

    std::string target;
    if (EqualsNoCase(request.argument, kTargetRandom) || EqualsNoCase(request.argument, kTargetAll)) {
        target = request.argument;
    } else {
        if (!RefreshDirectory()) return std::string(kAnswerBadRequest);
        for (const SDSakura& entry : m_sakuraList) {
            if (EqualsNoCase(entry.name, request.argument)) {
                target = entry.name;
                break;
            }
        }
        if (target.empty()) return std::string(kAnswerBadRequest);
    }

    // A copy: the drop below may pump messages that rebuild the list.
    std::optional<std::string> folder;
    if (EqualsNoCase(request.object, kTargetRandom)) {
        const int i = RandomIndex(static_cast<int>(m_menuDroplings.size()));
        if (i != -1) folder = m_menuDroplings[static_cast<std::size_t>(i)].folder;
    } else if (const SElement* set = FindByText(m_menuDroplings, request.object)) {
        folder = set->folder;
    }
    if (!folder) return std::string(kAnswerBadRequest);  // also %rnd with no set at all

    // The target holds for this one drop; the settings' target is put back after it.
    const std::string kept = m_target;
    m_target = target;
    const bool dropped = Drop(*folder);
    m_target = kept;
    return std::string(dropped ? kAnswerOk : kAnswerConflict);
}

}  // namespace tc
