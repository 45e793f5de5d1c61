// Loading the skin into the character window: the skin's files come through the skin
// loader; the window stops its timers around a change of skin, forgets the state that
// belonged to the old skin, and takes the new one's free placement.
#include "app/AppGlobals.h"
#include "app/TumbleDlg.h"

namespace tc {

bool CTumbleDlg::LoadSkin(bool restart) {
    m_loading = true;
    // Whatever happens next, the placement read from the old skin's omni.txt is not this
    // skin's: a failed load must never write it into the new skin's folder.
    m_placeMode = 0;
    SkinSource skin = CurrentSkin();
    skin.scale = WantedScale();
    if (!ReadProfile(skin, *this)) return false;
    if (restart) {
        for (int timer : {kTimerTick, kTimerLaunch, kTimerReturnPose, kTimerAutoDrop, kTimerTalk, kTimerPose}) {
            Windows().KillTimer(m_hWnd, timer);
        }
        m_blinkCounter = -1;
        m_dragging = false;
        ResetSurfaceCounts(*this);
    }
    ReleaseSurfaces(*this);
    if (!LoadSkinPictures(skin, *this)) return false;
    LoadMessageConfig();
    m_blinkCounter = -1;
    ReadOmni();
    if (restart) StartTimers();
    m_loading = false;
    SetPose(false);
    return true;
}

int CTumbleDlg::WantedScale() {
    return m_size != kSizeFollowDisplay ? m_size : WholeScaleFor(CatMonitor().dpi, kLargestSize);
}

void CTumbleDlg::ApplySize() {
    if (m_loading || WantedScale() == m_scale) return;
    const int surface = m_surface;
    ReleaseSurfaces(*this);
    // A skin whose files went meanwhile leaves no picture, as a failed skin change does.
    SkinSource skin = CurrentSkin();
    skin.scale = WantedScale();
    if (!LoadSkinPictures(skin, *this)) return;
    ShowSurface(SurfaceLoaded(surface) ? surface : 0);
    PlaceBalloon();
}

// The monitor's scale changed, or the cat was dragged onto a monitor of another scale.
bool CTumbleDlg::OnDpiChanged(int /*dpi*/) {
    ApplySize();
    return true;
}

void CTumbleDlg::ReadOmni() {
    const OmniPlacement placement = ParseOmni(platform().files.ReadWholeFile(CurrentSkin().Path("omni.txt")));
    m_placeMode = placement.mode;
    if (placement.x) m_posX = *placement.x;
    if (placement.y) m_posY = *placement.y;
}

void CTumbleDlg::WriteOmni() {
    if (m_placeMode == 0) return;
    platform().files.WriteWholeFile(CurrentSkin().Path("omni.txt"), FormatOmni(m_posX, m_posY));
}

}  // namespace tc
