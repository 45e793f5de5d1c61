// The character window: a borderless dialog that shows the cat and owns nearly all state
// of the program. Its behaviour is spread over the subsystems; this class holds the state
// record and the start-up and shutdown sequences that tie them together.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "app/SettingsFiles.h"
#include "platform/Framework.h"
#include "skin/Element.h"
#include "skin/SkinFiles.h"

namespace tc {

constexpr int kCharacterDialogTemplate = 102;
constexpr int kAppIconResource = 128;
constexpr int kSurfaceTableSize = 32;
constexpr int kFramesPerSurface = 10;
constexpr int kBalloonOffsetNotGiven = 1024;
constexpr const char* kCharacterWindowTitle = "たんぶる";

// Timer ids of the character window.
enum TimerId : int {
    kTimerLaunch = 1,      // starts the falling-object program after a drop
    kTimerReturnPose = 2,  // back to a normal pose after a launch
    kTimerTick = 3,        // the 50 ms tick
    kTimerEnd = 4,         // ends the dialog after Quit
    kTimerTalk = 5,        // paces the other character's conversation steps
    kTimerAutoDrop = 7,    // automatic dropping
    kTimerPose = 8,        // occasional pose change
};

// List file names, in the order they are read and written.
constexpr const char* kMenuDroplingsFile = "menulistk.cfg";
constexpr const char* kMenuSkinsFile = "menulists.cfg";
constexpr const char* kFilesetDroplingsFile = "filesetlistk.cfg";
constexpr const char* kFilesetSkinsFile = "filesetlists.cfg";
constexpr const char* kSettingsFile = "tumblecat.cfg";
constexpr const char* kReadmeFile = "readme.txt";

struct SurfaceExtent {
    int left = 1024;
    int right = 0;
};

struct HeadRect {
    int left = 0, top = 0, right = 0, bottom = 0;
};

class CTumbleDlg : public CDialog, public CharacterSettings {
public:
    explicit CTumbleDlg(Platform& platform);
    ~CTumbleDlg() override;

    bool OnInitDialog() override;
    void OnCancel() override {}  // Escape never ends the character window
    bool WindowProc(unsigned message, std::uintptr_t wParam, std::intptr_t lParam, std::intptr_t& result) override;

    // Settings and list files.
    bool ReadSettings();
    bool WriteSettings();
    bool ReadListFile(ElementList& list, const char* fileName);
    bool WriteListFile(const ElementList& list, const char* fileName);
    void ReadListFiles();
    void WriteListFiles();

    // Skin loading; restart is true for a skin change at run time.
    bool LoadSkin(bool restart);
    bool ReadProfile();
    SurfaceKind ProbeSurfaceKind();
    void ReleaseSurfaces();

    void ReadVersion();
    void OnDestroy();

    // --- The state record ---
    NativeHandle m_hIcon = 0;
    bool m_startFailed = false;
    bool m_loading = true;
    std::string m_version;

    ElementList m_menuDroplings;
    ElementList m_menuSkins;

    // Placement and shape.
    int m_posY = 0;
    int m_placeMode = 0;
    int m_dragOffsetX = 0;
    int m_dragOffsetY = 0;
    bool m_dragging = false;
    int m_surface = -1;
    int m_winWidth = 0;
    int m_winHeight = 0;
    int m_taskbarOffset = 0;
    std::array<NativeHandle, kSurfaceTableSize> m_surfaceRegion{};
    std::array<SurfaceExtent, kSurfaceTableSize> m_surfaceExtent{};
    bool m_transparencyReady = false;
    bool m_iconized = false;

    // Timer loop and conversation.
    int m_blinkCounter = -1;
    int m_talkIndex = -1;
    int m_talkPhase = 0;

    // Drop launcher.
    std::string m_dropParams;
    bool m_dropPose = false;

    // Shutdown.
    bool m_quitRequested = false;

    // Skin and surfaces.
    std::string m_skinTitle;
    std::string m_skinProfile;
    int m_surfaceCount = 2;
    int m_normalSurfaceCount = 1;
    int m_dropSurfaceFirst = 1;
    int m_dropSurfaceCount = 1;
    std::array<NativeHandle, kSurfaceTableSize> m_surfaceBitmap{};
    std::array<int, kSurfaceTableSize> m_surfaceBitsSize{};
    std::array<std::array<NativeHandle, kFramesPerSurface>, kSurfaceTableSize> m_surfaceFrames{};
    std::array<int, kSurfaceTableSize> m_surfaceLastFrame{};
    std::array<HeadRect, kSurfaceTableSize> m_headRect{};
    int m_balloonOffsetX = kBalloonOffsetNotGiven;
    int m_balloonOffsetY = kBalloonOffsetNotGiven;

private:
    void ClearSurfaceTables();
    void SetStartValues();
    std::string BasePath(const char* fileName) const;
};

}  // namespace tc
