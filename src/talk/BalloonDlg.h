// The speech balloon: a borderless popup beside the cat in the shape of a rounded box with a
// tail, typing its text on its own 50 ms timer. The typing state is BalloonTyping's; this
// window owns the timer, the two fonts, the pictures and the shape, and does what each
// typing step returns. The character window owns the balloon and destroys it with itself.
#pragma once

#include <functional>
#include <optional>
#include <string_view>

#include "platform/Framework.h"
#include "platform/OwnedHandle.h"
#include "platform/ResourceIds.h"
#include "talk/BalloonTyping.h"

namespace tc {

constexpr int kBalloonTemplate = IDD_BALLOON;
constexpr int kBalloonLeftPicture = IDB_BALLOON_LEFT;   // the box with its tail on the left (side 0)
constexpr int kBalloonRightPicture = IDB_BALLOON_RIGHT;  // the box with its tail on the right (side 1)
constexpr int kBalloonMarkPicture = IDB_BALLOON_MARK;   // the mark before a sender's caption
constexpr const char* kBalloonFontFace = "ＭＳ ゴシック";
constexpr int kBalloonFontHeight = 12;
constexpr int kBalloonCaptionFontHeight = 8;

class CBalloonDlg : public CDialog, public BalloonTyping {
public:
    explicit CBalloonDlg(Platform& platform) : CDialog(platform, kBalloonTemplate) {}
    ~CBalloonDlg() override;
    CBalloonDlg(const CBalloonDlg&) = delete;
    CBalloonDlg& operator=(const CBalloonDlg&) = delete;

    bool OnInitDialog() override;
    bool OnTimer(int timerId) override;
    bool OnPaint() override;
    bool OnLButtonDown(Point client) override;
    bool OnRButtonDown(Point client) override;
    bool OnLButtonDblClk(Point client) override;
    void OnDestroy() override;

    // Types a script's text beside the cat; the window hides first and shows again unless the
    // text is empty. A sender gives the caption. The window's own text is the whole text, so
    // what the balloon says can be read by screen readers.
    void Say(const ShownScript& script, std::optional<std::string_view> sender, const BalloonPlacement& placement);
    // Moves the window so the shape of the current side stands at (m_x, m_y).
    void Reposition();
    void Place(const BalloonPlacement& placement) {
        BalloonTyping::Place(placement);
        Reposition();
    }
    // Hides the window; the line it showed is over.
    void Hide();
    bool IsShown();
    // The same opacity as the cat (0 to 255), or opaque again.
    void SetOpacity(std::optional<int> alpha);
    // Enlarges the balloon, its art, shapes and fonts, by the cat's factor.
    void SetScale(int scale);

    // What the cat does for a script: show a surface while the line is shown, and go back
    // when the balloon hides.
    std::function<void(int surface)> m_onScriptSurface;
    std::function<void()> m_onHidden;

private:
    void Apply(const BalloonUpdate& update);
    void BuildShapes();
    void MakeFonts();
    void Draw(Canvas& canvas);

    bool m_ticking = false;  // timer 100 runs
    OwnedObject m_font;
    OwnedObject m_smallFont;
    OwnedObject m_leftPicture;
    OwnedObject m_rightPicture;
    OwnedObject m_markPicture;
    OwnedObject m_upperShape;  // side 0: the box at the window's top, tail on the left
    OwnedObject m_lowerShape;  // side 1: the box H lower, tail on the right
};

}  // namespace tc
