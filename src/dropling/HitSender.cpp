// winsock2.h must come before windows.h, which the own header brings in.
#include <winsock2.h>

#include "dropling/HitSender.h"

#include <condition_variable>
#include <deque>
#include <mutex>

#include "interop/SstpOutgoing.h"
#include "platform/win32/Win32Platform.h"

namespace tc {

namespace {

struct Job {
    NativeHandle target = 0;  // 0: over TCP
    int port = 0;
    std::string request;
};

// A socket closed when it goes.
class Socket {
public:
    Socket() : m_socket(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP)) {}
    ~Socket() {
        if (m_socket != INVALID_SOCKET) closesocket(m_socket);
    }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    SOCKET Get() const { return m_socket; }
    explicit operator bool() const { return m_socket != INVALID_SOCKET; }

private:
    SOCKET m_socket;
};

class WinsockScope {
public:
    WinsockScope() { m_started = WSAStartup(MAKEWORD(2, 2), &m_data) == 0; }
    ~WinsockScope() {
        if (m_started) WSACleanup();
    }
    WinsockScope(const WinsockScope&) = delete;
    WinsockScope& operator=(const WinsockScope&) = delete;
    explicit operator bool() const { return m_started; }

private:
    WSADATA m_data{};
    bool m_started = false;
};

bool WaitWritable(SOCKET s, int milliseconds) {
    fd_set writable;
    FD_ZERO(&writable);
    FD_SET(s, &writable);
    fd_set failed;
    FD_ZERO(&failed);
    FD_SET(s, &failed);
    timeval wait{milliseconds / 1000, (milliseconds % 1000) * 1000};
    return select(0, nullptr, &writable, &failed, &wait) > 0 && FD_ISSET(s, &writable);
}

// Connects without blocking for longer than the bound, then sends and reads with the bound.
void SendOverTcp(int port, const std::string& request) {
    WinsockScope winsock;
    if (!winsock) return;
    Socket s;
    if (!s) return;
    u_long nonBlocking = 1;
    ioctlsocket(s.Get(), FIONBIO, &nonBlocking);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<u_short>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const int connected = connect(s.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address);
    if (connected != 0 && (WSAGetLastError() != WSAEWOULDBLOCK || !WaitWritable(s.Get(), kHitSendTimeoutMs))) return;
    u_long blocking = 0;
    ioctlsocket(s.Get(), FIONBIO, &blocking);
    const DWORD timeout = kHitSendTimeoutMs;
    setsockopt(s.Get(), SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&timeout), sizeof timeout);
    setsockopt(s.Get(), SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof timeout);
    if (send(s.Get(), request.data(), static_cast<int>(request.size()), 0) != static_cast<int>(request.size())) return;
    shutdown(s.Get(), SD_SEND);
    char answer[512];
    recv(s.Get(), answer, sizeof answer, 0);
}

}  // namespace

struct HitSender::State {
    NativeHandle replyWindow = 0;
    Win32InterProcess ipc;
    mutable std::mutex lock;
    std::condition_variable wake;
    std::deque<Job> jobs;
    bool busy = false;
    bool stopping = false;
};

namespace {

void Serve(const std::shared_ptr<HitSender::State>& state) {
    for (;;) {
        Job job;
        {
            std::unique_lock<std::mutex> lock(state->lock);
            state->busy = false;
            state->wake.wait(lock, [&] { return state->stopping || !state->jobs.empty(); });
            if (state->jobs.empty()) return;  // stopping with nothing left
            job = std::move(state->jobs.front());
            state->jobs.pop_front();
            state->busy = true;
        }
        if (job.target) {
            state->ipc.SendCopyData(job.target, state->replyWindow, kSstpCopyDataId, job.request, kHitSendTimeoutMs);
        } else {
            SendOverTcp(job.port, job.request);
        }
    }
}

}  // namespace

HitSender::HitSender(NativeHandle replyWindow) : m_state(std::make_shared<State>()) {
    m_state->replyWindow = replyWindow;
    m_thread = std::thread([state = m_state] { Serve(state); });
}

HitSender::~HitSender() {
    {
        std::lock_guard<std::mutex> lock(m_state->lock);
        m_state->stopping = true;
    }
    m_state->wake.notify_one();
    if (Idle()) {
        m_thread.join();
    } else {
        m_thread.detach();  // still inside a bounded send: the process's end ends it
    }
}

void HitSender::SendToWindow(NativeHandle target, std::string request) {
    {
        std::lock_guard<std::mutex> lock(m_state->lock);
        m_state->jobs.push_back({target, 0, std::move(request)});
    }
    m_state->wake.notify_one();
}

void HitSender::SendOverTcp(int port, std::string request) {
    {
        std::lock_guard<std::mutex> lock(m_state->lock);
        m_state->jobs.push_back({0, port, std::move(request)});
    }
    m_state->wake.notify_one();
}

bool HitSender::Idle() const {
    std::lock_guard<std::mutex> lock(m_state->lock);
    return !m_state->busy && m_state->jobs.empty();
}

}  // namespace tc
