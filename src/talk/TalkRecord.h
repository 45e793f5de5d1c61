// What the cat says and where a conversation stands: the lines said on events (from
// speak.txt), the conversation's step and phase, and the last line said. The character
// window derives from this record, so these are members of the window as well.
#pragma once

#include <string>
#include <vector>

namespace tc {

struct TalkRecord {
    // Conversation: the step being said (-1 when none runs) and the phase of the greeting.
    int m_talkIndex = -1;
    int m_talkPhase = 0;

    // Lines said on events.
    std::vector<std::string> m_msgExecute;       // after a falling object was launched
    std::vector<std::string> m_msgExecuteAlone;  // a drop with nobody else on the desktop

    // The last line said and its sender, as the balloon shows them.
    std::string m_lastSaid;
    std::string m_lastSender;
};

}  // namespace tc
