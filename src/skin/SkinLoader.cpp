// Loading a skin into the character window: profile, surfaces with their regions,
// animation frames and descriptor files, in the order the window relies on.
#include "app/AppGlobals.h"
#include "app/TumbleDlg.h"
#include "common/Random.h"
#include "skin/PngDecoder.h"

namespace tc {

namespace {

const char* Extension(SurfaceKind kind) { return kind == SurfaceKind::Png ? "png" : "bmp"; }

// surface0 to surface9, then surface10m to surface31m: surface10.bmp is a frame of surface 1.
std::string SurfaceFileName(int surface, SurfaceKind kind) {
    return "surface" + std::to_string(surface) + (surface >= 10 ? "m." : ".") + Extension(kind);
}

std::string FrameFileName(int surface, int frame, SurfaceKind kind) {
    return "surface" + std::to_string(surface) + std::to_string(frame) + "." + Extension(kind);
}

}  // namespace

bool CTumbleDlg::LoadSkin(bool restart) {
    m_loading = true;
    if (!ReadProfile()) return false;
    if (restart) {
        for (int timer : {kTimerTick, kTimerLaunch, kTimerReturnPose, kTimerAutoDrop, kTimerTalk, kTimerPose}) {
            Windows().KillTimer(m_hWnd, timer);
        }
        m_talkPhase = 2;
        m_blinkCounter = -1;
        m_dragging = false;
        m_dropSurfaceFirst = 1;
        m_normalSurfaceCount = 1;
        m_dropSurfaceCount = 1;
        m_surfaceCount = 2;
    }
    ReleaseSurfaces();
    const SurfaceKind kind = ProbeSurfaceKind();
    if (kind == SurfaceKind::None) return false;
    if (!LoadSurfaces(kind)) {
        ReleaseSurfaces();
        return false;
    }
    ReadBalloonOffsets();
    LoadFrames(kind);
    ReadHeadRects();
    ReadSeparation();
    ReadOmni();
    if (restart) {
        Windows().SetTimer(m_hWnd, kTimerTick, kTickMilliseconds);
        if (m_autoDrop) Windows().SetTimer(m_hWnd, kTimerAutoDrop, m_autoDropMinutes * 60000);
        StartPoseTimer();
    }
    m_loading = false;
    SetPose(false);
    return true;
}

bool CTumbleDlg::ReadProfile() {
    const auto bytes = platform().files.ReadWholeFile(SkinPath("profile.txt"));
    if (!bytes) return false;
    ParseProfile(*bytes, m_skinTitle, m_skinProfile);
    return true;
}

SurfaceKind CTumbleDlg::ProbeSurfaceKind() { return tc::ProbeSurfaceKind(platform().files, s_baseDirectory, m_skinName); }

std::optional<DibImage> CTumbleDlg::ReadSurfaceImage(const std::string& path, SurfaceKind kind) {
    const auto bytes = platform().files.ReadWholeFile(path);
    if (!bytes) return std::nullopt;
    if (kind == SurfaceKind::Bmp) return ParseBmpFile(*bytes);
    if (!DecodePng(*bytes, m_pngImage)) return std::nullopt;
    auto image = ParseBmpImage(std::move(m_pngImage));
    m_pngImage.clear();  // emptied after each picture, whoever holds its bytes now
    return image;
}

bool CTumbleDlg::LoadSurfaces(SurfaceKind kind) {
    int loaded = 0;
    while (loaded < kSurfaceCount && LoadSurface(SkinPath(SurfaceFileName(loaded, kind)), loaded, kind)) ++loaded;
    if (loaded == 0) return false;
    m_surfaceCount = loaded;
    return true;
}

bool CTumbleDlg::LoadSurface(const std::string& path, int surface, SurfaceKind kind) {
    const auto image = ReadSurfaceImage(path, kind);
    if (!image) return false;
    OwnedObject bitmap(Windows(), Windows().CreateScreenBitmap(image->header, image->Bits()));
    if (!bitmap) return false;
    m_surfaceBitmap[surface] = std::move(bitmap);
    m_surfaceInfo[surface] = SurfaceInfo{image->width, image->height, image->bitCount};
    m_surfaceBitsSize[surface] = static_cast<int>(image->BitsSize());
    return BuildSurfaceRegion(surface, *image);
}

void CTumbleDlg::LoadFrames(SurfaceKind kind) {
    for (int s = 0; s < m_surfaceCount; ++s) {
        int frames = 0;
        for (; frames < kFramesPerSurface; ++frames) {
            const std::string path = SkinPath(FrameFileName(s, frames, kind));
            if (!platform().files.CanOpen(path)) break;
            const auto image = ReadSurfaceImage(path, kind);
            // A BMP frame that exists but does not load still counts: nothing is drawn
            // while it is due. A PNG frame that does not decode ends the frames.
            if (!image && kind == SurfaceKind::Png) break;
            if (image) {
                m_surfaceFrames[s][frames] =
                    OwnedObject(Windows(), Windows().CreateScreenBitmap(image->header, image->Bits()));
            }
        }
        m_surfaceLastFrame[s] = frames - 1;
    }
    m_blinkCounter = -1;
    m_pngImage.clear();
}

void CTumbleDlg::ReleaseSurfaces() {
    for (int s = 0; s < kSurfaceCount; ++s) {
        m_surfaceBitmap[s].Reset();
        m_surfaceRegion[s].Reset();
        for (OwnedObject& frame : m_surfaceFrames[s]) frame.Reset();
        m_surfaceInfo[s].reset();
        m_surfaceBitsSize[s] = 0;
        m_surfaceLastFrame[s] = -1;
        m_surfaceExtent[s] = Extent{};
    }
}

void CTumbleDlg::ReadBalloonOffsets() {
    const BalloonOffsets offsets = ParseBalloonOffsets(platform().files.ReadWholeFile(SkinPath("balloon.txt")));
    m_balloonOffsetX = offsets.x;
    m_balloonOffsetY = offsets.y;
}

void CTumbleDlg::ReadHeadRects() {
    for (int s = 0; s < kSurfaceCount; ++s) m_headRect[s] = DefaultHeadRect(m_surfaceExtent[s]);
    if (const auto bytes = platform().files.ReadWholeFile(SkinPath("headrect.txt"))) ParseHeadRects(*bytes, m_headRect);
}

void CTumbleDlg::ReadSeparation() {
    const int first = ParseSeparation(platform().files.ReadWholeFile(SkinPath("separate.txt")), m_surfaceCount);
    m_normalSurfaceCount = first;
    m_dropSurfaceFirst = first;
    m_dropSurfaceCount = m_surfaceCount - first;
}

void CTumbleDlg::ReadOmni() {
    const OmniPlacement placement = ParseOmni(platform().files.ReadWholeFile(SkinPath("omni.txt")));
    m_placeMode = placement.mode;
    if (placement.x) m_posX = *placement.x;
    if (placement.y) m_posY = *placement.y;
}

void CTumbleDlg::WriteOmni() {
    if (m_placeMode == 0) return;
    platform().files.WriteWholeFile(SkinPath("omni.txt"), FormatOmni(m_posX, m_posY));
}

}  // namespace tc
