#include "dialogs/SettingsSheet.h"

#include "common/Sjis.h"
#include "common/TextReader.h"
#include "interop/Directory.h"
#include "platform/Messages.h"
#include "platform/ResourceIds.h"
#include "skin/Resources.h"

namespace tc {

namespace {

// Templates and controls of the pages.
constexpr int kReactionTemplate = IDD_PAGE_REACTION;
constexpr int kTargetTemplate = IDD_PAGE_TARGET;
constexpr int kAutoExecuteTemplate = IDD_PAGE_AUTOEXECUTE;
constexpr int kTransparentTemplate = IDD_PAGE_TRANSPARENT;
constexpr int kFileSetTemplate = IDD_PAGE_FILESET;

constexpr int kMethodCombo = IDC_METHOD_COMBO;
constexpr int kTcpCheck = IDC_TCP_CHECK;
constexpr int kTargetCombo = IDC_TARGET_COMBO;
constexpr int kMinutesEdit = IDC_MINUTES_EDIT;
constexpr int kAutoExecuteCheck = IDC_AUTO_EXECUTE_CHECK;
constexpr int kAlphaSlider = IDC_ALPHA_SLIDER;
constexpr int kTransparentCheck = IDC_TRANSPARENT_CHECK;
constexpr int kDroplingsCheck = IDC_DROPLINGS_CHECK;
constexpr int kSizeCombo = IDC_SIZE_COMBO;
// The sizes in the order of their numbers in the settings file.
constexpr const char* kSizeNames[] = {"画面に合わせる", "等倍", "2倍", "3倍"};
constexpr int kSkinList = IDC_SKIN_LIST;
constexpr int kDroplingList = IDC_DROPLING_LIST;

constexpr int kNmCustomDraw = -12;
constexpr int kMinMinutes = 1;
constexpr int kMaxMinutes = 60;

bool AllDigits(std::string_view text) {
    if (text.empty()) return false;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

}  // namespace

int TargetPosition(std::string_view target, const std::vector<std::string>& names) {
    // As the drop reads them: the two tokens without regard to case.
    if (EqualsNoCase(target, kTargetRandom)) return 0;
    if (EqualsNoCase(target, kTargetAll)) return 1;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (names[i] == target) return static_cast<int>(i) + 2;
    }
    return 0;
}

std::string TargetAtPosition(int position, const std::vector<std::string>& names) {
    if (position == 1) return kTargetAll;
    if (position >= 2 && static_cast<std::size_t>(position - 2) < names.size()) {
        return names[static_cast<std::size_t>(position - 2)];
    }
    return kTargetRandom;
}

std::vector<std::string> SplitNames(std::string_view names) {
    std::vector<std::string> result;
    while (names.size() >= 2) {
        const std::size_t mark = FindSjisChar(names, '^');
        if (mark == std::string_view::npos) break;
        result.emplace_back(names.substr(0, mark));
        names.remove_prefix(mark + 1);
    }
    return result;
}

MinutesCheck CheckMinutes(std::string_view text) {
    // Blanks around the number are allowed, as the edit box's own conversion allows them.
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    std::string_view digits = text;
    if (!digits.empty() && (digits.front() == '-' || digits.front() == '+')) digits.remove_prefix(1);
    if (!AllDigits(digits) || digits.size() > 9) return {0, std::string("整数を入力してください。")};
    const int minutes = ParseLenientInt(text);
    if (minutes < kMinMinutes || minutes > kMaxMinutes) {
        return {minutes, std::to_string(kMinMinutes) + " から " + std::to_string(kMaxMinutes) +
                             " までの整数を入力してください。"};
    }
    return {minutes, std::nullopt};
}

// --- Target ---

CPageTARGET::CPageTARGET(Platform& platform) : CPropertyPage(platform, kTargetTemplate, "標的") {}

bool CPageTARGET::OnInitDialog() {
    Controls& c = platform().controls;
    c.AddItem(m_hWnd, kTargetCombo, "ランダム");
    c.AddItem(m_hWnd, kTargetCombo, "全員");
    for (const std::string& name : SplitNames(m_names)) c.AddItem(m_hWnd, kTargetCombo, name);
    c.Select(m_hWnd, kTargetCombo, m_target);
    return true;
}

bool CPageTARGET::OnKillActive() {
    m_target = platform().controls.Selection(m_hWnd, kTargetCombo);
    return true;
}

bool CPageTARGET::OnControlCommand(int id, int code) {
    if (id != kTargetCombo || code != kCbnSelChange) return false;
    OnKillActive();
    return true;
}

// --- Reaction ---

CPageREACTION::CPageREACTION(Platform& platform) : CPropertyPage(platform, kReactionTemplate, "会話/反応") {}

bool CPageREACTION::OnInitDialog() {
    Controls& c = platform().controls;
    c.AddItem(m_hWnd, kMethodCombo, "SEND SSTP/1.1");
    c.AddItem(m_hWnd, kMethodCombo, "SHIORI");
    c.Select(m_hWnd, kMethodCombo, m_method);
    c.SetChecked(m_hWnd, kTcpCheck, m_tcpDoor);
    return true;
}

bool CPageREACTION::OnKillActive() {
    m_method = platform().controls.Selection(m_hWnd, kMethodCombo);
    m_tcpDoor = platform().controls.IsChecked(m_hWnd, kTcpCheck);
    return true;
}

bool CPageREACTION::OnControlCommand(int id, int code) {
    if (id != kMethodCombo || code != kCbnSelChange) return false;
    OnKillActive();
    return true;
}

// --- Automatic dropping ---

CPageAUTOEXECUTE::CPageAUTOEXECUTE(Platform& platform)
    : CPropertyPage(platform, kAutoExecuteTemplate, "自動起動") {}

bool CPageAUTOEXECUTE::OnInitDialog() {
    Controls& c = platform().controls;
    c.SetChecked(m_hWnd, kAutoExecuteCheck, m_enable);
    c.SetText(m_hWnd, kMinutesEdit, std::to_string(m_minutes));
    c.Enable(m_hWnd, kMinutesEdit, m_enable);
    return true;
}

// The interval must be a whole number from 1 to 60; otherwise the user is told and the
// page stays, and nothing of it is taken.
bool CPageAUTOEXECUTE::OnKillActive() {
    Controls& c = platform().controls;
    m_enable = c.IsChecked(m_hWnd, kAutoExecuteCheck);
    const MinutesCheck check = CheckMinutes(c.Text(m_hWnd, kMinutesEdit));
    if (check.message) {
        c.ShowMessage(m_hWnd, *check.message);
        c.Focus(m_hWnd, kMinutesEdit);
        return false;
    }
    m_minutes = check.minutes;
    return true;
}

// The click takes the whole page, so a wrong interval is told here too.
bool CPageAUTOEXECUTE::OnControlCommand(int id, int code) {
    if (id != kAutoExecuteCheck || code != kBnClicked) return false;
    OnKillActive();
    platform().controls.Enable(m_hWnd, kMinutesEdit, m_enable);
    return true;
}

// --- Transparency ---

CPageTRANSPARENT::CPageTRANSPARENT(Platform& platform)
    : CPropertyPage(platform, kTransparentTemplate, "透明度") {}

bool CPageTRANSPARENT::OnInitDialog() {
    Controls& c = platform().controls;
    c.SetSliderRange(m_hWnd, kAlphaSlider, 0, 255);
    c.SetSliderPosition(m_hWnd, kAlphaSlider, m_alpha);
    c.SetChecked(m_hWnd, kTransparentCheck, m_enable);
    c.SetChecked(m_hWnd, kDroplingsCheck, m_droplings);
    for (const char* name : kSizeNames) c.AddItem(m_hWnd, kSizeCombo, name);
    c.Select(m_hWnd, kSizeCombo, m_size);
    EnableByState();
    return true;
}

void CPageTRANSPARENT::TakeFromControls() {
    Controls& c = platform().controls;
    m_alpha = c.SliderPosition(m_hWnd, kAlphaSlider);
    m_enable = c.IsChecked(m_hWnd, kTransparentCheck);
    m_droplings = c.IsChecked(m_hWnd, kDroplingsCheck);
    if (const int size = c.Selection(m_hWnd, kSizeCombo); size >= 0) m_size = size;
}

void CPageTRANSPARENT::EnableByState() {
    Controls& c = platform().controls;
    c.Enable(m_hWnd, kTransparentCheck, m_ready);
    c.Enable(m_hWnd, kDroplingsCheck, m_ready && m_enable);
    c.Enable(m_hWnd, kAlphaSlider, m_ready && m_enable);
}

bool CPageTRANSPARENT::OnKillActive() {
    TakeFromControls();
    return true;
}

bool CPageTRANSPARENT::OnControlCommand(int id, int code) {
    if (code != kBnClicked) return false;
    if (id == kDroplingsCheck) {
        TakeFromControls();
        return true;
    }
    if (id != kTransparentCheck) return false;
    TakeFromControls();
    EnableByState();
    if (m_enable) {
        ApplyPreview();
    } else {
        ClearPreview();
    }
    return true;
}

// The slider tells of each move by scrolling and by redrawing itself; either shows the
// opacity on the live windows.
bool CPageTRANSPARENT::OnScroll(int id) {
    if (id != kAlphaSlider) return false;
    TakeFromControls();
    if (m_enable) ShowAlpha();
    return true;
}

bool CPageTRANSPARENT::OnNotify(int id, int code, std::intptr_t& result) {
    if (id == kAlphaSlider && code == kNmCustomDraw) {
        OnScroll(id);
        result = 0;
        return true;
    }
    return CPropertyPage::OnNotify(id, code, result);
}

void CPageTRANSPARENT::ShowAlpha() {
    for (NativeHandle window : {m_hCharacter, m_hBalloon}) {
        if (window) platform().painting.SetLayeredAlpha(window, m_alpha);
    }
}

void CPageTRANSPARENT::ApplyPreview() {
    if (m_ready && m_enable) ShowAlpha();
}

void CPageTRANSPARENT::ClearPreview() {
    if (!m_ready) return;
    for (NativeHandle window : {m_hCharacter, m_hBalloon}) {
        if (window) platform().painting.ClearLayered(window);
    }
}

// --- File sets ---

CPageFILESET::CPageFILESET(Platform& platform, std::string baseDirectory)
    : CPropertyPage(platform, kFileSetTemplate, "ファイルセット"), m_baseDirectory(std::move(baseDirectory)) {}

bool CPageFILESET::OnInitDialog() {
    Controls& c = platform().controls;
    m_shownSkins = s_filesetSkins;
    m_shownDroplings = s_filesetDroplings;
    for (const SElement& skin : m_shownSkins) c.AddItem(m_hWnd, kSkinList, skin.text);
    for (const SElement& set : m_shownDroplings) c.AddItem(m_hWnd, kDroplingList, set.text);
    return true;
}

// A click on an entry toggles its availability on disk at once; the item is replaced, so no
// item stays selected and a second click toggles it back.
bool CPageFILESET::OnControlCommand(int id, int code) {
    if ((id != kSkinList && id != kDroplingList) || code != kLbnSelChange) return false;
    const bool skins = id == kSkinList;
    ElementList& shown = skins ? m_shownSkins : m_shownDroplings;
    Controls& c = platform().controls;
    const int sel = c.Selection(m_hWnd, id);
    (skins ? m_skinSel : m_droplingSel) = sel;
    if (sel < 0 || static_cast<std::size_t>(sel) >= shown.size()) return true;
    const SElement& entry = shown[static_cast<std::size_t>(sel)];
    ToggleAvailability(platform().files, m_baseDirectory,
                       skins ? ResourceListKind::FilesetSkins : ResourceListKind::FilesetDroplings, shown,
                       static_cast<std::size_t>(sel));
    for (SElement& listed : skins ? s_filesetSkins : s_filesetDroplings) {
        if (listed.folder == entry.folder) listed.text = entry.text;
    }
    c.InsertItem(m_hWnd, id, sel, entry.text);
    c.DeleteItem(m_hWnd, id, sel + 1);
    return true;
}

// --- The sheet ---

CNConfDlg::CNConfDlg(Platform& platform, const std::string& baseDirectory)
    : CPropertySheet(platform, kSettingsCaption),
      m_target(platform),
      m_reaction(platform),
      m_autoExecute(platform),
      m_transparent(platform),
      m_fileSet(platform, baseDirectory) {
    AddPage(m_target);
    AddPage(m_reaction);
    AddPage(m_autoExecute);
    AddPage(m_transparent);
    AddPage(m_fileSet);
}

}  // namespace tc
