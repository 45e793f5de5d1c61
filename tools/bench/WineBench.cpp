// wine_bench.exe: the cat under Wine against bare programs of our own, measured in one run
// (figures only; the goals are printed beside them):
//   - SSTP round trips: EXECUTE GetVersion sent to the cat by WM_COPYDATA and its answer
//     received, per second, against sstp_echo.exe, which answers every WM_COPYDATA with a
//     fixed one. Goal: the cat reaches at least 0.8 of the echo.
//   - SSTP over TCP: EXECUTE GetVersion sent to the cat's door on 127.0.0.1:9801 (connect,
//     send, read the answer until the cat closes), per second, against tcp_echo.exe, which
//     answers the same way on port 9802 with a fixed answer. Goal: at least 0.8 of the echo.
//   - Idle CPU time: the cat's process time (kernel + user) over 20 s once its greeting is
//     over, against shaped_idle.exe, a shaped window that repaints every 50 ms, over the
//     same 20 s and measured the same way. Goal: at most 1.2 times the shaped window.
// Each round-trip figure is the best of several alternating half-second rounds, which keeps
// other work on the machine out of the ratio.
//
// Usage: wine_bench <base directory holding tumblecat.exe, its default skin and texts>
// sstp_echo.exe, tcp_echo.exe and shaped_idle.exe are taken from the folder of wine_bench.exe.
#include <winsock2.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <sstream>
#include <string>

namespace {

constexpr WPARAM kCmdQuit = 32777;
constexpr DWORD kStartTimeoutMs = 30000;
constexpr DWORD kGreetingTimeoutMs = 60000;
constexpr DWORD kIdleMs = 20000;
constexpr DWORD kRoundMs = 500;
constexpr int kRounds = 12;
constexpr int kBalloonWidth = 328;

// A started program, ended when it goes out of scope if it has not ended by itself.
class Program {
public:
    Program(const std::string& exe, const std::string& folder) : m_exe(exe) {
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        std::string commandLine = "\"" + exe + "\"";
        if (CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                           &info)) {
            CloseHandle(info.hThread);
            m_process = info.hProcess;
        }
    }
    ~Program() {
        if (!m_process) return;
        if (WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT) {
            TerminateProcess(m_process, 99);
            WaitForSingleObject(m_process, 5000);
        }
        CloseHandle(m_process);
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    HANDLE Handle() const { return m_process; }
    bool Running() const { return m_process && WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT; }
    bool WaitForEnd(DWORD ms) const { return m_process && WaitForSingleObject(m_process, ms) == WAIT_OBJECT_0; }

    // Kernel and user time so far, in milliseconds; -1 when it cannot be read. Wine 8 answers
    // GetProcessTimes for any process with the calling process's times, so under Wine they
    // are read from the Linux process table, where Wine runs each Windows process.
    double CpuMs() const {
        if (UnderWine()) return LinuxCpuMs();
        FILETIME created{}, ended{}, kernel{}, user{};
        if (!GetProcessTimes(m_process, &created, &ended, &kernel, &user)) return -1;
        return (Ticks(kernel) + Ticks(user)) / 10000.0;
    }

private:
    static bool UnderWine() {
        HMODULE ntdll = GetModuleHandleA("ntdll.dll");
        return ntdll && GetProcAddress(ntdll, "wine_get_version");
    }

    static double Ticks(const FILETIME& t) {
        return static_cast<double>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime);
    }

    // utime + stime of the Linux process running this program, found by its name and its
    // path in its command line; in clock ticks of 10 ms (USER_HZ on x86 Linux).
    double LinuxCpuMs() const {
        if (m_linuxPid.empty()) m_linuxPid = FindLinuxProcess();
        if (m_linuxPid.empty()) return -1;
        const std::string stat = ReadProcFile(m_linuxPid + "\\stat");
        const std::size_t close = stat.rfind(')');
        if (close == std::string::npos) return -1;
        // After the name: state, ppid, pgrp, session, tty, tpgid, flags, minflt, cminflt,
        // majflt, cmajflt, utime, stime.
        std::istringstream fields(stat.substr(close + 1));
        std::string field;
        double utime = 0, stime = 0;
        for (int i = 0; i < 13 && fields >> field; ++i) {
            if (i == 11) utime = std::atof(field.c_str());
            if (i == 12) stime = std::atof(field.c_str());
        }
        return (utime + stime) * 10.0;
    }

    std::string FindLinuxProcess() const {
        const std::string name = m_exe.substr(m_exe.find_last_of('\\') + 1).substr(0, 15);  // TASK_COMM_LEN - 1
        std::string unixPath = m_exe.size() > 2 && m_exe[1] == ':' ? m_exe.substr(2) : m_exe;
        std::replace(unixPath.begin(), unixPath.end(), '\\', '/');
        WIN32_FIND_DATAA entry{};
        HANDLE find = FindFirstFileA("Z:\\proc\\*", &entry);
        if (find == INVALID_HANDLE_VALUE) return std::string();
        std::string found;
        do {
            const std::string pid = entry.cFileName;
            if (pid.find_first_not_of("0123456789") != std::string::npos) continue;
            const std::string stat = ReadProcFile(pid + "\\stat");
            if (stat.find("(" + name + ")") == std::string::npos) continue;
            std::string commandLine = ReadProcFile(pid + "\\cmdline");
            std::replace(commandLine.begin(), commandLine.end(), '\0', ' ');
            std::replace(commandLine.begin(), commandLine.end(), '\\', '/');
            if (commandLine.find(unixPath) != std::string::npos) found = pid;
        } while (found.empty() && FindNextFileA(find, &entry));
        FindClose(find);
        return found;
    }

    static std::string ReadProcFile(const std::string& relative) {
        HANDLE file = CreateFileA(("Z:\\proc\\" + relative).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) return std::string();
        std::string text;
        char buffer[4096];
        DWORD read = 0;
        while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) text.append(buffer, read);
        CloseHandle(file);
        return text;
    }

    HANDLE m_process = nullptr;
    std::string m_exe;
    mutable std::string m_linuxPid;
};

bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start >= timeoutMs) return false;
        Sleep(20);
    }
    return true;
}

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

std::string FolderOf(const std::string& path) { return path.substr(0, path.find_last_of('\\') + 1); }

// The character window the cat publishes in its shared block "Tumblecat".
HWND CatWindowFromBlock() {
    HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, "Tumblecat");
    if (!mapping) return nullptr;
    std::string text;
    if (const void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0)) {
        text.assign(static_cast<const char*>(view) + 4, 60);
        UnmapViewOfFile(view);
    }
    CloseHandle(mapping);
    const std::size_t at = text.find(".hwnd\x01");
    if (at == std::string::npos) return nullptr;
    return reinterpret_cast<HWND>(static_cast<INT_PTR>(std::atoll(text.c_str() + at + 6)));
}

struct BalloonSearch {
    HWND owner;
    HWND found;
};

BOOL CALLBACK FindOwnedBalloon(HWND hwnd, LPARAM lParam) {
    auto* search = reinterpret_cast<BalloonSearch*>(lParam);
    RECT r{};
    GetWindowRect(hwnd, &r);
    if (GetWindow(hwnd, GW_OWNER) != search->owner || r.right - r.left != kBalloonWidth) return TRUE;
    search->found = hwnd;
    return FALSE;
}

// The asker's window: it counts the answers it receives and keeps the last.
int s_answers = 0;
std::string s_lastAnswer;

LRESULT CALLBACK AskerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COPYDATA) {
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        s_lastAnswer.assign(static_cast<const char*>(data->lpData), data->cbData);
        ++s_answers;
        return TRUE;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

// Exchanges completed per second in one round of kRoundMs; the failed ones are counted apart.
double ExchangesPerSecond(const std::function<bool()>& exchange, int& failures) {
    LARGE_INTEGER start, now;
    QueryPerformanceCounter(&start);
    int done = 0;
    do {
        if (exchange()) {
            ++done;
        } else {
            ++failures;
        }
        QueryPerformanceCounter(&now);
    } while (Seconds(start, now) * 1000 < kRoundMs);
    return done / Seconds(start, now);
}

// Round trips completed in one round: each request is sent and its answer has come when
// SendMessage returns, since the answer is sent to this thread meanwhile.
double RoundTripsPerSecond(HWND target, HWND asker, const std::string& request, int& failures) {
    COPYDATASTRUCT data{};
    data.dwData = 9801;
    data.cbData = static_cast<DWORD>(request.size() + 1);
    data.lpData = const_cast<char*>(request.c_str());
    // A thread that has not looked at its queue for 5 s counts as hung, and both answer
    // with SMTO_ABORTIFHUNG: the asker looks before each round.
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    return ExchangesPerSecond(
        [&] {
            const int before = s_answers;
            DWORD_PTR result = 0;
            SendMessageTimeoutA(target, WM_COPYDATA, reinterpret_cast<WPARAM>(asker), reinterpret_cast<LPARAM>(&data),
                                SMTO_NORMAL, 5000, &result);
            return s_answers == before + 1;
        },
        failures);
}

// One SSTP exchange over TCP: the answer as read until the server closed, empty on failure.
std::string TcpExchange(u_short port, const std::string& request) {
    const SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET) return std::string();
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    // A lost answer costs the round two seconds and counts as a failure, never the run.
    const DWORD readBoundMs = 2000;
    setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&readBoundMs), sizeof readBoundMs);
    std::string answer;
    if (connect(s, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
        send(s, request.data(), static_cast<int>(request.size()), 0) == static_cast<int>(request.size())) {
        char buffer[1024];
        for (int n; (n = recv(s, buffer, sizeof buffer, 0)) > 0;) answer.append(buffer, static_cast<std::size_t>(n));
    }
    closesocket(s);
    return answer;
}

double TcpRoundTripsPerSecond(u_short port, const std::string& request, int& failures, std::string& lastAnswer) {
    return ExchangesPerSecond(
        [&] {
            lastAnswer = TcpExchange(port, request);
            return lastAnswer.rfind("SSTP/1.0 200 OK", 0) == 0;
        },
        failures);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: wine_bench <base directory of tumblecat.exe>\n");
        return 2;
    }
    std::string base = argv[1];
    if (base.back() != '\\') base += '\\';
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string tools = FolderOf(self);

    Program shaped(tools + "shaped_idle.exe", tools);
    Program echo(tools + "sstp_echo.exe", tools);
    Program tcpEcho(tools + "tcp_echo.exe", tools);
    Program cat(base + "tumblecat.exe", base);
    if (!shaped.Handle() || !echo.Handle() || !tcpEcho.Handle() || !cat.Handle()) {
        std::fprintf(stderr, "cannot start the programs\n");
        return 1;
    }
    HWND echoWindow = nullptr, shapedWindow = nullptr, catWindow = nullptr;
    const bool started = WaitFor(
        [&] {
            echoWindow = FindWindowA("TumblecatBenchEcho", nullptr);
            shapedWindow = FindWindowA("TumblecatBenchShaped", nullptr);
            catWindow = CatWindowFromBlock();
            DWORD_PTR answer = 0;
            return echoWindow && shapedWindow && catWindow && IsWindowVisible(catWindow) &&
                   SendMessageTimeoutA(catWindow, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &answer);
        },
        kStartTimeoutMs);
    if (!started) {
        std::fprintf(stderr, "the programs did not show their windows (cat %s)\n", cat.Running() ? "running" : "ended");
        return 1;
    }

    // The cat greets when it starts: its balloon shows, types and hides again 5 s later.
    BalloonSearch search{catWindow, nullptr};
    EnumWindows(FindOwnedBalloon, reinterpret_cast<LPARAM>(&search));
    bool shown = false;
    const bool greeted = search.found && WaitFor(
        [&] {
            shown = shown || IsWindowVisible(search.found);
            return shown && !IsWindowVisible(search.found);
        },
        kGreetingTimeoutMs);
    if (!greeted) std::printf("(the cat's greeting was not seen to end; idle time measured anyway)\n");

    const double cat0 = cat.CpuMs(), shaped0 = shaped.CpuMs();
    Sleep(kIdleMs);  // the measured period
    const double catIdle = cat.CpuMs() - cat0, shapedIdle = shaped.CpuMs() - shaped0;
    std::printf("idle CPU time over %lu s: cat %.0f ms, shaped window repainting every 50 ms %.0f ms; ratio %.2f "
                "(goal <= 1.2)\n",
                static_cast<unsigned long>(kIdleMs / 1000), catIdle, shapedIdle,
                shapedIdle > 0 ? catIdle / shapedIdle : 0.0);

    WNDCLASSA wc{};
    wc.lpfnWndProc = AskerProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "TumblecatBenchAsker";
    RegisterClassA(&wc);
    HWND asker = CreateWindowExA(0, wc.lpszClassName, "asker", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, wc.hInstance,
                                 nullptr);
    const std::string request = "EXECUTE SSTP/1.0\r\nSender: bench\r\nCommand: GetVersion\r\nHWnd: " +
                                std::to_string(static_cast<long long>(reinterpret_cast<INT_PTR>(asker))) + "\r\n\r\n";
    double catBest = 0, echoBest = 0;
    int catFailures = 0, echoFailures = 0;
    std::string catAnswer;
    for (int round = 0; round < kRounds; ++round) {
        catBest = std::max(catBest, RoundTripsPerSecond(catWindow, asker, request, catFailures));
        catAnswer = s_lastAnswer;
        echoBest = std::max(echoBest, RoundTripsPerSecond(echoWindow, asker, request, echoFailures));
    }
    std::printf("EXECUTE GetVersion round trips per second (best of %d rounds of %lu ms): cat %.0f, bare echo "
                "window %.0f; ratio %.2f (goal >= 0.8)\n",
                kRounds, static_cast<unsigned long>(kRoundMs), catBest, echoBest,
                echoBest > 0 ? catBest / echoBest : 0.0);
    const bool answered = catAnswer.rfind("SSTP/1.0 200 OK\r\n\r\n", 0) == 0;
    if (!answered || catFailures || echoFailures) {
        std::printf("unanswered requests: cat %d, echo %d; the cat's last answer: \"%s\"\n", catFailures, echoFailures,
                    catAnswer.c_str());
    }
    DestroyWindow(asker);

    WSADATA wsa;
    WSAStartup(MAKEWORD(2, 2), &wsa);
    const std::string tcpRequest = "EXECUTE SSTP/1.1\r\nSender: bench\r\nCommand: GetVersion\r\n\r\n";
    double catTcpBest = 0, echoTcpBest = 0;
    int catTcpFailures = 0, echoTcpFailures = 0;
    std::string catTcpAnswer, echoTcpAnswer;
    for (int round = 0; round < kRounds; ++round) {
        catTcpBest = std::max(catTcpBest, TcpRoundTripsPerSecond(9801, tcpRequest, catTcpFailures, catTcpAnswer));
        echoTcpBest = std::max(echoTcpBest, TcpRoundTripsPerSecond(9802, tcpRequest, echoTcpFailures, echoTcpAnswer));
    }
    std::printf("SSTP over TCP, EXECUTE GetVersion round trips per second (best of %d rounds of %lu ms): cat %.0f, "
                "bare TCP echo %.0f; ratio %.2f (goal >= 0.8)\n",
                kRounds, static_cast<unsigned long>(kRoundMs), catTcpBest, echoTcpBest,
                echoTcpBest > 0 ? catTcpBest / echoTcpBest : 0.0);
    if (catTcpFailures || echoTcpFailures) {
        std::printf("failed TCP exchanges: cat %d, echo %d; the cat's last answer: \"%s\"\n", catTcpFailures,
                    echoTcpFailures, catTcpAnswer.c_str());
    }
    TcpExchange(9802, "QUIT\r\n\r\n");
    WSACleanup();

    PostMessageA(catWindow, WM_COMMAND, kCmdQuit, 0);
    PostMessageA(echoWindow, WM_CLOSE, 0, 0);
    PostMessageA(shapedWindow, WM_CLOSE, 0, 0);
    cat.WaitForEnd(kStartTimeoutMs);
    const bool answeredOverTcp = catTcpAnswer.rfind("SSTP/1.0 200 OK\r\n\r\n", 0) == 0;
    return answered && answeredOverTcp && catIdle >= 0 && shapedIdle > 0 ? 0 : 1;
}
