#include "talk/TalkEngine.h"

#include <algorithm>
#include <climits>

#include "common/Random.h"
#include "common/Sjis.h"
#include "talk/MessageConfig.h"
#include "talk/ScriptText.h"

namespace tc {

namespace {

std::optional<std::string> PickOne(const std::vector<const std::string*>& candidates) {
    const int count = candidates.size() > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(candidates.size());
    const int i = RandomIndex(count);
    if (i == -1) return std::nullopt;
    return *candidates[static_cast<std::size_t>(i)];
}

// Elapsed milliseconds between two readings of a wrapping tick count.
std::uint32_t Since(std::uint32_t start, std::uint32_t now) { return now - start; }

TalkAction Finish(TalkRecord& talk) {
    talk.m_talkIndex = -1;
    talk.m_talkPhase = 0;
    talk.m_talkPending = false;
    return {TalkAction::SendRestore, {}};
}

// The digits of a bracketed argument at text[at] ("[123]"), as a number no larger than cap;
// nullopt when no well-formed argument stands there.
std::optional<std::uint32_t> BracketedNumber(std::string_view text, std::size_t at, std::uint32_t cap) {
    if (at >= text.size() || text[at] != '[') return std::nullopt;
    std::uint32_t value = 0;
    std::size_t i = at + 1;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = std::min<std::uint32_t>(cap, value * 10 + static_cast<std::uint32_t>(text[i] - '0'));
    }
    if (i == at + 1 || i >= text.size() || text[i] != ']') return std::nullopt;
    return value;
}

}  // namespace

std::optional<std::string> PickPartnerScript(const std::vector<STriangleScript>& scripts, std::string_view partnerName) {
    std::vector<const std::string*> named, anyone;
    for (const STriangleScript& entry : scripts) {
        if (entry.target == partnerName) named.push_back(&entry.script);
        if (entry.target.empty()) anyone.push_back(&entry.script);
    }
    return PickOne(named.empty() ? anyone : named);
}

bool StartConversation(TalkRecord& talk, std::string_view script, std::uint32_t nowMs, bool iconized) {
    if (iconized) return false;
    talk.m_talkSequence = ParseTalkScript(script);
    talk.m_talkIndex = 0;
    talk.m_talkPhase = 0;
    talk.m_talkStartTime = nowMs;
    talk.m_talkStepTime = nowMs;
    return true;
}

TalkAction CutConversation(TalkRecord& talk) {
    if (talk.m_talkIndex < 0) return {};
    return Finish(talk);
}

std::uint32_t PartnerStepLimitMs(std::string_view line) {
    std::uint32_t typing = 0;
    for (std::size_t i = 0; i < line.size() && typing < kPartnerStepCeilingMs;) {
        const std::size_t width = SjisCharWidth(line, i);
        if (width == 2 || line[i] != '\\' || i + 1 == line.size()) {
            typing += kPartnerTypingMsPerCharacter;
            i += width;
            continue;
        }
        // A tag: its name and bracketed argument are no text; the waits it asks for count.
        const char name = line[i + 1];
        if (name == 'w' && i + 2 < line.size() && line[i + 2] >= '1' && line[i + 2] <= '9') {
            typing += static_cast<std::uint32_t>(line[i + 2] - '0') * 50;
            i += 3;
            continue;
        }
        const bool twoLetters = name == '_' && i + 2 < line.size();
        i += twoLetters ? 3 : 2;
        if (i < line.size() && line[i] == '[') {
            if (twoLetters && line[i - 1] == 'w') typing += BracketedNumber(line, i, kPartnerStepCeilingMs).value_or(0);
            const std::size_t close = FindSjisChar(line, ']', i);
            i = close == std::string_view::npos ? line.size() : close + 1;
        }
    }
    return std::clamp<std::uint32_t>(typing + kPartnerStepMarginMs, kPartnerWaitLimitMs, kPartnerStepCeilingMs);
}

TalkAction StepConversation(TalkRecord& talk, const StepInputs& inputs) {
    if (talk.m_talkIndex < 0) return {};
    if (Since(talk.m_talkStartTime, inputs.nowMs) >= kConversationLimitMs) return Finish(talk);
    if (static_cast<std::size_t>(talk.m_talkIndex) >= talk.m_talkSequence.size()) return Finish(talk);

    const SAITalk& step = talk.m_talkSequence[static_cast<std::size_t>(talk.m_talkIndex)];
    switch (talk.m_talkPhase) {
        case 0:
            talk.m_talkPhase = 1;
            talk.m_talkPending = true;
            talk.m_talkStepTime = inputs.nowMs;
            return {step.speaker == 0 ? TalkAction::SendScript : TalkAction::SayLine, step.text};
        case 1:
            if (step.speaker != 0) {
                if (!inputs.balloonSpeaking) talk.m_talkPhase = 2;
                return {};
            }
            // Once the timer is armed the query is not asked again.
            if (!talk.m_talkPending) return {};
            if (Since(talk.m_talkStepTime, inputs.nowMs) >= PartnerStepLimitMs(step.text)) {
                talk.m_talkPending = false;
                talk.m_talkPhase = 2;
                return {};
            }
            if (inputs.partnerTalking && inputs.partnerTalking()) return {};
            talk.m_talkPending = false;
            return {TalkAction::ArmPartnerTimer, {}};
        default:
            talk.m_talkPhase = 0;
            ++talk.m_talkIndex;
            if (static_cast<std::size_t>(talk.m_talkIndex) >= talk.m_talkSequence.size()) return Finish(talk);
            return {};
    }
}

void PartnerTimerElapsed(TalkRecord& talk) {
    if (talk.m_talkIndex < 0 || talk.m_talkPhase != 1 || talk.m_talkPending) return;
    const auto index = static_cast<std::size_t>(talk.m_talkIndex);
    if (index < talk.m_talkSequence.size() && talk.m_talkSequence[index].speaker == 0) talk.m_talkPhase = 2;
}

std::vector<TalkAction> BeginGreeting(TalkRecord& talk, TalkOccasion occasion, const GreetingInputs& inputs) {
    const bool welcome = occasion == TalkOccasion::Welcome;
    std::vector<TalkAction> actions;
    if (const TalkAction cut = CutConversation(talk); cut.kind != TalkAction::None) actions.push_back(cut);
    if (!inputs.othersPresent) {
        if (auto line = PickLine(welcome ? talk.m_msgWelcomeAlone : talk.m_msgGoodbyeAlone)) {
            actions.push_back({TalkAction::SayLine, std::move(*line)});
        }
        return actions;
    }
    actions.push_back({TalkAction::SendQuiet, {}});
    std::optional<std::string> script;
    if (inputs.partnerName) script = PickPartnerScript(welcome ? talk.m_scriptWelcome : talk.m_scriptGoodbye, *inputs.partnerName);
    if (!script || !StartConversation(talk, *script, inputs.nowMs, inputs.iconized)) {
        actions.push_back({TalkAction::SendRestore, {}});
    }
    return actions;
}

}  // namespace tc
