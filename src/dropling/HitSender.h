// Tells hit characters, on a thread of its own so that a slow character never stops the
// other objects: a request goes as WM_COPYDATA (dwData 9801, given up after 1000 ms or at
// once when the character hangs) to the character's window, or over TCP to 127.0.0.1 on the
// SSTP port when it has no window (connecting, writing and reading the answer each given up
// after 1000 ms). Answers are not used.
//
// The thread's state is shared with it, so a program that must end while a send is still
// under way can leave the thread behind (the process ending ends it).
#pragma once

#include <memory>
#include <string>
#include <thread>

#include "platform/Geometry.h"

namespace tc {

constexpr int kHitSendTimeoutMs = 1000;

class HitSender {
public:
    // replyWindow: the window named in requests, passed as the sender of WM_COPYDATA.
    explicit HitSender(NativeHandle replyWindow);
    ~HitSender();
    HitSender(const HitSender&) = delete;
    HitSender& operator=(const HitSender&) = delete;

    void SendToWindow(NativeHandle target, std::string request);
    void SendOverTcp(int port, std::string request);

    // True when every request handed over has been sent (or given up).
    bool Idle() const;

    struct State;

private:
    std::shared_ptr<State> m_state;
    std::thread m_thread;
};

}  // namespace tc
