// The timers of the character window and the 50 ms tick that animates the cat, watches for
// the end after Quit and keeps the window in place.
#include "app/TumbleDlg.h"
#include "common/Random.h"

namespace tc {

namespace {
constexpr int kLastBlinkStep = 9;
constexpr int kQuitWhileIconizedDelay = 100;
constexpr int kQuitAfterFarewellDelay = 1000;
// However the other character behaves, the program ends this long after Quit (plus the
// end delay): each of its steps is bounded too, but a long script has many.
constexpr std::uint32_t kFarewellLimitMs = 15000;
}  // namespace

void CTumbleDlg::StartPoseTimer() {
    // 30, 60, 90 or 120 seconds.
    Windows().SetTimer(m_hWnd, kTimerPose, ((Random() >> 13) + 1) * 30000);
}

// Automatic dropping runs every m_autoDropMinutes while it is on.
void CTumbleDlg::ArmAutoDropTimer() {
    if (m_autoDrop) Windows().SetTimer(m_hWnd, kTimerAutoDrop, m_autoDropMinutes * 60000);
}

// The tick, automatic dropping and the pose changes: what runs while a skin is shown.
void CTumbleDlg::StartTimers() {
    Windows().SetTimer(m_hWnd, kTimerTick, kTickMilliseconds);
    ArmAutoDropTimer();
    StartPoseTimer();
}

bool CTumbleDlg::OnTimer(int timerId) {
    switch (timerId) {
    case kTimerLaunch:
        LaunchDropling();
        break;
    case kTimerReturnPose:
        EndDropPose();
        break;
    case kTimerAutoDrop:
        DropRandomObject();  // the timer keeps running
        break;
    case kTimerTick:
        Tick();
        break;
    case kTimerEnd:
        EndDialog(1);
        break;
    case kTimerTalk:
        OnPartnerTimer();
        break;
    case kTimerPose:
        if (m_dropPose) break;  // a drop pose stays until the drop is over
        SetPose(false);
        Windows().KillTimer(m_hWnd, kTimerPose);
        StartPoseTimer();
        break;
    default:
        return false;
    }
    return true;
}

void CTumbleDlg::Tick() {
    // 1. Animation: on average once in 64 ticks on a surface that has frames; it lasts ten
    // ticks whatever the number of frames.
    if (m_blinkCounter == -1) {
        if (m_surface >= 0 && Random() % 64 == 0 && m_surfaceLastFrame[m_surface] != -1) {
            m_blinkCounter = 0;
            Windows().SetTimer(m_hWnd, kTimerTick, kTickMilliseconds);
        }
    } else if (++m_blinkCounter > kLastBlinkStep) {
        m_blinkCounter = -1;
        Windows().SetTimer(m_hWnd, kTimerTick, kTickMilliseconds);
    }

    // 2. Conversation.
    StepConversation();

    // 3. Quit: end once the farewell is over, or once it has taken too long.
    if (m_quitRequested) {
        if (m_iconized) {
            Windows().KillTimer(m_hWnd, kTimerTick);
            Windows().SetTimer(m_hWnd, kTimerEnd, kQuitWhileIconizedDelay);
        } else if (NowMs() - m_quitTime >= kFarewellLimitMs) {
            // The partner told to keep quiet is released even when the farewell is cut short.
            CutConversation();
            Windows().KillTimer(m_hWnd, kTimerTick);
            Windows().SetTimer(m_hWnd, kTimerEnd, kQuitWhileIconizedDelay);
        } else if (m_talkIndex == -1 && !BalloonSpeaking()) {
            Windows().KillTimer(m_hWnd, kTimerTick);
            Windows().SetTimer(m_hWnd, kTimerEnd, kQuitAfterFarewellDelay);
        }
    }

    // 4. Placement.
    MoveToPosition();
}

}  // namespace tc
