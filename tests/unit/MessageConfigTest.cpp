// speak.txt: sections and plain keys, the common file overlaid list by list by the skin's,
// the placeholders, and the random choice of a line.
#include <gtest/gtest.h>

#include "common/Random.h"
#include "talk/MessageConfig.h"

namespace tc {
namespace {

using Lines = std::vector<std::string>;

TalkRecord Load(const std::optional<std::string>& common, const std::optional<std::string>& skin = std::nullopt) {
    TalkRecord talk;
    LoadMessageConfig(common, skin, talk);
    return talk;
}

TEST(SpeakFile, PlaceholdersWithoutACommonFileEvenWhenTheSkinHasOne) {
    const TalkRecord talk = Load(std::nullopt, std::string("#welcome.alone.message\nHi\n"));
    EXPECT_EQ(talk.m_msgWelcomeAlone, Lines{"(WelcomeAloneMessage not found)"});
    EXPECT_EQ(talk.m_scriptGoodbye, (std::vector<STriangleScript>{{"", "(GoodbyeScriptEx not found)"}}));
    EXPECT_EQ(talk.m_msgInstallFailureStructure, Lines{"(InstallFailureMessageStructure not found)"});
}

TEST(SpeakFile, TheSkinReplacesOnlyTheListsItMentions) {
    const std::string common = "#execute.message\r\nA\r\nB\r\nC\r\n#goodbye.alone.message\r\nBye\r\n";
    EXPECT_EQ(Load(common, std::string("#execute.message\nOne\n")).m_msgExecute, Lines{"One"});
    EXPECT_EQ(Load(common, std::string("#execute.message\nOne\n")).m_msgGoodbyeAlone, Lines{"Bye"});
    EXPECT_EQ(Load(common, std::string("#goodbye.alone.message\nSee\n")).m_msgExecute, (Lines{"A", "B", "C"}));
}

TEST(SpeakFile, SectionKeysIgnoreCasePlainKeysDoNot) {
    EXPECT_EQ(Load(std::string("#Execute.Message\nHi\n")).m_msgExecute, Lines{"Hi"});
    EXPECT_EQ(Load(std::string("Execute.message,Hi\n")).m_msgExecute, Lines{"(ExecuteMessage not found)"});
    EXPECT_EQ(FindSectionKey("#install.complete.dropling.message"), 9);
    EXPECT_EQ(FindSectionKey(" #execute.message"), -1);
}

TEST(SpeakFile, BothKeysOfAScriptListEmptyItOncePerFile) {
    const TalkRecord talk = Load(std::string("#welcome.sstp.ex@Aya\nA1\n#welcome.script.ex\nB1\n\nB2\n"));
    EXPECT_EQ(talk.m_scriptWelcome, (std::vector<STriangleScript>{{"Aya", "A1"}, {"", "B1"}, {"", "B2"}}));
}

TEST(SpeakFile, PlainKeyEntries) {
    EXPECT_EQ(Load(std::string("execute.message,,A,,B,\n")).m_msgExecute, (Lines{"A", "B"}));
    EXPECT_EQ(Load(std::string("goodbye.alone.message ignored,\t See you\\nlater\n")).m_msgGoodbyeAlone,
              Lines{"See you\\nlater"}) << "kept as written: the balloon reads its tags";
    EXPECT_EQ(Load(std::string("execute.message,\x82,A,B\n")).m_msgExecute, (Lines{"\x82,A", "B"}))
        << "a high byte takes the comma after it along";
    EXPECT_EQ(Load(std::string("welcome.sstp.ex,\\hA\\n@nekoB\n")).m_scriptWelcome,
              (std::vector<STriangleScript>{{"", "\\hA\\n@nekoB"}}));
    EXPECT_TRUE(Load(std::string("execute.message,,\n")).m_msgExecute.empty());
}

TEST(SpeakFile, SectionContentIsTakenWhole) {
    const TalkRecord talk = Load(std::string(
        "#install.failure.message\nswallowed\n#execute.message\n#hello.message\nexecute.message,x\n a\\eb , c@d\n"));
    EXPECT_EQ(talk.m_msgExecute, (Lines{"#hello.message", "execute.message,x", " a\\eb , c@d"}));
    EXPECT_EQ(talk.m_msgExecuteAlone, Lines{"(ExecuteAloneMessage not found)"});
}

TEST(SpeakFile, OverlongHeadsTailsAndLines) {
    const std::string name(300, 'N');
    const TalkRecord talk = Load("#goodbye.sstp.ex@" + name + "\nS\n#execute.message\n" + std::string(300, 'h') +
                                 "@x\n" + std::string(5000, 'L') + "\n");
    EXPECT_EQ(talk.m_scriptGoodbye, (std::vector<STriangleScript>{{name, "S"}})) << "the target is kept whole";
    ASSERT_EQ(talk.m_msgExecute.size(), 3u);
    EXPECT_EQ(talk.m_msgExecute[0], std::string(300, 'h') + "@x");
    EXPECT_EQ(talk.m_msgExecute[1], std::string(4095, 'L'));
    EXPECT_EQ(talk.m_msgExecute[2], std::string(905, 'L'));
}

// 表 is 0x95 0x5C: cut after its first byte, "\n" would become a line break.
TEST(SpeakFile, AnOverlongLineIsCutBetweenCharacters) {
    const std::string hyo = "\x95\x5C";
    const struct {
        std::size_t before;  // bytes ahead of 表 on the line
        Lines lines;
    } cases[] = {
        {4093, {std::string(4093, 'a') + hyo, "n"}},
        {4094, {std::string(4094, 'a'), hyo + "n"}},
        {4095, {std::string(4095, 'a'), hyo + "n"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Load("#execute.message\n" + std::string(c.before, 'a') + hyo + "n\n").m_msgExecute, c.lines)
            << c.before;
    }
}

TEST(PickLine, NoneFromAnEmptyListAndOnlyTheFirst32768) {
    EXPECT_FALSE(PickLine({}));
    Lines lines;
    for (int i = 0; i < 40000; ++i) lines.push_back(std::to_string(i));
    SeedRandom(3);
    int highest = 0;
    for (int n = 0; n < 20000; ++n) highest = std::max(highest, std::stoi(*PickLine(lines)));
    EXPECT_LT(highest, 32768);
    EXPECT_GT(highest, 32000);
}

}  // namespace
}  // namespace tc
