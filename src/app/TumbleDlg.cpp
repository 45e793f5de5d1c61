// The character window's start-up, its settings and list files, and its shutdown.
#include "app/TumbleDlg.h"

#include "app/AppGlobals.h"
#include "common/Random.h"
#include "common/TextReader.h"
#include "interop/SstpOutgoing.h"
#include "skin/Resources.h"

namespace tc {

CTumbleDlg::CTumbleDlg(Platform& platform) : CDialog(platform, kCharacterDialogTemplate) {
    m_hIcon = platform.windows.LoadAppIcon(kAppIconResource);
}

CTumbleDlg::~CTumbleDlg() = default;

std::string CTumbleDlg::BasePath(const char* fileName) const { return s_baseDirectory + fileName; }

SkinSource CTumbleDlg::CurrentSkin() {
    return SkinSource{platform().files, platform().painting, s_baseDirectory, m_skinName};
}

void CTumbleDlg::SetStartValues() {
    m_blinkCounter = -1;
    m_taskbarOffset = 0;
    m_quitRequested = false;
    m_talkIndex = -1;
    m_posX = 0;
    m_posY = 0;
    m_placeMode = 0;

    static_cast<CharacterSettings&>(*this) = CharacterSettings{};
    m_balloonOffsetX = kOffsetNotGiven;
    m_balloonOffsetY = kOffsetNotGiven;
    m_transparencyReady = false;
    m_loading = true;
    m_iconized = false;
    ResetSurfaceCounts(*this);
    m_dropPose = false;
}

bool CTumbleDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    Windows().SetIcons(m_hWnd, m_hIcon);
    m_startFailed = false;
    ReleaseSurfaces(*this);
    SetStartValues();
    SeedRandom(static_cast<std::uint32_t>(platform().system.TimeSeconds()));
    ReadSettings();
    Windows().SetWindowTitle(m_hWnd, kCharacterWindowTitle);
    platform().shell.AcceptDroppedFiles(m_hWnd, true);
    ReadListFiles();

    if (!LoadSkin(false)) {
        // The rest of the sequence still runs; the dialog closes once this returns.
        m_startFailed = true;
        EndDialog(1);
    }
    AddTrayIcon();
    PublishOwnBlock();
    m_talkQueryMessage = platform().ipc.RegisterMessage(kTalkingQueryMessageName);
    m_taskbarCreatedMessage = platform().ipc.RegisterMessage(kTaskbarCreatedMessageName);
    CreateBalloon();
    ReadVersion();
    m_transparencyReady = true;
    ApplyTransparency();

    StartTimers();
    if (!m_startFailed) OpenSstpDoor();
    if (!m_startFailed) Greet();
    return true;
}

bool CTumbleDlg::OnAppMessage(unsigned message, std::uintptr_t first, std::intptr_t second, std::intptr_t& result) {
    switch (message) {
    case kMsgRectangleQuery:
        result = OnRectangleQuery(first, second);
        return true;
    case kMsgTrayNotify:
        OnTrayNotify(second);
        result = 1;
        return true;
    case kMsgInstallDone:
        OnInstallDone();
        return true;
    default:
        // A restarted shell has an empty tray: without its icon an iconized cat is out of reach.
        if (m_taskbarCreatedMessage != 0 && message == m_taskbarCreatedMessage) {
            AddTrayIcon();
            return true;
        }
        return false;
    }
}

// --- Settings and list files ---

bool CTumbleDlg::ReadSettings() {
    const auto bytes = platform().files.ReadWholeFile(BasePath(kSettingsFile));
    if (!bytes) return false;
    ApplySettingsFile(*bytes, *this);
    return true;
}

bool CTumbleDlg::WriteSettings() {
    return platform().files.WriteWholeFile(BasePath(kSettingsFile), FormatSettingsFile(*this));
}

bool CTumbleDlg::ReadListFile(ElementList& list, const char* fileName) {
    const auto bytes = platform().files.ReadWholeFile(BasePath(fileName));
    if (!bytes) return false;
    return ParseListFile(*bytes, list);
}

bool CTumbleDlg::WriteListFile(const ElementList& list, const char* fileName) {
    return platform().files.WriteWholeFile(BasePath(fileName), FormatListFile(list));
}

void CTumbleDlg::ReadListFiles() {
    struct ListSource {
        ElementList& list;
        const char* fileName;
        ResourceListKind kind;
    };
    const ListSource sources[] = {
        {m_menuDroplings, kMenuDroplingsFile, ResourceListKind::MenuDroplings},
        {m_menuSkins, kMenuSkinsFile, ResourceListKind::MenuSkins},
        {s_filesetDroplings, kFilesetDroplingsFile, ResourceListKind::FilesetDroplings},
        {s_filesetSkins, kFilesetSkinsFile, ResourceListKind::FilesetSkins},
    };
    for (const ListSource& source : sources) {
        source.list.clear();
        source.list.shrink_to_fit();
        if (!ReadListFile(source.list, source.fileName)) {
            ScanResources(platform().files, s_baseDirectory, source.kind, source.list);
        }
    }
}

void CTumbleDlg::WriteListFiles() {
    // A file that cannot be written is skipped; the next one is still written.
    WriteListFile(m_menuDroplings, kMenuDroplingsFile);
    WriteListFile(m_menuSkins, kMenuSkinsFile);
    WriteListFile(s_filesetDroplings, kFilesetDroplingsFile);
    WriteListFile(s_filesetSkins, kFilesetSkinsFile);
}

void CTumbleDlg::ReadVersion() {
    const auto bytes = platform().files.ReadWholeFile(BasePath(kReadmeFile));
    m_version = bytes ? FirstLineOf(*bytes) : "unknown";
}

// --- Shutdown ---

void CTumbleDlg::OnQuit() {
    // An iconized cat leaves without a word; the tick ends the window once the goodbye is over.
    if (!m_iconized) SayGoodbye();
    m_quitRequested = true;
    m_quitTime = NowMs();
}

void CTumbleDlg::KillAllTimers() {
    for (int timer : {kTimerLaunch, kTimerReturnPose, kTimerTick, kTimerEnd, kTimerTalk, kTimerAutoDrop, kTimerPose}) {
        Windows().KillTimer(m_hWnd, timer);
    }
}

void CTumbleDlg::SaveState() {
    WriteListFiles();
    if (!m_startFailed) WriteSettings();
    WriteOmni();
}

// At a logoff or shutdown the process may be ended as soon as this returns: what Quit would
// write is written now, and a partner told to keep quiet is released. There is no time for
// a farewell.
void CTumbleDlg::OnEndSession(bool ending) {
    if (!ending) return;
    platform().background.Finish();  // an install still running completes first
    CutConversation();
    SaveState();
}

void CTumbleDlg::OnDestroy() {
    platform().background.Finish();  // an install still running completes first
    m_sstpDoor.reset();
    SaveState();
    ReleaseSurfaces(*this);
    m_balloon.reset();
    KillAllTimers();
    m_ownBlock.reset();
    m_sakuraList.clear();
    static_cast<TalkRecord&>(*this) = TalkRecord{};
    m_menuDroplings.clear();
    m_menuSkins.clear();
    s_filesetDroplings.clear();
    s_filesetSkins.clear();
    RemoveTrayIcon();
    s_instanceMutex.reset();  // last, so a copy starting meanwhile still finds it and ends
}

}  // namespace tc
