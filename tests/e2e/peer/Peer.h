// A peer desktop character, as other characters of the family behave: character windows
// (shown or hidden) published in the shared block "Sakura" under its "SakuraFMO" mutex,
// optionally a stand-in for Stand (a 400 x 400 window of class "Texture0" and the mailslot
// \\.\mailslot\Stand). It records every WM_COPYDATA it gets (with the window it went to,
// its dwData, its bytes and the tick count when it came) and every mailslot message, answers
// the talking-state query, sends SSTP requests and asks the rectangle query.
#pragma once

#include <windows.h>

#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace e2e {

struct PeerCharacter {
    std::string id;
    std::string name;
    std::string keroname;
    bool shown = true;
};

struct ReceivedData {
    HWND to = nullptr;
    ULONG_PTR kind = 0;  // dwData
    std::string text;
    DWORD at = 0;  // GetTickCount() when it came
};

class Peer {
public:
    explicit Peer(std::vector<PeerCharacter> characters, bool withStand = false);
    ~Peer();
    Peer(const Peer&) = delete;
    Peer& operator=(const Peer&) = delete;

    HWND Window(const std::string& id) const;
    HWND StandWindow() const { return m_stand; }

    // The answer to the talking-state query ("Sakura", wParam 140): 1 while talking.
    void SetTalking(bool talking) { m_talking = talking; }

    std::vector<ReceivedData> Received() const;
    std::vector<std::string> MailslotMessages() const;

    // Sends an SSTP request to the cat from the first character's window; its answer
    // arrives later as WM_COPYDATA (see Received).
    // From the peer's first window (wParam), or from no window when fromWindow is false.
    LRESULT SendSstp(HWND cat, const std::string& request, bool fromWindow = true) const;

    // Asks the cat for its head rectangle; empty when it did not answer.
    std::string AskRectangle(HWND cat) const;

    // Rewrites the block, e.g. after changing characters.
    void Publish();

private:
    void Run();
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void ReadMailslot();

    std::vector<PeerCharacter> m_characters;
    std::vector<HWND> m_windows;
    bool m_withStand;
    HWND m_stand = nullptr;
    HANDLE m_mailslot = INVALID_HANDLE_VALUE;
    HANDLE m_mapping = nullptr;
    HANDLE m_guard = nullptr;
    HANDLE m_ready = nullptr;
    DWORD m_threadId = 0;
    std::thread m_thread;
    volatile bool m_talking = false;
    mutable std::mutex m_lock;
    std::vector<ReceivedData> m_received;
    std::vector<std::string> m_mailslotMessages;
};

}  // namespace e2e
