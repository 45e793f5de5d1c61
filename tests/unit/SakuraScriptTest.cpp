// SakuraScript as the cat shows it: the text a script types, its marks, and the balloon's
// typing of an interpreted script.
#include <gtest/gtest.h>

#include "talk/BalloonTyping.h"
#include "talk/SakuraScript.h"

namespace tc {
namespace {

using Kind = ScriptMark::Kind;

TEST(SakuraScript, ShownTextAndMarks) {
    const struct {
        std::string_view script;
        std::string_view text;
        std::vector<ScriptMark> marks;
    } cases[] = {
        {"\\h\\s[5]Hello\\n[half]wow\\e", "Hello\nwow", {{0, Kind::Surface, 5}}},
        {"ソ表\\n能十\\e after", "ソ表\n能十", {}},  // 0x5C second bytes are text
        {"a\\w3b\\_w[120]c\\w0d", "abcd", {{1, Kind::Wait, 150}, {2, Kind::Wait, 120}}},
        {"\\_w[99999999999]x", "x", {{0, Kind::Wait, kScriptMaxWaitMs}}},
        {"\\0Hi\\1\\s[10]Yo\\0\\s3Ok", "Hi\nYo\nOk", {{6, Kind::Surface, 3}}},  // scope 1 on its own row
        {"\\u\\p[0]A\\p[1]\\n", "A\n\n", {}},
        {"a\\cb\\xc\\x[noclear]d", "abcd",
         {{1, Kind::Clear, 0}, {2, Kind::Wait, kScriptPauseMs}, {2, Kind::Clear, 0}, {3, Kind::Wait, kScriptPauseMs}}},
        {"\\_qab\\_qc", "abc", {{0, Kind::Quick, 1}, {2, Kind::Quick, 0}}},
        {"\\\\n\\%\\![raise,\"a]b\",\\]x]\\q[go,x]\\b2\\i[3]\\f[bold,1]\\_a[u]a\\_a\\URL[h]\\__c\\-\\*", "\\n%a", {}},
        {"\\s[abc]\\s[-1]x\\h[y]", "x[y]", {{0, Kind::Surface, -1}}},
        {"ok\\s[", "ok", {}},               // an argument never closed ends the script
        {"ok\\", "ok", {}},                 // a lone backslash at the end is dropped
        {"a\\ b\\\x81\x40", "a b\x81\x40", {}},  // a backslash before no tag is dropped
        {"", "", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(InterpretSakuraScript(c.script), (ShownScript{std::string(c.text), c.marks})) << c.script;
    }
}

std::string TypedRows(const BalloonTyping& b) {
    std::string rows;
    for (const std::string& row : b.VisibleRows()) rows += row + "|";
    return rows;
}

TEST(SakuraScriptTyping, MarksActWhereTypingReachesThem) {
    BalloonTyping b;
    b.Start(InterpretSakuraScript("v\\w2\\s[7]x\\cy"));
    const BalloonUpdate typed = b.Tick();
    EXPECT_EQ(typed.invalidate, b.CellRect());
    EXPECT_EQ(TypedRows(b), "v|");
    EXPECT_FALSE(b.Tick().invalidate) << "the wait's first tick";
    EXPECT_FALSE(b.Tick().invalidate) << "and its second";
    const BalloonUpdate surfaced = b.Tick();
    EXPECT_EQ(surfaced.surface, 7);
    EXPECT_EQ(TypedRows(b), "vx|");
    const BalloonUpdate cleared = b.Tick();
    EXPECT_EQ(cleared.invalidate, b.TextArea());
    EXPECT_EQ(TypedRows(b), "y|");
    EXPECT_TRUE(b.IsComplete());

    b.Start(InterpretSakuraScript("a\\_qbcd\\_qe\\s[2]"));
    b.Tick();
    const BalloonUpdate quick = b.Tick();
    EXPECT_EQ(quick.invalidate, b.TextArea());
    EXPECT_EQ(TypedRows(b), "abcd|") << "the untimed span in one tick";
    b.Tick();
    EXPECT_FALSE(b.IsComplete()) << "a mark after the last character is still to come";
    EXPECT_EQ(b.Tick().surface, 2);
    EXPECT_TRUE(b.IsComplete());

    for (const char* text : {"aw2b", "a\\w2b"}) {
        b.Start(InterpretSakuraScript(text));
        b.Tick();
        b.Tick();
        b.Tick();
        EXPECT_EQ(TypedRows(b), "a|") << text << ": w and a digit pause in a script as in any text";
        b.Tick();
        EXPECT_EQ(TypedRows(b), "ab|") << text;
    }
}

}  // namespace
}  // namespace tc
