// The cat's talking through its window: the balloon beside it, greetings alone and with
// another character (Quiet, the conversation's steps, Restore), the bounded farewell, Stand,
// and the SSTP requests other programs send it.
#include <gtest/gtest.h>

#include "interop/SstpOutgoing.h"
#include "talk/MessageConfig.h"
#include "support/DialogHarness.h"

namespace tc {
namespace {

using test::DialogHarness;
using test::FakeInterProcess;

constexpr NativeHandle kAya = 0x100, kAsker = 0x900;

class TalkTest : public ::testing::Test, protected DialogHarness {
protected:
    // A 20 x 40 cat at the left of the screen; speak.txt in the base directory.
    CTumbleDlg& StartCat(const std::string& speak, bool withAya) {
        WriteRectangleSkin("cat", 2, 20, 40);
        UseSkin("cat");
        dir.Write("speak.txt", speak);
        if (withAya) {
            fake.ipc.sharedBlocks["Sakura"] =
                std::string("\x00\x00\x01\x00", 4) + "a.hwnd\x01" "256\r\na.name\x01" "Aya\r\n";
            fake.windows.Window(kAya).style = 0x94000000;
        }
        return Start();
    }
    // Runs ticks of the cat, its balloon and timer 5 until the conversation is over.
    void PlayConversation(CTumbleDlg& d, int maxTicks = 400) {
        for (int i = 0; i < maxTicks && d.m_talkIndex != -1; ++i) {
            fake.system.tickMilliseconds += 50;
            Timer(kTimerTick);
            if (d.m_balloon) d.m_balloon->OnTimer(kBalloonTimerId);
            if (fake.windows.Main().timers.count(kTimerTalk)) Timer(kTimerTalk);
        }
    }
    std::vector<std::string> SentTexts() const {
        std::vector<std::string> texts;
        for (const auto& copy : fake.ipc.copyData) texts.push_back(copy.bytes);
        return texts;
    }
    std::string Hwnd() const { return std::to_string(test::FakeWindowSystem::kDialogWindow); }
};

TEST_F(TalkTest, AloneTheGreetingIsALineTypedInABalloonRightOfTheCat) {
    CTumbleDlg& d = StartCat("#welcome.alone.message\r\nこんにちは\r\n", false);
    ASSERT_TRUE(d.m_balloon);
    EXPECT_EQ(d.m_balloon->m_text, "こんにちは");
    EXPECT_TRUE(d.BalloonSpeaking());
    EXPECT_EQ(d.m_talkIndex, -1);
    EXPECT_EQ(d.m_balloon->m_side, 0) << "the cat stands in the left half";
    EXPECT_TRUE(fake.windows.Window(d.m_balloon->m_hWnd).visible);
    EXPECT_EQ(fake.windows.Window(d.m_balloon->m_hWnd).owner, test::FakeWindowSystem::kDialogWindow);
    EXPECT_TRUE(fake.ipc.copyData.empty());
}

TEST(ShippedLines, EveryListOfTheDefaultSpeakFileHasRealLines) {
    PosixFileSystem files;
    TalkRecord talk;
    LoadMessageConfig(files.ReadWholeFile(std::string(TUMBLECAT_SOURCE_DIR) + "/data/speak.txt"), std::nullopt, talk);
    const std::vector<const std::vector<std::string>*> lines = {
        &talk.m_msgExecute, &talk.m_msgExecuteAlone, &talk.m_msgWelcomeAlone, &talk.m_msgGoodbyeAlone,
        &talk.m_msgInstallCompleteSkin, &talk.m_msgInstallCompleteDropling, &talk.m_msgInstallFailureFiletype,
        &talk.m_msgInstallFailureDll, &talk.m_msgInstallFailureExtract, &talk.m_msgInstallFailureStructure};
    for (const auto* list : lines) {
        ASSERT_FALSE(list->empty());
        for (const std::string& line : *list) EXPECT_EQ(line.find("not found)"), std::string::npos) << line;
    }
    for (const auto* scripts : {&talk.m_scriptWelcome, &talk.m_scriptGoodbye}) {
        EXPECT_TRUE(PickPartnerScript(*scripts, "Aya")) << "a script for the character named Aya";
        EXPECT_TRUE(PickPartnerScript(*scripts, "Someone")) << "and one for anybody";
        for (const STriangleScript& s : *scripts) EXPECT_EQ(s.script.find("not found)"), std::string::npos);
    }
}

TEST_F(TalkTest, AHiddenBalloonWithNothingToTypeStopsItsTimerUntilTheNextLine) {
    CTumbleDlg& d = StartCat("#welcome.alone.message\r\nhi\r\n", false);
    const NativeHandle balloon = d.m_balloon->m_hWnd;
    for (int i = 0; i < 200 && fake.windows.Window(balloon).timers.count(kBalloonTimerId); ++i) {
        d.m_balloon->OnTimer(kBalloonTimerId);
    }
    EXPECT_FALSE(fake.windows.Window(balloon).visible) << "hidden 5 s after the line";
    EXPECT_EQ(fake.windows.Window(balloon).timers.count(kBalloonTimerId), 0u);
    d.Say("again");
    EXPECT_EQ(fake.windows.Window(balloon).timers.at(kBalloonTimerId), 50);
    EXPECT_TRUE(d.BalloonSpeaking());
}

TEST_F(TalkTest, TheBalloonStaysAboveATaskbarAtTheBottom) {
    fake.windows.windowsByClass["Shell_TrayWnd"] = 0x7001;
    fake.windows.Window(0x7001).rect = {0, 738, 1024, 768};
    CTumbleDlg& d = StartCat("#welcome.alone.message\r\nhi\r\n", false);
    Timer(kTimerTick);  // the cat is lifted onto the taskbar
    d.PlaceBalloon();
    EXPECT_LE(d.m_balloon->m_y + 96, 738) << "the balloon never covers the taskbar";
}

TEST_F(TalkTest, WithAnotherCharacterTheGreetingIsAConversationBetweenQuietAndRestore) {
    CTumbleDlg& d = StartCat("#welcome.sstp.ex\r\n\\hany@nekoHi.\r\n#welcome.sstp.ex@Aya\r\n\\h\\s[0]Hello.@nekoHi, Aya!\r\n",
                             true);
    fake.ipc.answerQuery = [](const FakeInterProcess::Query& q) {
        return std::optional<std::intptr_t>(q.first == kTalkingQueryWParam ? 0 : -1);
    };
    PlayConversation(d);
    EXPECT_EQ(SentTexts(),
              (std::vector<std::string>{FormatCommandRequest(SstpCommand::Quiet, 0x1001),
                                        FormatScriptRequest("\\h\\s[0]Hello.", 0x1001),
                                        FormatCommandRequest(SstpCommand::Restore, 0x1001)}))
        << "the script written for Aya by name, with the cat's window handle";
    for (const auto& copy : fake.ipc.copyData) {
        EXPECT_EQ(copy.target, kAya);
        EXPECT_EQ(copy.tag, 9801u);
        EXPECT_LE(copy.timeoutMs, 1000);
    }
    EXPECT_EQ(d.m_lastSaid, "Hi, Aya!");
    ASSERT_FALSE(fake.ipc.queries.empty());
    EXPECT_EQ(fake.ipc.queries[0].message, fake.ipc.registeredMessages.at("Sakura"));
}

TEST_F(TalkTest, AFarewellWithAPartnerThatNeverFallsSilentStillEndsTheProgram) {
    CTumbleDlg& d = StartCat("#goodbye.sstp.ex\r\n\\hone@nekoa\\htwo@nekob\\hthree@nekoc\\hfour\r\n", true);
    fake.ipc.answerQuery = [](const FakeInterProcess::Query&) { return std::optional<std::intptr_t>(1); };
    // speak.txt has no greeting script, so the greeting plays the placeholder line that stands
    // for the missing list; it ends (the partner's step by its time limit) with Restore.
    PlayConversation(d);
    ASSERT_EQ(d.m_talkIndex, -1);
    EXPECT_EQ(SentTexts().front(), FormatCommandRequest(SstpCommand::Quiet, 0x1001));
    EXPECT_EQ(SentTexts().back(), FormatCommandRequest(SstpCommand::Restore, 0x1001));
    fake.ipc.copyData.clear();

    const std::uint32_t quitAt = fake.system.tickMilliseconds;
    Command(kCmdQuit);
    for (int i = 0; i < 1000 && !fake.windows.Main().timers.count(kTimerEnd); ++i) {
        fake.system.tickMilliseconds += 50;
        Timer(kTimerTick);
        d.m_balloon->OnTimer(kBalloonTimerId);
        if (fake.windows.Main().timers.count(kTimerTalk)) Timer(kTimerTalk);
    }
    ASSERT_EQ(fake.windows.Main().timers.count(kTimerEnd), 1u);
    EXPECT_LE(fake.system.tickMilliseconds - quitAt, 16000u);
    EXPECT_EQ(SentTexts().front(), FormatCommandRequest(SstpCommand::Quiet, 0x1001));
    EXPECT_EQ(SentTexts().back(), FormatCommandRequest(SstpCommand::Restore, 0x1001)) << "never left silenced";
}

TEST_F(TalkTest, TheConversationKeepsItsPartnerAndACutOneReleasesIt) {
    constexpr NativeHandle kBee = 0x200;
    CTumbleDlg& d = StartCat("#welcome.sstp.ex\r\n\\hOne@nekoTwo\\hThree\r\n#goodbye.sstp.ex\r\n\\hBye\r\n", true);
    fake.ipc.answerQuery = [](const FakeInterProcess::Query&) { return std::optional<std::intptr_t>(0); };
    // Another character comes first in the directory while Aya talks.
    fake.ipc.sharedBlocks["Sakura"] = std::string("\x00\x00\x01\x00", 4) + "b.hwnd\x01" "512\r\nb.name\x01" "Bee\r\n" +
                                      "a.hwnd\x01" "256\r\na.name\x01" "Aya\r\n";
    fake.windows.Window(kBee).style = 0x94000000;
    d.RefreshDirectory();
    PlayConversation(d);
    ASSERT_EQ(SentTexts().size(), 4u) << "Quiet, two scripts, Restore";
    for (const auto& copy : fake.ipc.copyData) EXPECT_EQ(copy.target, kAya) << copy.bytes;
    for (const auto& query : fake.ipc.queries) EXPECT_EQ(query.target, kAya);

    // Quit while the greeting with Bee runs: Bee is released before the farewell starts.
    fake.ipc.copyData.clear();
    d.Greet();
    Command(kCmdQuit);
    const std::vector<std::pair<NativeHandle, std::string>> expected = {
        {kBee, FormatCommandRequest(SstpCommand::Quiet, 0x1001)},
        {kBee, FormatCommandRequest(SstpCommand::Restore, 0x1001)},
        {kBee, FormatCommandRequest(SstpCommand::Quiet, 0x1001)}};
    std::vector<std::pair<NativeHandle, std::string>> sent;
    for (const auto& copy : fake.ipc.copyData) sent.emplace_back(copy.target, copy.bytes);
    EXPECT_EQ(sent, expected);
}

TEST_F(TalkTest, AtTheSessionsEndEverythingIsWrittenAndThePartnerReleased) {
    CTumbleDlg& d = StartCat("#welcome.sstp.ex\r\n\\hHi@nekoHello\r\n", true);
    ASSERT_EQ(d.m_talkIndex, 0) << "the greeting with Aya runs";
    d.m_target = "Aya";
    fake.ipc.copyData.clear();
    EXPECT_EQ(Send(kWmQueryEndSession), 1) << "the cat lets the session end";
    Send(kWmEndSession, 0);  // called off
    EXPECT_FALSE(dir.Exists("menulists.cfg"));
    EXPECT_TRUE(fake.ipc.copyData.empty());

    Send(kWmEndSession, 1);
    EXPECT_NE(dir.Read("tumblecat.cfg").find("\r\nAya\r\n"), std::string::npos) << dir.Read("tumblecat.cfg");
    for (const char* list : {"menulistk.cfg", "menulists.cfg", "filesetlistk.cfg", "filesetlists.cfg"}) {
        EXPECT_TRUE(dir.Exists(list)) << list;
    }
    EXPECT_EQ(SentTexts(), std::vector<std::string>{FormatCommandRequest(SstpCommand::Restore, 0x1001)});
    EXPECT_EQ(d.m_talkIndex, -1);
}

TEST_F(TalkTest, ARestartedShellGetsTheTrayIconBack) {
    StartCat("", false);
    ASSERT_EQ(fake.shell.trayIcons.size(), 1u);
    fake.shell.trayIcons.clear();  // the shell died with its icons
    Send(fake.ipc.registeredMessages.at("TaskbarCreated"));
    ASSERT_EQ(fake.shell.trayIcons.size(), 1u);
    EXPECT_EQ(fake.shell.trayIcons[0].window, test::FakeWindowSystem::kDialogWindow);
}

TEST_F(TalkTest, NothingIsEverSentToTheBroadcastHandle) {
    CTumbleDlg& d = StartCat("#welcome.sstp.ex\r\n\\hHi\r\n", false);
    fake.ipc.sharedBlocks["Sakura"] = std::string("\x00\x00\x01\x00", 4) + "a.hwnd\x01" "65535\r\na.name\x01" "All\r\n";
    fake.windows.Window(0xFFFF).style = 0x94000000;
    d.Greet();
    PlayConversation(d);
    d.OnCopyData(0xFFFF, std::string("EXECUTE SSTP/1.0\r\nSender: a\r\nCommand: GetName\r\nHWnd: 65535\r\n\r\n"));
    EXPECT_TRUE(fake.ipc.copyData.empty());
    EXPECT_TRUE(fake.ipc.queries.empty());
}

TEST_F(TalkTest, StandGetsItsLinesThroughTheMailslots) {
    WriteRectangleSkin("cat", 2, 20, 40);
    UseSkin("cat");
    dir.Write("speak.txt", "#welcome.sstp.ex\r\n\\hhello\r\n");
    fake.windows.windowsByClass["Texture0"] = 0x400;
    fake.windows.Window(0x400).rect = {0, 0, 400, 400};
    CTumbleDlg& d = Start();
    PlayConversation(d);
    EXPECT_TRUE(fake.ipc.copyData.empty()) << "no Quiet or Restore for Stand";
    ASSERT_EQ(fake.ipc.mailslots.size(), 1u);
    EXPECT_EQ(fake.ipc.mailslots[0].message, "tumblecat\tsay \\hhello");
    EXPECT_EQ(fake.ipc.mailslots[0].peerSlot, "\\\\.\\mailslot\\Stand");
    EXPECT_EQ(fake.ipc.mailslots[0].readTimeoutMs, 1000);
}

class SstpServerTest : public TalkTest {
protected:
    CTumbleDlg& StartServer() {
        CTumbleDlg& d = StartCat("", false);
        fake.windows.Window(kAsker);  // the asker's window exists
        fake.ipc.copyData.clear();
        d.m_menuDroplings = {{32802, "Apple", "apple"}, {32803, "Ball", "ball"}};
        d.m_version = "tumblecat 0.2";
        return d;
    }
    // Delivers a request with HWnd kAsker; the answer sent back, or "" when none.
    std::string Request(CTumbleDlg& d, const std::string& head, bool withNul = true) {
        fake.ipc.copyData.clear();
        std::string text = head + "HWnd: " + std::to_string(kAsker) + "\r\n\r\n";
        if (withNul) text.push_back('\0');
        d.OnCopyData(kAsker, text);
        if (fake.ipc.copyData.empty()) return "";
        EXPECT_EQ(fake.ipc.copyData[0].target, kAsker);
        return fake.ipc.copyData[0].bytes;
    }
};

TEST_F(SstpServerTest, SendShowsTheScriptWithTheSendersCaption) {
    CTumbleDlg& d = StartServer();
    EXPECT_EQ(Request(d, "SEND SSTP/1.1\r\nSender: Aya\r\nScript: hi\\nthere\\e junk\r\n"), "SSTP/1.0 200 OK\r\n\r\n");
    EXPECT_EQ(d.m_balloon->m_text, "hi\nthere");
    EXPECT_EQ(d.m_balloon->m_caption, "from Aya (DirectSSTP)");
    EXPECT_EQ(Request(d, "SEND SSTP/1.1\r\nScript: x\r\n"), "SSTP/1.0 400 Bad Request\r\n\r\n");
    fake.ipc.copyData.clear();
    d.OnCopyData(0, "SEND SSTP/1.1\r\nSender: a\r\nScript: shown\r\n\r\n");
    EXPECT_TRUE(fake.ipc.copyData.empty()) << "no HWnd and no sender: no answer";
    EXPECT_EQ(d.m_balloon->m_text, "shown") << "but the script is shown";
    d.OnCopyData(kAsker, "SEND SSTP/1.1\r\nSender: a\r\nScript: s\r\n\r\n");
    ASSERT_EQ(fake.ipc.copyData.size(), 1u) << "no HWnd: the answer goes to the sender";
    EXPECT_EQ(fake.ipc.copyData[0].target, kAsker);
    fake.ipc.copyData.clear();
    d.OnCopyData(kAsker, "SEND SSTP/1.1\r\nSender: a\r\nScript: s\r\nHWnd: 4660\r\n\r\n");
    EXPECT_TRUE(fake.ipc.copyData.empty()) << "an HWnd that is no window is not answered";
    d.OnCopyData(kAsker, "SSTP/1.0 200 OK\r\nHWnd: 2304\r\n");
    EXPECT_TRUE(fake.ipc.copyData.empty()) << "answers to the cat's own requests are not handled";
    EXPECT_EQ(Request(d, "NOTIFY SSTP/1.1\r\n"), "SSTP/1.0 204 No Content\r\n\r\n") << "an event nobody handles";
    EXPECT_EQ(Request(d, "COMMUNICATE SSTP/1.1\r\n"), "SSTP/1.0 501 Not Implemented\r\n\r\n");
}

TEST_F(SstpServerTest, TheTcpDoorAnswersTheSameRequestsOnTheirConnection) {
    CTumbleDlg& d = StartServer();
    ASSERT_TRUE(fake.network.IsOpen());
    EXPECT_EQ(fake.network.openedPort, 9801);
    EXPECT_EQ(fake.network.bounds.maxRequestBytes, 65536u);
    EXPECT_EQ(fake.network.bounds.timeLimitMs, 2000);
    const std::string getName = "EXECUTE SSTP/1.1\r\nSender: a\r\nCommand: GetName\r\nHWnd: 4660\r\n\r\n";
    const std::string name = Request(d, "EXECUTE SSTP/1.1\r\nSender: a\r\nCommand: GetName\r\n");
    const struct {
        std::string received;
        bool ended;
        std::optional<std::string> answer;
    } cases[] = {
        {getName, false, name},                                   // the same bytes; HWnd changes nothing
        {getName.substr(0, 30), false, std::nullopt},             // half a request: wait
        {getName.substr(0, getName.size() - 2), true, name},      // the client closed its side
        {"NOTIFY SSTP/1.1\r\nSender: a\r\nEvent: OnBoot\r\n\r\n", false, "SSTP/1.0 204 No Content\r\n\r\n"},
        {"SSTP/1.0 200 OK\r\n\r\n", false, ""},               // an answer gets none
        {std::string(65536, 'x'), true, "SSTP/1.0 400 Bad Request\r\n\r\n"},
    };
    fake.ipc.copyData.clear();
    for (const auto& c : cases) EXPECT_EQ(fake.network.Knock(c.received, c.ended), c.answer) << c.received.substr(0, 40);
    EXPECT_TRUE(fake.ipc.copyData.empty()) << "TCP answers go back on their connection only";
    EXPECT_EQ(fake.network.Knock("SEND SSTP/1.1\r\nSender: Aya\r\nScript: \\0hi\\e\r\n\r\n"), std::string(kAnswerOk));
    EXPECT_EQ(d.m_balloon->m_text, "hi");
    d.OnDestroy();
    EXPECT_FALSE(fake.network.IsOpen());
}

TEST_F(SstpServerTest, WithThePortTakenOrTheSettingOffTheCatWorksWithoutTheDoor) {
    fake.network.takenPort = 9801;
    CTumbleDlg& d = StartServer();
    EXPECT_FALSE(fake.network.IsOpen());
    EXPECT_EQ(Request(d, "EXECUTE SSTP/1.1\r\nSender: a\r\nCommand: GetVersion\r\n"),
              "SSTP/1.0 200 OK\r\n\r\ntumblecat 0.2\r\n\r\n");
    fake.network.takenPort.reset();
    d.m_sstpTcpDoor = false;
    d.OpenSstpDoor();
    EXPECT_FALSE(fake.network.IsOpen());
    d.m_sstpTcpDoor = true;
    d.OpenSstpDoor();
    EXPECT_TRUE(fake.network.IsOpen());
}

TEST_F(SstpServerTest, AScriptShowsItsTextWithoutTagsAndItsSurfaceWhileTheLineIsShown) {
    CTumbleDlg& d = StartServer();
    d.ShowSurface(0);
    Request(d, "SEND SSTP/1.1\r\nSender: Aya\r\nScript: \\0\\s[1]こんにちは\\n元気？\\w9\\s[7]ソ\\e\r\n");
    EXPECT_EQ(d.m_balloon->m_text, "こんにちは\n元気？ソ");
    EXPECT_EQ(fake.windows.Window(d.m_balloon->m_hWnd).title, d.m_balloon->m_text) << "readable by screen readers";
    d.m_balloon->OnTimer(kBalloonTimerId);
    EXPECT_EQ(d.m_surface, 1) << "from the script's first mark on";
    for (int i = 0; i < 30 && !d.m_balloon->IsComplete(); ++i) d.m_balloon->OnTimer(kBalloonTimerId);
    ASSERT_TRUE(d.m_balloon->IsComplete());
    EXPECT_EQ(d.m_surface, 1) << "a surface the skin lacks changes nothing";
    d.m_balloon->OnLButtonDblClk({});
    EXPECT_EQ(d.m_surface, 0) << "the line is over";
}

TEST_F(SstpServerTest, RequestsInOtherCharsetsAreReadAndAnsweredInTheirOwn) {
    CTumbleDlg& d = StartServer();
    // "こんにちは" in UTF-8, and 表 whose Shift_JIS second byte is a backslash.
    EXPECT_EQ(Request(d, "SEND SSTP/1.1\r\nCharset: utf-8\r\nSender: Aya\r\nScript: \xE3\x81\x93\xE3\x82\x93\xE8\xA1\xA8\r\n"),
              "SSTP/1.0 200 OK\r\nCharset: UTF-8\r\n\r\n");
    EXPECT_EQ(d.m_balloon->m_text, "こん表");
    EXPECT_EQ(Request(d, "EXECUTE SSTP/1.1\r\nCharset: UTF-8\r\nSender: a\r\nCommand: GetObjectList\r\n"),
              "SSTP/1.0 200 OK\r\nCharset: UTF-8\r\n\r\nApple,Ball\r\n\r\n");
    EXPECT_EQ(Request(d, "SEND SSTP/1.1\r\nCharset: KOI8-R\r\nSender: a\r\nScript: x\r\n"),
              "SSTP/1.0 400 Bad Request\r\n\r\n");
    EXPECT_EQ(d.m_balloon->m_text, "こん表") << "an unknown charset does nothing";
    EXPECT_EQ(Request(d, "EXECUTE SSTP/1.1\r\nCharset: Shift_JIS\r\nSender: a\r\nCommand: GetName\r\n"),
              "SSTP/1.0 200 OK\r\n\r\ncat,empty\r\n\r\n") << "Shift_JIS answers are today's bytes";
}

TEST_F(SstpServerTest, ExecuteAnswersAlsoWhileIconized) {
    CTumbleDlg& d = StartServer();
    Command(kCmdIconize);
    EXPECT_EQ(Request(d, "EXECUTE SSTP/1.0\r\nSender: a\r\nCommand: getversion\r\n"),
              "SSTP/1.0 200 OK\r\n\r\ntumblecat 0.2\r\n\r\n");
    EXPECT_EQ(Request(d, "EXECUTE SSTP/1.0\r\nSender: a\r\nCommand: GetName\r\n"),
              "SSTP/1.0 200 OK\r\n\r\ncat,empty\r\n\r\n");
    EXPECT_EQ(Request(d, "EXECUTE SSTP/1.0\r\nSender: a\r\nCommand: GetObjectList\r\n"),
              "SSTP/1.0 200 OK\r\n\r\nApple,Ball\r\n\r\n");
    EXPECT_EQ(Request(d, "EXECUTE SSTP/1.0\r\nSender: a\r\nCommand: Reboot\r\n"), "SSTP/1.0 400 Bad Request\r\n\r\n");
    EXPECT_EQ(Request(d, "SEND SSTP/1.1\r\nSender: a\r\nScript: s\r\n"), "SSTP/1.0 512 Invisible\r\n\r\n");
    EXPECT_EQ(Request(d, "DROP SSTP/1.0\r\nSender: a\r\nTarget: %all\r\nObject: Ball\r\n"),
              "SSTP/1.0 512 Invisible\r\n\r\n");
}

TEST_F(SstpServerTest, DropUsesItsTargetForOneDropAndPutsTheSettingBack) {
    CTumbleDlg& d = StartServer();
    d.m_target = "%rnd";
    fake.ipc.sharedBlocks["Sakura"] = std::string("\x00\x00\x01\x00", 4) + "a.hwnd\x01" "256\r\na.name\x01" "Aya\r\n";
    fake.windows.Window(kAya).style = 0x94000000;
    EXPECT_EQ(Request(d, "DROP SSTP/1.0\r\nSender: a\r\nTarget: aya\r\nObject: ball\r\n"), "SSTP/1.0 200 OK\r\n\r\n");
    EXPECT_EQ(d.m_dropParams, "ball~0~9801~255~Aya^") << "the name as the directory holds it";
    EXPECT_EQ(d.m_target, "%rnd");
    d.m_dropPose = false;
    EXPECT_EQ(Request(d, "DROP SSTP/1.0\r\nSender: a\r\nTarget: Aya\r\nObject: cherry\r\n"),
              "SSTP/1.0 400 Bad Request\r\n\r\n");
    EXPECT_EQ(Request(d, "DROP SSTP/1.0\r\nSender: a\r\nTarget: Nobody\r\nObject: ball\r\n"),
              "SSTP/1.0 400 Bad Request\r\n\r\n");
    EXPECT_EQ(Request(d, "DROP SSTP/1.0\r\nSender: a\r\nTarget: Aya\r\nObject: ball\r\n"), "SSTP/1.0 200 OK\r\n\r\n");
    EXPECT_EQ(Request(d, "DROP SSTP/1.0\r\nSender: a\r\nTarget: Aya\r\nObject: ball\r\n"),
              "SSTP/1.0 409 Conflict\r\n\r\n")
        << "refused while the last drop shows";
    d.m_dropPose = false;
    d.m_noConsecutiveDrop = true;
    fake.ipc.otherMutexes.insert("dropling");
    EXPECT_EQ(Request(d, "DROP SSTP/1.0\r\nSender: a\r\nTarget: Aya\r\nObject: ball\r\n"),
              "SSTP/1.0 409 Conflict\r\n\r\n")
        << "refused while the falling-object program runs";
    d.m_menuDroplings.clear();
    EXPECT_EQ(Request(d, "DROP SSTP/1.0\r\nSender: a\r\nTarget: %ALL\r\nObject: %rnd\r\n"),
              "SSTP/1.0 400 Bad Request\r\n\r\n")
        << "nothing to drop";
    EXPECT_FALSE(d.m_dropPose);
    EXPECT_EQ(d.m_target, "%rnd");
}

TEST_F(SstpServerTest, SpecialTargetsInAnyCaseDropTheNamedSet) {
    CTumbleDlg& d = StartServer();
    fake.ipc.sharedBlocks["Sakura"] = std::string("\x00\x00\x01\x00", 4) + "a.hwnd\x01" "256\r\na.name\x01" "Aya\r\n";
    fake.windows.Window(kAya).style = 0x94000000;
    for (const char* target : {"%ALL", "%All", "%RND", "%rNd"}) {
        d.m_dropPose = false;
        d.m_dropParams.clear();
        EXPECT_EQ(Request(d, "DROP SSTP/1.0\r\nSender: a\r\nTarget: " + std::string(target) + "\r\nObject: Ball\r\n"),
                  "SSTP/1.0 200 OK\r\n\r\n")
            << target << " is a special target, not a name looked up in the directory";
        EXPECT_EQ(d.m_dropParams.substr(0, 5), "ball~") << target;
    }
}

}  // namespace
}  // namespace tc
