// The real falling-object program under Wine: a double click on the cat drops an object on
// every shown character of the peer, which is told by SEND (or NOTIFY); the cat hit by an
// object says the set's line; a target without a window is told over TCP; a parameter string
// that holds no drop ends the program at once. Screenshots are taken mid-fall and at each hit.
#include <winsock2.h>

#include <gtest/gtest.h>

#include <tlhelp32.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <thread>

#include "CatHarness.h"
#include "Desktop.h"
#include "Wait.h"
#include "peer/Peer.h"
#include "common/WideText.h"
#include "platform/win32/Win32Platform.h"

namespace e2e {
namespace {

constexpr const char* kObjectClass = "DroplingObject";
constexpr DWORD kRunBound = 15000;      // dropling.exe ends within this, whatever happens
constexpr DWORD kHitTimeout = 10000;    // from the launch to a hit, on a busy machine
constexpr COLORREF kPeerColour = RGB(128, 128, 128);  // the peer's windows are plain grey
constexpr int kPeerTop = 420;           // low enough for a fall worth a screenshot

// Shift_JIS bytes of the shipped sets' display names.
const std::string kTaraiName = "\x8B\xE0\x82\xBE\x82\xE7\x82\xA2";  // 金だらい
const std::string kYarnName = "\x96\xD1\x8E\x85\x8B\xCA";           // 毛糸玉

std::string Settings(const std::string& target) {
    return "0\r\nwhiskerby\r\n10\r\n0\r\n0\r\n0\r\n9801\r\n1\r\n767\r\n1\r\n" + target + "\r\n";
}

// The real program and the shipped sets named, in the base directory.
void InstallDropling(const CatHarness& cat, std::initializer_list<const char*> sets) {
    cat.CopyIn(TUMBLECAT_DROPLING_PATH, "dropling.exe");
    for (const char* set : sets) {
        cat.MakeFolder(std::string("dropling\\") + set);
        for (const char* file : {"dropling.txt", "profile.txt", "surface0.png"}) {
            cat.CopyIn(std::string(TUMBLECAT_SOURCE_DIR) + "/data/dropling/" + set + "/" + file,
                       std::string("dropling\\") + set + "\\" + file);
        }
    }
}

// The reaction lines of a shipped set, as its dropling.txt holds them.
std::vector<std::string> ReactionLines(const CatHarness& cat, const std::string& set) {
    const std::string text = cat.ReadFile("dropling\\" + set + "\\dropling.txt");
    std::vector<std::string> lines;
    bool inside = false;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = std::min(text.find("\r\n", at), text.size());
        const std::string line = text.substr(at, end - at);
        if (!line.empty() && line[0] == '#') {
            inside = line == "#reaction";
        } else if (inside && !line.empty()) {
            lines.push_back(line);
        }
        at = end + 2;
    }
    return lines;
}

// dropling.exe started by the test itself; ended with the test if it is still running.
class Dropling {
public:
    Dropling(const CatHarness& cat, const std::string& parameters) {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        // As the cat starts it: the command line in UTF-16, made from Shift_JIS with code page 932.
        std::wstring commandLine = tc::WideText("\"" + cat.Base() + "dropling.exe\" " + parameters);
        if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            tc::WideText(cat.Base()).c_str(), &startup, &info)) {
            throw std::runtime_error("cannot start dropling.exe");
        }
        CloseHandle(info.hThread);
        m_process = info.hProcess;
        m_id = info.dwProcessId;
    }
    ~Dropling() {
        if (WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT) TerminateProcess(m_process, 99);
        CloseHandle(m_process);
    }
    Dropling(const Dropling&) = delete;
    Dropling& operator=(const Dropling&) = delete;

    HANDLE Process() const { return m_process; }
    DWORD Id() const { return m_id; }
    bool Ended() const { return WaitForSingleObject(m_process, 0) == WAIT_OBJECT_0; }
    DWORD ExitCode() const {
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(m_process, &code);
        return code;
    }

private:
    HANDLE m_process = nullptr;
    DWORD m_id = 0;
};

struct ObjectSearch {
    DWORD processId = 0;  // 0: any
    std::vector<HWND> found;
};

BOOL CALLBACK CollectObject(HWND hwnd, LPARAM lParam) {
    auto* search = reinterpret_cast<ObjectSearch*>(lParam);
    char name[64] = {};
    GetClassNameA(hwnd, name, sizeof name);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (std::strcmp(name, kObjectClass) == 0 && (search->processId == 0 || pid == search->processId)) {
        search->found.push_back(hwnd);
    }
    return TRUE;
}

// The falling objects' windows (of one process, or of any).
std::vector<HWND> ObjectWindows(DWORD processId = 0) {
    ObjectSearch search{processId, {}};
    EnumWindows(CollectObject, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool DroplingRuns() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    bool found = false;
    for (BOOL more = Process32First(snapshot, &entry); more && !found; more = Process32Next(snapshot, &entry)) {
        found = _stricmp(entry.szExeFile, "dropling.exe") == 0;
    }
    CloseHandle(snapshot);
    return found;
}

RECT RectOf(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

// The requests of a kind ("SEND", "NOTIFY") that a peer window got from the set.
std::vector<std::string> RequestsTo(const Peer& peer, HWND window, const std::string& verb,
                                    const std::string& setName) {
    std::vector<std::string> found;
    for (const ReceivedData& data : peer.Received()) {
        if (data.to == window && data.kind == 9801 && data.text.rfind(verb + " SSTP/1.1\r\n", 0) == 0 &&
            data.text.find("\r\nSender: " + setName + "\r\n") != std::string::npos) {
            found.push_back(data.text);
        }
    }
    return found;
}

// How many of the rows above line y in column x show neither the desktop nor a peer
// character: the object resting or bouncing on the head there.
int ObjectPixelsAbove(const ScreenShot& shot, int x, int line, int rows) {
    int count = 0;
    for (int y = line - 1; y >= std::max(0, line - rows); --y) {
        const COLORREF c = shot.Pixel(x, y);
        if (!SameColour(c, kDesktopColour, 12) && !SameColour(c, kPeerColour, 4)) ++count;
    }
    return count;
}

int ObjectPixelsAbove(const ScreenShot& shot, const RECT& head, int rows) {
    return ObjectPixelsAbove(shot, (head.left + head.right) / 2, head.top, rows);
}

// Takes the screenshot of a hit as soon as the character has been told, and counts the
// object's pixels above its head on it.
int ShootHit(const Peer& peer, HWND character, const std::string& setName, const std::string& shotName) {
    const DWORD start = GetTickCount();
    while (RequestsTo(peer, character, "SEND", setName).empty()) {
        if (GetTickCount() - start > kHitTimeout) {
            ADD_FAILURE() << "waited " << kHitTimeout << " ms in vain for the hit on " << shotName;
            return 0;
        }
        Sleep(2);
    }
    const ScreenShot shot;
    shot.Save(shotName);
    return ObjectPixelsAbove(shot, RectOf(character), 160);
}

TEST(Dropling, DoubleClickDropsAnObjectOnEveryShownCharacterAndTellsEachOnce) {
    DesktopScene desktop;
    Peer peer({{"a", "A", "Ako", true}, {"b", "B", "Bko", true}, {"d", "D", "Dko", false}});
    // Lower on the screen, apart, so each fall is long enough to be seen.
    SetWindowPos(peer.Window("a"), nullptr, 280, kPeerTop, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(peer.Window("b"), nullptr, 640, kPeerTop, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    CatHarness cat;
    cat.InstallDataSkin("whiskerby");
    InstallDropling(cat, {"tarai"});
    cat.WriteFile("tumblecat.cfg", Settings("%all"));
    HANDLE process = cat.Start();
    HWND window = cat.WaitForCatWindow(process, kStartTimeout);
    ASSERT_NE(window, nullptr);
    ASSERT_FALSE(MutexExists("dropling"));

    SendMessageA(window, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(60, 60));
    ASSERT_TRUE(WaitUntil([] { return MutexExists("dropling"); }, kStartTimeout, "dropling.exe to hold its mutex"));
    const DWORD launched = GetTickCount();

    // Mid-fall: an object on the screen, still well above the characters.
    ASSERT_TRUE(WaitUntil(
        [] {
            for (HWND object : ObjectWindows()) {
                const RECT r = RectOf(object);
                if (IsWindowVisible(object) && r.top > 40 && r.bottom < kPeerTop - 60) return true;
            }
            return false;
        },
        kHitTimeout, "an object falling in the middle of the screen"));
    ScreenShot().Save("dropling-midfall");
    EXPECT_GE(ObjectWindows().size(), 2u) << "one object per shown character";
    EXPECT_TRUE(MutexExists("dropling")) << "held during the fall";

    EXPECT_GT(ShootHit(peer, peer.Window("a"), kTaraiName, "dropling-hit-A"), 4) << "the object above A's head";
    EXPECT_GT(ShootHit(peer, peer.Window("b"), kTaraiName, "dropling-hit-B"), 4) << "the object above B's head";

    ASSERT_TRUE(WaitUntil([] { return !MutexExists("dropling") && !DroplingRuns(); }, kRunBound + 5000,
                          "dropling.exe to end and let go of its mutex"));
    EXPECT_LE(GetTickCount() - launched, kRunBound) << "ended within the bound";
    EXPECT_TRUE(ObjectWindows().empty());

    const std::vector<std::string> lines = ReactionLines(cat, "tarai");
    ASSERT_FALSE(lines.empty());
    for (const char* id : {"a", "b"}) {
        const auto sends = RequestsTo(peer, peer.Window(id), "SEND", kTaraiName);
        ASSERT_EQ(sends.size(), 1u) << "one SEND for " << id;
        const bool fromTheSet = std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
            return sends[0].find("\r\nScript: " + line + "\\e\r\n") != std::string::npos;
        });
        EXPECT_TRUE(fromTheSet) << sends[0];
        EXPECT_NE(sends[0].find("\r\nHWnd: "), std::string::npos) << sends[0];
    }
    EXPECT_TRUE(RequestsTo(peer, peer.Window("d"), "SEND", kTaraiName).empty()) << "nothing for the hidden D";
}

// The partner's name is Japanese, with a second byte 0x5C (表): it arrives as its exact bytes.
TEST(Dropling, ReactionOneTellsTheHitCharacterByNotify) {
    const std::string name = "\x95\x5C\x82\xBF\x82\xE1\x82\xF1";  // 表ちゃん
    Peer peer({{"a", name, "Ako", true}});
    SetWindowPos(peer.Window("a"), nullptr, 400, kPeerTop, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    CatHarness cat;
    InstallDropling(cat, {"yarn"});
    Dropling dropling(cat, "yarn~1~9801~456~" + name + "^");
    ASSERT_TRUE(WaitUntil([&] { return dropling.Ended(); }, kRunBound + 5000, "dropling.exe to end"));
    EXPECT_EQ(dropling.ExitCode(), 0u);

    const auto notifies = RequestsTo(peer, peer.Window("a"), "NOTIFY", kYarnName);
    ASSERT_EQ(notifies.size(), 1u);
    const std::string& notify = notifies[0];
    EXPECT_NE(notify.find("\r\nEvent: OnDroplingHit\r\nReference0: " + kYarnName +
                          "\r\nReference1: yarn\r\nReference2: " + name + "\r\nReference3: "),
              std::string::npos)
        << notify;
    EXPECT_TRUE(RequestsTo(peer, peer.Window("a"), "SEND", kYarnName).empty()) << "no SEND besides";
}

// The balloon: a shown window of the cat's process other than the cat.
HWND ShownBalloon(HANDLE catProcess, HWND cat) {
    struct Search {
        DWORD pid;
        HWND cat;
        HWND found;
    } search{GetProcessId(catProcess), cat, nullptr};
    EnumWindows(
        [](HWND hwnd, LPARAM lParam) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lParam);
            DWORD pid = 0;
            GetWindowThreadProcessId(hwnd, &pid);
            if (pid == s->pid && hwnd != s->cat && IsWindowVisible(hwnd)) s->found = hwnd;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

TEST(Dropling, TheCatHitByItsOwnObjectSaysTheSetsLine) {
    DesktopScene desktop;
    CatHarness cat;
    cat.InstallDataSkin("whiskerby");
    InstallDropling(cat, {"fish"});
    cat.WriteFile("tumblecat.cfg", Settings("%rnd"));
    HANDLE process = cat.Start();
    HWND window = cat.WaitForCatWindow(process, kStartTimeout);
    ASSERT_NE(window, nullptr);
    // The greeting is said and the balloon hides 5 s after it; then nothing else talks.
    ASSERT_TRUE(WaitUntil([&] { return ShownBalloon(process, window) != nullptr; }, kShowTimeout, "the greeting"));
    ASSERT_TRUE(WaitUntil([&] { return ShownBalloon(process, window) == nullptr; }, kStartTimeout,
                          "the greeting's balloon to hide"));

    Dropling dropling(cat, "fish~0~9801~255~%nek:whiskerby^");
    // The fish comes to rest on the head (the top of Whiskerby's head rectangles lies 5 to 11
    // pixels below the window's top) and fades there.
    const RECT catRect = RectOf(window);
    RECT fish{};
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < kHitTimeout) {
        const auto objects = ObjectWindows(dropling.Id());
        if (!objects.empty()) fish = RectOf(objects[0]);
        if (!objects.empty() && fish.bottom >= catRect.top + 4) break;
        Sleep(2);
    }
    const ScreenShot hit;
    hit.Save("dropling-cat-hit");
    EXPECT_GE(fish.bottom, catRect.top + 4) << "the fish reached the cat";
    EXPECT_LE(fish.bottom, catRect.top + 60) << "and stopped on its head";
    EXPECT_GT(ObjectPixelsAbove(hit, (fish.left + fish.right) / 2, catRect.top + 4, 200), 4)
        << "the fish over the head";
    ASSERT_TRUE(WaitUntil([&] { return ShownBalloon(process, window) != nullptr; }, kHitTimeout,
                          "the cat's balloon after the hit"));
    // After its bounces it rests where the rectangle query put the head, until it has faded.
    // (The picture's last key-coloured rows hang below the head line.) Still for a while and
    // there: a frame that comes late under load can hold it still in the air too.
    const auto onTheHead = [&](const RECT& r) { return r.bottom >= catRect.top + 5 && r.bottom <= catRect.top + 17; };
    EXPECT_TRUE(WaitUntil(
        [&] {
            const auto objects = ObjectWindows(dropling.Id());
            if (objects.empty()) return false;
            const RECT before = RectOf(objects[0]);
            Sleep(60);
            const RECT after = RectOf(objects[0]);
            return onTheHead(before) && std::memcmp(&before, &after, sizeof before) == 0;
        },
        kShowTimeout, "the fish to rest on the head rectangle's top"));
    ScreenShot().Save("dropling-cat-resting");
    // The line is typed one character per 50 ms; the longest line of the set takes 1.5 s.
    ASSERT_TRUE(WaitUntil([&] { return dropling.Ended(); }, kRunBound + 5000, "dropling.exe to end"));
    ScreenShot().Save("dropling-cat-balloon");
    EXPECT_EQ(dropling.ExitCode(), 0u);
    EXPECT_NE(ShownBalloon(process, window), nullptr) << "still saying the line";
}

// A listening socket on 127.0.0.1 that takes one connection and keeps what it was sent.
class SstpListener {
public:
    SstpListener() {
        WSADATA data{};
        WSAStartup(MAKEWORD(2, 2), &data);
        m_socket = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(m_socket, reinterpret_cast<sockaddr*>(&address), sizeof address);
        listen(m_socket, 1);
        int length = sizeof address;
        getsockname(m_socket, reinterpret_cast<sockaddr*>(&address), &length);
        m_port = ntohs(address.sin_port);
    }
    ~SstpListener() {
        closesocket(m_socket);
        WSACleanup();
    }
    SstpListener(const SstpListener&) = delete;
    SstpListener& operator=(const SstpListener&) = delete;
    int Port() const { return m_port; }

    // The request of the first connection within timeoutMs, answered with 200 OK.
    std::string Receive(DWORD timeoutMs) {
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(m_socket, &readable);
        timeval wait{static_cast<long>(timeoutMs / 1000), static_cast<long>(timeoutMs % 1000) * 1000};
        if (select(0, &readable, nullptr, nullptr, &wait) <= 0) return "<no connection>";
        SOCKET client = accept(m_socket, nullptr, nullptr);
        const DWORD readTimeout = 3000;
        setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&readTimeout), sizeof readTimeout);
        std::string request;
        char buffer[1024];
        while (request.find("\r\n\r\n") == std::string::npos) {
            const int got = recv(client, buffer, sizeof buffer, 0);
            if (got <= 0) break;
            request.append(buffer, static_cast<std::size_t>(got));
        }
        const char answer[] = "SSTP/1.4 200 OK\r\n\r\n";
        send(client, answer, sizeof answer - 1, 0);
        closesocket(client);
        return request;
    }

private:
    SOCKET m_socket = INVALID_SOCKET;
    int m_port = 0;
};

TEST(Dropling, ATargetWithoutAWindowIsToldOverTcp) {
    SstpListener listener;
    CatHarness cat;
    InstallDropling(cat, {"yarn"});
    Dropling dropling(cat, "yarn~0~" + std::to_string(listener.Port()) + "~255~Nobody Here^");
    const std::string request = listener.Receive(kHitTimeout);
    EXPECT_EQ(request.rfind("SEND SSTP/1.1\r\nSender: " + kYarnName + "\r\nScript: ", 0), 0u) << request;
    EXPECT_EQ(request.find("HWnd:"), std::string::npos) << "no window to answer to over TCP";
    ASSERT_TRUE(WaitUntil([&] { return dropling.Ended(); }, kRunBound + 5000, "dropling.exe to end"));
    EXPECT_EQ(dropling.ExitCode(), 0u);
}

// On a display of two monitors, the second left of the primary one (negative coordinates):
// the object falls on that monitor, from its top onto the partner standing there.
TEST(Monitors, AFallOnAPartnerOnTheSecondMonitorHitsIt) {
    const RECT second = SecondMonitor();
    ASSERT_LT(second.left, 0) << "the second monitor lies left of the primary one";
    DesktopScene desktop;
    Peer peer({{"a", "A", "Ako", true}});
    const int peerTop = second.bottom - 180;
    SetWindowPos(peer.Window("a"), nullptr, second.left + 300, peerTop, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    CatHarness cat;
    InstallDropling(cat, {"tarai"});
    Dropling dropling(cat, "tarai~0~9801~255~A^");

    RECT falling{};
    ASSERT_TRUE(WaitUntil(
        [&] {
            for (HWND object : ObjectWindows(dropling.Id())) {
                falling = RectOf(object);
                if (IsWindowVisible(object) && falling.top > second.top + 20 && falling.bottom < peerTop - 40) {
                    return true;
                }
            }
            return false;
        },
        kHitTimeout, "an object falling above the partner"));
    EXPECT_GE(falling.left, second.left) << "the object falls on the partner's monitor";
    EXPECT_LE(falling.right, second.right);
    ScreenShot().Save("monitors-midfall");

    EXPECT_GT(ShootHit(peer, peer.Window("a"), kTaraiName, "monitors-hit"), 4) << "the object above A's head";
    ASSERT_TRUE(WaitUntil([&] { return dropling.Ended(); }, kRunBound + 5000, "dropling.exe to end"));
    EXPECT_EQ(dropling.ExitCode(), 0u);
    EXPECT_EQ(RequestsTo(peer, peer.Window("a"), "SEND", kTaraiName).size(), 1u) << "A is told once";
}

TEST(Dropling, AStringWithoutADropEndsAtOnceWithoutAWindow) {
    CatHarness cat;
    InstallDropling(cat, {"yarn"});
    const std::map<std::string, DWORD> refused = {
        {"garbage", 2}, {"yarn~0~9801~255~", 2}, {"yarn~0~port~255~A^", 2}, {"nosuchset~0~9801~255~A^", 3}};
    for (const auto& [parameters, exitCode] : refused) {
        Dropling dropling(cat, parameters);
        bool windowSeen = false;
        EXPECT_TRUE(WaitUntil(
            [&] {
                windowSeen = windowSeen || !ObjectWindows(dropling.Id()).empty();
                return dropling.Ended();
            },
            kShowTimeout, "dropling.exe to end on " + parameters));
        EXPECT_FALSE(windowSeen) << parameters;
        EXPECT_EQ(dropling.ExitCode(), exitCode) << parameters;
    }
}

// A window on a thread of its own that answers the rectangle query as the cat does, writing
// into the asking process at the address given, but the first time only once the test lets
// it: by then the asker has given up waiting.
class LateAnswerer {
public:
    static constexpr UINT kQuery = 0x8065;

    LateAnswerer() {
        m_thread = std::thread([this] { Run(); });
        WaitForSingleObject(m_ready, kShowTimeout);
    }
    ~LateAnswerer() {
        SetEvent(m_release);
        PostThreadMessageA(m_threadId, WM_QUIT, 0, 0);
        m_thread.join();
        for (HANDLE event : {m_ready, m_release, m_written}) CloseHandle(event);
    }
    HWND Window() const { return m_window; }
    // Lets the first answer go and waits until it is written.
    bool AnswerLate() {
        SetEvent(m_release);
        return WaitForSingleObject(m_written, kShowTimeout) == WAIT_OBJECT_0;
    }
    std::vector<std::uintptr_t> Addresses() const { return m_addresses; }

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<LateAnswerer*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (message != kQuery || !self) return DefWindowProcA(window, message, wParam, lParam);
        self->m_addresses.push_back(static_cast<std::uintptr_t>(lParam));
        const bool first = self->m_addresses.size() == 1;
        if (first) WaitForSingleObject(self->m_release, kShowTimeout);
        const char* answer = first ? "9,9,99,99" : "1,2,30,40";
        HANDLE asker = OpenProcess(PROCESS_VM_WRITE | PROCESS_VM_OPERATION, FALSE, static_cast<DWORD>(wParam));
        SIZE_T done = 0;
        WriteProcessMemory(asker, reinterpret_cast<void*>(lParam), answer, std::strlen(answer) + 1, &done);
        CloseHandle(asker);
        if (first) SetEvent(self->m_written);
        return 1;
    }
    void Run() {
        m_threadId = GetCurrentThreadId();
        WNDCLASSA wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "TumblecatLateAnswerer";
        RegisterClassA(&wc);
        m_window = CreateWindowA(wc.lpszClassName, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, wc.hInstance, nullptr);
        SetWindowLongPtrA(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        SetEvent(m_ready);
        MSG msg;
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
        DestroyWindow(m_window);
    }

    HANDLE m_ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE m_release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE m_written = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HWND m_window = nullptr;
    DWORD m_threadId = 0;
    std::vector<std::uintptr_t> m_addresses;
    std::thread m_thread;
};

// dropling.exe asks the cat's head through the back end's text query, whose buffer lives as
// long as the process: an answer that comes after the query gave up lands in that buffer,
// not in memory handed out since, and the next query uses the same buffer.
TEST(Dropling, ALateAnswerToTheHeadQueryLandsInTheQuerysOwnBuffer) {
    LateAnswerer answerer;
    ASSERT_NE(answerer.Window(), nullptr);
    tc::Win32InterProcess ipc;
    const tc::NativeHandle window = reinterpret_cast<tc::NativeHandle>(answerer.Window());
    EXPECT_FALSE(ipc.QueryText(window, LateAnswerer::kQuery, 200)) << "the first answer is late";

    // Blocks of the buffer's size, as the program might allocate while the answer is late.
    std::vector<std::string> blocks(64, std::string(tc::Win32InterProcess::kQueryAnswerBytes - 1, 'x'));
    ASSERT_TRUE(answerer.AnswerLate());
    for (const std::string& block : blocks) {
        ASSERT_EQ(block, std::string(tc::Win32InterProcess::kQueryAnswerBytes - 1, 'x')) << "written into";
    }

    EXPECT_EQ(ipc.QueryText(window, LateAnswerer::kQuery, 2000), "1,2,30,40");
    const auto addresses = answerer.Addresses();
    ASSERT_EQ(addresses.size(), 2u);
    EXPECT_EQ(addresses[0], addresses[1]) << "one buffer for every query";
}

}  // namespace
}  // namespace e2e
