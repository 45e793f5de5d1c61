// Talking under Wine: the greeting as a conversation with the peer character (Quiet, the
// scripts written for it, Restore, each step waiting for the one before), the farewell and
// the end after it, the bound on a farewell with a partner that never falls silent, Stand's
// lines through its mailslot, and the lone greeting typed into the balloon beside the cat.
#include <gtest/gtest.h>

#include <cstdio>

#include "CatHarness.h"
#include "Desktop.h"
#include "ProcessWindows.h"
#include "Wait.h"
#include "peer/Peer.h"

namespace e2e {
namespace {

constexpr WPARAM kCmdQuit = 32777;
constexpr ULONG_PTR kSstpData = 9801;
// A conversation of the default lines: each of the other character's steps waits for its
// talking-state query, each of the cat's for its balloon; a few seconds in all.
constexpr DWORD kConversationTimeout = 30000;
// The farewell ends the program at most 15 s after Quit, plus the 100 ms end delay.
constexpr DWORD kFarewellLimit = 15000;
// Ending the program after that: without a window manager, Wine waits up to 2 s for the X
// server each time it hides or destroys a window, and the cat has two (4 s measured).
constexpr DWORD kEndAllowance = 8000;

std::string Settings(const std::string& target = "%rnd") {
    return "0\r\ntabby\r\n10\r\n0\r\n0\r\n0\r\n9801\r\n1\r\n767\r\n1\r\n" + target + "\r\n";
}

std::string DataFile(const std::string& name) { return std::string(TUMBLECAT_SOURCE_DIR) + "/data/" + name; }

std::string Handle(HWND window) { return std::to_string(static_cast<long long>(reinterpret_cast<INT_PTR>(window))); }

// The requests the cat sends another character.
std::string Command(const std::string& command, HWND cat) {
    return "EXECUTE SSTP/1.3\r\nSender: たんぶる\r\nCommand: " + command + "\r\nCharset: SJIS\r\nHWnd: " + Handle(cat) +
           "\r\n\r\n";
}
std::string Script(const std::string& script, HWND cat) {
    return "SEND SSTP/1.1\r\nSender: たんぶる\r\nScript: " + script + "\\e\r\nCharset: SJIS\r\nHWnd: " + Handle(cat) +
           "\r\n\r\n";
}

bool IsRestore(const ReceivedData& data) { return data.text.find("\r\nCommand: Restore\r\n") != std::string::npos; }

// The requests the peer has received from the first one on, once the last of them is a
// Restore (what it holds when the bound passes otherwise).
std::vector<ReceivedData> WaitForRestore(const Peer& peer, std::size_t first, DWORD timeout, const std::string& what) {
    std::vector<ReceivedData> got;
    EXPECT_TRUE(WaitUntil(
        [&] {
            const auto all = peer.Received();
            got.assign(all.begin() + static_cast<std::ptrdiff_t>(std::min(first, all.size())), all.end());
            return !got.empty() && IsRestore(got.back());
        },
        timeout, what));
    return got;
}

std::vector<std::string> Texts(const std::vector<ReceivedData>& requests) {
    std::vector<std::string> texts;
    for (const ReceivedData& r : requests) texts.push_back(r.text);
    return texts;
}

// Each request went to the window as SSTP, and none came sooner than the pacing allows: a
// request after one of her lines waits for her step to end, 200 ms after she is found
// silent, and catCharacters[i] is what the cat types (50 ms each) before request i; prints
// when each came.
void ExpectSstpTo(HWND window, const std::vector<ReceivedData>& requests, const std::vector<int>& catCharacters,
                  const char* what) {
    for (std::size_t i = 0; i < requests.size(); ++i) {
        EXPECT_EQ(requests[i].to, window) << "request " << i;
        EXPECT_EQ(requests[i].kind, kSstpData) << "request " << i;
        std::printf("%s: request %zu came %lu ms after the first\n", what, i,
                    static_cast<unsigned long>(requests[i].at - requests[0].at));
        if (i == 0 || i >= catCharacters.size()) continue;
        const LONG paced = (requests[i - 1].text.starts_with("SEND ") ? 200 : 0) + 50 * catCharacters[i];
        EXPECT_GE(static_cast<LONG>(requests[i].at - requests[i - 1].at), paced) << what << ": request " << i;
    }
}

PeerCharacter Aya() { return {"aya", "Aya", "Ayako", true}; }

TEST(Talk, TheGreetingWithAyaIsQuietHerScriptsInTurnThenRestore) {
    Peer peer({Aya()});
    CatHarness cat;
    cat.CopyIn(DataFile("speak.txt"), "speak.txt");
    HWND window = cat.StartTabby(Settings());
    ASSERT_NE(window, nullptr);

    const auto got = WaitForRestore(peer, 0, kConversationTimeout, "the greeting's Restore");
    // The greeting written for Aya in data/speak.txt: her two lines go to her, the cat's three
    // (an empty one first, where the script starts with her) to its balloon.
    const std::vector<std::string> expected = {
        Command("Quiet", window),
        Script("\\h\\s[0]ウィスカビー、今日も来てくれたのね。", window),
        Script("\\h\\s[5]ありがとう。\\nお茶でもいれましょうか。", window),
        Command("Restore", window),
    };
    EXPECT_EQ(Texts(got), expected);
    // Between her two lines the cat types "うん、Ayaに会いに来たよ。" (14 characters), before
    // Restore "やったー！".
    ExpectSstpTo(peer.Window("aya"), got, {0, 0, 14, 5}, "greeting");
}

TEST(Talk, QuitSaysGoodbyeWithAyaThenEndsAndWritesTheSettings) {
    Peer peer({Aya()});
    CatHarness cat;
    cat.InstallDataSkin("whiskerby");
    cat.CopyIn(DataFile("speak.txt"), "speak.txt");
    HANDLE process = cat.Start();  // no settings file: the start values
    HWND window = cat.WaitForCatWindow(process, kStartTimeout);
    ASSERT_NE(window, nullptr);
    const std::size_t greeting = WaitForRestore(peer, 0, kConversationTimeout, "the greeting's Restore").size();

    const DWORD quit = GetTickCount();
    PostMessageA(window, WM_COMMAND, kCmdQuit, 0);
    EXPECT_EQ(cat.WaitForExit(process, kConversationTimeout + kEndTimeout), 0u) << "the program ends after its farewell";
    const DWORD ended = GetTickCount();
    std::printf("the farewell with Aya took %lu ms from Quit to the end of the program\n",
                static_cast<unsigned long>(ended - quit));

    const std::vector<ReceivedData> got = WaitForRestore(peer, greeting, 0, "the farewell's Restore");
    const std::vector<std::string> expected = {
        Command("Quiet", window),
        Script("\\h\\s[0]ウィスカビー、もう行っちゃうの？", window),
        Script("\\h\\s[5]こちらこそ。\\nまたいつでも来てね。", window),
        Command("Restore", window),
    };
    EXPECT_EQ(Texts(got), expected);
    // The cat's lines: "うん。Aya、今日もありがとう。" (16 characters), then "ばいばい！".
    ExpectSstpTo(peer.Window("aya"), got, {0, 0, 16, 5}, "farewell");
    ASSERT_FALSE(got.empty());
    // Restore comes once the cat's last line, "ばいばい！", is typed; the program ends a second later.
    EXPECT_GE(ended - got.back().at, 900u) << "the end waits a second after the farewell";
    EXPECT_EQ(cat.ReadFile("tumblecat.cfg"), "0\r\nwhiskerby\r\n10\r\n0\r\n0\r\n0\r\n9801\r\n1\r\n767\r\n1\r\n%rnd\r\n")
        << "the settings are written at the end";
}

TEST(Talk, AFarewellWithAPartnerThatNeverFallsSilentEndsWithinTheBound) {
    Peer peer({Aya()});
    CatHarness cat;
    // Four lines of hers, each of which waits up to 5 s: 20 s and more unless cut short.
    cat.WriteFile("speak.txt",
                  "#goodbye.sstp.ex@Aya\r\n"
                  "\\h\\s[0]one@nekoA\\h\\s[0]two@nekoB\\h\\s[0]three@nekoC\\h\\s[0]four@nekoD\r\n");
    HANDLE process = nullptr;
    HWND window = cat.StartTabby(Settings(), &process);
    ASSERT_NE(window, nullptr);
    // No greeting is written: the cat says the placeholder in its balloon, Aya gets Quiet and
    // Restore only.
    const std::size_t greeting = WaitForRestore(peer, 0, kConversationTimeout, "the greeting's Restore").size();
    EXPECT_EQ(greeting, 2u);

    peer.SetTalking(true);
    const DWORD quit = GetTickCount();
    PostMessageA(window, WM_COMMAND, kCmdQuit, 0);
    EXPECT_EQ(cat.WaitForExit(process, kFarewellLimit + kEndTimeout), 0u) << "the program ends";
    const DWORD took = GetTickCount() - quit;
    std::printf("quit with a partner that never falls silent: the program ended %lu ms after Quit\n",
                static_cast<unsigned long>(took));
    EXPECT_LE(took, kFarewellLimit + 100 + kEndAllowance) << "the program ends at the farewell's bound";

    const std::vector<ReceivedData> got = WaitForRestore(peer, greeting, 0, "the Restore that releases her");
    ASSERT_FALSE(got.empty());
    const DWORD released = got.back().at - quit;
    std::printf("she was released %lu ms after Quit\n", static_cast<unsigned long>(released));
    EXPECT_GE(released, kFarewellLimit) << "her lines were waited for until the farewell's bound";
    EXPECT_LE(released, kFarewellLimit + 1000) << "and not longer";
    // Each of her steps lasts its 5 s: the fourth line would start after the bound.
    const std::vector<std::string> expected = {
        Command("Quiet", window),           Script("\\h\\s[0]one", window), Script("\\h\\s[0]two", window),
        Script("\\h\\s[0]three", window), Command("Restore", window),
    };
    EXPECT_EQ(Texts(got), expected);
    ExpectSstpTo(peer.Window("aya"), got, {0, 0, 1, 1, 0}, "farewell with a partner that never falls silent");
    for (std::size_t i = 2; i + 1 < got.size(); ++i) {
        const DWORD step = got[i].at - got[i - 1].at;
        EXPECT_GE(step, 4800u) << "line " << i << " waits for the 5 s bound of the step before";
        EXPECT_LE(step, 7000u) << "line " << i << " comes once the step before reached its 5 s bound";
    }
}

TEST(Talk, StandGetsTheGreetingsLinesThroughItsMailslot) {
    Peer peer({}, true);
    CatHarness cat;
    cat.CopyIn(DataFile("speak.txt"), "speak.txt");
    HWND window = cat.StartTabby(Settings());
    ASSERT_NE(window, nullptr);

    std::vector<std::string> lines;
    EXPECT_TRUE(WaitUntil(
        [&] {
            lines = peer.MailslotMessages();
            return lines.size() >= 2;
        },
        kConversationTimeout, "Stand's two lines"));
    // Stand has no name of its own, so it gets one of the greetings written for anyone.
    const std::vector<std::vector<std::string>> either = {
        {"tumblecat\tsay \\h\\s[0]あら、猫ちゃん。こんにちは。", "tumblecat\tsay \\h\\s[5]ふふ、ゆっくりしていってね。"},
        {"tumblecat\tsay \\u\\s[10]お、猫が来たぞ。", "tumblecat\tsay \\h\\s[0]いらっしゃい。"},
    };
    EXPECT_TRUE(lines == either[0] || lines == either[1]) << "Stand got: " << ::testing::PrintToString(lines);
    EXPECT_TRUE(peer.Received().empty()) << "Stand gets no window messages, Quiet and Restore included";
}

TEST(Talk, TheLoneGreetingIsTypedIntoTheBalloonOnTheSideWithMoreRoom) {
    DesktopScene desktop;
    CatHarness cat;
    cat.InstallDataSkin("whiskerby");
    cat.CopyIn(DataFile("speak.txt"), "speak.txt");
    HANDLE process = cat.Start();  // the start values: the cat at the left end of the taskbar
    HWND window = cat.WaitForCatWindow(process, kStartTimeout);
    ASSERT_NE(window, nullptr);
    HWND balloon = FindBalloon(window);
    ASSERT_NE(balloon, nullptr) << "the cat owns a balloon 328 pixels wide";

    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(balloon) != FALSE; }, kShowTimeout, "the balloon to show"));
    const RECT text = BalloonTextArea(balloon);
    // A few characters typed, then the line as far as it goes without a pause.
    ScreenShot::WaitFor([&](const ScreenShot& s) { return CountTextPixels(s, text) >= 60; }, kShowTimeout);
    const ScreenShot shot = SettledShot(text, nullptr, 500);
    shot.Save("talk-greeting");
    EXPECT_GE(CountTextPixels(shot, text), 60) << "text is typed inside the balloon";

    const RECT body = WindowArea(window);
    const RECT shape = BalloonShape(balloon);
    EXPECT_TRUE(BalloonRightOfTheCat(balloon)) << "the shape with its tail on the left";
    EXPECT_GE(shape.left, (body.left + body.right) / 2) << "the balloon stands right of the cat, where there is room";
    EXPECT_GE(shape.top, 0);
    EXPECT_LE(shape.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_LE(shape.bottom, GetSystemMetrics(SM_CYSCREEN)) << "the balloon stays on the screen";
}

}  // namespace
}  // namespace e2e
