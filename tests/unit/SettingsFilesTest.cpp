// tumblecat.cfg and the list files: their packed numbers, lenient reading and round trips.
#include <gtest/gtest.h>

#include <tuple>

#include "app/SettingsFiles.h"

namespace tc {
namespace {

// A settings file whose lines are given; every line ends in CR LF.
std::string CfgFile(std::initializer_list<const char*> lines) {
    std::string text;
    for (const char* line : lines) text += std::string(line) + "\r\n";
    return text;
}

// Applies a file in which only line 'lineNumber' differs from a neutral file.
CharacterSettings WithLine(int lineNumber, const char* value) {
    std::vector<std::string> lines = {"0", "whiskerby", "10", "0", "0", "0", "9801", "1", "767", "1", "%rnd"};
    lines[lineNumber] = value;
    std::string text;
    for (const auto& l : lines) text += l + "\r\n";
    CharacterSettings s;
    ApplySettingsFile(text, s);
    return s;
}

TEST(SettingsFile, AutomaticDroppingIsPackedIntoLineTwo) {
    auto s = WithLine(2, "138");
    EXPECT_TRUE(s.m_autoDrop);
    EXPECT_EQ(s.m_autoDropMinutes, 10);
    s = WithLine(2, "5");
    EXPECT_FALSE(s.m_autoDrop);
    EXPECT_EQ(s.m_autoDropMinutes, 5);
    s = WithLine(2, "128");
    EXPECT_TRUE(s.m_autoDrop);
    EXPECT_EQ(s.m_autoDropMinutes, 10) << "0 minutes become 10";
    s = WithLine(2, "300");
    EXPECT_FALSE(s.m_autoDrop);
    EXPECT_EQ(s.m_autoDropMinutes, 10);
    s = WithLine(2, "-1");
    EXPECT_TRUE(s.m_autoDrop) << "an arithmetic shift of a negative number is not zero";
    EXPECT_EQ(s.m_autoDropMinutes, 127);
}

TEST(SettingsFile, TransparencyCountsOnlyWithBitNine) {
    auto s = WithLine(8, "200");
    EXPECT_EQ(s.m_alpha, 255);
    EXPECT_FALSE(s.m_transparent);
    EXPECT_FALSE(s.m_transparentDroplings);
    s = WithLine(8, "968");
    EXPECT_EQ(s.m_alpha, 200);
    EXPECT_TRUE(s.m_transparent);
    EXPECT_FALSE(s.m_transparentDroplings);
    s = WithLine(8, "1992");
    EXPECT_EQ(s.m_alpha, 200);
    EXPECT_TRUE(s.m_transparent);
    EXPECT_TRUE(s.m_transparentDroplings);
    s = WithLine(8, "junk");
    EXPECT_EQ(s.m_alpha, 255);
    EXPECT_FALSE(s.m_transparent);
}

TEST(SettingsFile, OutOfRangeSwitchesKeepTheirStartValues) {
    EXPECT_EQ(WithLine(3, "2").m_reactionMethod, 0);
    EXPECT_EQ(WithLine(3, "1").m_reactionMethod, 1);
    EXPECT_TRUE(WithLine(7, "2").m_noConsecutiveDrop);
    EXPECT_FALSE(WithLine(7, "0").m_noConsecutiveDrop);
    EXPECT_TRUE(WithLine(9, "5").m_alwaysOnTop);
    EXPECT_FALSE(WithLine(9, "0").m_alwaysOnTop);
    EXPECT_EQ(WithLine(6, "0").m_sstpPort, 9801);
    EXPECT_EQ(WithLine(6, "x").m_sstpPort, 9801);
    EXPECT_EQ(WithLine(6, "11000").m_sstpPort, 11000);
}

TEST(SettingsFile, TargetNeedsMoreThanOneByte) {
    EXPECT_EQ(WithLine(10, "A").m_target, "%rnd");
    EXPECT_EQ(WithLine(10, "").m_target, "%rnd");
    EXPECT_EQ(WithLine(10, "%all").m_target, "%all");
    EXPECT_EQ(WithLine(10, "さくら").m_target, "さくら");
}

TEST(SettingsFile, SkinNameIsTheWholeLine) {
    EXPECT_EQ(WithLine(1, "  my skin ").m_skinName, "  my skin ");
    EXPECT_EQ(WithLine(1, "").m_skinName, "");
}

TEST(SettingsFile, ShortFilesLeaveTheRestAtStartValues) {
    CharacterSettings s;
    ApplySettingsFile(CfgFile({"120", "tabby", "138"}), s);
    EXPECT_EQ(s.m_posX, 120);
    EXPECT_EQ(s.m_skinName, "tabby");
    EXPECT_TRUE(s.m_autoDrop);
    const CharacterSettings defaults;
    EXPECT_EQ(s.m_sstpPort, defaults.m_sstpPort);
    EXPECT_EQ(s.m_alpha, defaults.m_alpha);
    EXPECT_EQ(s.m_target, defaults.m_target);
    EXPECT_TRUE(s.m_alwaysOnTop);
    EXPECT_TRUE(s.m_noConsecutiveDrop);
}

TEST(SettingsFile, LastLineWithoutLineFeedIsDroppedOnlyWhenItRepeatsThePreviousOne) {
    CharacterSettings repeated;
    ApplySettingsFile("5\r\n5", repeated);
    EXPECT_EQ(repeated.m_posX, 5);
    EXPECT_EQ(repeated.m_skinName, "whiskerby") << "the repeated last line is not applied";

    CharacterSettings different;
    ApplySettingsFile("5\r\ntabby", different);
    EXPECT_EQ(different.m_skinName, "tabby");
}

TEST(SettingsFile, UnixLineEndsAreReadToo) {
    CharacterSettings s;
    ApplySettingsFile("7\ntabby\n188\n", s);
    EXPECT_EQ(s.m_posX, 7);
    EXPECT_EQ(s.m_skinName, "tabby");
    EXPECT_TRUE(s.m_autoDrop);
    EXPECT_EQ(s.m_autoDropMinutes, 60);
}

TEST(SettingsFile, WritesElevenCrLfLinesWithPackedValues) {
    CharacterSettings s;
    s.m_posX = -12;
    s.m_autoDrop = true;
    s.m_autoDropMinutes = 60;
    s.m_target = "%all";
    EXPECT_EQ(FormatSettingsFile(s), CfgFile({"-12", "whiskerby", "188", "0", "0", "0", "9801", "1", "767", "1", "%all"}));
}

TEST(SettingsFile, LineFourTurnsTheTcpDoorOffOnlyWithOneAndLineFiveIsAlwaysZero) {
    for (const auto& [line4, open, written] : {std::tuple{"77", true, "0"}, {"0", true, "0"}, {"1", false, "1"}}) {
        CharacterSettings s;
        ApplySettingsFile(CfgFile({"0", "whiskerby", "10", "0", line4, "88", "9801", "1", "767", "1", "%rnd"}), s);
        EXPECT_EQ(s.m_sstpTcpDoor, open) << line4;
        EXPECT_NE(FormatSettingsFile(s).find("\r\n0\r\n" + std::string(written) + "\r\n0\r\n9801"), std::string::npos);
    }
}

TEST(SettingsFile, SizeIsATwelfthLineOnlyWhenItDoesNotFollowTheDisplay) {
    const std::string eleven = CfgFile({"0", "whiskerby", "10", "0", "0", "0", "9801", "1", "767", "1", "%rnd"});
    for (const auto& [twelfth, size, written] :
         {std::tuple{"", kSizeFollowDisplay, ""}, {"2", 2, "2\r\n"}, {"3", 3, "3\r\n"}, {"1", 1, "1\r\n"},
          {"4", kSizeFollowDisplay, ""}, {"-1", kSizeFollowDisplay, ""}}) {
        CharacterSettings s;
        ApplySettingsFile(eleven + (*twelfth ? std::string(twelfth) + "\r\n" : ""), s);
        EXPECT_EQ(s.m_size, size) << twelfth;
        EXPECT_EQ(FormatSettingsFile(s), eleven + written) << twelfth;
    }
}

TEST(SettingsFile, RoundTripKeepsEverySetting) {
    CharacterSettings s;
    s.m_posX = 345;
    s.m_skinName = "三毛";
    s.m_autoDrop = true;
    s.m_autoDropMinutes = 25;
    s.m_reactionMethod = 1;
    s.m_sstpPort = 9821;
    s.m_noConsecutiveDrop = false;
    s.m_alpha = 128;
    s.m_transparent = true;
    s.m_transparentDroplings = true;
    s.m_alwaysOnTop = false;
    s.m_target = "さくら";
    s.m_size = 2;
    CharacterSettings back;
    ApplySettingsFile(FormatSettingsFile(s), back);
    EXPECT_EQ(FormatSettingsFile(back), FormatSettingsFile(s));
    EXPECT_EQ(back.m_skinName, "三毛");
    EXPECT_EQ(back.m_alpha, 128);
    EXPECT_FALSE(back.m_alwaysOnTop);
    EXPECT_EQ(back.m_size, 2);
}

TEST(SettingsFile, LongLinesAreReadWholeAndSurviveTheRoundTrip) {
    // fuzz_settings' minimised finding (corpus/settings/long-skin-line.cfg, its name bytes
    // made letters): a 1023-byte skin line whose line feed was once read as the next line,
    // so the file written back read back differently.
    CharacterSettings found;
    ApplySettingsFile("\n" + std::string(1023, 'a') + "\n\n0\n0\n\n0\n", found);
    EXPECT_EQ(found.m_skinName, std::string(1023, 'a'));
    CharacterSettings again;
    ApplySettingsFile(FormatSettingsFile(found), again);
    EXPECT_EQ(FormatSettingsFile(again), FormatSettingsFile(found));

    // A target list of many names and a long skin name come back whole, and so do the lines after them.
    CharacterSettings s;
    s.m_skinName = std::string(1500, 's');
    s.m_target.clear();
    for (int i = 0; i < 300; ++i) s.m_target += "Name" + std::to_string(i) + "^";
    s.m_alwaysOnTop = false;
    CharacterSettings back;
    ApplySettingsFile(FormatSettingsFile(s), back);
    EXPECT_EQ(back.m_skinName, s.m_skinName);
    EXPECT_EQ(back.m_target, s.m_target);
    EXPECT_FALSE(back.m_alwaysOnTop);
}

TEST(ListFile, ParsesRecordsSeparatedByByteOne) {
    ElementList list;
    EXPECT_TRUE(ParseListFile("32802\x01○ Red ball\x01red\r\n33830\x01Tabby\x01tabby\x01x\r\n", list));
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0], (SElement{32802, "○ Red ball", "red"}));
    EXPECT_EQ(list[1], (SElement{33830, "Tabby", "tabby\x01x"})) << "further 0x01 stay in the folder";
}

TEST(ListFile, MalformedLineFailsButKeepsEarlierRecords) {
    ElementList list;
    EXPECT_FALSE(ParseListFile("32802\x01text\x01"
                               "folder\r\n32803\x01only-one\r\n",
                               list));
    EXPECT_EQ(list.size(), 1u);
}

TEST(ListFile, EmptyLineOrLastLineWithoutLineFeedEndsTheList) {
    ElementList list;
    EXPECT_TRUE(ParseListFile("\r\n32802\x01t\x01"
                              "f\r\n",
                              list));
    EXPECT_TRUE(list.empty());
    EXPECT_TRUE(ParseListFile("32802\x01t\x01"
                              "f",
                              list));
    EXPECT_TRUE(list.empty()) << "a last line without a line break is not read";
    EXPECT_TRUE(ParseListFile("", list));
}

TEST(ListFile, SeparatorIsNotFoundInsideDoubleByteCharacters) {
    // 0x01 is never a trail byte, but a lead byte before it must not hide it either.
    ElementList list;
    EXPECT_TRUE(ParseListFile("32810\x01\x95\x5C\x01\x95\x5C\r\n", list));
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].text, "\x95\x5C");
    EXPECT_EQ(list[0].folder, "\x95\x5C");
}

TEST(ListFile, OverlongLineIsMalformed) {
    ElementList list;
    const std::string line = "32800\x01" + std::string(9000, 'n') + "\x01" + "f\r\n";
    EXPECT_FALSE(ParseListFile(line, list)) << "the second piece of an 8191-byte read has no separators";
}

TEST(ListFile, WriteThenReadGivesTheSameRecords) {
    const ElementList original = {{32800, "○ 林檎", "apple"}, {32805, "× ", "pear"}, {33824, "", ""}};
    const std::string text = FormatListFile(original);
    EXPECT_EQ(text.substr(0, 6), "32800\x01");
    EXPECT_NE(text.find("apple\r\n"), std::string::npos);
    ElementList back;
    EXPECT_TRUE(ParseListFile(text, back));
    EXPECT_EQ(back, original);
}

}  // namespace
}  // namespace tc
