// The dialogs of the context menu: the settings sheet, the skin's profile, the falling-object
// profiles and the about dialog. The settings command copies the character's settings into
// the sheet's pages and, when the sheet is confirmed, back.
#include "app/AppGlobals.h"
#include "app/TumbleDlg.h"
#include "dialogs/ProfileDialogs.h"
#include "dialogs/SettingsSheet.h"
#include "skin/Resources.h"

namespace tc {

namespace {

// The cat owns its dialogs, so the window system disables it while one runs. What reaches it
// all the same (the tray icon's menu, files dropped on it) is turned away until the dialog is
// closed: a second sheet, a skin change, Quit or an install must not happen under a dialog
// that shows the state they change.
class OpenDialogScope {
public:
    explicit OpenDialogScope(int& count) : m_count(count) { ++m_count; }
    ~OpenDialogScope() { --m_count; }
    OpenDialogScope(const OpenDialogScope&) = delete;
    OpenDialogScope& operator=(const OpenDialogScope&) = delete;

private:
    int& m_count;
};

}  // namespace

void CTumbleDlg::OnSettings() {
    if (m_talkIndex != -1) return;  // not during a conversation
    const OpenDialogScope open(m_openDialogs);
    CNConfDlg sheet(platform(), s_baseDirectory);

    sheet.m_reaction.m_method = m_reactionMethod;
    sheet.m_reaction.m_tcpDoor = m_sstpTcpDoor;
    // A copy of the names: requests handled while the sheet runs may rebuild the directory.
    RefreshDirectory();
    std::vector<std::string> names;
    for (const SDSakura& entry : m_sakuraList) {
        names.push_back(entry.name);
        sheet.m_target.m_names += entry.name + "^";
    }
    sheet.m_target.m_target = TargetPosition(m_target, names);
    sheet.m_autoExecute.m_enable = m_autoDrop;
    sheet.m_autoExecute.m_minutes = m_autoDropMinutes;
    CPageTRANSPARENT& look = sheet.m_transparent;
    look.m_ready = m_transparencyReady;
    look.m_enable = m_transparent;
    look.m_droplings = m_transparentDroplings;
    look.m_alpha = m_alpha & 0xFF;
    look.m_size = m_size;
    look.m_hCharacter = m_hWnd;
    look.m_hBalloon = m_balloon ? m_balloon->m_hWnd : 0;

    // Closing the sheet other than by OK changes no setting, and the windows return to the
    // opacity they had; only the file set page's changes, made on disk at once, stay.
    if (sheet.DoModal(m_hWnd) == kIdOk) {
        m_reactionMethod = sheet.m_reaction.m_method < 0 ? m_reactionMethod : sheet.m_reaction.m_method;
        if (sheet.m_reaction.m_tcpDoor != m_sstpTcpDoor) {
            m_sstpTcpDoor = sheet.m_reaction.m_tcpDoor;
            OpenSstpDoor();
        }
        m_target = TargetAtPosition(sheet.m_target.m_target, names);
        m_autoDrop = sheet.m_autoExecute.m_enable;
        m_autoDropMinutes = sheet.m_autoExecute.m_minutes;
        m_transparent = look.m_enable;
        m_transparentDroplings = look.m_droplings;
        m_alpha = look.m_alpha;
        m_size = look.m_size;
    }
    ApplyTransparency();
    ApplySize();

    if (!m_iconized) {
        Windows().KillTimer(m_hWnd, kTimerAutoDrop);
        ArmAutoDropTimer();
    }
    ScanResources(platform().files, s_baseDirectory, ResourceListKind::MenuSkins, m_menuSkins);
    ScanResources(platform().files, s_baseDirectory, ResourceListKind::MenuDroplings, m_menuDroplings);
}

void CTumbleDlg::OnProfile() {
    CProfileDlg dialog(platform());
    dialog.m_title = m_skinTitle + "について";
    dialog.m_profile = m_skinProfile;
    const OpenDialogScope open(m_openDialogs);
    dialog.DoModal(m_hWnd);
}

void CTumbleDlg::OnDroplingProfile() {
    CDroplingProfileDlg dialog(platform(), s_baseDirectory);
    const OpenDialogScope open(m_openDialogs);
    dialog.DoModal(m_hWnd);
}

void CTumbleDlg::OnAbout() {
    CShowStaffDlf dialog(platform());
    dialog.m_text = AboutText(platform().files.ReadWholeFile(BasePath(kReadmeFile)));
    const OpenDialogScope open(m_openDialogs);
    dialog.DoModal(m_hWnd);
    Windows().SetForeground(m_hWnd);
}

}  // namespace tc
