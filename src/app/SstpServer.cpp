// Requests other programs send the cat over WM_COPYDATA: SEND shows a script in the
// balloon, EXECUTE answers questions about the cat, DROP drops a set on a character. Every
// request that names a window to answer to gets exactly one answer there.
#include "app/Drop.h"
#include "app/TumbleDlg.h"
#include "common/Random.h"
#include "common/Sjis.h"
#include "interop/SstpRequests.h"
#include "interop/SstpServer.h"
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

bool CTumbleDlg::OnCopyData(NativeHandle /*sender*/, std::string_view bytes) {
    // The sender's buffer lives only as long as this message; answers to the cat's own
    // requests arrive here too and are not handled further.
    const std::string text(CopyDataText(bytes));
    if (!text.empty() && !IsSstpAnswer(text)) HandleSstpRequest(text);
    return true;
}

int CTumbleDlg::HandleSstpRequest(const std::string& text) {
    const SstpRequest request = ParseSstpRequest(text);
    // Any program can name any window: a request that acts does nothing unless that is a
    // window. A question is only answered; an answer to no window goes nowhere, and asking the
    // window system first would cost every question a round trip.
    const NativeHandle replyTo = WindowHandleOf(request.replyWindow);
    if (!IsAddressable(replyTo)) return 0;  // no window, or every window
    const bool acts = request.kind == SstpKind::Send || request.kind == SstpKind::Drop;
    if (acts && !Windows().IsWindow(replyTo)) return 0;

    std::string answer;
    switch (request.kind) {
    case SstpKind::None:
        answer = kAnswerNotImplemented;
        break;
    case SstpKind::Send:
        answer = AnswerSend(request);
        break;
    case SstpKind::Execute:
        answer = AnswerExecute(request);
        break;
    case SstpKind::Drop:
        answer = AnswerDrop(request);
        break;
    }
    SendSstp(replyTo, answer);
    return 1;
}

std::string CTumbleDlg::AnswerSend(const SstpRequest& request) {
    if (request.argument.empty() || request.sender.empty()) return std::string(kAnswerBadRequest);
    if (m_iconized) return std::string(kAnswerInvisible);
    std::string script = request.argument;
    CleanMessage(script);
    Say(script, request.sender);
    return std::string(kAnswerOk);
}

std::string CTumbleDlg::AnswerExecute(const SstpRequest& request) {
    if (request.argument.empty() || request.sender.empty()) return std::string(kAnswerBadRequest);
    switch (ParseExecuteCommand(request.argument)) {
    case ExecuteCommand::GetName:
        return FormatNameAnswer(m_skinTitle);
    case ExecuteCommand::GetVersion:
        return FormatValueAnswer(m_version);
    case ExecuteCommand::GetObjectList: {
        std::vector<std::string> names;
        for (const SElement& set : m_menuDroplings) names.push_back(set.text);
        return FormatObjectListAnswer(names);
    }
    case ExecuteCommand::Unknown:
        break;
    }
    return std::string(kAnswerBadRequest);
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
