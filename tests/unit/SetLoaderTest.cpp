// Falling-object sets as dropling.exe loads them from real folders, the three shipped sets
// among them.
#include <gtest/gtest.h>

#include "dropling/SetLoader.h"
#include "falling/SetText.h"
#include "platform/posix/PosixFileSystem.h"
#include "support/Images.h"
#include "support/TempDir.h"

namespace tc {
namespace {

// A 6 x 4 picture: key colour around a 2 x 2 block.
std::string Picture(bool png) {
    const test::PixelFn pixel = [](int x, int y) -> std::uint32_t {
        return (x >= 2 && x < 4 && y >= 1 && y < 3) ? 0x3A2418 : 0xFF00FF;
    };
    return png ? test::MakePng(6, 4, pixel) : test::MakeBmp(6, 4, pixel);
}

class SetLoaderTest : public ::testing::Test {
protected:
    std::optional<LoadedSet> Load(const std::string& folder) { return LoadSet(files, dir.Base(), folder); }

    test::TempDir dir;
    PosixFileSystem files;
};

TEST_F(SetLoaderTest, NameTextAndShapeComeFromTheFolder) {
    dir.Write("dropling\\ball\\dropling.txt", "#name\r\nRed ball\r\n#reaction\r\nOuch\r\n");
    dir.Write("dropling\\ball\\surface0.png", Picture(true));
    const auto set = Load("ball");
    ASSERT_TRUE(set);
    EXPECT_EQ(set->displayName, "Red ball");
    EXPECT_EQ(set->text.reactions, std::vector<std::string>{"Ouch"});
    EXPECT_EQ(set->picture.width, 6);
    EXPECT_EQ(set->shape.runs, (std::vector<ShapeRun>{{1, 2, 4}, {2, 2, 4}}));
}

TEST_F(SetLoaderTest, ABmpPictureServesWhenThereIsNoPngAndTheFolderNamesANamelessSet) {
    dir.Write("dropling\\ball\\dropling.txt", "#reaction\r\nOuch\r\n");
    dir.Write("dropling\\ball\\surface0.bmp", Picture(false));
    const auto set = Load("ball");
    ASSERT_TRUE(set);
    EXPECT_EQ(set->displayName, "ball");
    EXPECT_EQ(set->shape.runs.size(), 2u);
}

TEST_F(SetLoaderTest, SetsThatCannotFallAreRefused) {
    dir.Write("dropling\\notxt\\surface0.png", Picture(true));
    dir.Write("dropling\\nopicture\\dropling.txt", "#name\r\nX\r\n");
    dir.Write("dropling\\broken\\dropling.txt", "#name\r\nX\r\n");
    dir.Write("dropling\\broken\\surface0.png", "not a png");
    dir.Write("dropling\\empty\\dropling.txt", "#name\r\nX\r\n");
    dir.Write("dropling\\empty\\surface0.bmp", test::MakeBmp(4, 4, [](int, int) { return 0xFF00FFu; }));
    for (const char* folder : {"notxt", "nopicture", "broken", "empty", "missing"}) {
        EXPECT_FALSE(Load(folder)) << folder;
    }
}

// The sets laid out beside dropling.exe.
class ShippedSetTest : public ::testing::TestWithParam<const char*> {};

TEST_P(ShippedSetTest, LoadsWithAJapaneseNameLinesAndItsProfile) {
    PosixFileSystem files;
    const std::string base = std::string(TUMBLECAT_SOURCE_DIR) + "/data/";
    const auto set = LoadSet(files, base, GetParam());
    ASSERT_TRUE(set);
    EXPECT_NE(set->displayName, GetParam());
    EXPECT_GE(static_cast<unsigned char>(set->displayName[0]), 0x81) << "a Japanese name";
    EXPECT_GE(set->text.reactions.size(), 4u);
    EXPECT_FALSE(set->text.profile.empty());
    EXPECT_GE(set->picture.width, 40);
    // The profile dialog reads profile.txt: rendered from the same section.
    const auto profile = files.ReadWholeFile(base + "dropling\\" + GetParam() + "\\profile.txt");
    ASSERT_TRUE(profile);
    EXPECT_EQ(*profile, set->text.profile);
}

INSTANTIATE_TEST_SUITE_P(Sets, ShippedSetTest, ::testing::Values("yarn", "tarai", "fish"));

}  // namespace
}  // namespace tc
