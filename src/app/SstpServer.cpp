// Requests other programs send the cat over WM_COPYDATA: SEND shows a script in the
// balloon, EXECUTE answers questions about the cat, DROP drops a set on a character. Every
// request that names a window to answer to gets exactly one answer there.
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

    // Answers go back in the request's charset (a Shift_JIS request gets the bytes unchanged).
    std::string answer;
    switch (request.kind) {
    case SstpKind::None:
        answer = EncodeSstpAnswer(request.unknownCharset ? kAnswerBadRequest : kAnswerNotImplemented, request.charset);
        break;
    case SstpKind::Send:
        answer = EncodeSstpAnswer(AnswerSend(request), request.charset);
        break;
    case SstpKind::Execute:
        answer = AnswerExecute(request);
        break;
    case SstpKind::Drop:
        answer = EncodeSstpAnswer(AnswerDrop(request), request.charset);
        break;
    }
    if (*replyTo != 0) SendSstp(*replyTo, answer);
    return 1;
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
