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
// 5 s after it started however the query answers, and a conversation stops after 60 s.
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
constexpr std::uint32_t kPartnerWaitLimitMs = 5000;
constexpr std::uint32_t kConversationLimitMs = 60000;

struct TalkAction {
    enum Kind {
        None,
        SayLine,          // Say(text) without a sender
        SendScript,       // SendScript(text) to the current other character
        SendQuiet,        // SendCommand 0 "Quiet"
        SendRestore,      // SendCommand 1 "Restore"; from StepConversation: the conversation is over
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

// Starts playing script (replacing a running conversation, whose partner gets no Restore).
// Nothing happens while the cat is iconized; the result says whether a conversation started.
bool StartConversation(TalkRecord& talk, std::string_view script, std::uint32_t nowMs, bool iconized);

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

// The greeting (at start-up and after a skin change) or the farewell (Quit). With other
// characters present: "Quiet" to the current one, then the conversation with the script
// picked for it; when none is picked or none can start, "Restore" follows at once, so the
// partner told to keep quiet is always released. Alone: one line of the welcome (goodbye)
// alone list, nothing when it is empty. The window carries the actions out in order.
std::vector<TalkAction> BeginGreeting(TalkRecord& talk, TalkOccasion occasion, const GreetingInputs& inputs);

}  // namespace tc
