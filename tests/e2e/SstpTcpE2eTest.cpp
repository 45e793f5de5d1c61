// SSTP over TCP under Wine: the cat's door on 127.0.0.1:9801, knocked at by a client on the
// Linux side (tests/e2e/linux_tcp_client.py, which the test command starts beside this suite
// and names in TUMBLECAT_E2E_LINUX_CLIENT), so the door is seen on the real loopback
// interface; the peer character asks over WM_COPYDATA for comparison.
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <thread>

#include "CatHarness.h"
#include "Wait.h"
#include "peer/Peer.h"

namespace e2e {
namespace {

constexpr DWORD kClientTimeout = 20000;

std::string Settings() { return "0\r\ntabby\r\n10\r\n0\r\n0\r\n0\r\n9801\r\n1\r\n767\r\n1\r\n%rnd\r\n"; }

std::string Handle(HWND window) { return std::to_string(static_cast<long long>(reinterpret_cast<INT_PTR>(window))); }

std::string GetName(const std::string& more = std::string()) {
    return "EXECUTE SSTP/1.1\r\nSender: Aya\r\nCommand: GetName\r\n" + more + "\r\n";
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The Linux-side client: a job is a file in its folder, its result a file it writes there.
class LinuxClient {
public:
    LinuxClient() {
        if (const char* folder = std::getenv("TUMBLECAT_E2E_LINUX_CLIENT")) m_folder = std::string(folder) + "\\";
    }
    bool Present() const { return !m_folder.empty(); }

    // Sends the request whole and reads until the cat closes: the answer, or "<refused>".
    std::string Exchange(const std::string& request) {
        const std::string id = Post(".send", request);
        std::string result;
        if (!Await(id, {".answer", ".refused"}, result)) return "<no result>";
        return result == "<.refused>" ? "<refused>" : result;
    }
    // Sends bytes and keeps the connection open: the milliseconds until the cat closed it.
    int HalfRequest(const std::string& bytes) {
        const std::string id = Post(".half", bytes);
        std::string result;
        if (!Await(id, {".closed", ".refused"}, result) || result == "<.refused>") return -1;
        return std::atoi(result.c_str());
    }

private:
    std::string Post(const std::string& kind, const std::string& bytes) {
        const std::string id = "job" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++m_count);
        const std::string temp = m_folder + id + ".tmp";
        std::ofstream(temp, std::ios::binary) << bytes;
        MoveFileA(temp.c_str(), (m_folder + id + kind).c_str());
        return id;
    }
    // The result file's bytes; "<.refused>" for an empty refusal.
    bool Await(const std::string& id, const std::vector<std::string>& kinds, std::string& result) {
        return WaitUntil(
            [&] {
                for (const std::string& kind : kinds) {
                    const std::string path = m_folder + id + kind;
                    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) continue;
                    result = kind == ".refused" ? "<.refused>" : ReadAll(path);
                    DeleteFileA(path.c_str());
                    return true;
                }
                return false;
            },
            kClientTimeout, "the Linux-side client's result");
    }

    std::string m_folder;
    int m_count = 0;
};

// The one answer a WM_COPYDATA request got at the asker's window.
std::string AnswerOverCopyData(const Peer& peer, HWND cat, const std::string& request) {
    const std::size_t before = peer.Received().size();
    peer.SendSstp(cat, request);
    const auto all = peer.Received();
    for (std::size_t i = before; i < all.size(); ++i) {
        if (all[i].text.rfind("SSTP/", 0) == 0) return all[i].text;
    }
    return "<none>";
}

PeerCharacter Aya() { return {"aya", "Aya", "Ayako", false}; }

const std::string kNameAnswer = "SSTP/1.0 200 OK\r\n\r\nTabby BMP,empty\r\n\r\n";

// A started cat that Aya asks over WM_COPYDATA, and the Linux-side client.
struct TcpCat {
    LinuxClient client;
    Peer peer{{Aya()}};
    CatHarness cat;
    HWND window = cat.StartTabby(Settings());

    std::string GetNameOverCopyData() const {
        return AnswerOverCopyData(peer, window, GetName("HWnd: " + Handle(peer.Window("aya")) + "\r\n"));
    }
    // The door opens once start-up is over; the window may answer a little earlier.
    ::testing::AssertionResult WaitForTheDoor(std::string& answer) {
        return WaitUntil([&] { return (answer = client.Exchange(GetName())) != "<refused>"; }, kShowTimeout,
                         "the door to open");
    }
};

TEST(SstpTcp, GetNameFromALinuxClientIsAnsweredInTheSameBytesAsOverCopyData) {
    TcpCat t;
    ASSERT_TRUE(t.client.Present()) << "the test command starts the Linux-side client";
    ASSERT_NE(t.window, nullptr);
    EXPECT_EQ(t.GetNameOverCopyData(), kNameAnswer);
    std::string overTcp;
    EXPECT_TRUE(t.WaitForTheDoor(overTcp));
    EXPECT_EQ(overTcp, kNameAnswer);
    EXPECT_EQ(t.client.Exchange("NOTIFY SSTP/1.1\r\nSender: Aya\r\nEvent: OnTest\r\n\r\n"),
              "SSTP/1.0 204 No Content\r\n\r\n");
}

TEST(SstpTcp, AHalfRequestIsClosedAfterItsBoundWhileCopyDataIsStillAnswered) {
    TcpCat t;
    ASSERT_TRUE(t.client.Present()) << "the test command starts the Linux-side client";
    ASSERT_NE(t.window, nullptr);
    std::string first;
    ASSERT_TRUE(t.WaitForTheDoor(first));

    int closedAfter = -1;
    std::thread half([&] { closedAfter = t.client.HalfRequest("EXECUTE SSTP/1.1\r\nSender: Aya\r\n"); });
    DWORD slowest = 0;
    for (int i = 0; i < 10; ++i) {
        const DWORD sent = GetTickCount();
        EXPECT_EQ(t.GetNameOverCopyData(), kNameAnswer);
        slowest = std::max(slowest, GetTickCount() - sent);
    }
    half.join();
    std::printf("a half request was closed after %d ms; the slowest WM_COPYDATA answer meanwhile took %lu ms\n",
                closedAfter, static_cast<unsigned long>(slowest));
    EXPECT_GE(closedAfter, 1500) << "the bound is about two seconds";
    EXPECT_LE(closedAfter, 6000);
    EXPECT_LT(slowest, 1000u) << "the window never waits for a client";
}

// A listener of another program on 127.0.0.1:9801 that answers one connection its own way.
class OtherListener {
public:
    OtherListener() {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        m_socket = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(9801);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        m_listening = bind(m_socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
                      listen(m_socket, 4) == 0;
    }
    ~OtherListener() {
        closesocket(m_socket);
        if (m_thread.joinable()) m_thread.join();
        WSACleanup();
    }
    bool Listening() const { return m_listening; }
    // Answers the next connection, on a thread of its own.
    void AnswerOnce(const std::string& answer) {
        m_thread = std::thread([this, answer] {
            const SOCKET client = accept(m_socket, nullptr, nullptr);
            if (client == INVALID_SOCKET) return;
            char buffer[4096];
            std::string received;
            while (received.find("\r\n\r\n") == std::string::npos) {
                const int n = recv(client, buffer, sizeof buffer, 0);
                if (n <= 0) break;
                received.append(buffer, static_cast<std::size_t>(n));
            }
            send(client, answer.data(), static_cast<int>(answer.size()), 0);
            shutdown(client, SD_SEND);
            closesocket(client);
        });
    }

private:
    SOCKET m_socket = INVALID_SOCKET;
    bool m_listening = false;
    std::thread m_thread;
};

TEST(SstpTcp, WithThePortTakenTheCatStartsAndWorksWithoutTheDoor) {
    OtherListener other;
    ASSERT_TRUE(other.Listening()) << "the port is free before the test";
    TcpCat t;
    ASSERT_TRUE(t.client.Present()) << "the test command starts the Linux-side client";
    ASSERT_NE(t.window, nullptr) << "no error box, no end";
    EXPECT_EQ(t.GetNameOverCopyData(), kNameAnswer);
    other.AnswerOnce("SSTP/1.0 200 OK\r\n\r\nsomebody else\r\n\r\n");
    EXPECT_EQ(t.client.Exchange(GetName()), "SSTP/1.0 200 OK\r\n\r\nsomebody else\r\n\r\n")
        << "the port stays with the program that had it";
}

}  // namespace
}  // namespace e2e
