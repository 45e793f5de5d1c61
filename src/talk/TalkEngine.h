// Greetings, farewells and the conversation with another character, decided here and carried
// out by the character window: no window, no SSTP, no timers. Each call returns what the
// window must do next.
//
// A conversation is a script cut into steps (ParseTalkScript). Each step is started on one
// tick (the cat's line goes to its balloon, the other character's to it by SSTP), waited for
// (the balloon falls silent; or the other character's talking-state query answers 0, and
// 200 ms later timer 5 ends the step), and left on the next tick. After the last step the
// other character is released with "Restore".
//
// Time limits, so that a partner that never falls silent, never answers or vanishes cannot
// hold the conversation (and with it the quit) forever: a step of the other character ends
// after the time its line takes to type plus a margin (at least 5 s, at most 30 s) however
// the query answers, and a conversation stops after 60 s.
//
// A conversation that is cut (a new greeting replaces it, the farewell runs out of time, the
// session ends) releases its partner with "Restore" like one that ran to its end.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "talk/TalkRecord.h"

namespace tc {

constexpr int kPartnerTimerId = 5;
constexpr int kPartnerTimerMs = 200;
constexpr std::uint32_t kPartnerWaitLimitMs = 5000;      // the least a partner's step is given
constexpr std::uint32_t kPartnerStepCeilingMs = 30000;   // the most, whatever its line
constexpr std::uint32_t kPartnerTypingMsPerCharacter = 50;
constexpr std::uint32_t kPartnerStepMarginMs = 2000;
constexpr std::uint32_t kConversationLimitMs = 60000;

struct TalkAction {
    enum Kind {
        None,
        SayLine,          // Say(text) without a sender
        SendScript,       // SendScript(text) to the conversation's partner
        SendQuiet,        // SendCommand 0 "Quiet" to the current other character, who becomes the partner
        SendRestore,      // SendCommand 1 "Restore" to the partner, who is then released
        ArmPartnerTimer,  // SetTimer(kPartnerTimerId, kPartnerTimerMs)
    };
    Kind kind = None;
    std::string text;
    bool operator==(const TalkAction&) const = default;
};

// The script for the partner named partnerName: one of those written for that exact name
// (bytes, case counts) if any, else one of those with an empty target, chosen at random;
// none when neither exists.
std::optional<std::string> PickPartnerScript(const std::vector<STriangleScript>& scripts, std::string_view partnerName);

// Starts playing script; a running conversation must have been cut first. Nothing happens
// while the cat is iconized; the result says whether a conversation started.
bool StartConversation(TalkRecord& talk, std::string_view script, std::uint32_t nowMs, bool iconized);

// Ends a running conversation where it stands: Restore for its partner, None when none runs.
TalkAction CutConversation(TalkRecord& talk);

// How long a step of the other character may last: the typing time of its line (each
// character, and the waits it writes with \w1-\w9 and \_w[ms]), plus a margin, between the
// floor and the ceiling above.
std::uint32_t PartnerStepLimitMs(std::string_view line);

struct StepInputs {
    std::uint32_t nowMs = 0;        // a millisecond tick count; it may wrap
    bool balloonSpeaking = false;   // the balloon's m_speaking
    // The talking-state query (true: the other character still talks). It is a blocking
    // message to another process, so it is asked only while a step of the other character
    // waits for its end, at most once per call; unset counts as "not talking".
    std::function<bool()> partnerTalking;
};

// One tick of timer 3. Returns the one thing to do now.
TalkAction StepConversation(TalkRecord& talk, const StepInputs& inputs);

// Timer 5 fired (the window kills it): the other character's step is over. A timer left over
// from a step that has already ended (a skin change, a new conversation) changes nothing.
void PartnerTimerElapsed(TalkRecord& talk);

enum class TalkOccasion { Welcome, Goodbye };

struct GreetingInputs {
    bool othersPresent = false;              // the refreshed directory holds any character
    std::optional<std::string> partnerName;  // the current character's name, none when there is none
    std::uint32_t nowMs = 0;
    bool iconized = false;
};

// The greeting (at start-up and after a skin change) or the farewell (Quit). A conversation
// still running is cut first (Restore to its partner). With other
// characters present: "Quiet" to the current one, then the conversation with the script
// picked for it; when none is picked or none can start, "Restore" follows at once, so the
// partner told to keep quiet is always released. Alone: one line of the welcome (goodbye)
// alone list, nothing when it is empty. The window carries the actions out in order.
std::vector<TalkAction> BeginGreeting(TalkRecord& talk, TalkOccasion occasion, const GreetingInputs& inputs);

}  // namespace tc
