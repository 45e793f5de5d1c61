// The character window: a borderless dialog that shows the cat and owns nearly all state
// of the program. The class holds the state record; its operations are defined with the
// subsystem they belong to:
//   app/TumbleDlg.cpp   start-up, message dispatch, commands, shutdown
//   app/Placement.cpp   window shape, pose, placement, dragging, painting, tray
//   app/TimerLoop.cpp   the timers and the 50 ms tick
//   app/Commands.cpp    the context menu and its commands
//   app/Drop.cpp        dropping falling objects
//   skin/SkinLoader.cpp loading a skin: surfaces, frames and descriptor files
//   interop/DirectoryQueries.cpp  other characters, the own block, the rectangle query
//   talk/Speech.cpp     saying lines
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/SettingsFiles.h"
#include "interop/Directory.h"
#include "platform/Framework.h"
#include "platform/OwnedHandle.h"
#include "skin/Descriptors.h"
#include "skin/DibImage.h"
#include "skin/Element.h"
#include "skin/SkinFiles.h"

namespace tc {

constexpr int kCharacterDialogTemplate = 102;
constexpr int kAppIconResource = 128;
constexpr int kFramesPerSurface = 10;
constexpr const char* kCharacterWindowTitle = "たんぶる";

// Messages of the character window beyond the system's own.
constexpr unsigned kMsgTrayNotify = 0x8068;     // WM_APP + 0x68
constexpr unsigned kMsgRectangleQuery = 0x8065;  // WM_APP + 0x65

// Command ids of the context menu.
enum CommandId : int {
    kCmdDropRandom = 32772,
    kCmdProfile = 32775,
    kCmdQuit = 32777,
    kCmdDefaultSkin = 32778,
    kCmdAbout = 32779,
    kCmdSettings = 32780,
    kCmdNoConsecutiveDrop = 32784,
    kCmdAlwaysOnTop = 32789,
    kCmdIconize = 32790,
    kCmdDroplingProfile = 32791,
};

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
constexpr int kTickMilliseconds = 50;

// List file names, in the order they are read and written.
constexpr const char* kMenuDroplingsFile = "menulistk.cfg";
constexpr const char* kMenuSkinsFile = "menulists.cfg";
constexpr const char* kFilesetDroplingsFile = "filesetlistk.cfg";
constexpr const char* kFilesetSkinsFile = "filesetlists.cfg";
constexpr const char* kSettingsFile = "tumblecat.cfg";
constexpr const char* kReadmeFile = "readme.txt";

// Size and depth of a loaded surface image.
struct SurfaceInfo {
    int width = 0;
    int height = 0;
    int bitCount = 0;
};

class CTumbleDlg : public CDialog, public CharacterSettings {
public:
    explicit CTumbleDlg(Platform& platform);
    ~CTumbleDlg() override;

    bool OnInitDialog() override;
    bool OnCommand(std::uintptr_t wParam, std::intptr_t lParam) override;
    // Neither Escape nor Enter ends the character window: keys have no function on it.
    void OnCancel() override {}
    void OnOK() override {}
    bool WindowProc(unsigned message, std::uintptr_t wParam, std::intptr_t lParam, std::intptr_t& result) override;

    // Settings and list files (app/TumbleDlg.cpp).
    bool ReadSettings();
    bool WriteSettings();
    bool ReadListFile(ElementList& list, const char* fileName);
    bool WriteListFile(const ElementList& list, const char* fileName);
    void ReadListFiles();
    void WriteListFiles();
    void ReadVersion();
    void OnQuit();
    void OnDestroy();

    // Skin loading (skin/SkinLoader.cpp); restart is true for a skin change at run time.
    bool LoadSkin(bool restart);
    bool ReadProfile();
    SurfaceKind ProbeSurfaceKind();
    bool LoadSurfaces(SurfaceKind kind);
    bool LoadSurface(const std::string& path, int surface, SurfaceKind kind);
    void LoadFrames(SurfaceKind kind);
    void ReleaseSurfaces();
    void ReadBalloonOffsets();
    void ReadHeadRects();
    void ReadSeparation();
    void ReadOmni();
    void WriteOmni();

    // Placement, shape and tray (app/Placement.cpp).
    bool BuildSurfaceRegion(int surface, const DibImage& image);
    void SetPose(bool dropPose);
    int TaskbarOffset();
    void MoveToPosition();
    void OnLButtonDown(Point client);
    void OnMouseMove(Point client);
    void OnLButtonUp();
    void OnPaint();
    void ApplyTransparency();
    void OnAlwaysOnTop();
    void OnIconize();
    void AddTrayIcon();
    void RemoveTrayIcon();
    void OnTrayNotify(std::intptr_t mouseMessage);

    // Context menu and commands (app/Commands.cpp).
    ContextMenu BuildContextMenu() const;
    void OnRButtonDown(Point client);
    void ChangeSkin(const std::string& folder, bool saveFreePosition);

    // Drops (app/Drop.cpp).
    void Drop(const std::string& objectName);
    void DropRandomObject();
    std::string PickRandomTarget();
    void LaunchDropling();
    void EndDropPose();

    // Other characters (interop/DirectoryQueries.cpp).
    bool RefreshDirectory();
    bool IsShown(const SDSakura& entry);
    void PublishOwnBlock();
    std::intptr_t OnRectangleQuery(std::uintptr_t processId, std::intptr_t address);

    // Speech (talk/Speech.cpp).
    void Say(const std::string& text, const std::string& sender = std::string());
    void SayRandomLine(const std::vector<std::string>& lines);
    void Greet();

    // Timers (app/TimerLoop.cpp).
    void OnTimer(int timerId);
    void Tick();
    void StartPoseTimer();

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
    std::array<OwnedObject, kSurfaceCount> m_surfaceRegion{};
    std::array<Extent, kSurfaceCount> m_surfaceExtent{};
    bool m_transparencyReady = false;
    bool m_iconized = false;
    TrayIcon m_trayIcon;

    // Timer loop and conversation.
    int m_blinkCounter = -1;
    int m_talkIndex = -1;
    int m_talkPhase = 0;

    // Drop launcher.
    std::string m_dropParams;
    bool m_dropPose = false;

    // Shutdown.
    bool m_quitRequested = false;

    // Other characters and the own block.
    std::vector<SDSakura> m_sakuraList;
    int m_sakuraCurrent = -1;
    std::unique_ptr<SharedBlock> m_ownBlock;  // the mapping and its view, released together

    // Lines said on events (filled from speak.txt).
    std::vector<std::string> m_msgExecute;
    std::vector<std::string> m_msgExecuteAlone;
    // The last line said and its sender, as the balloon shows them.
    std::string m_lastSaid;
    std::string m_lastSender;

    // Skin and surfaces.
    std::string m_skinTitle;
    std::string m_skinProfile;
    int m_surfaceCount = 2;
    int m_normalSurfaceCount = 1;
    int m_dropSurfaceFirst = 1;
    int m_dropSurfaceCount = 1;
    std::array<std::optional<SurfaceInfo>, kSurfaceCount> m_surfaceInfo{};
    std::array<OwnedObject, kSurfaceCount> m_surfaceBitmap{};
    std::array<int, kSurfaceCount> m_surfaceBitsSize{};
    std::array<std::array<OwnedObject, kFramesPerSurface>, kSurfaceCount> m_surfaceFrames{};
    std::array<int, kSurfaceCount> m_surfaceLastFrame{};
    std::array<HeadRect, kSurfaceCount> m_headRect{};
    std::vector<std::uint8_t> m_pngImage;
    int m_balloonOffsetX = kOffsetNotGiven;
    int m_balloonOffsetY = kOffsetNotGiven;

private:
    void SetStartValues();
    std::string BasePath(const char* fileName) const;
    std::string SkinPath(std::string_view fileName) const;
    std::optional<DibImage> ReadSurfaceImage(const std::string& path, SurfaceKind kind);
    WindowSystem& Windows() { return platform().windows; }
};

}  // namespace tc
