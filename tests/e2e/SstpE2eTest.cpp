// SSTP requests other programs send the cat, under Wine, with the peer character as the
// asker: SEND into the balloon with its caption, EXECUTE's answers, DROP on everyone, the
// answers while the cat is hidden in the tray, requests that get no answer, and an answer
// window that hangs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <thread>

#include "CatHarness.h"
#include "Desktop.h"
#include "ProcessWindows.h"
#include "Wait.h"
#include "peer/Peer.h"

namespace e2e {
namespace {

constexpr WPARAM kCmdQuit = 32777;
constexpr WPARAM kCmdIconize = 32790;
constexpr ULONG_PTR kSstpData = 9801;
constexpr COLORREF kCaptionMark = RGB(128, 128, 255);
constexpr COLORREF kDropPoseColour = RGB(90, 110, 160);  // surface 2 of the test skin
// The cat gives an answer window one second before it gives up on it.
constexpr DWORD kAnswerBound = 1000;

const std::string kOk = "SSTP/1.0 200 OK\r\n\r\n";

std::string Settings(const std::string& target = "%rnd", int x = 0) {
    return std::to_string(x) + "\r\ntabby\r\n10\r\n0\r\n0\r\n0\r\n9801\r\n1\r\n767\r\n1\r\n" + target + "\r\n";
}

std::string Handle(HWND window) { return std::to_string(static_cast<long long>(reinterpret_cast<INT_PTR>(window))); }

// The lines, each ended by CR LF, and the empty line that ends a request.
std::string Request(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text + "\r\n";
}

std::string GetVersion(HWND answerTo) {
    return Request({"EXECUTE SSTP/1.0", "Sender: Aya", "Command: GetVersion", "HWnd: " + Handle(answerTo)});
}

// The answers that came while the request was handled: the cat sends its answer before it
// returns from the request, so they are all there when SendSstp returns. The cat's own
// requests to a shown character (its greeting talks to one) may come meanwhile; they start
// with their method, answers with "SSTP/".
std::vector<ReceivedData> Ask(const Peer& peer, HWND cat, const std::string& request, bool fromWindow = true) {
    const std::size_t before = peer.Received().size();
    peer.SendSstp(cat, request, fromWindow);
    const auto all = peer.Received();
    std::vector<ReceivedData> answers;
    std::copy_if(all.begin() + static_cast<std::ptrdiff_t>(before), all.end(), std::back_inserter(answers),
                 [](const ReceivedData& data) { return data.text.rfind("SSTP/", 0) == 0; });
    return answers;
}

// The one answer the request got, which went to the window as SSTP; "<none>" or "<n answers>"
// otherwise.
std::string AnswerTo(const Peer& peer, HWND cat, const std::string& request, HWND answerTo) {
    const auto answers = Ask(peer, cat, request);
    if (answers.empty()) return "<none>";
    if (answers.size() > 1) {
        std::string all = "<" + std::to_string(answers.size()) + " answers:";
        for (const ReceivedData& answer : answers) all += " [" + answer.text + "]";
        return all + ">";
    }
    EXPECT_EQ(answers[0].to, answerTo) << "the answer goes to the window the request names";
    EXPECT_EQ(answers[0].kind, kSstpData);
    return answers[0].text;
}

// Aya asks; published but not shown, she is no partner for the cat's greeting, which then
// says nothing and leaves the balloon to the requests.
// The caption's grey text (RGB 160, 160, 160, smoothed into the balloon's white): pixels
// grey without tint, which the balloon's picture (tinted violet) has none of.
int CountCaptionPixels(const ScreenShot& shot, const RECT& area) {
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            const COLORREF c = shot.Pixel(x, y);
            const int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
            const int high = std::max({r, g, b}), low = std::min({r, g, b});
            if (c != CLR_INVALID && high - low <= 6 && high <= 225 && low >= 100) ++count;
        }
    }
    return count;
}

PeerCharacter Aya() { return {"aya", "Aya", "Ayako", false}; }
PeerCharacter ShownAya() { return {"aya", "Aya", "Ayako", true}; }
PeerCharacter ShownBee() { return {"bee", "Bee", "Bumble", true}; }

// The test skin, falling-object sets "ball" (Ball) and "cube" (Cube), the recorder as the
// falling-object program and a readme.txt; no speak.txt, so greetings say nothing.
HWND StartCat(CatHarness& cat, const std::string& settings, HANDLE* process = nullptr) {
    const std::pair<std::string, std::string> sets[] = {{"ball", "Ball"}, {"cube", "Cube"}};
    for (const auto& [folder, name] : sets) {
        cat.MakeFolder("dropling\\" + folder);
        cat.WriteFile("dropling\\" + folder + "\\dropling.txt", "#name\r\n" + name + "\r\n");
        cat.WriteFile("dropling\\" + folder + "\\surface0.png", "png");
    }
    cat.CopyIn(TUMBLECAT_RECORDER_PATH, "dropling.exe");
    cat.WriteFile("readme.txt", "tumblecat 9.8.7\r\nA cat that lives on the taskbar.\r\n");
    return cat.StartTabby(settings, process);
}

TEST(Sstp, SendShowsTheScriptInTheBalloonWithItsCaptionAndAnswers200) {
    DesktopScene desktop;
    Peer peer({Aya()});
    CatHarness cat;
    // The cat in the right half of the screen: the balloon stands left of it.
    HWND window = StartCat(cat, Settings("%rnd", 800));
    ASSERT_NE(window, nullptr);
    HWND balloon = FindBalloon(window);
    ASSERT_NE(balloon, nullptr);
    ASSERT_FALSE(IsWindowVisible(balloon)) << "(no greeting is said)";

    HWND aya = peer.Window("aya");
    EXPECT_EQ(AnswerTo(peer, window,
                       Request({"SEND SSTP/1.1", "Sender: Aya", "Script: こんにちは、たんぶる。\\nいい天気ね。\\e",
                                "HWnd: " + Handle(aya)}),
                       aya),
              kOk);
    EXPECT_TRUE(IsWindowVisible(balloon)) << "the balloon shows the script";

    const RECT text = BalloonTextArea(balloon);
    const RECT caption = BalloonCaptionArea(balloon);
    // The caption shows at once, the script as it is typed: two rows.
    const RECT secondRow = {text.left, text.top + 14, text.right, text.top + 28};
    ScreenShot::WaitFor(
        [&](const ScreenShot& s) {
            return CountTextPixels(s, secondRow) >= 40 && CountCaptionPixels(s, caption) >= 40;
        },
        kShowTimeout);
    const ScreenShot shot = SettledShot(text, nullptr, 500);  // the whole script
    shot.Save("sstp-send");
    EXPECT_GE(CountTextPixels(shot, text), 100) << "the script is typed into the balloon";
    EXPECT_GE(CountTextPixels(shot, secondRow), 40) << "\\n starts a second row";
    EXPECT_GE(CountCaptionPixels(shot, caption), 40) << "the grey caption \"from Aya (DirectSSTP)\"";
    EXPECT_GE(CountPixels(shot, caption, kCaptionMark, 8), 5) << "the caption's blue mark";

    const RECT body = WindowArea(window);
    EXPECT_FALSE(BalloonRightOfTheCat(balloon)) << "the shape with its tail on the right";
    EXPECT_LE(BalloonShape(balloon).right, (body.left + body.right) / 2) << "the balloon stands left of the cat";
}

TEST(Sstp, WithoutHWndTheAnswerGoesToTheSenderAndWithNeitherTheScriptIsStillShown) {
    Peer peer({Aya()});
    CatHarness cat;
    HWND window = StartCat(cat, Settings());
    ASSERT_NE(window, nullptr);
    HWND balloon = FindBalloon(window);
    ASSERT_NE(balloon, nullptr);

    EXPECT_TRUE(Ask(peer, window, Request({"SEND SSTP/1.1", "Sender: Aya", "Script: hello\\e"}), false).empty())
        << "no window to answer to";
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(balloon) != FALSE; }, kShowTimeout, "the script to be shown"));
    const auto answers = Ask(peer, window, Request({"SEND SSTP/1.1", "Sender: Aya", "Script: again\\e", "HWnd: 0"}));
    ASSERT_EQ(answers.size(), 1u) << "HWnd 0 names no window: the answer goes to the sending window";
    EXPECT_EQ(answers[0].to, peer.Window("aya"));
    EXPECT_EQ(answers[0].text, "SSTP/1.0 200 OK\r\n\r\n");
}

// What the balloon says, as a screen reader reads it.
std::wstring BalloonText(HWND balloon) {
    wchar_t text[512] = {};
    GetWindowTextW(balloon, text, 512);
    return text;
}

// A cat started with the default settings that Aya asks, with its balloon.
struct AskedCat {
    Peer peer{{Aya()}};
    CatHarness cat;
    HWND window = StartCat(cat, Settings());
    HWND balloon = window ? FindBalloon(window) : nullptr;
    HWND aya = peer.Window("aya");

    std::string Send(const std::vector<std::string>& lines) {
        std::vector<std::string> request = {"SEND SSTP/1.1", "Sender: Aya", "HWnd: " + Handle(aya)};
        request.insert(request.end(), lines.begin(), lines.end());
        return AnswerTo(peer, window, Request(request), aya);
    }
};

TEST(Sstp, AUtf8SendIsShownInJapaneseAndAnsweredInUtf8) {
    AskedCat t;
    ASSERT_NE(t.balloon, nullptr);
    // こんにちは / 元気？ in UTF-8, written as its bytes: the test's own literals are Shift_JIS.
    const std::string script = "\\0\xE3\x81\x93\xE3\x82\x93\xE3\x81\xAB\xE3\x81\xA1\xE3\x81\xAF\\n"
                               "\xE5\x85\x83\xE6\xB0\x97\xEF\xBC\x9F\\e";
    EXPECT_EQ(t.Send({"Script: " + script, "Charset: UTF-8"}), "SSTP/1.0 200 OK\r\nCharset: UTF-8\r\n\r\n");
    EXPECT_TRUE(WaitUntil([&] { return BalloonText(t.balloon) == L"\u3053\u3093\u306B\u3061\u306F\n\u5143\u6C17\uFF1F"; },
                          kShowTimeout, "the balloon to say the Japanese text"));
    // The shot once the second row's last character is drawn and typing is over.
    const RECT area = BalloonTextArea(t.balloon);
    const RECT last{area.left + 24, area.top + 14, area.left + 36, area.top + 28};
    EXPECT_TRUE(WaitUntil([&] { return CountTextPixels(ScreenShot(), last) > 0; }, kShowTimeout, "the text typed"));
    SettledShot(area).Save("sstp-utf8-send", BalloonShape(t.balloon));
}

TEST(Sstp, AScriptsTagsActInsteadOfShowingAndItsSurfaceShowsWhileTheLineIsShown) {
    AskedCat t;
    ASSERT_NE(t.balloon, nullptr);
    ASSERT_FALSE(SameColour(CatBodyColour(t.window), kDropPoseColour)) << "a normal pose to start with";
    EXPECT_EQ(t.Send({"Script: \\0\\s[2]ねこ\\nです\\w9ソ\\![raise,x]\\e"}), kOk);
    EXPECT_TRUE(WaitUntil([&] { return SameColour(CatBodyColour(t.window), kDropPoseColour); }, kShowTimeout,
                          "the cat to show surface 2 while the line is shown"));
    EXPECT_EQ(BalloonText(t.balloon), L"\u306D\u3053\n\u3067\u3059\u30BD") << "no tag is shown";
    ScreenShot().Save("sstp-script-surface");
    PostMessageA(t.balloon, WM_LBUTTONDBLCLK, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return !SameColour(CatBodyColour(t.window), kDropPoseColour); }, kShowTimeout,
                          "the pose to come back once the balloon is gone"));
}

TEST(Sstp, WhileHiddenInTheTraySendAndDropAre512AndExecuteIs200) {
    Peer peer({Aya()});
    CatHarness cat;
    HWND window = StartCat(cat, Settings());
    ASSERT_NE(window, nullptr);
    SendMessageA(window, WM_COMMAND, kCmdIconize, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(window); }, kShowTimeout, "the cat to hide"));

    HWND aya = peer.Window("aya");
    const std::string invisible = "SSTP/1.0 512 Invisible\r\n\r\n";
    EXPECT_EQ(AnswerTo(peer, window, Request({"SEND SSTP/1.1", "Sender: Aya", "Script: hello\\e", "HWnd: " + Handle(aya)}),
                       aya),
              invisible);
    EXPECT_EQ(AnswerTo(peer, window,
                       Request({"DROP SSTP/1.0", "Sender: Aya", "Target: Aya", "Object: Ball", "HWnd: " + Handle(aya)}),
                       aya),
              invisible);
    EXPECT_EQ(AnswerTo(peer, window,
                       Request({"EXECUTE SSTP/1.0", "Sender: Aya", "Command: GetName", "HWnd: " + Handle(aya)}), aya),
              "SSTP/1.0 200 OK\r\n\r\nTabby BMP,empty\r\n\r\n");
}

TEST(Sstp, ExecuteAnswersNameVersionAndObjectListByteForByte) {
    Peer peer({Aya()});
    CatHarness cat;
    HWND window = StartCat(cat, Settings());
    ASSERT_NE(window, nullptr);
    HWND aya = peer.Window("aya");
    const std::string hwnd = "HWnd: " + Handle(aya);

    EXPECT_EQ(AnswerTo(peer, window, Request({"EXECUTE SSTP/1.0", "Sender: Aya", "Command: GetName", hwnd}), aya),
              "SSTP/1.0 200 OK\r\n\r\nTabby BMP,empty\r\n\r\n")
        << "the name of profile.txt's first line";
    EXPECT_EQ(AnswerTo(peer, window, GetVersion(aya), aya), "SSTP/1.0 200 OK\r\n\r\ntumblecat 9.8.7\r\n\r\n")
        << "readme.txt's first line";
    EXPECT_EQ(AnswerTo(peer, window, Request({"execute SSTP/1.0", "sender: Aya", "command:getversion", hwnd}), aya),
              "SSTP/1.0 200 OK\r\n\r\ntumblecat 9.8.7\r\n\r\n")
        << "header names and commands in any case, a value right after the colon";
    // The sets in the order of the drop submenu, which is the order of their folders.
    const auto listing = cat.ListFolder("dropling");
    std::vector<std::string> sets;
    for (const std::string& entry : listing) {
        if (entry == "ball") sets.push_back("Ball");
        if (entry == "cube") sets.push_back("Cube");
    }
    ASSERT_EQ(sets.size(), 2u);
    const std::string names = sets[0] + "," + sets[1];
    EXPECT_EQ(AnswerTo(peer, window, Request({"EXECUTE SSTP/1.0", "Sender: Aya", "Command: GetObjectList", hwnd}), aya),
              "SSTP/1.0 200 OK\r\n\r\n" + names + "\r\n\r\n");
    EXPECT_EQ(AnswerTo(peer, window, Request({"EXECUTE SSTP/1.0", "Sender: Aya", "Command: GetColour", hwnd}), aya),
              "SSTP/1.0 400 Bad Request\r\n\r\n");
}

TEST(Sstp, DropOnAllStartsTheFallingObjectProgramAndKeepsTheSettingsTarget) {
    Peer peer({ShownAya(), ShownBee()});
    CatHarness cat;
    const std::string settings = Settings("Bee");
    HANDLE process = nullptr;
    HWND window = StartCat(cat, settings, &process);
    ASSERT_NE(window, nullptr);

    HWND aya = peer.Window("aya");
    EXPECT_EQ(AnswerTo(peer, window,
                       Request({"DROP SSTP/1.0", "Sender: Aya", "Target: %ALL", "Object: Ball", "HWnd: " + Handle(aya)}),
                       aya),
              kOk);
    std::string calls;
    EXPECT_TRUE(WaitUntil(
        [&] {
            calls = cat.ReadFile("dropling-calls.txt");
            return calls.size() >= 2 && calls.substr(calls.size() - 2) == "\r\n";
        },
        kStartTimeout, "the falling-object program to be started"));
    // Everyone shown; now and then the cat itself as well.
    EXPECT_TRUE(calls == "ball~0~9801~255~Aya^Bee^\r\n" || calls == "ball~0~9801~255~Aya^Bee^%nek:tabby^\r\n") << calls;

    PostMessageA(window, WM_COMMAND, kCmdQuit, 0);
    EXPECT_EQ(cat.WaitForExit(process, kEndTimeout), 0u);
    EXPECT_EQ(cat.ReadFile("tumblecat.cfg"), settings) << "the settings' target is still Bee";
}

TEST(Sstp, ARequestWithoutARequestLineIs501AndAnAnswerIsNotAnswered) {
    Peer peer({Aya()});
    CatHarness cat;
    HWND window = StartCat(cat, Settings());
    ASSERT_NE(window, nullptr);
    HWND aya = peer.Window("aya");

    EXPECT_EQ(AnswerTo(peer, window, Request({"HELLO THERE", "Sender: Aya", "HWnd: " + Handle(aya)}), aya),
              "SSTP/1.0 501 Not Implemented\r\n\r\n");
    EXPECT_TRUE(Ask(peer, window, Request({"SSTP/1.0 200 OK", "Sender: Aya", "HWnd: " + Handle(aya)})).empty())
        << "a text that starts with SSTP is an answer and gets none";
    EXPECT_EQ(AnswerTo(peer, window, GetVersion(aya), aya), "SSTP/1.0 200 OK\r\n\r\ntumblecat 9.8.7\r\n\r\n");
}

// A window whose thread stops taking messages once it is made.
class HungWindow {
public:
    HungWindow() {
        m_release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        HANDLE made = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        m_thread = std::thread([this, made] {
            WNDCLASSA wc{};
            wc.lpfnWndProc = DefWindowProcA;
            wc.hInstance = GetModuleHandleA(nullptr);
            wc.lpszClassName = "TumblecatTestHung";
            RegisterClassA(&wc);
            m_window = CreateWindowExA(0, wc.lpszClassName, "hung", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                       wc.hInstance, nullptr);
            SetEvent(made);
            WaitForSingleObject(m_release, INFINITE);
            DestroyWindow(m_window);
        });
        WaitForSingleObject(made, kShowTimeout);
        CloseHandle(made);
    }
    ~HungWindow() {
        SetEvent(m_release);
        m_thread.join();
        CloseHandle(m_release);
    }
    HWND Window() const { return m_window; }

private:
    HANDLE m_release = nullptr;
    HWND m_window = nullptr;
    std::thread m_thread;
};

TEST(Sstp, AnAnswerWindowThatHangsDoesNotFreezeTheCat) {
    Peer peer({Aya()});
    CatHarness cat;
    HWND window = StartCat(cat, Settings());
    ASSERT_NE(window, nullptr);
    HungWindow hung;
    ASSERT_NE(hung.Window(), nullptr);

    HWND aya = peer.Window("aya");
    const DWORD sent = GetTickCount();
    EXPECT_TRUE(Ask(peer, window, GetVersion(hung.Window())).empty()) << "(the hung window's answer is not seen here)";
    const DWORD handled = GetTickCount() - sent;
    EXPECT_EQ(AnswerTo(peer, window, GetVersion(aya), aya), "SSTP/1.0 200 OK\r\n\r\ntumblecat 9.8.7\r\n\r\n");
    const DWORD answered = GetTickCount() - sent;
    std::printf("an answer window that hangs held the cat %lu ms; the next request was answered %lu ms after the first\n",
                static_cast<unsigned long>(handled), static_cast<unsigned long>(answered));
    EXPECT_LE(answered, kAnswerBound + 1500) << "the cat gives up on the hung window after about a second";
}

}  // namespace
}  // namespace e2e
