// Start-up and shutdown of the real program under Wine: one copy per desktop, a start with
// a missing skin that ends at once, keeps the settings and rebuilds the list files, and an
// end whose settings file cannot be replaced.
#include <gtest/gtest.h>

#include <cstdlib>

#include "CatHarness.h"
#include "Wait.h"

namespace e2e {
namespace {

constexpr WPARAM kCmdQuit = 32777;
constexpr WPARAM kCmdNoConsecutiveDrop = 32784;

std::string Cfg(const std::string& skin) {
    return "12\r\n" + skin + "\r\n138\r\n1\r\n0\r\n0\r\n9821\r\n0\r\n968\r\n0\r\n%all\r\n";
}

// Position of name in the folder's enumeration, as the program counts it.
int PositionIn(const std::vector<std::string>& listing, const std::string& name) {
    for (size_t i = 0; i < listing.size(); ++i) {
        if (listing[i] == name) return static_cast<int>(i);
    }
    return -1;
}

// The suite runs under a Japanese locale (code page 932); a second pass of some of its tests
// runs under a Western one (1252) and says so in TUMBLECAT_E2E_CODE_PAGE.
TEST(Harness, RunsWithTheCodePageOfItsPass) {
    const char* named = std::getenv("TUMBLECAT_E2E_CODE_PAGE");
    const UINT expected = named ? static_cast<UINT>(std::strtoul(named, nullptr, 10)) : 932u;
    EXPECT_EQ(GetACP(), expected) << "Wine runs with LC_ALL=ja_JP.UTF-8 (932) or C.UTF-8 (1252)";
}

TEST(Startup, SecondCopyEndsAtOnceWhileTheFirstRuns) {
    CatHarness cat;
    cat.InstallTestSkin("tabby-bmp", "tabby");
    cat.WriteFile("tumblecat.cfg", Cfg("tabby"));
    HANDLE first = cat.Start();
    HWND window = cat.WaitForCatWindow(first, kStartTimeout);
    ASSERT_NE(window, nullptr) << "the first copy shows its window";
    EXPECT_TRUE(MutexExists("tumblecat"));
    EXPECT_EQ(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW, WS_EX_TOOLWINDOW);
    EXPECT_EQ(GetWindowLongA(window, GWL_STYLE) & (WS_CAPTION | WS_POPUP), WS_POPUP);

    HANDLE second = cat.Start();
    EXPECT_EQ(cat.WaitForExit(second, kEndTimeout), 0u) << "the second copy ends by itself";
    EXPECT_EQ(CatWindows().size(), 1u);
    EXPECT_EQ(cat.WaitForExit(first, 0), static_cast<DWORD>(STILL_ACTIVE)) << "the first copy keeps running";
}

TEST(Startup, MissingSkinEndsTheWindowKeepsSettingsAndRebuildsLists) {
    CatHarness cat;
    const std::string cfg = Cfg("no-such-skin");
    cat.WriteFile("tumblecat.cfg", cfg);
    cat.InstallTestSkin("tabby-bmp", "tabby");
    cat.InstallTestSkin("tabby-bmp", "ghost");
    cat.SetHidden("skin\\ghost");
    cat.MakeFolder("dropling\\ball");
    cat.WriteFile("dropling\\ball\\dropling.txt", "#name\r\nBall\r\n");
    cat.WriteFile("dropling\\ball\\surface0.png", "png");
    cat.MakeFolder("dropling\\cube");
    cat.WriteFile("dropling\\cube\\dropling.txt", "name,Cube\r\n");
    cat.WriteFile("dropling\\cube\\surface0.bmp", "bmp");
    cat.SetHidden("dropling\\cube");
    cat.MakeFolder("dropling\\empty");

    HANDLE process = cat.Start();
    EXPECT_EQ(cat.WaitForExit(process, kEndTimeout), 0u) << "the window ends right after start-up";
    EXPECT_EQ(cat.ReadFile("tumblecat.cfg"), cfg) << "tumblecat.cfg is left byte for byte unchanged";
    EXPECT_FALSE(MutexExists("tumblecat"));

    const auto droplings = cat.ListFolder("dropling");
    const std::string ball = std::to_string(32800 + PositionIn(droplings, "ball"));
    const std::string cube = std::to_string(32800 + PositionIn(droplings, "cube"));
    EXPECT_EQ(cat.ReadFile("menulistk.cfg"), ball + "\x01" + "Ball\x01" + "ball\r\n");
    const std::string filesetDroplings = cat.ReadFile("filesetlistk.cfg");
    EXPECT_NE(filesetDroplings.find(ball + "\x01○ Ball\x01" + "ball\r\n"), std::string::npos) << filesetDroplings;
    EXPECT_NE(filesetDroplings.find(cube + "\x01× Cube\x01" + "cube\r\n"), std::string::npos) << filesetDroplings;
    EXPECT_EQ(filesetDroplings.find("empty"), std::string::npos) << "a folder without its files is not listed";

    const auto skins = cat.ListFolder("skin");
    const std::string tabby = std::to_string(33824 + PositionIn(skins, "tabby"));
    const std::string ghost = std::to_string(33824 + PositionIn(skins, "ghost"));
    EXPECT_EQ(cat.ReadFile("menulists.cfg"), tabby + "\x01" + "Tabby BMP\x01" + "tabby\r\n");
    const std::string filesetSkins = cat.ReadFile("filesetlists.cfg");
    EXPECT_NE(filesetSkins.find(tabby + "\x01○ Tabby BMP\x01" + "tabby\r\n"), std::string::npos) << filesetSkins;
    EXPECT_NE(filesetSkins.find(ghost + "\x01× Tabby BMP\x01" + "ghost\r\n"), std::string::npos) << filesetSkins;
}

TEST(Startup, WithoutSettingsAndWithoutTheDefaultSkinNoSettingsFileAppears) {
    CatHarness cat;
    HANDLE process = cat.Start();
    EXPECT_EQ(cat.WaitForExit(process, kEndTimeout), 0u);
    EXPECT_FALSE(cat.FileExists("tumblecat.cfg"));
    EXPECT_EQ(cat.ReadFile("menulistk.cfg"), "") << "empty lists are still written";
    EXPECT_EQ(cat.ReadFile("filesetlists.cfg"), "");
}

TEST(Shutdown, ASettingsFileThatCannotBeReplacedStaysAsItWasWithoutATemporaryFile) {
    CatHarness cat;
    // The settings are written to tumblecat.cfg.new, which then replaces tumblecat.cfg. Wine
    // replaces a read-only file, but not one held open without sharing; first: it refuses.
    cat.WriteFile("probe", "old");
    cat.WriteFile("probe.new", "new");
    HANDLE probe = CreateFileA((cat.Base() + "probe").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(probe, INVALID_HANDLE_VALUE);
    const BOOL replaced = MoveFileExA((cat.Base() + "probe.new").c_str(), (cat.Base() + "probe").c_str(),
                                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    CloseHandle(probe);
    ASSERT_FALSE(replaced) << "a file held open is replaced here";

    const std::string cfg = Cfg("tabby");
    HANDLE process = nullptr;
    HWND window = cat.StartTabby(cfg, &process);
    ASSERT_NE(window, nullptr);
    HANDLE held =
        CreateFileA((cat.Base() + "tumblecat.cfg").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    // Settings that differ from the file: no consecutive drop goes from off to on.
    SendMessageA(window, WM_COMMAND, kCmdNoConsecutiveDrop, 0);
    PostMessageA(window, WM_COMMAND, kCmdQuit, 0);
    EXPECT_EQ(cat.WaitForExit(process, kEndTimeout), 0u) << "the program ends normally";
    CloseHandle(held);

    EXPECT_EQ(cat.ReadFile("tumblecat.cfg"), cfg) << "tumblecat.cfg is left byte for byte unchanged";
    EXPECT_FALSE(cat.FileExists("tumblecat.cfg.new")) << "the temporary file is removed";
    EXPECT_NE(cat.ReadFile("menulists.cfg"), "<missing>") << "the other files are still written";
}

}  // namespace
}  // namespace e2e
