#include "dialogs/ProfileDialogs.h"

#include "common/TextReader.h"
#include "platform/Messages.h"
#include "platform/ResourceIds.h"
#include "skin/Resources.h"

namespace tc {

namespace {

constexpr int kProfileTemplate = IDD_PROFILE;
constexpr int kAboutTemplate = IDD_ABOUT;
constexpr int kDroplingProfileTemplate = IDD_DROPLING_PROFILE;
constexpr int kAboutPicture = IDB_ABOUT;
constexpr int kProfileEdit = IDC_PROFILE_EDIT;
constexpr int kAboutEdit = IDC_ABOUT_EDIT;
constexpr int kSetCombo = IDC_SET_COMBO;
constexpr int kAboutTimer = 101;
constexpr int kAboutTimerMs = 50;

}  // namespace

std::string ProfileText(const std::optional<std::string>& fileBytes) {
    std::string text;
    if (!fileBytes) return text;
    TextReader reader(*fileBytes);
    std::string line;
    while (reader.ReadTextLine(line)) {
        DropTrailingLineFeed(line);
        text += line + "\r\n";
    }
    return text;
}

std::string AboutText(const std::optional<std::string>& readme) {
    std::string text;
    if (readme) {
        TextReader reader(*readme);
        std::string line;
        while (reader.ReadTextLine(line)) text += line;
    } else {
        text += "\nたんぶる\n\nCopyright (C) the tumblecat authors\n";
    }
    return ToCrLf(text);
}

int NextAboutOffset(int offset) { return offset + 2 > kAboutLastOffset ? kAboutLastOffset : offset + 2; }

void CentreOnScreen(Platform& platform, NativeHandle window) {
    const Rect r = platform.windows.WindowRect(window);
    const Rect screen = platform.windows.ScreenRect();
    const int x = (screen.Width() - r.Width()) >> 1, y = (screen.Height() - r.Height()) >> 1;
    platform.windows.MoveWindow(window, {x, y, x + r.Width(), y + r.Height()});
}

// --- Skin profile ---

CProfileDlg::CProfileDlg(Platform& platform) : CDialog(platform, kProfileTemplate) {}

bool CProfileDlg::OnInitDialog() {
    platform().controls.SetText(m_hWnd, kProfileEdit, m_profile);
    platform().windows.SetWindowTitle(m_hWnd, m_title);
    CentreOnScreen(platform(), m_hWnd);
    return true;
}

// --- Falling-object profiles ---

CDroplingProfileDlg::CDroplingProfileDlg(Platform& platform, std::string baseDirectory)
    : CDialog(platform, kDroplingProfileTemplate), m_baseDirectory(std::move(baseDirectory)) {}

// Every set is listed, available or not, by its display name without the mark.
bool CDroplingProfileDlg::OnInitDialog() {
    Controls& c = platform().controls;
    m_selection = 0;
    for (const SElement& set : s_filesetDroplings) {
        c.AddItem(m_hWnd, kSetCombo, set.text.size() > kMarkBytes ? set.text.substr(kMarkBytes) : std::string());
    }
    if (!s_filesetDroplings.empty()) LoadProfileText(0);
    c.SetText(m_hWnd, kProfileEdit, m_profile);
    c.Select(m_hWnd, kSetCombo, m_selection);
    CentreOnScreen(platform(), m_hWnd);
    return true;
}

bool CDroplingProfileDlg::OnControlCommand(int id, int code) {
    if (id != kSetCombo || code != kCbnSelChange) return false;
    m_selection = platform().controls.Selection(m_hWnd, kSetCombo);
    LoadProfileText(m_selection);
    platform().controls.SetText(m_hWnd, kProfileEdit, m_profile);
    return true;
}

void CDroplingProfileDlg::LoadProfileText(int index) {
    m_profile.clear();
    if (index < 0 || static_cast<std::size_t>(index) >= s_filesetDroplings.size()) return;
    const std::string path =
        ResourceFolder(m_baseDirectory, ResourceListKind::FilesetDroplings) +
        s_filesetDroplings[static_cast<std::size_t>(index)].folder + "\\profile.txt";
    m_profile = ProfileText(platform().files.ReadWholeFile(path));
}

// --- About ---

CShowStaffDlf::CShowStaffDlf(Platform& platform) : CDialog(platform, kAboutTemplate) {}

bool CShowStaffDlf::OnInitDialog() {
    platform().controls.SetText(m_hWnd, kAboutEdit, m_text);
    CentreOnScreen(platform(), m_hWnd);
    m_picture = OwnedObject(platform().painting, platform().painting.LoadBitmapResource(kAboutPicture));
    m_offset = 0;
    platform().windows.SetTimer(m_hWnd, kAboutTimer, kAboutTimerMs);
    return true;
}

bool CShowStaffDlf::OnTimer(int timerId) {
    if (timerId != kAboutTimer) return false;
    m_offset = NextAboutOffset(m_offset);
    platform().windows.InvalidateRect(m_hWnd, {0, 0, kAboutViewWidth, kAboutViewHeight});
    return true;
}

bool CShowStaffDlf::OnPaint() {
    platform().painting.PaintCanvas(m_hWnd, [this](Canvas& canvas) {
        canvas.DrawBitmap(m_picture.Get(), {0, 0}, kAboutViewWidth, kAboutViewHeight, {m_offset, 0});
    });
    return true;
}

void CShowStaffDlf::OnDestroy() { platform().windows.KillTimer(m_hWnd, kAboutTimer); }

}  // namespace tc
