// The other-character directory: parsing the "Sakura" block, the shown-window rule, Stand,
// the current character; the own block; and the rectangle query.
#include <gtest/gtest.h>

#include "interop/Directory.h"
#include "support/DialogHarness.h"

namespace tc {
namespace {

using test::DialogHarness;

TEST(SakuraText, LinesMakeEntriesInOrderOfFirstAppearance) {
    const auto entries = ParseSakuraText("a.hwnd\x01" "1234\r\na.name\x01X\r\nb.name\x01Y\r\n");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0], (SDSakura{"a", 1234, "X", "", ""}));
    EXPECT_EQ(entries[1], (SDSakura{"b", 0, "Y", "", ""}));
}

TEST(SakuraText, IdentifiersAndKeysIgnoreCase) {
    const auto entries = ParseSakuraText("A.HWND\x01" "5\r\na.hwnd\x01" "6\r\na.KeroName\x01K\r\na.Path\x01P\r\n");
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].id, "A");
    EXPECT_EQ(entries[0].hwnd, 6);
    EXPECT_EQ(entries[0].keroname, "K");
    EXPECT_EQ(entries[0].path, "P");
}

TEST(SakuraText, TextWithoutALineMakesNoEntry) {
    // Such an entry (no name, window 0) would count as another character on the desktop.
    EXPECT_TRUE(ParseSakuraText("").empty());
    EXPECT_TRUE(ParseSakuraText("\r\r\r\r\r\r\r\r").empty());
    EXPECT_TRUE(ParseSakuraText("no marks at all").empty());
}

TEST(SakuraText, UnknownKeysMakeEmptyEntries) {
    const auto entries = ParseSakuraText("ghost.shell\x01" "default\r\nq.name\x01Q\r\n");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0], (SDSakura{"ghost", 0, "", "", ""}));
}

TEST(SakuraText, ShortTailsEndTheParse) {
    // After the last CR LF only 2 characters remain.
    EXPECT_EQ(ParseSakuraText("a.name\x01X\r\n").size(), 1u);
    // A last line without CR LF shorter than 6 characters with the CR LF before it.
    EXPECT_EQ(ParseSakuraText("a.name\x01X\r\nb.x").size(), 1u);
    // A longer last line stores an empty value for its key.
    const auto entries = ParseSakuraText("a.name\x01X\r\nbb.name\x01" "Yvalue");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[1].id, "bb");
    EXPECT_EQ(entries[1].name, "");
}

TEST(SakuraText, ATailThatConsumesNothingEndsTheParse) {
    // Without the rule this would repeat for ever: no dot, no 0x01, no CR in "abcdefgh".
    const auto entries = ParseSakuraText("a.name\x01X\r\nb.name\x01" "abcdefgh");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[1].id, "b");
}

TEST(SakuraText, MissingMarksMergeWithTheNextLine) {
    const auto entries = ParseSakuraText("a.name X\r\nb.name\x01Y\r\n");
    // The key runs up to the 0x01 of the next line; it is none of the four.
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].id, "a");
    EXPECT_EQ(entries[0].name, "");
}

TEST(SakuraText, ShiftJisNamesAreKept) {
    const auto entries = ParseSakuraText("s.name\x01さくら\r\ns.keroname\x01うにゅう\r\n");
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, "さくら");
    EXPECT_EQ(entries[0].keroname, "うにゅう");
}

TEST(ShownRule, TopByteOfTheStyle) {
    EXPECT_TRUE(IsShownStyle(0x94000000));
    EXPECT_TRUE(IsShownStyle(0x96001234));
    EXPECT_FALSE(IsShownStyle(0x84000000)) << "not visible";
    EXPECT_FALSE(IsShownStyle(0xB4000000)) << "minimized: another bit of the top byte";
    EXPECT_FALSE(IsShownStyle(0));
}

TEST(OwnBlock, SizeHeaderThenTheHandleLine) {
    const std::string block = FormatOwnBlock(0x1A2B);
    EXPECT_EQ(block, std::string("\x00\x00\x01\x00.hwnd\x01", 10) + "6699\r\n" + std::string(1, '\0'));
}

class DirectoryTest : public ::testing::Test, protected DialogHarness {
protected:
    static constexpr NativeHandle kA = 0x100, kB = 0x200, kD = 0x300, kStand = 0x400;
    void Publish(const std::string& text) { fake.ipc.sharedBlocks["Sakura"] = std::string("\x00\x00\x01\x00", 4) + text; }
    CTumbleDlg& StartCat() {
        WriteRectangleSkin("r", 2, 20, 40);
        UseSkin("r");
        return Start();
    }
};

TEST_F(DirectoryTest, NoBlockAndNoStandMeansAlone) {
    CTumbleDlg& d = StartCat();
    EXPECT_FALSE(d.RefreshDirectory());
    EXPECT_EQ(d.m_sakuraCurrent, -1);
    EXPECT_EQ(fake.ipc.guardsAsked.back(), "SakuraFMO") << "the block is read under its mutex";
}

TEST_F(DirectoryTest, AnEmptyBlockMeansAlone) {
    CTumbleDlg& d = StartCat();
    Publish("");
    EXPECT_FALSE(d.RefreshDirectory());
    EXPECT_TRUE(d.m_sakuraList.empty());
    EXPECT_EQ(d.m_sakuraCurrent, -1);
}

TEST_F(DirectoryTest, TheFirstShownEntryIsCurrent) {
    CTumbleDlg& d = StartCat();
    Publish("d.hwnd\x01" "768\r\nd.name\x01" "D\r\na.hwnd\x01" "256\r\na.name\x01" "A\r\n");
    fake.windows.Window(kD).style = 0x84000000;
    fake.windows.Window(kA).style = 0x94000000;
    EXPECT_TRUE(d.RefreshDirectory());
    ASSERT_EQ(d.m_sakuraList.size(), 2u);
    EXPECT_EQ(d.m_sakuraCurrent, 1);
}

TEST_F(DirectoryTest, StandIsAddedOnlyAtExactly400By400) {
    CTumbleDlg& d = StartCat();
    fake.windows.windowsByClass["Texture0"] = kStand;
    fake.windows.Window(kStand).rect = {10, 10, 410, 409};
    EXPECT_FALSE(d.RefreshDirectory());
    fake.windows.Window(kStand).rect = {10, 10, 411, 411};
    EXPECT_FALSE(d.RefreshDirectory());
    fake.windows.Window(kStand).rect = {10, 10, 410, 410};
    EXPECT_TRUE(d.RefreshDirectory());
    ASSERT_EQ(d.m_sakuraList.size(), 1u);
    EXPECT_EQ(d.m_sakuraList[0], (SDSakura{"", static_cast<std::int32_t>(kStand), "(Stand)", "Stand/Texture1", "stand.exe"}));
    EXPECT_TRUE(IsStandEntry(d.m_sakuraList[0]));
    EXPECT_EQ(d.m_sakuraCurrent, 0);
}

TEST_F(DirectoryTest, WithNoShownEntryAndStandTheFirstBlockEntryIsCurrent) {
    CTumbleDlg& d = StartCat();
    Publish("d.hwnd\x01" "768\r\nd.name\x01" "D\r\n");
    fake.windows.windowsByClass["Texture0"] = kStand;
    fake.windows.Window(kStand).rect = {0, 0, 400, 400};
    EXPECT_TRUE(d.RefreshDirectory());
    ASSERT_EQ(d.m_sakuraList.size(), 2u);
    EXPECT_EQ(d.m_sakuraCurrent, 0);
    EXPECT_EQ(d.m_sakuraList[0].name, "D");
}

TEST_F(DirectoryTest, OwnBlockHoldsTheWindowHandleUntilDestruction) {
    StartCat();
    ASSERT_EQ(fake.ipc.ownBlocks.count("Tumblecat"), 1u);
    const std::string& block = fake.ipc.ownBlocks.at("Tumblecat");
    EXPECT_EQ(block.size(), 65536u);
    const std::string expected = FormatOwnBlock(static_cast<std::int32_t>(test::FakeWindowSystem::kDialogWindow));
    EXPECT_EQ(block.substr(0, expected.size()), expected);
    Destroy();
    EXPECT_EQ(fake.ipc.ownBlocks.count("Tumblecat"), 0u);
}

TEST_F(DirectoryTest, RectangleQueryWritesTheHeadRectangleOfTheShownSurface) {
    CTumbleDlg& d = StartCat();
    d.m_surface = 1;
    d.m_headRect[1] = {10, 0, 50, 31};
    EXPECT_EQ(Send(kMsgRectangleQuery, 4242, 0x7000), 1);
    ASSERT_EQ(fake.ipc.memoryWrites.size(), 1u);
    EXPECT_EQ(fake.ipc.memoryWrites[0].processId, 4242u);
    EXPECT_EQ(fake.ipc.memoryWrites[0].address, 0x7000u);
    EXPECT_EQ(fake.ipc.memoryWrites[0].bytes, std::string("10,0,50,31\0", 11));
    fake.ipc.failMemoryWrites = true;
    EXPECT_EQ(Send(kMsgRectangleQuery, 4242, 0x7000), 0);
}

TEST_F(DirectoryTest, AtTwiceTheScaleTheAnswerIsTheHeadRectangleTwiceOver) {
    fake.windows.monitors = {{{0, 0, 1024, 768}, {0, 0, 1024, 768}, 192}};
    dir.Write("skin\\r\\headrect.txt", "2,1,8,6,\r\n3,1,9,7,\r\n");
    CTumbleDlg& d = StartCat();
    ASSERT_GE(d.m_surface, 0);
    const char* const doubled[] = {"4,2,16,12", "6,2,18,14"};
    EXPECT_EQ(Send(kMsgRectangleQuery, 4242, 0x7000), 1);
    ASSERT_EQ(fake.ipc.memoryWrites.size(), 1u);
    EXPECT_EQ(fake.ipc.memoryWrites[0].bytes, std::string(doubled[d.m_surface]) + '\0');
}

}  // namespace
}  // namespace tc
