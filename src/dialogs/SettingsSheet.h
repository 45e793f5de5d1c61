// The settings sheet "設定": five pages (target, reaction, automatic dropping, transparency,
// file sets). Each page owns its values; the settings command copies the character's
// settings into them before the sheet runs and back after it was confirmed. Only the file
// set page acts at once: it changes the availability of a folder on disk with each click.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Framework.h"
#include "skin/Element.h"

namespace tc {

constexpr const char* kSettingsCaption = "設定";

// --- The values the pages edit, and the rules between them and the settings ---

// The drop target as a position in the target list: 0 "ランダム", 1 "全員", then the names.
int TargetPosition(std::string_view target, const std::vector<std::string>& names);
// The target a position stands for; a position past the names is random.
std::string TargetAtPosition(int position, const std::vector<std::string>& names);
// The names of a "^"-separated list, as the target page receives them.
std::vector<std::string> SplitNames(std::string_view names);

// The interval of automatic dropping, typed as text: the minutes, or the message that
// says what is wrong with the text.
struct MinutesCheck {
    int minutes = 0;
    std::optional<std::string> message;
};
MinutesCheck CheckMinutes(std::string_view text);

struct TargetValues {
    std::string m_names;  // the other characters' names, each followed by "^"
    int m_target = -1;
};
struct ReactionValues {
    int m_method = -1;  // 0 "SEND SSTP/1.1", 1 "SHIORI"
    bool m_tcpDoor = true;  // SSTP is taken over TCP on 127.0.0.1:9801 too
};
struct AutoExecuteValues {
    bool m_enable = false;
    int m_minutes = 0;
};
struct TransparentValues {
    NativeHandle m_hBalloon = 0;
    NativeHandle m_hCharacter = 0;
    bool m_ready = false;
    int m_alpha = 0;
    bool m_enable = false;
    bool m_droplings = false;
    int m_size = 0;  // the combo's position: 0 follow the display, else 1 to 3 times
};

// --- The pages ---

class CPageTARGET : public CPropertyPage, public TargetValues {
public:
    explicit CPageTARGET(Platform& platform);
    bool OnInitDialog() override;
    bool OnKillActive() override;
    bool OnControlCommand(int id, int code) override;
};

class CPageREACTION : public CPropertyPage, public ReactionValues {
public:
    explicit CPageREACTION(Platform& platform);
    bool OnInitDialog() override;
    bool OnKillActive() override;
    bool OnControlCommand(int id, int code) override;
};

class CPageAUTOEXECUTE : public CPropertyPage, public AutoExecuteValues {
public:
    explicit CPageAUTOEXECUTE(Platform& platform);
    bool OnInitDialog() override;
    bool OnKillActive() override;
    bool OnControlCommand(int id, int code) override;
};

class CPageTRANSPARENT : public CPropertyPage, public TransparentValues {
public:
    explicit CPageTRANSPARENT(Platform& platform);
    bool OnInitDialog() override;
    bool OnKillActive() override;
    bool OnControlCommand(int id, int code) override;
    bool OnScroll(int id) override;
    bool OnNotify(int id, int code, std::intptr_t& result) override;

    // Shows the opacity on the character and its balloon while the sheet is open.
    void ApplyPreview();
    void ClearPreview();

private:
    void TakeFromControls();
    void EnableByState();
    void ShowAlpha();
};

class CPageFILESET : public CPropertyPage {
public:
    CPageFILESET(Platform& platform, std::string baseDirectory);
    bool OnInitDialog() override;
    bool OnControlCommand(int id, int code) override;

    int m_skinSel = -1;
    int m_droplingSel = -1;

private:
    std::string m_baseDirectory;
    // The entries as the lists show them: a click acts on the folder it shows, even when the
    // program's lists were rebuilt meanwhile.
    ElementList m_shownSkins;
    ElementList m_shownDroplings;
};

class CNConfDlg : public CPropertySheet {
public:
    CNConfDlg(Platform& platform, const std::string& baseDirectory);

    CPageTARGET m_target;
    CPageREACTION m_reaction;
    CPageAUTOEXECUTE m_autoExecute;
    CPageTRANSPARENT m_transparent;
    CPageFILESET m_fileSet;
};

}  // namespace tc
