// Text-mode line reading, lenient numbers, Shift_JIS scanning and the random generator:
// the rules every file format of the program is read with.
#include <gtest/gtest.h>

#include "common/FileNames.h"
#include "common/Random.h"
#include "common/Sjis.h"
#include "common/TextReader.h"

namespace tc {
namespace {

TEST(TextReader, TranslatesCrLfAndKeepsLineFeed) {
    TextReader reader("one\r\ntwo\nthree");
    std::string line;
    ASSERT_TRUE(reader.ReadLine(line));
    EXPECT_EQ(line, "one\n");
    EXPECT_FALSE(reader.AtEnd());
    ASSERT_TRUE(reader.ReadLine(line));
    EXPECT_EQ(line, "two\n");
    EXPECT_FALSE(reader.AtEnd());
    ASSERT_TRUE(reader.ReadLine(line));
    EXPECT_EQ(line, "three");
    EXPECT_TRUE(reader.AtEnd()) << "a last line without a line feed runs into the end";
    EXPECT_FALSE(reader.ReadLine(line));
    EXPECT_EQ(line, "three") << "a failed read leaves the buffer as it was";
}

TEST(TextReader, EndIsSeenOnlyByTheReadAfterAFinalLineFeed) {
    TextReader reader("a\n");
    std::string line;
    ASSERT_TRUE(reader.ReadLine(line));
    EXPECT_FALSE(reader.AtEnd());
    EXPECT_FALSE(reader.ReadLine(line));
    EXPECT_TRUE(reader.AtEnd());
}

TEST(TextReader, LongLinesComeInPiecesOfTheBufferSize) {
    const std::string longLine(2000, 'x');
    TextReader reader(longLine + "\n");
    std::string line;
    ASSERT_TRUE(reader.ReadLine(line, 1024));
    EXPECT_EQ(line.size(), 1023u);
    ASSERT_TRUE(reader.ReadLine(line, 1024));
    EXPECT_EQ(line, std::string(977, 'x') + "\n");
}

TEST(TextReader, LoneCarriageReturnStays) {
    TextReader reader("a\rb\n");
    std::string line;
    ASSERT_TRUE(reader.ReadLine(line));
    EXPECT_EQ(line, "a\rb\n");
}

TEST(LenientInt, ReadsLikeAtoi) {
    EXPECT_EQ(ParseLenientInt("  42abc"), 42);
    EXPECT_EQ(ParseLenientInt("\t-17"), -17);
    EXPECT_EQ(ParseLenientInt("+8"), 8);
    EXPECT_EQ(ParseLenientInt("abc"), 0);
    EXPECT_EQ(ParseLenientInt(""), 0);
    EXPECT_EQ(ParseLenientInt("- 5"), 0);
    EXPECT_EQ(ParseLenientInt("99999999999999999999"), 2147483647);
    EXPECT_EQ(ParseLenientInt("-99999999999999999999"), -2147483647 - 1);
}

TEST(Sjis, MarksAreFoundCharacterByCharacter) {
    // 表 is 0x95 0x5C: its second byte is a backslash and must not be taken for one.
    const std::string path = "skin\\\x95\x5C\\surface0.bmp";
    EXPECT_EQ(FindSjisChar(path, '\\'), 4u);
    EXPECT_EQ(FindSjisChar(path, '\\', 5), 7u);
    EXPECT_EQ(FindLastSjisChar("\x95\x5C", '\\'), std::string::npos);
    EXPECT_EQ(ReplaceSjisChar("a\\\x95\x5C", '\\', '/'), "a/\x95\x5C");
}

TEST(Sjis, CaseInsensitiveOnlyForSingleByteLetters) {
    EXPECT_TRUE(EqualsNoCase("WHISKERBY", "whiskerby"));
    EXPECT_TRUE(EqualsNoCase("#NAME", "#name"));
    EXPECT_FALSE(EqualsNoCase("whiskerby2", "whiskerby"));
    // Double-byte characters whose second bytes differ only by case are different.
    EXPECT_FALSE(EqualsNoCase("\x82\x61", "\x82\x41"));
    EXPECT_TRUE(EqualsNoCase("\x82\x61Z", "\x82\x61z"));
}

TEST(Random, IsTheClassicGeneratorWithValuesUpTo32767) {
    SeedRandom(1);
    EXPECT_EQ(Random(), 41);
    EXPECT_EQ(Random(), 18467);
    EXPECT_EQ(Random(), 6334);
    SeedRandom(99);
    for (int i = 0; i < 10000; ++i) {
        const int r = Random();
        ASSERT_GE(r, 0);
        ASSERT_LE(r, 32767);
    }
}

TEST(Random, IndexIsNoneForEmptyListsAndBoundedOtherwise) {
    SeedRandom(7);
    EXPECT_EQ(RandomIndex(0), -1);
    EXPECT_EQ(RandomIndex(-3), -1);
    for (int i = 0; i < 1000; ++i) {
        const int index = RandomIndex(3);
        ASSERT_GE(index, 0);
        ASSERT_LT(index, 3);
    }
    SeedRandom(1);
    EXPECT_EQ(RandomIndex(100000), 41) << "counts above 32767 count as 32768";
}

TEST(BaseDirectory, IsTheProgramFolderWithItsSeparator) {
    EXPECT_EQ(BaseDirectoryFromModulePath("C:\\Program Files\\tumblecat\\tumblecat.exe"),
              "C:\\Program Files\\tumblecat\\");
    EXPECT_EQ(BaseDirectoryFromModulePath("Z:\\tmp\\renamed-cat.exe"), "Z:\\tmp\\") << "any file name length";
    EXPECT_EQ(BaseDirectoryFromModulePath("/home/u/cat/tumblecat.exe"), "/home/u/cat/");
    EXPECT_EQ(BaseDirectoryFromModulePath("D:\\\x95\x5C\\tumblecat.exe"), "D:\\\x95\x5C\\")
        << "a double-byte name ending in 0x5C is not cut";
}

}  // namespace
}  // namespace tc
