// The loopback door: a listening socket on 127.0.0.1 and its connections, all non-blocking,
// their events delivered by WSAAsyncSelect to a message-only window of the opening thread, so
// the handler runs there between the thread's other messages and nothing ever waits on a
// client. A timer closes connections that outlive their bound.
#include "platform/win32/Win32Network.h"

#include <winsock2.h>
#include <windows.h>

#include <algorithm>
#include <map>
#include <vector>

namespace tc {

namespace {

constexpr UINT kMsgSocket = WM_APP + 1;
constexpr UINT_PTR kOverdueTimer = 1;
constexpr UINT kOverdueCheckMs = 250;
constexpr const wchar_t* kDoorWindowClass = L"TumblecatLoopbackDoor";

class Win32Door final : public Door {
public:
    Win32Door(const DoorBounds& bounds, DoorHandler handler) : m_bounds(bounds), m_handler(std::move(handler)) {}
    ~Win32Door() override;
    Win32Door(const Win32Door&) = delete;
    Win32Door& operator=(const Win32Door&) = delete;

    bool Open(int port);

private:
    struct Connection {
        std::string received;
        std::string unsent;  // the answer, as far as it is not sent yet
        DWORD since = 0;
        bool answered = false;
    };

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void OnSocketEvent(SOCKET socket, WORD event);
    void Accept();
    // toTheEnd: on the close, read until the end is seen rather than what is there now.
    void Read(SOCKET socket, bool toTheEnd = false);
    void Flush(SOCKET socket);
    void Close(SOCKET socket);
    void CloseOverdue();

    DoorBounds m_bounds;
    DoorHandler m_handler;
    bool m_winsock = false;
    HWND m_window = nullptr;
    SOCKET m_listener = INVALID_SOCKET;
    std::map<SOCKET, Connection> m_connections;
    bool m_timing = false;
};

bool RegisterDoorClass(HINSTANCE instance, WNDPROC proc) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.lpszClassName = kDoorWindowClass;
    return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

bool Win32Door::Open(int port) {
    WSADATA data;
    m_winsock = WSAStartup(MAKEWORD(2, 2), &data) == 0;
    if (!m_winsock) return false;
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    if (!RegisterDoorClass(instance, WindowProc)) return false;
    m_window = CreateWindowExW(0, kDoorWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
    if (!m_window) return false;
    SetWindowLongPtrW(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));

    m_listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (m_listener == INVALID_SOCKET) return false;
    // Nobody may bind the port beside the cat and take its requests.
    BOOL exclusive = TRUE;
    setsockopt(m_listener, SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<const char*>(&exclusive), sizeof exclusive);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<u_short>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (bind(m_listener, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) return false;
    if (listen(m_listener, SOMAXCONN) != 0) return false;
    return WSAAsyncSelect(m_listener, m_window, kMsgSocket, FD_ACCEPT) == 0;
}

Win32Door::~Win32Door() {
    while (!m_connections.empty()) Close(m_connections.begin()->first);
    if (m_listener != INVALID_SOCKET) closesocket(m_listener);
    if (m_window) DestroyWindow(m_window);
    if (m_winsock) WSACleanup();
}

LRESULT CALLBACK Win32Door::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* door = reinterpret_cast<Win32Door*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (door && message == kMsgSocket) {
        door->OnSocketEvent(static_cast<SOCKET>(wParam), WSAGETSELECTEVENT(lParam));
        return 0;
    }
    if (door && message == WM_TIMER && wParam == kOverdueTimer) {
        door->CloseOverdue();
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void Win32Door::OnSocketEvent(SOCKET socket, WORD event) {
    if (socket == m_listener) {
        if (event == FD_ACCEPT) Accept();
        return;
    }
    if (!m_connections.count(socket)) return;  // an event that was queued before the close
    switch (event) {
    case FD_READ:
        Read(socket);
        break;
    case FD_CLOSE:  // what is left to read is read, then the request has ended
        Read(socket, true);
        break;
    case FD_WRITE:
        Flush(socket);
        break;
    default:
        break;
    }
}

// One connection an event: accept() enables FD_ACCEPT again, so a further waiting connection
// brings its own event, and no call is spent learning that none waits.
void Win32Door::Accept() {
    const SOCKET client = accept(m_listener, nullptr, nullptr);
    if (client == INVALID_SOCKET) return;
    if (static_cast<int>(m_connections.size()) >= m_bounds.maxConnections ||
        WSAAsyncSelect(client, m_window, kMsgSocket, FD_READ | FD_WRITE | FD_CLOSE) != 0) {
        closesocket(client);
        return;
    }
    m_connections[client].since = GetTickCount();
    if (!m_timing) m_timing = SetTimer(m_window, kOverdueTimer, kOverdueCheckMs, nullptr) != 0;
    Read(client);  // a request sent with the connection is usually there already
}

void Win32Door::Read(SOCKET socket, bool toTheEnd) {
    bool ended = false;
    std::string received;
    {
        const auto it = m_connections.find(socket);
        if (it == m_connections.end() || it->second.answered) return;  // what follows a request is not read
        Connection& connection = it->second;
        const std::size_t before = connection.received.size();
        char buffer[4096];
        while (connection.received.size() < m_bounds.maxRequestBytes) {
            const std::size_t room = std::min(sizeof buffer, m_bounds.maxRequestBytes - connection.received.size());
            const int n = recv(socket, buffer, static_cast<int>(room), 0);
            if (n > 0) {
                connection.received.append(buffer, static_cast<std::size_t>(n));
                // Less than asked for is all there was: recv() enables FD_READ again, so
                // whatever comes later brings its own event.
                if (!toTheEnd && static_cast<std::size_t>(n) < room) break;
                continue;
            }
            ended = n == 0 || WSAGetLastError() != WSAEWOULDBLOCK;
            break;
        }
        ended = ended || connection.received.size() >= m_bounds.maxRequestBytes;
        if (!ended && connection.received.size() == before) return;  // nothing new
        received = connection.received;
    }
    // The handler may take its time and let other messages run; the connection is looked up
    // again afterwards.
    const std::optional<std::string> answer = m_handler(received, ended);
    const auto it = m_connections.find(socket);
    if (it == m_connections.end()) return;
    if (!answer) {
        if (ended) Close(socket);
        return;
    }
    it->second.answered = true;
    it->second.unsent = *answer;
    Flush(socket);
}

void Win32Door::Flush(SOCKET socket) {
    const auto it = m_connections.find(socket);
    if (it == m_connections.end() || !it->second.answered) return;
    Connection& connection = it->second;
    while (!connection.unsent.empty()) {
        const int n = send(socket, connection.unsent.data(), static_cast<int>(connection.unsent.size()), 0);
        if (n <= 0) {
            if (WSAGetLastError() != WSAEWOULDBLOCK) Close(socket);
            return;  // FD_WRITE comes when there is room again
        }
        connection.unsent.erase(0, static_cast<std::size_t>(n));
    }
    shutdown(socket, SD_SEND);
    Close(socket);
}

void Win32Door::Close(SOCKET socket) {
    closesocket(socket);  // a graceful close: what was sent still arrives
    m_connections.erase(socket);
    if (m_connections.empty() && m_timing) {
        KillTimer(m_window, kOverdueTimer);
        m_timing = false;
    }
}

void Win32Door::CloseOverdue() {
    const DWORD now = GetTickCount();
    std::vector<SOCKET> overdue;
    for (const auto& [socket, connection] : m_connections) {
        if (now - connection.since >= static_cast<DWORD>(m_bounds.timeLimitMs)) overdue.push_back(socket);
    }
    for (const SOCKET socket : overdue) Close(socket);
}

}  // namespace

std::unique_ptr<Door> Win32Network::OpenLoopbackDoor(int port, const DoorBounds& bounds, DoorHandler handler) {
    auto door = std::make_unique<Win32Door>(bounds, std::move(handler));
    if (!door->Open(port)) return nullptr;
    return door;
}

}  // namespace tc
