// The marks of the cat's texts: the replace operation and the split of a
// conversation script into the steps of the cat and of the other character.
#include <gtest/gtest.h>

#include "talk/ScriptText.h"

namespace tc {
namespace {

TEST(ReplaceAll, InsertedTextIsNeverSearchedAgain) {
    std::string text = "@objname and @objname";
    ReplaceAll(text, "@objname", "[@objname]");
    EXPECT_EQ(text, "[@objname] and [@objname]");
    ReplaceAll(text, "", "x");
    EXPECT_EQ(text, "[@objname] and [@objname]");
}

std::vector<SAITalk> Steps(std::initializer_list<SAITalk> steps) { return steps; }

TEST(ParseTalkScript, AlternatesFromAnEmptyCatStep) {
    EXPECT_EQ(ParseTalkScript("\\h\\s0Hi!@nekoHello!\\n\\w5Bye.\\uYo.\\e"),
              Steps({{1, ""}, {0, "\\h\\s0Hi!"}, {1, "Hello!\\n\\w5Bye."}, {0, "\\uYo."}}));
    EXPECT_EQ(ParseTalkScript("@nekoMe<c,-1>You"), Steps({{1, "Me"}, {0, "<c,-1>You"}}));
}

TEST(ParseTalkScript, ScriptsWithoutMarksAreOneCatStep) {
    EXPECT_EQ(ParseTalkScript("(WelcomeScriptEx not found)"), Steps({{1, "(WelcomeScriptEx not found)"}}));
    EXPECT_EQ(ParseTalkScript("@neko"), Steps({{1, ""}}));
    EXPECT_EQ(ParseTalkScript("@nekoBye\\e"), Steps({{1, "Bye"}}));
    EXPECT_EQ(ParseTalkScript("@neko\x95\\h"), Steps({{1, "\x95\\h"}})) << "a second byte 0x5C is no mark";
}

TEST(ParseTalkScript, OnlyAFinalEndMarkAtACharacterStartIsDropped) {
    EXPECT_EQ(ParseTalkScript("\\hA\\eB\\e").back().text, "\\hA\\eB");
    EXPECT_EQ(ParseTalkScript("\\hA\x95\\e").back().text, "\\hA\x95\\e");
}

}  // namespace
}  // namespace tc
