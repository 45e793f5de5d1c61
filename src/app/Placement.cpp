// Where the cat's window stands and what shape it has: the surface regions, the pose
// choice, the taskbar offset, dragging, painting, transparency, always on top, iconizing
// into the tray, and the tray icon.
#include "app/TumbleDlg.h"
#include "common/Random.h"
#include "platform/Messages.h"

namespace tc {

namespace {
constexpr const char* kTaskbarClass = "Shell_TrayWnd";
constexpr unsigned kTrayIconId = 1;
}  // namespace

void CTumbleDlg::SetPose(bool dropPose) {
    m_dropPose = dropPose;
    m_scriptSurface.reset();  // a new pose ends what a script showed
    const int r = Random();
    int surface = dropPose ? ((r * m_dropSurfaceCount) >> 15) + m_dropSurfaceFirst : (r * m_normalSurfaceCount) >> 15;
    // A pose whose surface did not load (a skin of one surface has no drop poses) shows surface 0.
    if (!SurfaceLoaded(surface)) surface = m_surfaceCount > 0 ? 0 : -1;
    ShowSurface(surface);
}

bool CTumbleDlg::SurfaceLoaded(int surface) const {
    return surface >= 0 && surface < m_surfaceCount && m_surfaceInfo[surface];
}

// A script's \s[n] shows surface n while its line is shown, when the skin has that surface; a
// drop pose keeps its own.
void CTumbleDlg::ShowScriptSurface(int surface) {
    if (m_loading || m_dropPose || !SurfaceLoaded(surface)) return;
    if (!m_scriptSurface) m_poseBeforeScript = m_surface;
    m_scriptSurface = surface;
    ShowSurface(surface);
}

// The line is over: back to the pose it interrupted, unless another pose came meanwhile.
void CTumbleDlg::EndScriptSurface() {
    if (!m_scriptSurface) return;
    const bool unchanged = m_surface == *m_scriptSurface;
    m_scriptSurface.reset();
    if (unchanged && SurfaceLoaded(m_poseBeforeScript)) ShowSurface(m_poseBeforeScript);
}

void CTumbleDlg::ShowSurface(int surface) {
    m_surface = surface;
    if (!SurfaceLoaded(surface)) return;

    const SurfaceInfo& info = *m_surfaceInfo[m_surface];
    platform().painting.SetWindowShape(m_hWnd, m_surfaceRegion[m_surface].Get());
    m_winWidth = info.width;
    m_winHeight = info.height;
    KeepOnScreen();  // a place saved on a monitor since unplugged
    if (m_placeMode == 0 || m_placeMode == 2) {
        m_posY = StandingTop(CatMonitor());
        if (m_placeMode == 2) m_placeMode = 1;
    }
    // A hidden (iconized) cat stays hidden through pose changes.
    Windows().PlaceWindow(m_hWnd, m_alwaysOnTop, {m_posX, m_posY - m_taskbarOffset, m_posX + m_winWidth,
                                                  m_posY - m_taskbarOffset + m_winHeight},
                          !m_iconized);
}

// A cat on the bottom belongs to the monitor below it; a freely placed one to the monitor
// showing most of it.
Monitor CTumbleDlg::CatMonitor() {
    const int top = m_posY - m_taskbarOffset;
    const Rect window{m_posX, top, m_posX + m_winWidth, top + m_winHeight};
    const std::vector<Monitor> monitors = Windows().Monitors();
    return m_placeMode == 0 ? FloorMonitorOf(monitors, window) : MonitorOf(monitors, window);
}

// Without a taskbar offset the bottom row is the row just below the monitor; with the offset
// of a bottom taskbar subtracted, it is the taskbar's top row.
int CTumbleDlg::StandingTop(const Monitor& monitor) const { return monitor.area.bottom - m_winHeight + 1; }

std::optional<Rect> CTumbleDlg::BottomTaskbar(const Monitor& monitor) {
    const NativeHandle taskbar = Windows().FindWindowByClass(kTaskbarClass);
    if (!taskbar) return std::nullopt;
    const Rect& screen = monitor.area;
    const Rect bar = Windows().WindowRect(taskbar);
    if (bar.right <= screen.left || bar.left >= screen.right) return std::nullopt;  // another monitor's
    if (bar.right - bar.left + 1 < screen.Width()) return std::nullopt;            // at a side
    if (bar.bottom < screen.bottom) return std::nullopt;                            // at the top
    return bar;
}

// The work area tells where the system's taskbars are; a taskbar window of another shell
// that the work area does not know is found by its class.
int CTumbleDlg::TaskbarHeight(const Monitor& monitor) {
    if (const int height = BottomTaskbarHeight(monitor)) return height;
    const std::optional<Rect> bar = BottomTaskbar(monitor);
    return bar ? monitor.area.bottom - bar->top : 0;
}

int CTumbleDlg::TaskbarOffset() { return m_placeMode != 0 ? 0 : TaskbarHeight(CatMonitor()); }

void CTumbleDlg::KeepOnScreen() {
    const std::vector<Monitor> monitors = Windows().Monitors();
    const int top = m_posY - m_taskbarOffset;
    const Point kept = KeepOnMonitors(monitors, {m_posX, top, m_posX + m_winWidth, top + m_winHeight});
    m_posX = kept.x;
    m_posY = kept.y + m_taskbarOffset;
}

bool CTumbleDlg::OnDisplayChange() {
    KeepOnScreen();
    ApplySize();
    if (m_placeMode == 0 && SurfaceLoaded(m_surface)) m_posY = StandingTop(CatMonitor());
    MoveToPosition();
    return true;
}

// Runs on every tick: the window moves only when its place changed, and is repainted only
// when it moved or another picture is due, so an idle cat costs next to nothing.
void CTumbleDlg::MoveToPosition() {
    m_taskbarOffset = TaskbarOffset();
    const int top = m_posY - m_taskbarOffset;
    const Rect place{m_posX, top, m_posX + m_winWidth, top + m_winHeight};
    const bool moved = Windows().WindowRect(m_hWnd) != place;
    if (moved) Windows().MoveWindow(m_hWnd, place);
    // What a paint shows is not known here (the system may repaint only a part), so the
    // whole window is invalidated whenever another picture is due than the last one asked for.
    const NativeHandle due = PictureDue();
    if (moved || due != m_pictureAsked) {
        Windows().Invalidate(m_hWnd, m_winWidth, m_winHeight);
        m_pictureAsked = due;
    }
}

NativeHandle CTumbleDlg::PictureDue() const {
    if (m_loading || m_surface < 0 || !m_surfaceInfo[m_surface]) return 0;
    const int lastFrame = m_surfaceLastFrame[m_surface];
    const bool frameDue = m_blinkCounter != -1 && lastFrame != -1 && m_blinkCounter <= lastFrame;
    // A frame whose file did not decode shows the surface instead of nothing.
    const NativeHandle frame = frameDue ? m_surfaceFrames[m_surface][m_blinkCounter].Get() : 0;
    return frame ? frame : m_surfaceBitmap[m_surface].Get();
}

bool CTumbleDlg::OnLButtonDown(Point client) {
    const Point screen = Windows().ClientToScreen(m_hWnd, client);
    const Rect window = Windows().WindowRect(m_hWnd);
    m_dragOffsetX = screen.x - window.left;
    m_dragOffsetY = screen.y - window.top;
    m_dragging = true;
    platform().input.SetCapture(m_hWnd);
    return true;
}

bool CTumbleDlg::OnMouseMove(Point client, bool leftButtonDown) {
    // Without the button held the drag is over, whatever became of its release.
    if (!m_dragging || !leftButtonDown) return true;
    const Point screen = Windows().ClientToScreen(m_hWnd, client);
    m_posX = screen.x - m_dragOffsetX;
    if (m_placeMode != 0) {
        m_posY = screen.y - m_dragOffsetY;
    } else {
        // On the bottom only sideways, onto the bottom line of whichever monitor it reaches.
        const Monitor monitor = CatMonitor();
        m_posY = StandingTop(monitor);
        m_taskbarOffset = TaskbarHeight(monitor);
    }
    const int top = m_posY - m_taskbarOffset;
    Windows().MoveWindow(m_hWnd, {m_posX, top, m_posX + m_winWidth, top + m_winHeight});
    if (m_balloon && m_balloon->IsShown()) PlaceBalloon();
    return true;
}

bool CTumbleDlg::OnLButtonUp(Point /*client*/) {
    m_dragging = false;
    platform().input.ReleaseCapture();
    return true;
}

// A menu opened mid-drag (or any other window) takes the capture: the button-up may then
// never come, so the drag ends here.
bool CTumbleDlg::OnCaptureChanged() {
    m_dragging = false;
    return true;
}

bool CTumbleDlg::OnPaint() {
    const NativeHandle picture = PictureDue();
    if (!picture) {
        platform().painting.PaintWindow(m_hWnd, 0, 0, 0);
        return true;
    }
    // The bitmaps keep the pictures' own size; the window system draws them enlarged.
    const SurfaceInfo& info = *m_surfaceInfo[m_surface];
    platform().painting.PaintWindow(m_hWnd, picture, info.width / m_scale, info.height / m_scale, m_scale);
    return true;
}

// The cat and its balloon share one opacity; without transparency both are plain windows.
void CTumbleDlg::ApplyTransparency() {
    if (!m_transparencyReady) return;
    if (!m_transparent) {
        if (platform().windows.IsWindow(m_hWnd)) platform().painting.ClearLayered(m_hWnd);
        if (m_balloon) m_balloon->SetOpacity(std::nullopt);
        return;
    }
    platform().painting.SetLayeredAlpha(m_hWnd, m_alpha & 0xFF);
    if (m_balloon) m_balloon->SetOpacity(m_alpha & 0xFF);
}

void CTumbleDlg::OnAlwaysOnTop() {
    m_alwaysOnTop = !m_alwaysOnTop;
    Windows().SetTopmost(m_hWnd, m_alwaysOnTop, !m_iconized);
}

void CTumbleDlg::OnIconize() {
    if (m_iconized) {
        Windows().ShowWindow(m_hWnd, true);
        m_iconized = false;
        ArmAutoDropTimer();
        return;
    }
    Windows().ShowWindow(m_hWnd, false);
    m_iconized = true;  // before the balloon goes, so the pose it puts back stays hidden
    if (m_balloon) m_balloon->Hide();
    Windows().KillTimer(m_hWnd, kTimerAutoDrop);  // automatic dropping pauses meanwhile
}

void CTumbleDlg::AddTrayIcon() {
    m_trayIcon.window = m_hWnd;
    m_trayIcon.id = kTrayIconId;
    m_trayIcon.callbackMessage = kMsgTrayNotify;
    m_trayIcon.icon = Windows().SmallIcon(m_hWnd);
    m_trayIcon.tip = kCharacterWindowTitle;
    platform().shell.AddTrayIcon(m_trayIcon);  // a failure is not reported
}

void CTumbleDlg::RemoveTrayIcon() {
    if (m_trayIcon.window) platform().shell.DeleteTrayIcon(m_trayIcon);
}

void CTumbleDlg::OnTrayNotify(std::intptr_t mouseMessage) {
    if (DialogOpen()) return;
    if (mouseMessage == kWmLButtonDblClk) {
        OnIconize();
    } else if (mouseMessage == kWmRButtonDown) {
        // As a right button press on the cat at the cursor.
        OnRButtonDown(Windows().ScreenToClient(m_hWnd, platform().input.CursorPosition()));
    }
}

}  // namespace tc
