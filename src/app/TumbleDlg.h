// The character window: a borderless dialog that shows the cat and owns nearly all state of
// the program. Its state comes in records that the subsystems define (settings, skin,
// directory, talk) plus the window's own members below; every operation is defined in this
// folder, in the file named above its block.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/SettingsFiles.h"
#include "install/InstallRules.h"
#include "install/Installer.h"
#include "interop/DirectoryRecord.h"
#include "platform/Framework.h"
#include "platform/Monitors.h"
#include "platform/ResourceIds.h"
#include "skin/Element.h"
#include "skin/SkinLoader.h"
#include "skin/SkinRecord.h"
#include "interop/SstpIncoming.h"
#include "talk/BalloonDlg.h"
#include "talk/TalkEngine.h"
#include "talk/TalkRecord.h"

namespace tc {

constexpr int kCharacterDialogTemplate = IDD_TUMBLECAT_DIALOG;
constexpr int kAppIconResource = IDR_MAINFRAME;
constexpr const char* kCharacterWindowTitle = "たんぶる";

// Messages of the character window beyond the system's own.
constexpr unsigned kMsgTrayNotify = 0x8068;     // WM_APP + 0x68
constexpr unsigned kMsgInstallDone = 0x8069;    // WM_APP + 0x69: the install away from the window ended
// Registered by name; the shell sends it to every top-level window when it has (re)started.
constexpr const char* kTaskbarCreatedMessageName = "TaskbarCreated";

// Command ids of the context menu.
enum CommandId : int {
    kCmdDropRandom = ID_DROP_RANDOM,
    kCmdProfile = ID_PROFILE,
    kCmdQuit = ID_QUIT,
    kCmdDefaultSkin = ID_DEFAULT_SKIN,
    kCmdAbout = ID_ABOUT,
    kCmdSettings = ID_SETTINGS,
    kCmdNoConsecutiveDrop = ID_NO_CONSECUTIVE_DROP,
    kCmdAlwaysOnTop = ID_ALWAYS_ON_TOP,
    kCmdIconize = ID_ICONIZE,
    kCmdDroplingProfile = ID_DROPLING_PROFILE,
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

class CTumbleDlg : public CDialog,
                   public CharacterSettings,  // app/SettingsFiles.h
                   public SkinRecord,         // skin/SkinRecord.h
                   public DirectoryRecord,    // interop/DirectoryRecord.h
                   public TalkRecord {        // talk/TalkRecord.h
public:
    explicit CTumbleDlg(Platform& platform);
    ~CTumbleDlg() override;

    ////////////////////////
    // TumbleDlg.cpp: start-up, settings and list files, shutdown
    bool OnInitDialog() override;
    bool OnAppMessage(unsigned message, std::uintptr_t first, std::intptr_t second, std::intptr_t& result) override;
    NativeHandle OnQueryDragIcon() override { return m_hIcon; }
    // Neither Escape nor Enter ends the character window: keys have no function on it.
    void OnCancel() override {}
    void OnOK() override {}
    bool ReadSettings();
    bool WriteSettings();
    bool ReadListFile(ElementList& list, const char* fileName);
    bool WriteListFile(const ElementList& list, const char* fileName);
    void ReadListFiles();
    void WriteListFiles();
    void ReadVersion();
    void OnQuit();
    // Writes what the program keeps between runs: the list files, the settings and the free
    // position.
    void SaveState();
    void OnEndSession(bool ending) override;
    void OnDestroy() override;

    ////////////////////////
    // SkinLoading.cpp: loading a skin; restart is true for a skin change at run time
    bool LoadSkin(bool restart);
    void ReadOmni();
    void WriteOmni();
    // The factor the size setting asks for on the cat's monitor now.
    int WantedScale();
    // Loads the pictures again when that factor changed; pose and place stay.
    void ApplySize();
    bool OnDpiChanged(int dpi) override;

    ////////////////////////
    // Placement.cpp: pose, placement, dragging, painting, transparency, tray
    void SetPose(bool dropPose);
    bool SurfaceLoaded(int surface) const;
    // Shows a surface in the window's shape and size at the cat's place.
    void ShowSurface(int surface);
    void ShowScriptSurface(int surface);
    void EndScriptSurface();
    int TaskbarOffset();
    // The monitor the cat stands on.
    Monitor CatMonitor();
    // m_posY of the cat standing on the monitor's bottom line, at its present height.
    int StandingTop(const Monitor& monitor) const;
    // The height of a taskbar along the monitor's bottom (0 for none).
    int TaskbarHeight(const Monitor& monitor);
    // The taskbar window when it runs along the whole bottom of the monitor.
    std::optional<Rect> BottomTaskbar(const Monitor& monitor);
    // Displays changed: a cat that no monitor shows any more comes back onto the nearest one.
    void KeepOnScreen();
    bool OnDisplayChange() override;
    void MoveToPosition();
    // The bitmap the window should show now (a surface or one of its frames), 0 for none.
    NativeHandle PictureDue() const;
    bool OnLButtonDown(Point client) override;
    bool OnMouseMove(Point client, bool leftButtonDown) override;
    bool OnLButtonUp(Point client) override;
    bool OnCaptureChanged() override;
    bool OnPaint() override;
    void ApplyTransparency();
    void OnAlwaysOnTop();
    void OnIconize();
    void AddTrayIcon();
    void RemoveTrayIcon();
    void OnTrayNotify(std::intptr_t mouseMessage);

    ////////////////////////
    // Commands.cpp: the context menu and its commands
    ContextMenu BuildContextMenu() const;
    bool OnRButtonDown(Point client) override;
    bool OnCommand(int id) override;
    void ChangeSkin(const std::string& folder);

    ////////////////////////
    // Dialogs.cpp: the settings sheet, the profile and about dialogs
    // Whether one of the cat's modal dialogs runs: the cat then takes no command.
    bool DialogOpen() const { return m_openDialogs > 0; }
    void OnSettings();
    void OnProfile();
    void OnDroplingProfile();
    void OnAbout();

    ////////////////////////
    // Drop.cpp: dropping falling objects
    bool OnLButtonDblClk(Point client) override;
    // False when the drop is refused: the last drop still shows, or consecutive drops are off
    // and the falling-object program still runs.
    bool Drop(const std::string& objectName);
    void DropRandomObject();
    std::string PickRandomTarget();
    void LaunchDropling();
    void EndDropPose();

    ////////////////////////
    // Interop.cpp: other characters, the own block, the rectangle query
    bool RefreshDirectory();
    bool IsShown(const SDSakura& entry);
    void PublishOwnBlock();
    std::intptr_t OnRectangleQuery(std::uintptr_t processId, std::intptr_t address);

    ////////////////////////
    // Talk.cpp: the balloon, the lines of speak.txt, greetings, farewells and conversations
    void CreateBalloon();
    void LoadMessageConfig();
    // Shows a line or script in the balloon, its SakuraScript tags read (a surface it names is
    // shown meanwhile); a non-empty sender gives the caption of a line another program sent. Nothing is said while the cat is hidden or a skin loads.
    void Say(const std::string& text, const std::string& sender = std::string());
    void SayRandomLine(const std::vector<std::string>& lines);
    void SayExecuteLine();
    void PlaceBalloon();
    BalloonPlacementInputs BalloonInputs();
    Rect BalloonArea();
    bool BalloonSpeaking() const;
    void Greet();
    void SayGoodbye();
    void StepConversation();
    // Ends a running conversation now; its partner is released.
    void CutConversation();
    void OnPartnerTimer();

    ////////////////////////
    // SstpSending.cpp: requests to the other character of a conversation
    bool SendCommand(int command, const SDSakura& partner);
    bool SendScript(const std::string& script, const SDSakura& partner);
    void SendSstp(NativeHandle to, const std::string& text);
    // The talking-state query: true while the partner still talks.
    bool PartnerTalking(const SDSakura& partner);

    ////////////////////////
    // SstpServer.cpp: requests other programs send the cat
    bool OnCopyData(NativeHandle sender, std::string_view bytes) override;
    // sender: the window that sent the request (wParam of its WM_COPYDATA), 0 for none.
    int HandleSstpRequest(const std::string& text, NativeHandle sender);
    std::string AnswerSstpRequest(const SstpRequest& request);
    std::optional<std::string> OnTcpRequest(std::string_view received, bool ended);
    void OpenSstpDoor();
    std::optional<NativeHandle> ReplyWindowFor(const SstpRequest& request, NativeHandle sender);
    std::string AnswerSend(const SstpRequest& request);
    std::string AnswerExecute(const SstpRequest& request);  // in the request's charset
    std::string AnswerDrop(const SstpRequest& request);

    ////////////////////////
    // DropFiles.cpp: installing dropped archives
    bool OnDropFiles(const std::vector<std::string>& paths) override;
    // From the drop until its outcome is shown.
    bool InstallRunning() const { return m_installOutcome != nullptr; }
    // The install that ran away from the window's thread has ended: its outcome is shown.
    void OnInstallDone();
    // Says the outcome's line; after a success, announces the item and rebuilds its lists.
    void ShowInstallOutcome(const InstallOutcome& outcome);
    // Says the install-complete line of the kind, "@objname" replaced by the new item's name.
    void AnnounceInstall(const std::string& folderPath, bool isDropling);

    ////////////////////////
    // TimerLoop.cpp: the timers and the 50 ms tick
    bool OnTimer(int timerId) override;
    void Tick();
    void StartPoseTimer();
    void ArmAutoDropTimer();
    void StartTimers();

    // --- The window's own state ---
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
    bool m_transparencyReady = false;
    NativeHandle m_pictureAsked = 0;  // the picture the window was last invalidated for
    bool m_iconized = false;
    TrayIcon m_trayIcon;

    // Timer loop.
    int m_blinkCounter = -1;

    // Drop launcher.
    std::string m_dropParams;
    bool m_dropPose = false;
    std::optional<int> m_scriptSurface;  // the surface a script shows while its line is shown
    int m_poseBeforeScript = -1;

    // Install: the outcome of the install running, written by it, read after it ended.
    std::shared_ptr<InstallOutcome> m_installOutcome;

    // Dialogs.
    int m_openDialogs = 0;

    // Shutdown.
    bool m_quitRequested = false;
    std::uint32_t m_quitTime = 0;  // when Quit was chosen, to bound the farewell

    // Talking.
    std::unique_ptr<CBalloonDlg> m_balloon;
    std::unique_ptr<Door> m_sstpDoor;  // SSTP over TCP, when open
    // The other character of the conversation, taken when it is told to keep quiet and kept
    // until it is released: the current character may change meanwhile.
    std::optional<SDSakura> m_talkPartner;
    unsigned m_talkQueryMessage = 0;  // the message registered as "Sakura"
    unsigned m_taskbarCreatedMessage = 0;  // "TaskbarCreated": the shell (re)started

private:
    void SetStartValues();
    std::string BasePath(const char* fileName) const;
    SkinSource CurrentSkin();
    void CarryOut(const TalkAction& action);
    std::uint32_t NowMs() { return platform().system.TickMilliseconds(); }
    void KillAllTimers();
    WindowSystem& Windows() { return platform().windows; }
};

}  // namespace tc
