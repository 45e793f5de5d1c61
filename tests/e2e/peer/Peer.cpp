#include "peer/Peer.h"

#include <cstring>

namespace e2e {

namespace {

constexpr const char* kCharacterClass = "TumblecatPeerCharacter";
constexpr const char* kStandClass = "Texture0";
constexpr DWORD kBlockSize = 0x10000;
constexpr UINT_PTR kMailslotTimer = 1;
constexpr WPARAM kTalkingQuery = 140;
constexpr UINT kRectangleQuery = 0x8065;

Peer* s_peer = nullptr;  // one peer per test process
UINT s_sakuraMessage = 0;

void RegisterClassOnce(const char* name, WNDPROC proc) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    wc.lpszClassName = name;
    RegisterClassA(&wc);
}

}  // namespace

Peer::Peer(std::vector<PeerCharacter> characters, bool withStand)
    : m_characters(std::move(characters)), m_withStand(withStand) {
    s_peer = this;
    s_sakuraMessage = RegisterWindowMessageA("Sakura");
    m_ready = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    m_thread = std::thread([this] { Run(); });
    WaitForSingleObject(m_ready, 10000);
}

Peer::~Peer() {
    PostThreadMessageA(m_threadId, WM_QUIT, 0, 0);
    m_thread.join();
    if (m_mailslot != INVALID_HANDLE_VALUE) CloseHandle(m_mailslot);
    if (m_mapping) CloseHandle(m_mapping);
    if (m_guard) CloseHandle(m_guard);
    CloseHandle(m_ready);
    s_peer = nullptr;
}

void Peer::Run() {
    m_threadId = GetCurrentThreadId();
    RegisterClassOnce(kCharacterClass, WindowProc);
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    int x = screenWidth - 60;
    for (const PeerCharacter& c : m_characters) {
        const DWORD style = WS_POPUP | WS_CLIPSIBLINGS | (c.shown ? WS_VISIBLE : 0);
        m_windows.push_back(CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kCharacterClass, c.name.c_str(), style,
                                            x, 10, 48, 48, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr));
        x -= 60;
    }
    if (m_withStand) {
        RegisterClassOnce(kStandClass, WindowProc);
        m_stand = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kStandClass, "Stand", WS_POPUP | WS_VISIBLE,
                                  screenWidth - 400, 80, 400, 400, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        m_mailslot = CreateMailslotA("\\\\.\\mailslot\\Stand", 0, 0, nullptr);
        SetTimer(nullptr, kMailslotTimer, 50, nullptr);
    }
    m_guard = CreateMutexA(nullptr, FALSE, "SakuraFMO");
    m_mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kBlockSize, "Sakura");
    Publish();

    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
    SetEvent(m_ready);
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.hwnd == nullptr && msg.message == WM_TIMER) {
            ReadMailslot();
            continue;
        }
        DispatchMessageA(&msg);
    }
    for (HWND w : m_windows) DestroyWindow(w);
    if (m_stand) DestroyWindow(m_stand);
}

void Peer::Publish() {
    std::string text;
    for (std::size_t i = 0; i < m_characters.size(); ++i) {
        const PeerCharacter& c = m_characters[i];
        text += c.id + ".hwnd\x01" + std::to_string(static_cast<long long>(reinterpret_cast<INT_PTR>(m_windows[i]))) + "\r\n";
        text += c.id + ".name\x01" + c.name + "\r\n";
        text += c.id + ".keroname\x01" + c.keroname + "\r\n";
        text += c.id + ".path\x01" + "C:\\ghost\\" + c.id + "\\\r\n";
    }
    void* view = MapViewOfFile(m_mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0);
    if (!view) return;
    WaitForSingleObject(m_guard, 1000);
    auto* bytes = static_cast<char*>(view);
    const DWORD size = kBlockSize;
    std::memcpy(bytes, &size, 4);
    std::memcpy(bytes + 4, text.data(), text.size());
    bytes[4 + text.size()] = '\0';
    ReleaseMutex(m_guard);
    UnmapViewOfFile(view);
}

LRESULT CALLBACK Peer::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COPYDATA && s_peer) {
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        std::lock_guard<std::mutex> lock(s_peer->m_lock);
        s_peer->m_received.push_back(
            {hwnd, data->dwData, std::string(static_cast<const char*>(data->lpData), data->cbData), GetTickCount()});
        return TRUE;
    }
    if (message == s_sakuraMessage && wParam == kTalkingQuery && s_peer) return s_peer->m_talking ? 1 : 0;
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

void Peer::ReadMailslot() {
    if (m_mailslot == INVALID_HANDLE_VALUE) return;
    DWORD next = 0, count = 0;
    while (GetMailslotInfo(m_mailslot, nullptr, &next, &count, nullptr) && next != MAILSLOT_NO_MESSAGE) {
        std::string message(next, '\0');
        DWORD read = 0;
        if (!ReadFile(m_mailslot, message.data(), next, &read, nullptr)) break;
        message.resize(read);
        std::lock_guard<std::mutex> lock(m_lock);
        m_mailslotMessages.push_back(message);
    }
}

HWND Peer::Window(const std::string& id) const {
    for (std::size_t i = 0; i < m_characters.size(); ++i) {
        if (m_characters[i].id == id) return m_windows[i];
    }
    return nullptr;
}

std::vector<ReceivedData> Peer::Received() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_received;
}

std::vector<std::string> Peer::MailslotMessages() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_mailslotMessages;
}

LRESULT Peer::SendSstp(HWND cat, const std::string& request, bool fromWindow) const {
    COPYDATASTRUCT data{};
    data.dwData = 9801;
    data.cbData = static_cast<DWORD>(request.size() + 1);
    data.lpData = const_cast<char*>(request.c_str());
    DWORD_PTR result = 0;
    HWND from = fromWindow && !m_windows.empty() ? m_windows[0] : nullptr;
    SendMessageTimeoutA(cat, WM_COPYDATA, reinterpret_cast<WPARAM>(from),
                        reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, 5000, &result);
    return static_cast<LRESULT>(result);
}

std::string Peer::AskRectangle(HWND cat) const {
    static char answer[256];
    std::memset(answer, 0, sizeof answer);
    const LRESULT written = SendMessageA(cat, kRectangleQuery, GetCurrentProcessId(), reinterpret_cast<LPARAM>(answer));
    return written ? std::string(answer) : std::string();
}

}  // namespace e2e
