// tcp_echo.exe: the baseline for the cat's SSTP round trips over TCP. A bare server on
// 127.0.0.1:9802 that reads each connection up to its empty line, answers one fixed answer
// and closes it, one connection after the other, and does nothing else. It ends after ten
// minutes, or when a connection brings "QUIT".
#include <winsock2.h>
#include <windows.h>

#include <string>

namespace {

constexpr u_short kEchoPort = 9802;
constexpr char kAnswer[] = "SSTP/1.0 200 OK\r\n\r\ntumblecat 0.1.0\r\n\r\n";
constexpr DWORD kLifetimeMs = 10 * 60 * 1000;

constexpr DWORD kReadBoundMs = 2000;  // as the cat's door: a silent client is given up

// The request up to its empty line, or whatever came before the client closed its side.
std::string ReadRequest(SOCKET client) {
    setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&kReadBoundMs), sizeof kReadBoundMs);
    std::string received;
    char buffer[4096];
    while (received.find("\r\n\r\n") == std::string::npos) {
        const int n = recv(client, buffer, sizeof buffer, 0);
        if (n <= 0) break;
        received.append(buffer, static_cast<std::size_t>(n));
    }
    return received;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return 1;
    const SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(kEchoPort);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 || listen(listener, SOMAXCONN)) {
        return 1;
    }
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < kLifetimeMs) {
        const SOCKET client = accept(listener, nullptr, nullptr);
        if (client == INVALID_SOCKET) break;
        const std::string request = ReadRequest(client);
        send(client, kAnswer, sizeof kAnswer - 1, 0);
        shutdown(client, SD_SEND);
        closesocket(client);
        if (request.rfind("QUIT", 0) == 0) break;
    }
    closesocket(listener);
    WSACleanup();
    return 0;
}
