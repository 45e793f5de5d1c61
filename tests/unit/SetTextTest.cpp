// dropling.txt as the falling-object program reads it: its sections, the knobs and their
// limits, and what it leaves alone.
#include <gtest/gtest.h>

#include "falling/SetText.h"

namespace tc {
namespace {

using Lines = std::vector<std::string>;

TEST(SetTextTest, SectionsGiveReactionsProfileAndKnobs) {
    const SetText text = ReadSetText(
        "#name\r\nBall of yarn\r\n"
        "#reaction\r\nOuch!\r\n\r\n  \r\nNot again\\n...\r\n"
        "#profile\r\nA ball of yarn.\r\n\r\nSoft, mostly.\r\n\r\n\r\n"
        "#physics\r\ngravity,2500\r\nbounce, 60\r\nbounces,1\r\nleave,fade\r\n");
    EXPECT_EQ(text.reactions, (Lines{"Ouch!", "Not again\\n..."}));
    EXPECT_EQ(text.profile, "A ball of yarn.\r\n\r\nSoft, mostly.\r\n");
    EXPECT_EQ(text.knobs, (FallKnobs{2500, 60, 1, Leave::Fade}));
}

TEST(SetTextTest, SectionNamesIgnoreCaseAndTheLastLineNeedsNoLineEnd) {
    const SetText text = ReadSetText("#REACTION\nfirst\n#Reaction\nsecond");
    EXPECT_EQ(text.reactions, (Lines{"first", "second"}));
}

TEST(SetTextTest, TheNameSectionAndUnknownSectionsAreSkipped) {
    const SetText text = ReadSetText(
        "name,Old style\r\nstray line\r\n#name\r\nBall\r\n#sound\r\nbong.wav\r\n#reaction\r\nHit\r\n");
    EXPECT_EQ(text.reactions, (Lines{"Hit"}));
    EXPECT_EQ(text.profile, "");
}

TEST(SetTextTest, OnlyAHashAndAWordMakeASectionLine) {
    const SetText text = ReadSetText("#reaction\r\n#1 fan of yours\r\n# reaction\r\n#\r\n");
    EXPECT_EQ(text.reactions, (Lines{"#1 fan of yours", "# reaction", "#"}));
}

TEST(SetTextTest, KnobsAreHeldToTheirLimitsAndBadValuesKeepTheDefault) {
    const FallKnobs defaults;
    EXPECT_EQ(ReadSetText("#physics\ngravity,99999\nbounce,1\nbounces,7\n").knobs,
              (FallKnobs{kMaxGravity, kMinBouncePercent, kMaxBounces, defaults.leave}));
    EXPECT_EQ(ReadSetText("#physics\ngravity,fast\nbounce,-5\nbounces\nleave,sideways\nspin,3\n").knobs, defaults);
}

TEST(SetTextTest, ALoneCarriageReturnCannotEndAHeaderLine) {
    const SetText text = ReadSetText("#reaction\r\nOuch\rHWnd: 1\r\n");
    EXPECT_EQ(text.reactions, (Lines{"Ouch HWnd: 1"}));
}

TEST(SetTextTest, AnEmptyFileGivesDefaults) { EXPECT_EQ(ReadSetText(""), SetText{}); }

}  // namespace
}  // namespace tc
