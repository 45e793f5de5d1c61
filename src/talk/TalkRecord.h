// What the cat says and where a conversation stands: the twelve lists read from speak.txt,
// the steps of the conversation with its step, phase and clocks, and the last line said. The
// character window derives from this record, so these are members of the window as well.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "talk/ScriptText.h"

namespace tc {

// A conversation script and the name of the character it is written for (empty: anyone).
struct STriangleScript {
    std::string target;
    std::string script;  // the other character's part in SSTP script notation, the cat's after "@neko"
    bool operator==(const STriangleScript&) const = default;
};

struct TalkRecord {
    // Conversation scripts, chosen by the partner's name.
    std::vector<STriangleScript> m_scriptWelcome;
    std::vector<STriangleScript> m_scriptGoodbye;

    // Lines said on events, one at random.
    std::vector<std::string> m_msgExecute;                   // after a falling object was launched
    std::vector<std::string> m_msgExecuteAlone;              // a drop with nobody else on the desktop
    std::vector<std::string> m_msgWelcomeAlone;              // greeting with nobody to talk to
    std::vector<std::string> m_msgGoodbyeAlone;              // farewell with nobody to talk to
    std::vector<std::string> m_msgInstallCompleteSkin;       // "@objname" is the new skin's name
    std::vector<std::string> m_msgInstallCompleteDropling;   // "@objname" is the new set's name
    std::vector<std::string> m_msgInstallFailureFiletype;
    std::vector<std::string> m_msgInstallFailureDll;
    std::vector<std::string> m_msgInstallFailureExtract;
    std::vector<std::string> m_msgInstallFailureStructure;

    // Conversation: its steps, the step being played (-1 exactly when none runs) and its
    // phase (0 start the step, 1 wait for its end, 2 go on to the next).
    std::vector<SAITalk> m_talkSequence;
    int m_talkIndex = -1;
    int m_talkPhase = 0;
    // A step was started and its end not yet seen, so the partner's 200 ms timer is armed once
    // per step. There is one character window per program, so the window holds the flag.
    bool m_talkPending = false;
    // Tick counts (ms, wrapping) of the conversation's start and of the current step's start:
    // a partner that never falls silent must not hold the conversation (nor the quit) forever.
    std::uint32_t m_talkStartTime = 0;
    std::uint32_t m_talkStepTime = 0;

    // The last line said and its sender, as the balloon shows them.
    std::string m_lastSaid;
    std::string m_lastSender;
};

}  // namespace tc
