// The small dialogs of the context menu: the skin's profile, the falling-object sets'
// profiles, and the about dialog whose picture slides slowly sideways beside the text.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/Framework.h"
#include "platform/OwnedHandle.h"

namespace tc {

// A profile.txt as the dialogs show it: every line ended by CR LF, a last line without a
// line feed included; a line of more than 1023 bytes shows as several, cut between characters.
std::string ProfileText(const std::optional<std::string>& fileBytes);

// The about text: readme.txt with CR LF line ends, its first line the version; without
// readme.txt, an empty line, the program's name, an empty line and a credit line.
std::string AboutText(const std::optional<std::string>& readme);

// The about picture's view moves 2 pixels a step and stops at the picture's right end.
constexpr int kAboutViewWidth = 184;
constexpr int kAboutViewHeight = 282;
constexpr int kAboutLastOffset = 293;
int NextAboutOffset(int offset);

// Moves the dialog to the middle of the screen.
void CentreOnScreen(Platform& platform, NativeHandle window);

class CProfileDlg : public CDialog {
public:
    explicit CProfileDlg(Platform& platform);
    bool OnInitDialog() override;

    std::string m_title;
    std::string m_profile;
};

class CDroplingProfileDlg : public CDialog {
public:
    CDroplingProfileDlg(Platform& platform, std::string baseDirectory);
    bool OnInitDialog() override;
    bool OnControlCommand(int id, int code) override;
    // Fills m_profile from the profile.txt of entry index of the falling-object file set list.
    void LoadProfileText(int index);

    std::string m_profile;
    int m_selection = -1;

private:
    std::string m_baseDirectory;
};

class CShowStaffDlf : public CDialog {
public:
    explicit CShowStaffDlf(Platform& platform);
    bool OnInitDialog() override;
    bool OnTimer(int timerId) override;
    bool OnPaint() override;
    void OnDestroy() override;

    int m_offset = 0;
    std::string m_text;

private:
    OwnedObject m_picture;
};

}  // namespace tc
