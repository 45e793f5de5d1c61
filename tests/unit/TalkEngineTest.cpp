// Greetings and conversations: which script is chosen, how the steps follow each other tick
// by tick, and the time limits that keep a silent or endless partner from holding them.
#include <gtest/gtest.h>

#include "common/Random.h"
#include "talk/TalkEngine.h"

namespace tc {
namespace {

using Kind = TalkAction::Kind;

// Drives the machine as the window's 50 ms tick does.
struct Conversation {
    TalkRecord talk;
    std::uint32_t now = 1000;
    bool speaking = false;
    int partnerTalkingTicks = 0;  // the query answers 1 this many times, then 0
    int asked = 0;

    TalkAction Tick() {
        now += 50;
        StepInputs in{now, speaking, [this] {
                          ++asked;
                          return partnerTalkingTicks-- > 0;
                      }};
        return StepConversation(talk, in);
    }
};

TEST(PickPartnerScript, ScriptsForTheExactNameFirst) {
    const std::vector<STriangleScript> scripts = {
        {"", "any1"}, {"Aya", "aya1"}, {"", "any2"}, {"Aya", "aya2"}, {"", "any3"}};
    SeedRandom(5);
    for (int i = 0; i < 50; ++i) {
        EXPECT_EQ(PickPartnerScript(scripts, "Aya")->substr(0, 3), "aya");
        EXPECT_EQ(PickPartnerScript(scripts, "aya")->substr(0, 3), "any");
    }
    EXPECT_FALSE(PickPartnerScript({{"Bee", "b"}}, "Aya"));
}

TEST(Greeting, AloneSaysALineWithPartnersTalksOrReleases) {
    TalkRecord talk;
    talk.m_msgWelcomeAlone = {"Hi"};
    talk.m_scriptGoodbye = {{"Aya", "@nekoBye"}};
    EXPECT_EQ(BeginGreeting(talk, TalkOccasion::Welcome, {}), (std::vector<TalkAction>{{Kind::SayLine, "Hi"}}));
    EXPECT_EQ(talk.m_talkIndex, -1);

    const std::vector<TalkAction> quietOnly = {{Kind::SendQuiet, ""}};
    const std::vector<TalkAction> quietRestore = {{Kind::SendQuiet, ""}, {Kind::SendRestore, ""}};
    EXPECT_EQ(BeginGreeting(talk, TalkOccasion::Goodbye, {true, "Aya", 0, true}), quietRestore) << "iconized";
    EXPECT_EQ(BeginGreeting(talk, TalkOccasion::Goodbye, {true, "Bee", 0, false}), quietRestore) << "no script";
    EXPECT_EQ(BeginGreeting(talk, TalkOccasion::Goodbye, {true, "Aya", 0, false}), quietOnly);
    EXPECT_EQ(talk.m_talkIndex, 0);
}

TEST(StepConversation, CatStepsEndWhenTheBalloonFallsSilent) {
    Conversation c;
    StartConversation(c.talk, "Hello", c.now, false);
    EXPECT_EQ(c.Tick(), (TalkAction{Kind::SayLine, "Hello"}));
    c.speaking = true;
    EXPECT_EQ(c.Tick().kind, Kind::None);
    c.speaking = false;
    EXPECT_EQ(c.Tick().kind, Kind::None);
    EXPECT_EQ(c.Tick().kind, Kind::SendRestore) << "on the tick after the balloon fell silent";
    EXPECT_EQ(c.talk.m_talkIndex, -1);
    EXPECT_EQ(c.asked, 0);
}

TEST(StepConversation, PartnerStepsEndAfterTheQueryAnswersZeroAndTheTimer) {
    Conversation c;
    StartConversation(c.talk, "\\hHi@nekoYo", c.now, false);
    c.Tick();  // the cat's empty step is said,
    c.Tick();  // found finished,
    c.Tick();  // and left
    EXPECT_EQ(c.Tick(), (TalkAction{Kind::SendScript, "\\hHi"}));
    c.partnerTalkingTicks = 3;
    for (int i = 0; i < 3; ++i) EXPECT_EQ(c.Tick().kind, Kind::None);
    EXPECT_EQ(c.Tick().kind, Kind::ArmPartnerTimer);
    EXPECT_EQ(c.Tick().kind, Kind::None);
    EXPECT_EQ(c.asked, 4) << "not asked again once the timer is armed";
    PartnerTimerElapsed(c.talk);
    EXPECT_EQ(c.Tick().kind, Kind::None);
    EXPECT_EQ(c.Tick(), (TalkAction{Kind::SayLine, "Yo"})) << "two ticks after the timer";
}

TEST(StepConversation, APartnerThatNeverFallsSilentIsLeftWhenItsLineHadTimeToBeTyped) {
    struct Case {
        std::string line;
        int ticks;  // of 50 ms
    };
    const std::string kana = "\x82\xA0";  // one double-byte character
    std::string longLine = "\\h";
    for (int i = 0; i < 200; ++i) longLine += kana;
    const Case cases[] = {
        {"\\hAh", 100},                            // short lines get 5 s
        {longLine, (200 * 50 + 2000) / 50},         // 50 ms a character and 2 s
        {"\\h\\w9\\w9\\_w[9000]x", (900 + 9000 + 50 + 2000) / 50},  // waits count
        {"\\h" + std::string(5000, 'a'), 600},      // never more than 30 s
        {"\\h\\_w[99999999999]", 600},
    };
    for (const Case& k : cases) {
        Conversation c;
        StartConversation(c.talk, "@neko" + k.line, c.now, false);
        for (int i = 0; i < 3; ++i) c.Tick();
        ASSERT_EQ(c.Tick().kind, Kind::SendScript);
        c.partnerTalkingTicks = 1 << 30;
        int ticks = 0;
        while (c.Tick().kind == Kind::None && ticks < 10000) ++ticks;
        EXPECT_EQ(ticks, k.ticks) << k.line.substr(0, 20);
        EXPECT_EQ(c.talk.m_talkIndex, -1);
        EXPECT_EQ(c.asked, k.ticks - 1) << "the query is not asked once the wait is over";
    }
}

TEST(Greeting, ANewGreetingReleasesThePartnerOfTheConversationItReplaces) {
    TalkRecord talk;
    talk.m_scriptWelcome = {{"", "\\hHi"}};
    talk.m_scriptGoodbye = {{"", "\\hBye"}};
    ASSERT_EQ(BeginGreeting(talk, TalkOccasion::Welcome, {true, "Aya", 0, false}),
              (std::vector<TalkAction>{{Kind::SendQuiet, ""}}));
    EXPECT_EQ(BeginGreeting(talk, TalkOccasion::Goodbye, {true, "Aya", 0, false}),
              (std::vector<TalkAction>{{Kind::SendRestore, ""}, {Kind::SendQuiet, ""}}));
    EXPECT_EQ(talk.m_talkSequence[1].text, "\\hBye");
}

TEST(StepConversation, AConversationStopsWithRestoreAfterSixtySeconds) {
    Conversation c;
    StartConversation(c.talk, "Long", c.now, false);
    c.Tick();
    c.speaking = true;
    int ticks = 0;
    while (c.Tick().kind == Kind::None && ticks < 10000) ++ticks;
    EXPECT_EQ(c.talk.m_talkIndex, -1);
    EXPECT_EQ(ticks, 60000 / 50 - 2);
}

TEST(StepConversation, ALeftoverTimerDoesNotSkipAStep) {
    Conversation c;
    StartConversation(c.talk, "A", c.now, false);
    PartnerTimerElapsed(c.talk);
    EXPECT_EQ(c.Tick(), (TalkAction{Kind::SayLine, "A"}));
    c.speaking = true;
    PartnerTimerElapsed(c.talk);
    EXPECT_EQ(c.talk.m_talkPhase, 1);
}

}  // namespace
}  // namespace tc
