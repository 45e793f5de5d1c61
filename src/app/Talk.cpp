// The cat's talking: the balloon beside it, the lines of speak.txt, and the greeting and
// farewell, which with another character present are conversations played step by step on
// the tick. What to say and when is decided by the talk engine; this file carries it out.
#include <algorithm>

#include "app/AppGlobals.h"
#include "app/TumbleDlg.h"
#include "talk/MessageConfig.h"

namespace tc {

void CTumbleDlg::CreateBalloon() {
    auto balloon = std::make_unique<CBalloonDlg>(platform());
    if (!balloon->Create(m_hWnd)) return;  // the cat then talks without a balloon
    balloon->m_onScriptSurface = [this](int surface) { ShowScriptSurface(surface); };
    balloon->m_onHidden = [this] { EndScriptSurface(); };
    m_balloon = std::move(balloon);
    PlaceBalloon();
}

void CTumbleDlg::LoadMessageConfig() {
    FileSystem& files = platform().files;
    tc::LoadMessageConfig(files.ReadWholeFile(BasePath(kSpeakFileName)),
                          files.ReadWholeFile(CurrentSkin().Path(kSpeakFileName)), *this);
}

void CTumbleDlg::Say(const std::string& text, const std::string& sender) {
    if (m_iconized || m_loading) return;  // the text is dropped
    const ShownScript shown = InterpretSakuraScript(text);
    m_lastSaid = shown.text;
    m_lastSender = sender;
    if (!m_balloon) return;
    const std::optional<std::string_view> caption =
        sender.empty() ? std::nullopt : std::optional<std::string_view>(sender);
    m_balloon->SetScale(m_scale);
    BalloonPlacement placement = tc::PlaceBalloon(BalloonInputs());
    m_balloon->Say(shown, caption, placement);
}

BalloonPlacementInputs CTumbleDlg::BalloonInputs() {
    BalloonPlacementInputs in;
    in.posX = m_posX;
    in.posY = m_posY - m_taskbarOffset;  // the window's real top, lifted onto the taskbar
    in.winWidth = m_winWidth;
    if (m_surface >= 0) {
        in.extentLeft = m_surfaceExtent[m_surface].left;
        in.extentRight = m_surfaceExtent[m_surface].right;
        if (m_surfaceInfo[m_surface]) in.surfaceHeight = m_surfaceInfo[m_surface]->height;
    }
    in.offsetX = m_balloonOffsetX;
    in.offsetY = m_balloonOffsetY;
    in.scale = m_scale;
    in.screen = BalloonArea();
    return in;
}

// The free part of the cat's monitor: the balloon stays beside the cat and never covers a taskbar.
Rect CTumbleDlg::BalloonArea() {
    const Monitor monitor = CatMonitor();
    Rect area = monitor.work;
    if (const std::optional<Rect> bar = BottomTaskbar(monitor); bar && bar->top > area.top) {
        area.bottom = std::min(area.bottom, bar->top);
    }
    return area;
}

void CTumbleDlg::PlaceBalloon() {
    if (!m_balloon) return;
    m_balloon->SetScale(m_scale);
    m_balloon->Place(tc::PlaceBalloon(BalloonInputs()));
}

bool CTumbleDlg::BalloonSpeaking() const { return m_balloon && m_balloon->m_speaking; }

void CTumbleDlg::SayRandomLine(const std::vector<std::string>& lines) {
    if (const auto line = PickLine(lines)) Say(*line);
}

void CTumbleDlg::SayExecuteLine() { SayRandomLine(m_msgExecute); }

namespace {

GreetingInputs GreetingFor(const DirectoryRecord& directory, bool othersPresent, std::uint32_t now, bool iconized) {
    GreetingInputs in;
    in.othersPresent = othersPresent;
    if (const auto partner = CurrentPartner(directory)) in.partnerName = partner->name;
    in.nowMs = now;
    in.iconized = iconized;
    return in;
}

}  // namespace

void CTumbleDlg::Greet() {
    const bool others = RefreshDirectory();
    for (const TalkAction& action :
         BeginGreeting(*this, TalkOccasion::Welcome, GreetingFor(*this, others, NowMs(), m_iconized))) {
        CarryOut(action);
    }
}

void CTumbleDlg::SayGoodbye() {
    const bool others = RefreshDirectory();
    for (const TalkAction& action :
         BeginGreeting(*this, TalkOccasion::Goodbye, GreetingFor(*this, others, NowMs(), m_iconized))) {
        CarryOut(action);
    }
}

void CTumbleDlg::StepConversation() {
    StepInputs in;
    in.nowMs = NowMs();
    in.balloonSpeaking = BalloonSpeaking();
    in.partnerTalking = [this] { return m_talkPartner && PartnerTalking(*m_talkPartner); };
    CarryOut(tc::StepConversation(*this, in));
}

void CTumbleDlg::CutConversation() { CarryOut(tc::CutConversation(*this)); }

void CTumbleDlg::OnPartnerTimer() {
    Windows().KillTimer(m_hWnd, kTimerTalk);
    PartnerTimerElapsed(*this);
}

void CTumbleDlg::CarryOut(const TalkAction& action) {
    switch (action.kind) {
    case TalkAction::None:
        break;
    case TalkAction::SayLine:
        Say(action.text);
        break;
    case TalkAction::SendScript:
        if (m_talkPartner) SendScript(action.text, *m_talkPartner);
        break;
    case TalkAction::SendQuiet:
        m_talkPartner = CurrentPartner(*this);
        if (m_talkPartner) SendCommand(0, *m_talkPartner);
        break;
    case TalkAction::SendRestore:
        if (m_talkPartner) SendCommand(1, *m_talkPartner);
        m_talkPartner.reset();
        break;
    case TalkAction::ArmPartnerTimer:
        Windows().SetTimer(m_hWnd, kTimerTalk, kPartnerTimerMs);
        break;
    }
}

}  // namespace tc
