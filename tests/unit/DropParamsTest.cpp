// The parameter string dropling.exe is started with, as the cat writes it and as anything
// else might: fields, target names with marks and blanks in them, and strings refused whole.
#include <gtest/gtest.h>

#include "falling/DropParams.h"

namespace tc {
namespace {

using Names = std::vector<std::string>;

Names TargetsOf(std::string_view parameters) {
    const auto params = ParseDropParams(parameters);
    return params ? params->targets : Names{"<refused>"};
}

TEST(DropParamsTest, TheCatsStringGivesEveryField) {
    const auto params = ParseDropParams("ball~0~9801~255~Aya^Bee^");
    ASSERT_TRUE(params);
    EXPECT_EQ(*params, (DropParams{"ball", Reaction::Send, 9801, 255, {"Aya", "Bee"}}));
    EXPECT_EQ(ParseDropParams("apple~1~9802~456~A^")->reaction, Reaction::Notify);
    EXPECT_EQ(ParseDropParams("apple~1~9802~456~A^")->port, 9802);
}

TEST(DropParamsTest, OpacityAppliesOnlyWithItsFlag) {
    EXPECT_EQ(ParseDropParams("s~0~9801~456~A^")->alpha, 200);   // 256 + 200
    EXPECT_EQ(ParseDropParams("s~0~9801~200~A^")->alpha, 255);   // flag clear: opaque
    EXPECT_EQ(ParseDropParams("s~0~9801~256~A^")->alpha, 0);
    EXPECT_EQ(ParseDropParams("s~0~9801~511~A^")->alpha, 255);
}

TEST(DropParamsTest, TargetNamesKeepMarksAndBlanksAfterTheFourthField) {
    EXPECT_EQ(TargetsOf("s~0~9801~255~A~B^C D^"), (Names{"A~B", "C D"}));
    EXPECT_EQ(TargetsOf("s~0~9801~255~%nek:whiskerby^"), (Names{"%nek:whiskerby"}));
    EXPECT_EQ(TargetsOf("s~0~9801~255~ ~ ^"), (Names{" ~ "}));
    // A Shift_JIS name whose trail bytes are "^" (0x5E) and "~" (0x7E): one name each.
    EXPECT_EQ(TargetsOf("s~0~9801~255~\x83\x5E^\x83\x7E^"), (Names{"\x83\x5E", "\x83\x7E"}));
}

TEST(DropParamsTest, EmptyNamesAreSkippedAndALastNameNeedsNoMark) {
    EXPECT_EQ(TargetsOf("s~0~9801~255~^^A^^B"), (Names{"A", "B"}));
    EXPECT_EQ(TargetsOf("s~0~9801~255~A^  "), (Names{"A"}));
    EXPECT_EQ(TargetsOf("s~0~9801~255~A^ B"), (Names{"A", " B"}));
}

TEST(DropParamsTest, AtMostSixteenTargets) {
    std::string many = "s~0~9801~255~";
    for (int i = 0; i < 20; ++i) {
        many += 'c';
        many += std::to_string(i);
        many += '^';
    }
    const Names names = TargetsOf(many);
    ASSERT_EQ(names.size(), kMaxTargets);
    EXPECT_EQ(names.back(), "c15");
}

TEST(DropParamsTest, StringsWithoutAUsableDropAreRefused) {
    for (const char* bad : {
             "",                              // nothing
             "garbage",                       // no fields
             "s~0~9801~255",                  // no target field
             "s~0~9801~255~",                 // no targets
             "s~0~9801~255~^^^",              // only empty names
             "s~0~9801~255~   ",              // only blanks
             "s~x~9801~255~A^",               // reaction not a number
             "s~2~9801~255~A^",               // no such reaction
             "s~-1~9801~255~A^",              // signed
             "s~0~~255~A^",                   // empty port
             "s~0~0~255~A^",                  // port out of range
             "s~0~65536~255~A^",
             "s~0~9801~512~A^",               // opacity beyond its two parts
             "s~0~9801~ 255~A^",              // a blank is no digit
             "s~0~9801~99999999999~A^",       // too long to be a number of ours
             "~0~9801~255~A^",                // no set
             "..~0~9801~255~A^",              // sets stay inside dropling\ .
             "a\\b~0~9801~255~A^",
             "a/b~0~9801~255~A^",
             "c:~0~9801~255~A^",
             "\xF2/x~0~9801~255~A^",        // no second byte below 0x40: a lead byte, then "/"
             "a?~0~9801~255~A^",
         }) {
        EXPECT_FALSE(ParseDropParams(bad)) << bad;
    }
    // A double-byte set name whose trail byte is a backslash is a name, not a path.
    EXPECT_TRUE(ParseDropParams("\x95\x5C~0~9801~255~A^"));
}

TEST(DropParamsTest, ParametersFollowTheProgramNameOnTheCommandLine) {
    EXPECT_EQ(CommandLineParameters("\"C:\\a b\\dropling.exe\" s~0~9801~255~A B^"), "s~0~9801~255~A B^");
    EXPECT_EQ(CommandLineParameters("dropling.exe   s~0~1~2~A^"), "s~0~1~2~A^");
    EXPECT_EQ(CommandLineParameters("dropling.exe"), "");
    EXPECT_EQ(CommandLineParameters("\"unclosed s~0"), "");
}

}  // namespace
}  // namespace tc
