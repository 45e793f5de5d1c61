// Discovery of skins and falling-object sets on real folders: usability, availability,
// command ids from enumeration positions, and display names with their quirks.
#include <gtest/gtest.h>

#include "platform/posix/PosixFileSystem.h"
#include "skin/Resources.h"
#include "support/TempDir.h"

namespace tc {
namespace {

class ResourcesTest : public ::testing::Test {
protected:
    void AddSet(const std::string& folder, const std::string& droplingTxt, const char* surface = "surface0.png") {
        dir.Write("dropling\\" + folder + "\\dropling.txt", droplingTxt);
        dir.Write("dropling\\" + folder + "\\" + surface, "img");
    }
    void AddSkin(const std::string& folder, const std::string& profile, const char* kind = "png") {
        dir.Write("skin\\" + folder + "\\profile.txt", profile);
        dir.Write("skin\\" + folder + "\\surface0." + kind, "img");
        dir.Write("skin\\" + folder + "\\surface1." + kind, "img");
    }
    ElementList Scan(ResourceListKind kind) {
        ElementList list = {{1, "stale", "stale"}};
        ScanResources(files, dir.Base(), kind, list);
        return list;
    }

    test::TempDir dir;
    PosixFileSystem files;
};

TEST_F(ResourcesTest, MissingResourceFolderGivesEmptyLists) {
    EXPECT_TRUE(Scan(ResourceListKind::MenuDroplings).empty());
    EXPECT_TRUE(Scan(ResourceListKind::FilesetSkins).empty());
}

TEST_F(ResourcesTest, CommandIdsCountEveryEnumeratedEntry) {
    // Listing order: ".", "..", "a-file", "b-set", "c-broken", "d-set".
    dir.Write("dropling\\a-file", "not a folder");
    AddSet("b-set", "#name\nBall\n");
    dir.MakeFolder("dropling\\c-broken");
    AddSet("d-set", "#name\nCube\n");
    const ElementList menu = Scan(ResourceListKind::MenuDroplings);
    ASSERT_EQ(menu.size(), 2u);
    EXPECT_EQ(menu[0], (SElement{32803, "Ball", "b-set"}));
    EXPECT_EQ(menu[1], (SElement{32805, "Cube", "d-set"}));

    dir.Write("skin\\a-file", "x");
    AddSkin("b-skin", "Bee\r\n");
    AddSkin("d-skin", "Dee\r\n");
    dir.MakeFolder("skin\\c-empty");
    const ElementList skins = Scan(ResourceListKind::MenuSkins);
    ASSERT_EQ(skins.size(), 2u);
    EXPECT_EQ(skins[0].commandId, 33824 + 3);
    EXPECT_EQ(skins[1].commandId, 33824 + 5);
}

TEST_F(ResourcesTest, UsableFoldersNeedTheirKeyFiles) {
    AddSet("png-only", "#name\nP\n", "surface0.png");
    AddSet("bmp-only", "#name\nB\n", "SURFACE0.BMP");
    dir.Write("dropling\\no-picture\\dropling.txt", "#name\nN\n");
    dir.Write("dropling\\no-txt\\surface0.png", "img");
    dir.MakeFolder("dropling\\dir-named-like-file\\dropling.txt");
    dir.Write("dropling\\dir-named-like-file\\surface0.png", "img");
    std::vector<std::string> folders;
    for (const auto& e : Scan(ResourceListKind::FilesetDroplings)) folders.push_back(e.folder);
    EXPECT_EQ(folders, (std::vector<std::string>{"bmp-only", "png-only"}));

    AddSkin("both-png", "P\n", "png");
    AddSkin("both-bmp", "B\n", "bmp");
    dir.Write("skin\\mixed\\profile.txt", "M\n");
    dir.Write("skin\\mixed\\surface0.png", "img");
    dir.Write("skin\\mixed\\surface1.bmp", "img");
    dir.Write("skin\\no-profile\\surface0.png", "img");
    dir.Write("skin\\no-profile\\surface1.png", "img");
    folders.clear();
    for (const auto& e : Scan(ResourceListKind::MenuSkins)) folders.push_back(e.folder);
    EXPECT_EQ(folders, (std::vector<std::string>{"both-bmp", "both-png"}));
}

TEST_F(ResourcesTest, DefaultSkinIsNeverListedWhateverItsCase) {
    AddSkin("WHISKERBY", "Upper\n");
    AddSkin("whiskerby", "Lower\n");
    AddSkin("whiskerby2", "Other\n");
    const ElementList menu = Scan(ResourceListKind::MenuSkins);
    ASSERT_EQ(menu.size(), 1u);
    EXPECT_EQ(menu[0].folder, "whiskerby2");
    EXPECT_EQ(Scan(ResourceListKind::FilesetSkins).size(), 1u);
}

TEST_F(ResourcesTest, HiddenFoldersAreUnavailable) {
    AddSet("apple", "#name\nApple\n");
    AddSet("pear", "#name\nPear\n");
    ASSERT_TRUE(files.SetHidden(dir.Base() + "dropling\\pear", true));

    const ElementList menu = Scan(ResourceListKind::MenuDroplings);
    ASSERT_EQ(menu.size(), 1u);
    EXPECT_EQ(menu[0].folder, "apple");

    const ElementList fileset = Scan(ResourceListKind::FilesetDroplings);
    ASSERT_EQ(fileset.size(), 2u);
    EXPECT_EQ(fileset[0], (SElement{32802, "○ Apple", "apple"}));
    EXPECT_EQ(fileset[1], (SElement{32803, "× Pear", "pear"})) << "same id as when it is available";

    ASSERT_TRUE(files.SetHidden(dir.Base() + "dropling\\pear\\", false));
    EXPECT_EQ(Scan(ResourceListKind::MenuDroplings).size(), 2u);
}

TEST_F(ResourcesTest, DroplingNamesFollowTheirQuirks) {
    EXPECT_EQ(DroplingListName("#NAME\nRed ball\n"), "Red ball");
    EXPECT_EQ(DroplingListName("name,  \tRed ball\n"), "Red ball");
    EXPECT_EQ(DroplingListName("Name,Red ball\n"), std::nullopt) << "the name, form is lower case only";
    EXPECT_EQ(DroplingListName("name,Red ball"), std::nullopt) << "a last line without line feed is not examined";
    EXPECT_EQ(DroplingListName("#name\nRed ball"), std::nullopt);
    EXPECT_EQ(DroplingListName("#name\n\nlater\n"), "") << "the line after the marker, even empty";
    EXPECT_EQ(DroplingListName("#name\n#Name\nBall\n"), "Ball") << "a repeated marker only repeats it";
    EXPECT_EQ(DroplingListName("#name\nname,Other\n"), "name,Other");
    EXPECT_EQ(DroplingListName("speed,3\nname,First\nname,Second\n"), "First");
    EXPECT_EQ(DroplingListName("#name\r\nCRLF ball\r\n"), "CRLF ball");
}

TEST_F(ResourcesTest, DisplayNamesFillBothListKinds) {
    AddSet("red", "#name\nRed ball\n");
    AddSet("blue", "nothing useful\n");
    AddSet("green", "name,Green\n");
    const ElementList menu = Scan(ResourceListKind::MenuDroplings);
    ASSERT_EQ(menu.size(), 3u);
    EXPECT_EQ(menu[0].text, "blue") << "a file without a name keeps the folder name";
    EXPECT_EQ(menu[1].text, "Green");
    EXPECT_EQ(menu[2].text, "Red ball");
    const ElementList fileset = Scan(ResourceListKind::FilesetDroplings);
    EXPECT_EQ(fileset[0].text, "○ ");
    EXPECT_EQ(fileset[1].text, "○ Green");
}

TEST_F(ResourcesTest, SkinWithEmptyFirstProfileLineStopsTheNameReading) {
    AddSkin("a", "Alpha\r\nprofile\r\n");
    AddSkin("b", "\r\nno name\r\n");
    AddSkin("c", "Gamma\r\n");
    const ElementList menu = Scan(ResourceListKind::MenuSkins);
    ASSERT_EQ(menu.size(), 3u);
    EXPECT_EQ(menu[0].text, "Alpha");
    EXPECT_EQ(menu[1].text, "b");
    EXPECT_EQ(menu[2].text, "c");
    const ElementList fileset = Scan(ResourceListKind::FilesetSkins);
    EXPECT_EQ(fileset[0].text, "○ Alpha");
    EXPECT_EQ(fileset[2].text, "○ ");
}

TEST_F(ResourcesTest, ShiftJisFolderNamesAreKept) {
    const std::string folder = "\x95\x5C\x8E\xA6";  // 表示: the first character ends in 0x5C
    AddSkin(folder, "表示スキン\r\n");
    const ElementList menu = Scan(ResourceListKind::MenuSkins);
    ASSERT_EQ(menu.size(), 1u);
    EXPECT_EQ(menu[0].folder, folder);
    EXPECT_EQ(menu[0].text, "表示スキン");
}

TEST_F(ResourcesTest, SetsBeyondTheDroplingIdRangeAreLeftOut) {
    // 1030 folders: with "." and ".." the last ones sit at positions 1024 and above.
    for (int i = 0; i < 1030; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "set%04d", i);
        AddSet(name, "#name\nx\n");
    }
    const ElementList menu = Scan(ResourceListKind::MenuDroplings);
    ASSERT_EQ(menu.size(), 1022u);
    EXPECT_EQ(menu.front().commandId, 32802);
    EXPECT_EQ(menu.back().commandId, 33823);
    EXPECT_EQ(menu.back().folder, "set1021");
}

}  // namespace
}  // namespace tc
