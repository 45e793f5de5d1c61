// Dropping: what falls on whom. A drop decides the targets, shows a drop pose, starts the
// falling-object program 200 ms later and returns to a normal pose 1500 ms after that.
#include "app/Drop.h"

#include "app/AppGlobals.h"
#include "app/TumbleDlg.h"
#include "common/Random.h"
#include "common/Sjis.h"

namespace tc {

std::string SelfTargetToken(const std::string& skinName) {
    return std::string(kCatTargetPrefix) + skinName + kTargetEndMark;
}

std::string FormatDropParams(const std::string& set, int reactionMethod, int sstpPort, bool transparentDroplings,
                             int alpha, const std::string& targets) {
    return set + kDropFieldMark + std::to_string(reactionMethod) + kDropFieldMark + std::to_string(sstpPort) +
           kDropFieldMark + std::to_string((transparentDroplings ? kOpacityFlag : 0) + alpha) + kDropFieldMark +
           targets;
}

bool CTumbleDlg::OnLButtonDblClk(Point /*client*/) {
    DropRandomObject();
    return true;
}

bool CTumbleDlg::Drop(const std::string& objectName) {
    if (m_dropPose) return false;  // the last drop is still showing
    if (m_noConsecutiveDrop && platform().ipc.NamedMutexExists(kDroplingMutex)) return false;

    std::string targets;
    if (!RefreshDirectory()) {
        // Alone on the desktop: say so, or drop on itself, half and half.
        if (Random() % 2 == 0) {
            SayRandomLine(m_msgExecuteAlone);
            return true;
        }
        if (m_iconized) return true;
        targets = SelfTargetToken(m_skinName);
    }
    if (targets.empty()) {
        if (EqualsNoCase(m_target, kTargetRandom)) {
            if (Random() % 10 == 0 && !m_iconized) {
                targets = SelfTargetToken(m_skinName);
            } else if (RefreshDirectory()) {
                targets = PickRandomTarget();
            }
        } else if (EqualsNoCase(m_target, kTargetAll)) {
            if (RefreshDirectory()) targets = ShownTargets(*this, Windows());
            if (Random() % 10 == 0 && !m_iconized) targets += SelfTargetToken(m_skinName);
        } else {
            targets = m_target + "^";  // passed on whether or not that character is here
        }
    }

    m_dropParams = FormatDropParams(objectName, m_reactionMethod, m_sstpPort, m_transparentDroplings, m_alpha, targets);
    Windows().SetTimer(m_hWnd, kTimerLaunch, kLaunchDelay);
    SetPose(true);
    return true;
}

void CTumbleDlg::DropRandomObject() {
    const int i = RandomIndex(static_cast<int>(m_menuDroplings.size()));
    if (i == -1) return;
    Drop(m_menuDroplings[static_cast<std::size_t>(i)].folder);
}

std::string CTumbleDlg::PickRandomTarget() { return RandomShownTarget(*this, Windows()); }

void CTumbleDlg::LaunchDropling() {
    Windows().KillTimer(m_hWnd, kTimerLaunch);
    platform().shell.StartProgram(s_baseDirectory + kDroplingProgram, m_dropParams);
    Windows().SetTimer(m_hWnd, kTimerReturnPose, kReturnPoseDelay);
    SayExecuteLine();
}

void CTumbleDlg::EndDropPose() {
    Windows().KillTimer(m_hWnd, kTimerReturnPose);
    SetPose(false);
}

}  // namespace tc
