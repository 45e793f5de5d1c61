#include "dropling/DropRun.h"

#include <windows.h>
#include <mmsystem.h>

#include <array>
#include <cmath>
#include <optional>
#include <memory>
#include <vector>

#include "common/Random.h"
#include "dropling/HitSender.h"
#include "dropling/ObjectWindow.h"
#include "dropling/SetLoader.h"
#include "dropling/TargetWindows.h"
#include "falling/Fall.h"
#include "falling/HitRequests.h"
#include "falling/Targets.h"
#include "interop/Directory.h"
#include "platform/Monitors.h"
#include "skin/Scale.h"
#include "platform/win32/Win32Handles.h"
#include "platform/win32/Win32Platform.h"

namespace tc {

namespace {

constexpr LONG kFramePeriodMs = 16;
constexpr DWORD kIdleWaitMs = 100;
constexpr int kShapeRefreshFrames = 30;  // a character may change its pose without changing size
constexpr int kHeadRefreshFrames = 15;
constexpr int kStartGapStep = 90;         // objects for several targets do not arrive together
constexpr int kStartGapJitter = 40;
constexpr const wchar_t* kMessageWindowClass = L"DroplingMessages";

double Seconds() {
    static const double frequency = [] {
        LARGE_INTEGER f{};
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / frequency;
}

std::int32_t HandleNumber(HWND window) { return static_cast<std::int32_t>(reinterpret_cast<INT_PTR>(window)); }

// The hidden window named in every request's HWnd line; answers arrive here and are dropped.
class MessageWindow {
public:
    MessageWindow() {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = &MessageWindow::WindowProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = kMessageWindowClass;
        RegisterClassW(&windowClass);
        m_window = CreateWindowExW(0, kMessageWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
    }
    ~MessageWindow() {
        if (m_window) DestroyWindow(m_window);
    }
    MessageWindow(const MessageWindow&) = delete;
    MessageWindow& operator=(const MessageWindow&) = delete;
    HWND Get() const { return m_window; }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_COPYDATA) return TRUE;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    HWND m_window = nullptr;
};

// The system timer at 1 ms for the run, so the 16 ms timer keeps its period.
class TimerResolution {
public:
    TimerResolution() : m_set(timeBeginPeriod(1) == TIMERR_NOERROR) {}
    ~TimerResolution() {
        if (m_set) timeEndPeriod(1);
    }
    TimerResolution(const TimerResolution&) = delete;
    TimerResolution& operator=(const TimerResolution&) = delete;

private:
    bool m_set;
};

KernelHandle StartFrameTimer() {
    KernelHandle timer(CreateWaitableTimerW(nullptr, FALSE, nullptr));
    if (!timer) return timer;
    LARGE_INTEGER due{};
    due.QuadPart = -static_cast<LONGLONG>(kFramePeriodMs) * 10000;  // relative, in 100 ns
    if (!SetWaitableTimer(timer.Get(), &due, kFramePeriodMs, nullptr, nullptr, FALSE)) return KernelHandle();
    return timer;
}

void PumpMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

struct FallingObject {
    std::string token;
    ResolvedTarget target;
    int floorX = 0;  // where it lands when the target has no window
    Rect screen;     // the target's monitor: it falls from its top onto its bottom
    FallState state;
    std::unique_ptr<ObjectWindow> window;
    // What was last seen of the target, refreshed now and then.
    Rect targetRect;
    std::vector<Rect> shape;
    int shapeAge = kShapeRefreshFrames;
    std::optional<Rect> head;
    int headAge = kHeadRefreshFrames;
};

class DropRun {
public:
    DropRun(const DropParams& params, LoadedSet set) : m_params(params), m_set(std::move(set)) {}

    bool Aim();
    RunReport Run();

private:
    Landing LandingOf(FallingObject& object);
    Landing CharacterLanding(FallingObject& object, NativeHandle window);
    Landing CatLanding(FallingObject& object, NativeHandle window);
    void Frame(double dt);
    void Tell(const FallingObject& object);
    bool AllGone() const;

    const DropParams& m_params;
    LoadedSet m_set;
    std::array<std::optional<LoadedSet>, kMaxScale + 1> m_enlargedSets;  // made once per factor
    Win32Painting m_painting;
    Win32InterProcess m_ipc;
    Win32WindowSystem m_windows;
    const Monitor& MonitorOfTarget(const ResolvedTarget& target);
    const LoadedSet& SetAt(int scale);

    std::vector<Monitor> m_monitors = m_windows.Monitors();
    MessageWindow m_messages;
    HitSender m_sender{reinterpret_cast<NativeHandle>(m_messages.Get())};
    std::vector<FallingObject> m_objects;
};

Landing DropRun::CharacterLanding(FallingObject& object, NativeHandle window) {
    const Rect rect = m_windows.WindowRect(window);
    if (rect.Width() != object.targetRect.Width() || rect.Height() != object.targetRect.Height() ||
        ++object.shapeAge >= kShapeRefreshFrames) {
        object.shape = WindowShapeRects(window);
        object.shapeAge = 0;
    }
    object.targetRect = rect;
    return ShapeLanding(rect, object.shape);
}

Landing DropRun::CatLanding(FallingObject& object, NativeHandle window) {
    if (++object.headAge >= kHeadRefreshFrames) {
        if (const auto head = AskHeadRect(m_ipc, window)) object.head = head;
        object.headAge = 0;
    }
    if (!object.head) return CharacterLanding(object, window);
    object.targetRect = m_windows.WindowRect(window);
    return HeadLanding(object.targetRect, *object.head);
}

Landing DropRun::LandingOf(FallingObject& object) {
    const NativeHandle window = WindowHandleOf(object.target.hwnd);
    const int middle = static_cast<int>(std::lround(object.state.x)) + object.state.width / 2;
    switch (object.target.kind) {
    case TargetKind::Character:
        if (IsShownStyle(m_windows.WindowStyle(window))) return CharacterLanding(object, window);
        break;
    case TargetKind::Cat:
        if (m_windows.IsWindowVisible(window)) return CatLanding(object, window);
        break;
    case TargetKind::Missing:
        return FloorLanding(object.screen, object.floorX);
    }
    return FloorLanding(object.screen, middle);  // the target went away: the floor below
}

// Targets may stand on any monitor, left of or above the primary one too; a target without a
// window is looked for on the primary one.
const Monitor& DropRun::MonitorOfTarget(const ResolvedTarget& target) {
    const NativeHandle window = WindowHandleOf(target.hwnd);
    if (target.kind == TargetKind::Missing || !m_windows.IsWindow(window)) return m_monitors.front();
    return MonitorOf(m_monitors, m_windows.WindowRect(window));
}

// The set's picture and shape enlarged as the cat's are on a monitor of that scale; a picture
// too large to enlarge falls as it is.
const LoadedSet& DropRun::SetAt(int scale) {
    if (scale <= 1) return m_set;
    std::optional<LoadedSet>& enlarged = m_enlargedSets[static_cast<std::size_t>(scale)];
    if (!enlarged) {
        auto picture = ScaleImage(m_set.picture, scale);
        if (!picture) return m_set;
        enlarged = LoadedSet{m_set.folder, m_set.displayName, m_set.text, *std::move(picture),
                             ScaleShape(m_set.shape, scale)};
    }
    return *enlarged;
}

bool DropRun::Aim() {
    const auto characters = ReadCharacterWindows(m_ipc, m_windows);
    const std::int32_t cat = ReadCatWindow(m_ipc);
    for (std::size_t i = 0; i < m_params.targets.size(); ++i) {
        FallingObject object;
        object.token = m_params.targets[i];
        object.target = ResolveTarget(object.token, characters, cat);
        const Monitor& monitor = MonitorOfTarget(object.target);
        object.screen = monitor.area;
        const LoadedSet& set = SetAt(WholeScaleFor(monitor.dpi, kMaxScale));
        const int width = set.picture.width;
        // It lands on what shows of it: the key-coloured rows below the picture do not count.
        const int height = set.shape.runs.back().y + 1;
        object.floorX = object.screen.left + width / 2 + Random() % std::max(1, object.screen.Width() - width);
        const int gap = static_cast<int>(i) * kStartGapStep % (3 * kStartGapStep) + Random() % kStartGapJitter;
        object.state = StartFall(width, height, LandingOf(object), object.screen, gap, Random() % 2 ? 1 : -1);
        object.window = std::make_unique<ObjectWindow>(m_painting, set, FallPosition(object.state), m_params.alpha);
        if (*object.window) m_objects.push_back(std::move(object));
    }
    return !m_objects.empty();
}

void DropRun::Tell(const FallingObject& object) {
    const auto& lines = m_set.text.reactions;
    const int pick = RandomIndex(static_cast<int>(lines.size()));
    const HitReport hit{m_set.displayName, m_set.folder, object.token,
                        pick < 0 ? std::string() : lines[static_cast<std::size_t>(pick)]};
    // The cat takes only SEND; a line to say needs a line.
    const bool say = m_params.reaction == Reaction::Send || object.target.kind == TargetKind::Cat;
    if (say && hit.line.empty()) return;
    const NativeHandle window = WindowHandleOf(object.target.hwnd);
    const bool byWindow = object.target.kind != TargetKind::Missing && m_windows.IsWindow(window);
    const std::int32_t reply = byWindow ? HandleNumber(m_messages.Get()) : 0;
    std::string request = say ? FormatHitSend(hit, reply) : FormatHitNotify(hit, reply);
    if (byWindow) {
        m_sender.SendToWindow(window, std::move(request));
    } else {
        m_sender.SendOverTcp(m_params.port, std::move(request));
    }
}

void DropRun::Frame(double dt) {
    HDWP batch = BeginDeferWindowPos(static_cast<int>(m_objects.size()));
    for (FallingObject& object : m_objects) {
        if (object.state.phase == FallPhase::Gone) continue;
        const Landing landing = object.state.phase == FallPhase::Leaving ? Landing{} : LandingOf(object);
        if (StepFall(object.state, landing, m_set.text.knobs, object.screen, dt)) Tell(object);
        if (object.state.phase == FallPhase::Gone) {
            object.window->Hide();
            continue;
        }
        object.window->SetAlpha(static_cast<int>(std::lround(m_params.alpha * object.state.opacity)));
        batch = object.window->DeferMove(batch, FallPosition(object.state));
    }
    if (batch) EndDeferWindowPos(batch);
}

bool DropRun::AllGone() const {
    for (const FallingObject& object : m_objects) {
        if (object.state.phase != FallPhase::Gone) return false;
    }
    return true;
}

RunReport DropRun::Run() {
    TimerResolution resolution;
    KernelHandle timer = StartFrameTimer();
    for (FallingObject& object : m_objects) object.window->Show();
    const double start = Seconds();
    double last = start;
    RunReport report;
    report.objects = static_cast<int>(m_objects.size());
    for (;;) {
        const HANDLE handles[] = {timer.Get()};
        // Without a timer the run still steps, at the idle wait's pace.
        const DWORD woke = timer ? MsgWaitForMultipleObjects(1, handles, FALSE, kIdleWaitMs, QS_ALLINPUT)
                                 : MsgWaitForMultipleObjects(0, nullptr, FALSE, kFramePeriodMs, QS_ALLINPUT);
        PumpMessages();
        const double now = Seconds();
        if (now - start >= kRunBoundSeconds) break;
        if (woke == WAIT_OBJECT_0 || (!timer && woke == WAIT_TIMEOUT)) {
            if (!AllGone()) {
                Frame(now - last);
                ++report.frames;
                report.seconds = now - start;
            }
            last = now;
        }
        // Gone objects wait for their hits to be told, so the answers still find this window.
        if (AllGone() && m_sender.Idle()) break;
    }
    return report;
}

}  // namespace

std::optional<RunReport> RunDrop(const DropParams& params, const std::string& baseDirectory) {
    Win32FileSystem files;
    auto set = LoadSet(files, baseDirectory, params.set);
    if (!set) return std::nullopt;
    DropRun run(params, std::move(*set));
    if (!run.Aim()) return std::nullopt;
    return run.Run();
}

}  // namespace tc
