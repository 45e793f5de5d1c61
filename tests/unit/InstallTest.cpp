// Installing dropped archives: what install.txt says, where a dropped path is cut, which
// files are archives, which folder names are refused, the archiver binding over recording
// libraries, and whole installs by the character window with our archiver libraries' core
// standing in for the DLLs, on real temporary folders.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "archivers/ArchiverApi.h"
#include "install/ArcBase.h"
#include "install/InstallRules.h"
#include "skin/Resources.h"
#include "support/ArchiveMaker.h"
#include "support/DialogHarness.h"
#include "support/Images.h"
#include "support/OurArchivers.h"

namespace tc {
namespace {

// --- install.txt ---

InstallDescriptor Read(const std::string& text) { return ReadInstallTxt(text); }

TEST(InstallTxt, EitherOrderAnyCase) {
    const InstallDescriptor d = Read("directory,Foo\r\nTYPE,SKIN\r\n");
    EXPECT_TRUE(d.valid);
    EXPECT_EQ(d.type, InstallType::Skin);
    EXPECT_EQ(d.folder, "Foo");
    const InstallDescriptor e = Read("Type,DropLing\nDirectory,My Cat\n");
    EXPECT_TRUE(e.valid);
    EXPECT_EQ(e.type, InstallType::Dropling);
    EXPECT_EQ(e.folder, "My Cat") << "everything after the comma, blanks included";
    EXPECT_EQ(Read("type,skin\r\ndirectory,猫").folder, "猫") << "a last line without a line end";
}

TEST(InstallTxt, InvalidDescriptors) {
    EXPECT_FALSE(Read("type,skin\r\n").valid) << "no directory line";
    EXPECT_FALSE(Read("type,skins\r\ndirectory,Foo\r\n").valid);
    EXPECT_FALSE(Read("type, skin\r\ndirectory,Foo\r\n").valid) << "nothing else on the type line";
    EXPECT_FALSE(Read("# comment\r\ntype,skin\r\ndirectory,Foo\r\n").valid) << "a 9-byte comment ends the reading";
    EXPECT_FALSE(Read("# a comment\r\ntype,skin\r\ndirectory,Foo\r\n").valid)
        << "a 12-byte comment uses up one of the two lines";
    EXPECT_FALSE(Read("type,skin\r\ntype,skin\r\n").valid) << "a second type line is no directory line";
    EXPECT_FALSE(Read("typ\r\ndirectory,Foo\r\n").valid);
    EXPECT_FALSE(Read("").valid);
    EXPECT_FALSE(Read("directory,\r\ntype,skin\r\n").valid) << "a 10-byte directory line is too short";
    EXPECT_FALSE(Read(std::string(2000, 'x') + "\r\ntype,skin\r\ndirectory,a\r\n").valid)
        << "a long line comes in pieces, each one line";
}

// --- Dropped paths and kinds ---

TEST(DroppedPath, CutAtTheLastBackslashThatIsACharacter) {
    const DroppedPath p = SplitDroppedPath("C:\\skins\\猫.lzh");
    EXPECT_EQ(p.folder, "C:\\skins");
    EXPECT_EQ(p.fileName, "猫.lzh");
    const DroppedPath hyo = SplitDroppedPath("C:\\dl\\表.zip");
    EXPECT_EQ(hyo.folder, "C:\\dl");
    EXPECT_EQ(hyo.fileName, "表.zip") << "表's 0x5C is not a cut";
    const DroppedPath folderHyo = SplitDroppedPath("C:\\表\\a.zip");
    EXPECT_EQ(folderHyo.folder, "C:\\表");
    EXPECT_EQ(folderHyo.fileName, "a.zip");
    EXPECT_EQ(SplitDroppedPath("a.zip").fileName, "a.zip");
}

TEST(ArchiveKind, ByTheLastThreeLetters) {
    EXPECT_EQ(ArchiveKindOf("SKIN.LZH"), ArchiveKind::Lzh);
    EXPECT_EQ(ArchiveKindOf("a.zip"), ArchiveKind::Zip);
    EXPECT_EQ(ArchiveKindOf("mylzh"), ArchiveKind::Lzh) << "the dot is not looked at";
    EXPECT_EQ(ArchiveKindOf(".zip"), ArchiveKind::None) << "4 bytes";
    EXPECT_EQ(ArchiveKindOf("archive.lzh.bak"), ArchiveKind::None);
    EXPECT_EQ(ArchiveKindOf("readme.txt"), ArchiveKind::None);
}

TEST(FolderName, PlainNamesOnly) {
    for (const char* name : {"Foo", "My Cat", "猫", "表", "ポ", "a.b"}) {
        EXPECT_TRUE(IsAcceptableFolderName(name, 20)) << name;
    }
    for (const char* name : {"", "..", "..\\..\\evil", "a\\b", "a/b", "C:", "x..y", "con", "Nul.txt", "COM3",
                             "a.", "a ", "a|b", "a?b", "\x95", "\xFC:", "x\x95/"}) {
        EXPECT_FALSE(IsAcceptableFolderName(name, 20)) << name;
    }
    EXPECT_TRUE(IsAcceptableFolderName(std::string(200, 'n'), 40));
    EXPECT_FALSE(IsAcceptableFolderName(std::string(220, 'n'), 40)) << "longer than fits";
}

TEST(FolderName, LongestPathIsAcceptedAndOneByteMoreIsNot) {
    // Root (40 bytes, its backslash included) + name + the folder's own backslash, against 247.
    EXPECT_TRUE(IsAcceptableFolderName(std::string(206, 'n'), 40)) << "40 + 206 + 1 = 247";
    EXPECT_FALSE(IsAcceptableFolderName(std::string(207, 'n'), 40)) << "40 + 207 + 1 = 248";
    std::string hyo;  // 表 is 0x95 0x5C: bytes are counted, and its 0x5C is no backslash
    for (int i = 0; i < 103; ++i) hyo += "\x95\x5C";
    EXPECT_TRUE(IsAcceptableFolderName(hyo, 40)) << "206 bytes";
    EXPECT_FALSE(IsAcceptableFolderName(hyo + "\x95\x5C", 40)) << "208 bytes";
}

TEST(InstalledName, FromProfileOrDroplingTxt) {
    EXPECT_EQ(InstalledName("Tabby\r\nprofile\r\n", false), "Tabby");
    EXPECT_EQ(InstalledName("\r\nTabby\r\n", false), "[名前取得失敗]");
    EXPECT_EQ(InstalledName("", false), "[名前取得失敗]");
    EXPECT_EQ(InstalledName("name,Ball\r\n#NAME\r\nRed ball", true), "Red ball")
        << "name, is not read; a last line without a line end is";
    EXPECT_EQ(InstalledName("#name\r\n\r\nBall\r\n", true), "") << "an empty line is a name";
    EXPECT_EQ(InstalledName("#name", true), "[名前取得失敗]");
}

// --- The binding ---

int TC_ARCHIVER_CALL NoCommand(void*, const char*, char*, std::uint32_t) { return 0; }
int TC_ARCHIVER_CALL LongOutput(void*, const char*, char* out, std::uint32_t size) {
    std::fill(out, out + size, 'x');  // fills the buffer to its very end
    return 0x800C;
}
int TC_ARCHIVER_CALL OffersCommand(int number) { return number == 0; }
int TC_ARCHIVER_CALL OffersNothing(int) { return 0; }

template <typename Fn>
void* Entry(Fn fn) {
    return reinterpret_cast<void*>(reinterpret_cast<std::uintptr_t>(fn));
}

class Binding : public ::testing::Test {
protected:
    test::FakePlatform fake;
};

TEST_F(Binding, EntryPointNames) {
    EXPECT_EQ(ArcEntryPointName(kArcZip, 0), "UnZip");
    EXPECT_EQ(ArcEntryPointName(kArcZip, 19), "UnZipQueryFunctionList");
    EXPECT_EQ(ArcEntryPointName(kArcLzh, 57), "UnlhaGetFileName");
    EXPECT_EQ(ArcEntryPointName(kArcIsh, 0), "IshEx");
    EXPECT_EQ(ArcEntryPointName(kArcTar, 99), "Tar") << "a number not in the table";
    EXPECT_EQ(ArcLibraryName(kArcArj), "UNARJ32J.DLL");
    EXPECT_EQ(ArcLibraryName(7), "");
}

TEST_F(Binding, TheCommandRunsWhenOfferedAndTheBufferEndsInZero) {
    fake.libraries.available["UNZIP32.DLL"].entryPoints = {{"UnZip", Entry(&LongOutput)},
                                                           {"UnZipQueryFunctionList", Entry(&OffersCommand)}};
    {
        CArcBase arc(fake.libraries, fake.controls, 5, kArcZip);
        char out[16];
        EXPECT_EQ(arc.Command(5, "a.zip", out, sizeof out), 0x800C);
        EXPECT_EQ(out[15], '\0');
        EXPECT_EQ(std::string(out), std::string(15, 'x'));
        EXPECT_EQ(fake.libraries.liveModules, 1) << "loaded on first use and kept";
    }
    EXPECT_EQ(fake.libraries.liveModules, 0) << "freed with the binding";
}

TEST_F(Binding, AFunctionNotOfferedIsNotLookedUpAndShowsNothing) {
    fake.libraries.available["UNZIP32.DLL"].entryPoints = {{"UnZip", Entry(&NoCommand)},
                                                           {"UnZipQueryFunctionList", Entry(&OffersNothing)}};
    CArcBase arc(fake.libraries, fake.controls, 5, kArcZip);
    EXPECT_EQ(arc.Command(5, "a.zip", nullptr, 0), kArcErrorFunction);
    EXPECT_EQ(fake.libraries.lookups, std::vector<std::string>{"UnZipQueryFunctionList"});
    EXPECT_TRUE(fake.controls.messages.empty());
}

TEST_F(Binding, IshAnswersWithoutAskingTheLibrary) {
    fake.libraries.available["ISH32.DLL"];
    CArcBase arc(fake.libraries, fake.controls, 5, kArcIsh);
    EXPECT_FALSE(arc.QueryFunctionList(10));
    EXPECT_TRUE(arc.QueryFunctionList(16));
    EXPECT_TRUE(fake.libraries.lookups.empty());
}

TEST_F(Binding, FailuresShowTheirMessageUnlessSwitchedOff) {
    {
        CArcBase quiet(fake.libraries, fake.controls, 5, kArcLzh);
        quiet.m_showErrors = false;
        EXPECT_EQ(quiet.Command(5, "e a.lzh", nullptr, 0), kArcErrorFunction);
        EXPECT_TRUE(fake.controls.messages.empty()) << "a missing library, messages off";
    }
    CArcBase loud(fake.libraries, fake.controls, 5, kArcLzh);
    EXPECT_EQ(loud.Command(5, "e a.lzh", nullptr, 0), kArcErrorFunction);
    ASSERT_EQ(fake.controls.messages.size(), 1u);
    EXPECT_EQ(fake.controls.messages[0].second, "UNLHA32.DLLが見つからないか、ロードできません。");

    fake.libraries.available["UNZIP32.DLL"].entryPoints = {{"UnZipQueryFunctionList", Entry(&OffersCommand)}};
    CArcBase missing(fake.libraries, fake.controls, 5, kArcZip);
    EXPECT_EQ(missing.Command(5, "a.zip", nullptr, 0), kArcErrorFunction);
    ASSERT_EQ(fake.controls.messages.size(), 2u);
    EXPECT_EQ(fake.controls.messages[1].second, "UnZip()が呼び出せません．\n") << "offered but not found";

    missing.m_rethrow = true;
    EXPECT_THROW(missing.Command(5, "a.zip", nullptr, 0), CArcException);
}

TEST_F(Binding, ErrorMessagesAndAvailability) {
    EXPECT_EQ(ArcErrorMessage(0x801B, "X").first, "指定されたファイルは 書庫ファイルではありません。");
    EXPECT_EQ(ArcErrorMessage(0x8043, "X").first, "指定されたﾌｧﾝｸｼｮﾝが呼び出せません。");
    const auto unknown = ArcErrorMessage(0x8009, "X");
    EXPECT_EQ(unknown.first, "未知のエラーです． ERROR[32777]");
    EXPECT_FALSE(unknown.second);
    EXPECT_FALSE(IsArchiverAvailable(fake.libraries, "UNZIP32.DLL"));
    fake.libraries.available["UNZIP32.DLL"];
    EXPECT_TRUE(IsArchiverAvailable(fake.libraries, "UNZIP32.DLL"));
    EXPECT_EQ(fake.libraries.liveModules, 0) << "the test never keeps the library";
}

TEST(OurLibraries, QueryFunctionListAnswersYesExactlyForTheExportedNames) {
    for (const auto& [kind, def] : {std::pair{kArcLzh, "Unlha32.def"}, std::pair{kArcZip, "Unzip32.def"}}) {
        std::ifstream in(std::string(TUMBLECAT_SOURCE_DIR) + "/src/archivers/win32/" + def);
        std::set<std::string> exported;
        for (std::string line; std::getline(in, line);) {
            if (line.rfind("    ", 0) == 0) exported.insert(line.substr(4));
        }
        ASSERT_FALSE(exported.empty()) << def;
        std::size_t offered = 0;
        for (int number = 0; number <= 120; ++number) {
            const std::string name = ArcEntryPointName(kind, number);
            if (number != 0 && name == ArcEntryPointName(kind, 0)) continue;  // no function of that number
            EXPECT_EQ(archivers::OffersFunction(number), exported.count(name) == 1) << def << " " << name;
            offered += archivers::OffersFunction(number);
        }
        EXPECT_EQ(offered, exported.size()) << def << ": every export has a number";
    }
}

// --- Whole installs ---

constexpr const char* kSpeak =
    "#install.complete.skin.message\r\nSKIN @objname / @objname\r\n"
    "#install.complete.dropling.message\r\nSET @objname\r\n"
    "#install.failure.filetype.message\r\nFILETYPE\r\n"
    "#install.failure.dll.message\r\nDLL\r\n"
    "#install.failure.extract.message\r\nEXTRACT\r\n"
    "#install.failure.structure.message\r\nSTRUCTURE\r\n";

class DropInstall : public ::testing::Test, protected test::DialogHarness {
protected:
    CTumbleDlg& StartCat() {
        WriteRectangleSkin("cat", 2, 20, 40);
        UseSkin("cat");
        dir.Write("speak.txt", kSpeak);
        test::AddOurArchivers(fake.libraries, dir.Base());
        CTumbleDlg& d = Start();
        d.m_lastSaid.clear();
        return d;
    }
    // A skin archive: install.txt, profile.txt and two surfaces (Shift_JIS names).
    static std::vector<test::ZipMember> SkinZip(const std::string& folder, const std::string& surfaces = "") {
        return {{"install.txt", "type,skin\r\ndirectory," + folder + "\r\n"},
                {"profile.txt", "三毛\r\n"},
                {surfaces + "surface0.png", Surface(0x123456)},
                {surfaces + "surface1.png", Surface(0x654321)},
                {"表/メモ.txt", "memo"}};
    }
    static std::string Surface(std::uint32_t colour, int colorType = 2) {
        test::PngOptions options;
        options.colorType = colorType;
        return test::MakePng(4, 4, [colour](int x, int) { return x ? colour : 0u; }, options);
    }
    void Drop(const std::vector<std::string>& paths) { dlg->OnDropFiles(paths); }
    static std::vector<std::string> Texts(const ElementList& list) {
        std::vector<std::string> texts;
        for (const SElement& element : list) texts.push_back(element.text);
        return texts;
    }
    std::string Put(const std::string& relative, const std::string& bytes) {
        dir.Write("in/" + relative, bytes);
        return dir.Base() + "in\\" + relative;
    }
    bool CurrentIsBase() {
        return std::filesystem::equivalent(std::filesystem::current_path(), dir.Base());
    }
    std::vector<std::string> FoldersUnderBase() {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(dir.Base())) names.push_back(e.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(DropInstall, AZipSkinInstallsAnnouncesAndJoinsTheLists) {
    CTumbleDlg& d = StartCat();
    const std::string zip = Put("三毛.zip", test::MakeZip(SkinZip("mike")));
    Drop({zip});
    EXPECT_EQ(d.m_lastSaid, "SKIN 三毛 / 三毛") << "every @objname is the display name";
    EXPECT_EQ(dir.Read("skin/mike/surface1.png"), Surface(0x654321));
    EXPECT_EQ(dir.Read("skin/mike/表/メモ.txt"), "memo") << "a ZIP keeps its folders";
    EXPECT_FALSE(dir.Exists("skin/mike/三毛.zip")) << "no copy of the archive is made";
    EXPECT_TRUE(dir.Exists("in/三毛.zip"));
    EXPECT_EQ(Texts(d.m_menuSkins), (std::vector<std::string>{"cat", "三毛"})) << "the cat's own skin and the new one";
    ASSERT_EQ(d.m_menuSkins.size(), 2u);
    EXPECT_EQ(d.m_menuSkins[1].folder, "mike");
    EXPECT_EQ(Texts(s_filesetSkins), (std::vector<std::string>{"○ cat", "○ 三毛"}));
    EXPECT_TRUE(CurrentIsBase());
    EXPECT_EQ(FoldersUnderBase(), (std::vector<std::string>{"in", "skin", "speak.txt", "tumblecat.cfg"}))
        << "the private folder is gone";
    EXPECT_EQ(fake.libraries.liveModules, 0);
}

TEST_F(DropInstall, AnLzhSetInstallsFlatIntoDropling) {
    CTumbleDlg& d = StartCat();
    const std::string lzh = Put("ball.lzh", test::MakeLzh({{"ball/install.txt", "directory,ボール\r\ntype,dropling\r\n"},
                                                          {"ball/dropling.txt", "#name\r\nRed ball\r\n"},
                                                          {"ball/surface0.png", Surface(0xFF0000)}}));
    Drop({lzh});
    EXPECT_EQ(d.m_lastSaid, "SET Red ball");
    EXPECT_EQ(dir.Read("dropling/ボール/surface0.png"), Surface(0xFF0000)) << "LZH members land without their folders";
    ASSERT_EQ(d.m_menuDroplings.size(), 1u);
    EXPECT_EQ(d.m_menuDroplings[0].text, "Red ball");
    EXPECT_EQ(s_filesetDroplings.size(), 1u);
    EXPECT_EQ(Texts(d.m_menuSkins), std::vector<std::string>{"cat"}) << "the skin lists are not rebuilt";
    EXPECT_TRUE(CurrentIsBase());
}

TEST_F(DropInstall, OnlyTheFirstOfSeveralFilesIsInstalled) {
    CTumbleDlg& d = StartCat();
    const std::string first = Put("a.zip", test::MakeZip(SkinZip("first")));
    const std::string second = Put("b.zip", test::MakeZip(SkinZip("second")));
    Drop({first, second, Put("c.txt", "text")});
    EXPECT_TRUE(dir.Exists("skin/first/profile.txt"));
    EXPECT_FALSE(dir.Exists("skin/second"));
    EXPECT_EQ(Texts(d.m_menuSkins), (std::vector<std::string>{"cat", "三毛"}));
}

TEST_F(DropInstall, EachFailureSaysItsLine) {
    CTumbleDlg& d = StartCat();
    const std::string readme = Put("readme.txt", "hello");
    std::filesystem::current_path(dir.Base() + "in");
    Drop({readme});
    EXPECT_EQ(d.m_lastSaid, "FILETYPE");
    EXPECT_TRUE(CurrentIsBase()) << "after every attempt";

    Drop({Put("noinstall.zip", test::MakeZip({{"profile.txt", "x\r\n"}}))});
    EXPECT_EQ(d.m_lastSaid, "STRUCTURE") << "no install.txt";

    Drop({Put("bad.zip", test::MakeZip({{"install.txt", "type,skin\r\n"}}))});
    EXPECT_EQ(d.m_lastSaid, "STRUCTURE") << "install.txt not valid";

    Drop({Put("broken.lzh", "this is no archive")});
    EXPECT_EQ(d.m_lastSaid, "EXTRACT");

    fake.libraries.available.erase(dir.Base() + "UNZIP32.DLL");
    std::filesystem::current_path(dir.Base() + "in");
    Drop({Put("good.zip", test::MakeZip(SkinZip("good")))});
    EXPECT_EQ(d.m_lastSaid, "DLL");
    EXPECT_FALSE(dir.Exists("skin/good"));
    EXPECT_TRUE(CurrentIsBase());
    EXPECT_EQ(FoldersUnderBase(), (std::vector<std::string>{"in", "skin", "speak.txt", "tumblecat.cfg"}));
}

TEST_F(DropInstall, AFolderNameThatLeavesItsRootIsRefused) {
    CTumbleDlg& d = StartCat();
    for (const char* folder : {"..\\..\\evil", "../evil", "C:\\evil", "..", "CON", "a:b"}) {
        Drop({Put("evil.zip", test::MakeZip({{"install.txt", std::string("type,skin\r\ndirectory,") + folder + "\r\n"},
                                             {"profile.txt", "x\r\n"}}))});
        EXPECT_EQ(d.m_lastSaid, "STRUCTURE") << folder;
    }
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(dir.Base()).parent_path().parent_path() / "evil"));
    EXPECT_EQ(FoldersUnderBase(), (std::vector<std::string>{"in", "skin", "speak.txt", "tumblecat.cfg"}));
    EXPECT_EQ(Texts(d.m_menuSkins), std::vector<std::string>{"cat"});
}

TEST_F(DropInstall, AMemberThatLeavesTheDestinationInstallsNothing) {
    CTumbleDlg& d = StartCat();
    auto members = SkinZip("sly");
    members.push_back({"../evil.txt", "evil"});
    Drop({Put("sly.zip", test::MakeZip(members))});
    EXPECT_EQ(d.m_lastSaid, "EXTRACT");
    EXPECT_FALSE(dir.Exists("evil.txt"));
    EXPECT_FALSE(dir.Exists("in/evil.txt"));
    EXPECT_FALSE(dir.Exists("skin/sly"));
}

TEST_F(DropInstall, AUsersInstallTxtBesideTheArchiveIsNeverTouched) {
    CTumbleDlg& d = StartCat();
    dir.Write("in/install.txt", "the user's own notes");
    Drop({Put("mike.zip", test::MakeZip(SkinZip("mike")))});
    EXPECT_EQ(d.m_lastSaid, "SKIN 三毛 / 三毛");
    EXPECT_EQ(dir.Read("in/install.txt"), "the user's own notes");
    dir.Write("install.txt", "type,skin\r\ndirectory,stale\r\n");
    Drop({Put("none.zip", test::MakeZip({{"profile.txt", "x\r\n"}}))});
    EXPECT_EQ(d.m_lastSaid, "STRUCTURE") << "a stale install.txt in the base directory is not read";
    EXPECT_EQ(dir.Read("install.txt"), "type,skin\r\ndirectory,stale\r\n");
}

TEST_F(DropInstall, TheWorkFolderNameIsNeverTakenOver) {
    CTumbleDlg& d = StartCat();
    dir.Write("install.work/keep.txt", "mine");
    Drop({Put("mike.zip", test::MakeZip(SkinZip("mike")))});
    EXPECT_EQ(d.m_lastSaid, "SKIN 三毛 / 三毛");
    EXPECT_EQ(dir.Read("install.work/keep.txt"), "mine");
    EXPECT_FALSE(dir.Exists("install.work2"));
}

TEST_F(DropInstall, AnExistingFolderIsExtractedIntoAndAFailedZipLeavesNoCopy) {
    CTumbleDlg& d = StartCat();
    dir.Write("skin/mike/old.txt", "old");
    Drop({Put("mike.zip", test::MakeZip(SkinZip("mike")))});
    EXPECT_EQ(d.m_lastSaid, "SKIN 三毛 / 三毛");
    EXPECT_EQ(dir.Read("skin/mike/old.txt"), "old");

    // The second extraction fails on the damaged data of a later member.
    auto members = SkinZip("broken");
    std::string zip = test::MakeZip(members);
    const std::size_t at = zip.find("memo");
    zip[at] ^= 1;
    Drop({Put("broken.zip", zip)});
    EXPECT_EQ(d.m_lastSaid, "EXTRACT");
    EXPECT_FALSE(dir.Exists("skin/broken/broken.zip")) << "the archive is read where it was dropped";
    EXPECT_TRUE(dir.Exists("in/broken.zip"));
    EXPECT_TRUE(CurrentIsBase());
}

TEST_F(DropInstall, AnArchiveDroppedFromItsOwnDestinationStaysWhereItIs) {
    CTumbleDlg& d = StartCat();
    dir.Write("skin/mike/mike.zip", test::MakeZip(SkinZip("mike")));
    Drop({dir.Base() + "skin\\mike\\mike.zip"});
    EXPECT_EQ(d.m_lastSaid, "SKIN 三毛 / 三毛");
    EXPECT_EQ(dir.Read("skin/mike/mike.zip"), test::MakeZip(SkinZip("mike"))) << "never removed, never rewritten";
}

TEST_F(DropInstall, AnArchiveWithoutAUsableFirstPictureIsAStructureFailureAndLeavesNothing) {
    CTumbleDlg& d = StartCat();
    dir.Write("skin/keep/old.txt", "old");
    auto rgba = SkinZip("rgba");
    rgba[2].data = Surface(0x123456, 6);
    auto truecolourWithAlphaIntoExisting = SkinZip("keep");
    truecolourWithAlphaIntoExisting[2].data = Surface(0x123456, 6);
    const struct {
        const char* file;
        std::vector<test::ZipMember> members;
        const char* folder;
    } cases[] = {
        {"nested.zip", SkinZip("nested", "sub/"), "skin/nested"},  // the surfaces sit in a subfolder
        {"rgba.zip", rgba, "skin/rgba"},                            // the cat cannot show RGBA surfaces
    };
    for (const auto& c : cases) {
        Drop({Put(c.file, test::MakeZip(c.members))});
        EXPECT_EQ(d.m_lastSaid, "STRUCTURE") << c.file;
        EXPECT_FALSE(dir.Exists(c.folder)) << c.file << ": the folder this install made is removed";
    }
    Drop({Put("keep.zip", test::MakeZip(truecolourWithAlphaIntoExisting))});
    EXPECT_EQ(d.m_lastSaid, "STRUCTURE");
    EXPECT_EQ(dir.Read("skin/keep/old.txt"), "old") << "a folder that was there stays";
    EXPECT_EQ(Texts(d.m_menuSkins), std::vector<std::string>{"cat"}) << "no list is rebuilt";
    EXPECT_EQ(FoldersUnderBase(), (std::vector<std::string>{"in", "skin", "speak.txt", "tumblecat.cfg"}));
}

TEST_F(DropInstall, AnInstallRunsAwayFromTheWindowThatSaysSoTakesNoSecondDropAndWaitsBeforeItGoes) {
    CTumbleDlg& d = StartCat();
    fake.background.hold = true;
    Drop({Put("a.zip", test::MakeZip(SkinZip("first")))});
    EXPECT_EQ(fake.background.started, 1);
    EXPECT_FALSE(dir.Exists("skin/first")) << "nothing of the install on the window's thread";
    EXPECT_EQ(d.m_lastSaid, "インストールしています…");
    EXPECT_TRUE(d.m_dropPose);
    Drop({Put("b.zip", test::MakeZip(SkinZip("second")))});
    EXPECT_EQ(fake.background.started, 1) << "a drop while one runs is ignored";
    fake.background.Complete();
    EXPECT_EQ(d.m_lastSaid, "SKIN 三毛 / 三毛");
    EXPECT_FALSE(d.m_dropPose);
    EXPECT_FALSE(fake.background.Busy());
    EXPECT_FALSE(dir.Exists("skin/second"));
    Drop({Put("c.zip", test::MakeZip(SkinZip("third")))});
    Destroy();
    EXPECT_TRUE(dir.Exists("skin/third/surface1.png")) << "the window waited for the install";
}

TEST_F(DropInstall, WhileAnInstallRunsNoCommandChangesSkinsOrShowsTheirLists) {
    WriteRectangleSkin("tall", 2, 20, 60);
    CTumbleDlg& d = StartCat();
    d.m_menuSkins = {{kSkinIdBase + 3, "tall", "tall"}};
    fake.background.hold = true;
    Drop({Put("a.zip", test::MakeZip(SkinZip("first")))});
    for (int command : {kSkinIdBase + 3, int{kCmdDefaultSkin}, int{kCmdSettings}, int{kCmdDroplingProfile}}) {
        d.OnCommand(command);
    }
    EXPECT_EQ(d.m_skinName, "cat");
    EXPECT_EQ(d.m_lastSaid, "インストールしています…");
    EXPECT_TRUE(fake.windows.sheetCaptions.empty());
    EXPECT_TRUE(fake.windows.modalTemplates.empty());
    d.OnCommand(kCmdAbout);
    EXPECT_EQ(fake.windows.modalTemplates.size(), 1u) << "a command that touches no skin or set is taken";
    fake.background.Complete();
    d.OnCommand(kCmdSettings);
    EXPECT_EQ(fake.windows.sheetCaptions.size(), 1u) << "taken again once the install has ended";
}

TEST_F(DropInstall, TheBalloonHidesAtTheDrop) {
    CTumbleDlg& d = StartCat();
    d.Say("hello");
    ASSERT_TRUE(fake.windows.Window(d.m_balloon->m_hWnd).visible);
    fake.libraries.available.clear();
    // A library of the same name beside the archive (or anywhere but the program's folder)
    // is never loaded: only the full path is asked for.
    test::AddOurArchivers(fake.libraries, "");
    d.m_msgInstallFailureDll.clear();  // nothing to say
    Drop({Put("x.zip", "zip")});
    EXPECT_FALSE(fake.windows.Window(d.m_balloon->m_hWnd).visible);
    EXPECT_EQ(fake.libraries.loads, (std::vector<std::string>{dir.Base() + "UNZIP32.DLL"}));
}

}  // namespace
}  // namespace tc
