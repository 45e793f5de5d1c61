// Our archiver libraries' core, natively: the command texts of each library, the rules a
// member's name must pass, and whole commands on archives made for each case, in real
// temporary folders.
#include <gtest/gtest.h>

#include <filesystem>

#include "archivers/ArchiverApi.h"
#include "archivers/ArchiverCommand.h"
#include "archivers/Extractor.h"
#include "archivers/MemberPath.h"
#include "archivers/ResultCodes.h"
#include "archivers/ZipDirectory.h"
#include "support/ArchiveMaker.h"
#include "support/TempDir.h"

namespace tc {
namespace {

using namespace archivers;
using test::LzhMember;
using test::ZipMember;

// --- Command texts ---

TEST(LhaCommand, TheInstallersCommandsNameArchiveDestinationAndPattern) {
    const ParsedCommand first = ParseLhaCommand("e skin.lzh \"C:\\tc\\My Cat\\\" install.txt");
    ASSERT_EQ(first.result, 0);
    EXPECT_EQ(first.request.archive, "skin.lzh");
    EXPECT_EQ(first.request.destination, "C:\\tc\\My Cat\\");
    EXPECT_EQ(first.request.patterns, std::vector<std::string>{"install.txt"});
    EXPECT_FALSE(first.request.keepFolders);
    EXPECT_EQ(first.request.mode, CommandMode::Extract);

    const ParsedCommand all = ParseLhaCommand("E \"表 猫.lzh\" \"C:\\tc\\skin\\猫\\\" *.*");
    ASSERT_EQ(all.result, 0);
    EXPECT_EQ(all.request.archive, "表 猫.lzh");
    EXPECT_EQ(all.request.destination, "C:\\tc\\skin\\猫\\");
}

TEST(LhaCommand, AWordEndingInTheSecondByteOfHyoIsNoDestination) {
    // 表 is 0x95 0x5C: its last byte is not a backslash of its own.
    const ParsedCommand parsed = ParseLhaCommand("x a.lzh C:\\表");
    ASSERT_EQ(parsed.result, 0);
    EXPECT_EQ(parsed.request.destination, "");
    EXPECT_EQ(parsed.request.patterns, std::vector<std::string>{"C:\\表"});
    EXPECT_TRUE(parsed.request.keepFolders);
}

TEST(LhaCommand, RefusesUnknownCommandsAndSwitchesAndWantsAnArchive) {
    EXPECT_EQ(ParseLhaCommand("a new.lzh file").result, kBadCommand);
    EXPECT_EQ(ParseLhaCommand("").result, kBadCommand);
    EXPECT_EQ(ParseLhaCommand("e -r a.lzh").result, kBadCommand);
    EXPECT_EQ(ParseLhaCommand("e").result, kNoArchiveName);
    EXPECT_EQ(ParseLhaCommand("l a.lzh").request.mode, CommandMode::List);
    EXPECT_EQ(ParseLhaCommand("t a.lzh").request.mode, CommandMode::Test);
}

TEST(ZipCommand, TheInstallersCommandsAndTheSwitches) {
    const ParsedCommand first = ParseZipCommand("\"C:\\tc\\My Skins\\a.zip\" install.txt");
    ASSERT_EQ(first.result, 0);
    EXPECT_EQ(first.request.archive, "C:\\tc\\My Skins\\a.zip");
    EXPECT_EQ(first.request.patterns, std::vector<std::string>{"install.txt"});
    EXPECT_TRUE(first.request.keepFolders);
    EXPECT_EQ(first.request.destination, "");

    const ParsedCommand whole = ParseZipCommand("a.zip");
    ASSERT_EQ(whole.result, 0);
    EXPECT_TRUE(whole.request.patterns.empty());

    const ParsedCommand switches = ParseZipCommand("-j a.zip -d \"out dir\" *.png");
    ASSERT_EQ(switches.result, 0);
    EXPECT_FALSE(switches.request.keepFolders);
    EXPECT_EQ(switches.request.destination, "out dir");
    EXPECT_EQ(switches.request.patterns, std::vector<std::string>{"*.png"});

    EXPECT_EQ(ParseZipCommand("-x a.zip").result, kBadCommand);
    EXPECT_EQ(ParseZipCommand("a.zip -d").result, kBadCommand);
    EXPECT_EQ(ParseZipCommand("-l").result, kNoArchiveName);
}

TEST(Patterns, WildcardsCaseAndFolders) {
    const std::vector<std::string> nested = {"sub", "Install.TXT"};
    EXPECT_TRUE(MatchesPattern("install.txt", nested, false)) << "LZH: a file name matches in any folder";
    EXPECT_FALSE(MatchesPattern("install.txt", nested, true)) << "ZIP: the whole path";
    EXPECT_TRUE(MatchesPattern("sub\\*.txt", nested, true));
    EXPECT_TRUE(MatchesPattern("*.*", {"README"}, true)) << "*.* is every name, dotted or not";
    EXPECT_TRUE(MatchesPattern("*", nested, true)) << "* runs across folders";
    EXPECT_TRUE(MatchesPattern("surface?.png", {"surface1.png"}, true));
    EXPECT_FALSE(MatchesPattern("surface?.png", {"surface10.png"}, true));
    EXPECT_TRUE(MatchesPattern("?.txt", {"表.txt"}, true)) << "? is one whole character";
    EXPECT_FALSE(MatchesPattern("表*", {"\x95\x5D.txt"}, true));
}

// --- Member names ---

TEST(MemberNames, SafeNamesBecomeShiftJisParts) {
    const MemberName name = DecodeMemberName(L"猫/./\u8868.png");
    ASSERT_EQ(name.verdict, MemberNameVerdict::Safe);
    EXPECT_EQ(name.parts, (std::vector<std::string>{"猫", "表.png"}));
    EXPECT_EQ(DecodeMemberName(L"dir/").parts, std::vector<std::string>{"dir"});
}

TEST(MemberNames, NamesThatLeaveTheDestinationAreRefused) {
    for (const wchar_t* name : {L"../evil.txt", L"a/../../evil.txt", L"/etc/passwd", L"\\evil.txt", L"C:/evil.txt",
                                L"C:evil.txt", L"a\\..\\b", L"file.txt:stream", L"...", L".. ", L"a/b. ",
                                L"CON", L"con.txt", L"sub/Nul .png", L"LPT1", L"com9.log", L"CONOUT$",
                                L"a?b", L"a*b", L"a|b", L"a\"b", L"a<b", L"a\tb"}) {
        EXPECT_EQ(DecodeMemberName(name).verdict, MemberNameVerdict::Unsafe) << "refused";
    }
    for (const wchar_t* name : {L"CONSOLE.txt", L"COM10", L"LPT0.txt", L"com.txt", L"a..b", L"..a"}) {
        EXPECT_EQ(DecodeMemberName(name).verdict, MemberNameVerdict::Safe) << "allowed";
    }
}

TEST(MemberNames, ShiftJisPartsAreCheckedCharacterByCharacter) {
    EXPECT_TRUE(IsSafePart("表")) << "0x5C is the second byte of 表";
    EXPECT_TRUE(IsSafePart("\x83\x7C")) << "ポ ends in 0x7C, not a bar";
    EXPECT_TRUE(IsSafePart("ソ")) << "ソ ends in 0x5C";
    EXPECT_FALSE(IsSafePart("\x95")) << "a lead byte alone";
    EXPECT_FALSE(IsSafePart("\xFC:")) << "a lead byte before a byte that is no second byte";
    EXPECT_FALSE(IsSafePart("a\\b"));
    EXPECT_EQ(DecodeMemberName(L"\U0001F600.txt").verdict, MemberNameVerdict::Undecodable) << "no Shift_JIS form";
}

TEST(MemberNames, OutputPathsJoinWithBackslashes) {
    EXPECT_EQ(OutputPath("C:\\d\\", {"a", "b"}), "C:\\d\\a\\b");
    EXPECT_EQ(OutputPath("C:\\d", {"a"}), "C:\\d\\a");
    EXPECT_EQ(OutputPath("C:\\表", {"a"}), "C:\\表\\a") << "表's 0x5C is no separator";
    EXPECT_EQ(OutputPath("", {"a", "b"}), "a\\b");
}

// Only a directory that leaves no byte unaccounted for spares the walk over every local header.
TEST(ZipDirectory, AccountsForEveryByteOnlyWhenNoMemberCanHideBesideIt) {
    const std::string zip = test::MakeZip({{"a.txt", "one one one", false, true}, {"b/c.txt", "two"}});
    std::string lyingSize = zip;
    lyingSize[18] ^= 1;  // the first local header's compressed size
    std::string descriptor = zip;
    descriptor[6] |= 8;  // the first local header's sizes follow its data
    // Four bytes between two stored members, where a member the directory does not list could
    // be: the second member's offset and the directory's move with them.
    std::string gap = test::MakeZip({{"a.txt", "one"}, {"b.txt", "two"}});
    const std::size_t memberSize = 30 + 5 + 3;
    gap.insert(memberSize, "gap!");
    gap[2 * memberSize + 4 + 46 + 5 + 42] += 4;
    gap[gap.size() - 6] += 4;
    const struct {
        const char* what;
        std::string bytes;
        bool whole;
    } cases[] = {
        {"members, directory and end record back to back", zip, true},
        {"bytes after the end record", zip + "PK\3\4", false},
        {"bytes before the first member", "SFX" + zip, false},
        {"bytes between two members", gap, false},
        {"a local header that disagrees on the size", lyingSize, false},
        {"a data descriptor", descriptor, false},
        {"no archive", "", false},
    };
    for (const auto& c : cases) {
        MemorySource source(c.bytes);
        EXPECT_EQ(ZipDirectoryAccountsForEveryByte(source), c.whole) << c.what;
    }
}

TEST(LibraryApi, QueryFunctionListTellsWhatIsExported) {
    for (int number : {0, 1, 8, 16, 18, 19, 23, 24, 25, 26, 40, 41, 42, 57, 58, 61, 62, 64, 67, 101, 102}) {
        EXPECT_TRUE(OffersFunction(number)) << number;
    }
    for (int number : {2, 3, 17, 43, 44, 59, 60, 63, 66, 103, 104, -1, 999}) {
        EXPECT_FALSE(OffersFunction(number)) << number;
    }
    EXPECT_EQ(DosDateTime(1735689600), (((2025u - 1980) << 9 | 1 << 5 | 1) << 16));
    EXPECT_EQ(DosDateTime(0) >> 16, (0u << 9 | 1 << 5 | 1)) << "before 1980: 1980-01-01";
}

// --- Whole commands on archives ---

class ArchiverRun : public ::testing::Test {
protected:
    std::string Put(const std::string& name, const std::string& bytes) {
        dir.Write(name, bytes);
        return dir.Base() + name;
    }
    CommandOutcome Run(ArchiverKind kind, const std::string& command) {
        return RunCommand(kind, command, SystemArchiveFiles());
    }
    // Every file below the temporary folder, relative, with '/'.
    std::vector<std::string> Files() {
        std::vector<std::string> found;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(dir.Base())) {
            if (entry.is_regular_file()) found.push_back(entry.path().lexically_relative(dir.Base()).string());
        }
        std::sort(found.begin(), found.end());
        return found;
    }
    test::TempDir dir;
};

TEST_F(ArchiverRun, LhaExtractsFlatIntoTheDestinationWithShiftJisNames) {
    const std::string lzh = Put("a.lzh", test::MakeLzh({{"install.txt", "type,skin\r\n"},
                                                       {"猫/表.png", "png"},
                                                       {"猫", "", 2, true}}));
    dir.MakeFolder("out");
    const CommandOutcome first = Run(ArchiverKind::Lzh, "e \"" + lzh + "\" \"" + dir.Base() + "out/\" install.txt");
    EXPECT_EQ(first.code, 0);
    EXPECT_EQ(Files(), (std::vector<std::string>{"a.lzh", "out/install.txt"}));
    EXPECT_EQ(dir.Read("out/install.txt"), "type,skin\r\n");

    const CommandOutcome all = Run(ArchiverKind::Lzh, "e \"" + lzh + "\" \"" + dir.Base() + "out/\" *.*");
    EXPECT_EQ(all.code, 0);
    EXPECT_EQ(Files(), (std::vector<std::string>{"a.lzh", "out/install.txt", "out/表.png"}));
    EXPECT_EQ(all.output, "install.txt\r\n表.png\r\n");
}

TEST_F(ArchiverRun, LhaLevel0NamesKeepTheirTrailBackslash) {
    // A level-0 header stores "dir\表.png" as bytes; only the first backslash separates.
    const std::string lzh = Put("a.lzh", test::MakeLzh({{"dir\\表.png", "png", 0}}));
    EXPECT_EQ(Run(ArchiverKind::Lzh, "x \"" + lzh + "\" \"" + dir.Base() + "out/\"").code, 0);
    EXPECT_EQ(dir.Read("out/dir/表.png"), "png");
    EXPECT_EQ(Run(ArchiverKind::Lzh, "l \"" + lzh + "\"").output, "dir\\表.png\r\n");
}

TEST_F(ArchiverRun, ZipExtractsIntoTheCurrentFolderWithItsFolders) {
    const std::string zip = Put("a.zip", test::MakeZip({{"install.txt", "directory,x\r\n"},
                                                       {"猫/表.png", "png", false, true},
                                                       {"\xE7\x8C\xAB/utf8.txt", "u", true}}));
    std::filesystem::create_directory(dir.Base() + "cwd");
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.Base() + "cwd");
    const CommandOutcome outcome = Run(ArchiverKind::Zip, "\"" + zip + "\"");
    std::filesystem::current_path(previous);
    EXPECT_EQ(outcome.code, 0);
    EXPECT_EQ(Files(), (std::vector<std::string>{"a.zip", "cwd/install.txt", "cwd/猫/utf8.txt", "cwd/猫/表.png"}))
        << "a UTF-8 flagged name becomes the same Shift_JIS folder";
    EXPECT_EQ(dir.Read("cwd/猫/表.png"), "png");
}

TEST_F(ArchiverRun, ZipPatternMatchesTheWholePath) {
    const std::string zip = Put("a.zip", test::MakeZip({{"install.txt", "1"}, {"sub/install.txt", "2"}}));
    EXPECT_EQ(Run(ArchiverKind::Zip, "\"" + zip + "\" install.txt -d \"" + dir.Base() + "o\"").code, 0);
    EXPECT_EQ(Files(), (std::vector<std::string>{"a.zip", "o/install.txt"}));
    EXPECT_EQ(Run(ArchiverKind::Zip, "\"" + zip + "\" nothing.txt -d \"" + dir.Base() + "o\"").code, 0)
        << "a pattern that matches nothing is no failure";
}

TEST_F(ArchiverRun, AHostileMemberRefusesTheWholeArchiveAndNothingIsWritten) {
    struct Case {
        const char* what;
        ArchiverKind kind;
        std::string bytes;
        int code;
    };
    const Case cases[] = {
        {"zip ..", ArchiverKind::Zip, test::MakeZip({{"ok.txt", "1"}, {"../evil.txt", "x"}}), kCannotCreate},
        {"zip absolute", ArchiverKind::Zip, test::MakeZip({{"ok.txt", "1"}, {"/tmp/evil.txt", "x"}}), kCannotCreate},
        {"zip drive", ArchiverKind::Zip, test::MakeZip({{"ok.txt", "1"}, {"C:\\evil.txt", "x"}}), kCannotCreate},
        {"zip device", ArchiverKind::Zip, test::MakeZip({{"ok.txt", "1"}, {"aux.png", "x"}}), kCannotCreate},
        {"zip link", ArchiverKind::Zip, test::MakeZip({{"ok.txt", "1"}, {"link", "/etc", false, false, true}}),
         kCannotCreate},
        {"zip encrypted", ArchiverKind::Zip, test::MakeZip({{"ok.txt", "1"}, {"e.txt", "x", false, false, false, true}}),
         kCannotCreate},
        {"lzh ..", ArchiverKind::Lzh, test::MakeLzh({{"ok.txt", "1"}, {"../evil.txt", "x"}}), kCannotCreate},
        {"lzh level 0 ..", ArchiverKind::Lzh, test::MakeLzh({{"ok.txt", "1"}, {"..\\evil.txt", "x", 0}}),
         kCannotCreate},
        {"lzh link", ArchiverKind::Lzh, test::MakeLzh({{"ok.txt", "1"}, {"link|/etc", "", 2, false, 0120777}}),
         kCannotCreate},
    };
    for (const Case& c : cases) {
        const std::string archive = Put("in/a.arc", c.bytes);
        const std::string command = c.kind == ArchiverKind::Lzh
                                        ? "x \"" + archive + "\" \"" + dir.Base() + "in/out/\""
                                        : "\"" + archive + "\" -d \"" + dir.Base() + "in/out\"";
        EXPECT_EQ(Run(c.kind, command).code, c.code) << c.what;
        EXPECT_EQ(Files(), std::vector<std::string>{"in/a.arc"}) << c.what << ": nothing written, inside or out";
        std::filesystem::remove_all(dir.Base() + "in");
    }
}

TEST_F(ArchiverRun, DamageGivesTheMatchingCode) {
    const std::string good = test::MakeZip({{"a.txt", "hello hello hello", false, true}});
    std::string badCrc = test::MakeLzh({{"a.txt", "hello"}});
    badCrc[badCrc.size() - 3] ^= 1;  // a byte of the stored data
    std::string badData = good;
    badData[40] ^= 0x55;
    const std::string lzh = Put("crc.lzh", badCrc);
    EXPECT_EQ(Run(ArchiverKind::Lzh, "e \"" + lzh + "\" \"" + dir.Base() + "o/\"").code, kChecksum);
    EXPECT_FALSE(dir.Exists("o/a.txt")) << "a damaged file is removed";
    const std::string zip = Put("bad.zip", badData);
    EXPECT_NE(Run(ArchiverKind::Zip, "\"" + zip + "\" -d \"" + dir.Base() + "o\"").code, 0);
    EXPECT_EQ(Run(ArchiverKind::Zip, "\"" + Put("t.zip", "not an archive at all") + "\"").code, kNotArchive);
    EXPECT_EQ(Run(ArchiverKind::Lzh, "e \"" + Put("z.lzh", good) + "\"").code, kNotArchive)
        << "each library reads its own kind only";
    EXPECT_EQ(Run(ArchiverKind::Zip, "\"" + dir.Base() + "missing.zip\"").code, kCannotOpen);
    EXPECT_EQ(Run(ArchiverKind::Zip, "\"" + Put("e.zip", "") + "\"").code, kNotArchive);
}

TEST_F(ArchiverRun, OutputAndMemberCountAreBounded) {
    // Declared sizes beyond the cap refuse the archive in the first pass.
    std::vector<ZipMember> big;
    const std::string chunk(1 << 20, 'z');
    for (int i = 0; i < 3; ++i) big.push_back({"f" + std::to_string(i), chunk, false, true});
    std::string bomb = test::MakeZip(big);
    // Make every declared size 128 MiB in the central directory and local headers.
    for (std::size_t at = 0; (at = bomb.find("PK", at)) != std::string::npos; at += 2) {
        const std::size_t field = bomb.compare(at, 4, "PK\x03\x04") == 0 ? 22 : bomb.compare(at, 4, "PK\x01\x02") == 0 ? 24 : 0;
        if (field) bomb.replace(at + field, 4, std::string("\x00\x00\x00\x08", 4));
    }
    EXPECT_EQ(Run(ArchiverKind::Zip, "\"" + Put("bomb.zip", bomb) + "\" -d \"" + dir.Base() + "o\"").code,
              kOutputTooLarge);
    EXPECT_FALSE(dir.Exists("o"));

    std::vector<LzhMember> many(kMaxMembers + 1, LzhMember{"x", "1"});
    EXPECT_EQ(Run(ArchiverKind::Lzh, "e \"" + Put("many.lzh", test::MakeLzh(many)) + "\" \"" + dir.Base() + "m/\"").code,
              kOutputTooLarge);
    EXPECT_FALSE(dir.Exists("m/x"));
}

TEST_F(ArchiverRun, TooLongPathsAreRefused) {
    const std::string lzh = Put("a.lzh", test::MakeLzh({{std::string(200, 'n'), "1"}}));
    const std::string deep = dir.Base() + std::string(80, 'd') + "/";
    std::filesystem::create_directory(deep);
    EXPECT_EQ(Run(ArchiverKind::Lzh, "e \"" + lzh + "\" \"" + deep + "\"").code, kPathTooLong);
}

TEST_F(ArchiverRun, ListingAndTesting) {
    const std::string zip = Put("a.zip", test::MakeZip({{"a/b.txt", "1"}, {"c.txt", "22", false, true}}));
    std::vector<MemberRecord> members;
    ASSERT_EQ(ListMembers(ArchiverKind::Zip, *SystemArchiveFiles().OpenRead(zip), members), 0);
    ASSERT_EQ(members.size(), 2u);
    EXPECT_EQ(members[0].name, "a\\b.txt");
    EXPECT_EQ(members[1].originalSize, 2);
    EXPECT_EQ(TestArchive(ArchiverKind::Zip, *SystemArchiveFiles().OpenRead(zip)), 0);
    EXPECT_EQ(Run(ArchiverKind::Zip, "-t \"" + zip + "\"").code, 0);
    EXPECT_EQ(Files(), std::vector<std::string>{"a.zip"}) << "testing writes nothing";
}

}  // namespace
}  // namespace tc
