// Installing skins by dropping archives on the running cat under Wine: archives made at test
// time by Info-ZIP's zip and by jlha, with Shift_JIS member names, dropped through the X
// desktop's drag and drop; the new skin in the skin submenu and the file set list, the
// announcement, choosing it; and the failures, each saying its line and installing nothing.
#include <gtest/gtest.h>

#include "CatHarness.h"
#include "Desktop.h"
#include "ProcessWindows.h"
#include "ShownMenu.h"
#include "Wait.h"
#include "install/InstallDrop.h"

namespace e2e {
namespace {

constexpr UINT kCmdQuit = 32777;
constexpr POINT kOnTheCat = {20, 40};  // inside the test skin's picture

std::string Settings() { return "0\r\ntabby\r\n10\r\n0\r\n0\r\n0\r\n9801\r\n1\r\n767\r\n1\r\n%rnd\r\n"; }

// A cat with the test skin, our archiver libraries and the program's own speak.txt, and the
// test archives in drops\.
class InstallE2e : public ::testing::Test {
protected:
    void SetUp() override {
        cat.CopyIn(TUMBLECAT_UNLHA_PATH, "UNLHA32.DLL");
        cat.CopyIn(TUMBLECAT_UNZIP_PATH, "UNZIP32.DLL");
        cat.CopyIn(std::string(TUMBLECAT_SOURCE_DIR) + "/data/speak.txt", "speak.txt");
        cat.MakeFolder("drops");
        ASSERT_TRUE(MakeTestArchives(Drops())) << "the archives are made with zip and jlha";
        window = cat.StartTabby(Settings(), &process);
        ASSERT_NE(window, nullptr);
    }
    std::string Drops() const { return cat.Base() + "drops\\"; }
    bool Drop(const std::vector<std::string>& names) {
        std::vector<std::string> paths;
        for (const std::string& name : names) paths.push_back(Drops() + name);
        return DropFilesOn(window, kOnTheCat, paths);
    }
    // Waits until the balloon shows a finished line (its picture has not changed for longer
    // than the longest pause of its typing) and keeps a screenshot of it.
    ::testing::AssertionResult BalloonSaid(const std::string& shot) {
        constexpr DWORD kStill = 800;
        std::string last;
        DWORD changed = GetTickCount();
        const auto still = [&] {
            HWND balloon = ShownBalloon(window);
            if (!balloon) {
                last.clear();
                return false;
            }
            RECT r{};
            GetWindowRect(balloon, &r);
            const ScreenShot screen;
            std::string picture;
            for (int y = r.top; y < r.bottom; y += 2) {
                for (int x = r.left; x < r.right; x += 2) picture += std::to_string(screen.Pixel(x, y)) + ",";
            }
            if (picture != last) {
                last = picture;
                changed = GetTickCount();
                return false;
            }
            if (GetTickCount() - changed < kStill) return false;
            screen.Save(shot);
            return true;
        };
        return WaitUntil(still, kShowTimeout, "a finished line in the balloon");
    }
    std::vector<std::string> Skins() const {
        std::vector<std::string> names;
        for (const std::string& name : cat.ListFolder("skin")) {
            if (name != "." && name != "..") names.push_back(name);
        }
        return names;
    }
    void Quit() {
        PostMessageA(window, WM_COMMAND, kCmdQuit, 0);
        EXPECT_EQ(cat.WaitForExit(process, kEndTimeout), 0u);
    }

    DesktopScene desktop;
    CatHarness cat;
    HANDLE process = nullptr;
    HWND window = nullptr;
};

TEST_F(InstallE2e, AZipSkinAppearsInTheSkinMenuIsAnnouncedAndCanBeChosen) {
    ASSERT_TRUE(Drop({"三毛猫.zip"})) << "the cat takes the drop";
    // The members arrive one after the other, the announcement once all are there.
    EXPECT_TRUE(WaitUntil(
        [&] {
            return cat.FileExists("skin\\三毛猫\\surface1.png") &&
                   cat.ReadFile("skin\\三毛猫\\表\\説明.txt") == "説明\r\n" &&  // a Shift_JIS folder and file name
                   cat.ReadFile("skin\\三毛猫\\表紙.txt") == "表紙\r\n";
        },
        kShowTimeout, "the skin's files in skin\\三毛猫"));
    EXPECT_TRUE(BalloonSaid("install-zip-announced")) << "\"@objname に着替えられる…\" names 三毛ねこ";
    EXPECT_FALSE(cat.FileExists("skin\\三毛猫\\三毛猫.zip")) << "no copy of the archive is made";
    EXPECT_TRUE(cat.FileExists("drops\\三毛猫.zip")) << "the dropped archive stays where it was";
    EXPECT_FALSE(cat.FileExists("install.work")) << "the private folder is gone";
    EXPECT_FALSE(cat.FileExists("install.txt"));

    // The skin submenu shows the new skin by its display name.
    HWND popup = nullptr;
    ASSERT_TRUE(OpenContextMenu(window, popup));
    UINT skinId = 0;
    for (const ShownMenuItem& item : ReadShownMenu(popup)) {
        if (item.path.rfind("3.", 0) == 0 && item.text == "三毛ねこ") skinId = item.id;
    }
    // S opens the skin submenu for the picture; Escape twice closes both menus.
    const auto key = [](WORD vk) {
        INPUT keys[2] = {};
        keys[0].type = keys[1].type = INPUT_KEYBOARD;
        keys[0].ki.wVk = keys[1].ki.wVk = vk;
        keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
        SendInput(2, keys, sizeof(INPUT));
    };
    const auto shownMenus = [] {
        int shown = 0;
        for (HWND menu = nullptr; (menu = FindWindowExA(nullptr, menu, "#32768", nullptr));) {
            shown += IsWindowVisible(menu) ? 1 : 0;
        }
        return shown;
    };
    key('S');
    EXPECT_TRUE(WaitUntil([&] { return shownMenus() >= 2; }, kShowTimeout, "the skin submenu"));
    ScreenShot().Save("install-zip-menu");
    key(VK_ESCAPE);
    key(VK_ESCAPE);
    ASSERT_TRUE(WaitUntil([&] { return shownMenus() == 0; }, kShowTimeout, "the menus closed"));
    ASSERT_GE(skinId, 33824u) << "三毛ねこ is in the skin submenu";

    // Choosing it shows it: the default skin's picture is 156 x 174.
    SendMessageA(window, WM_COMMAND, skinId, 0);
    RECT r{};
    ASSERT_TRUE(WaitUntil(
        [&] {
            GetWindowRect(window, &r);
            return r.right - r.left == 156 && r.bottom - r.top == 174;
        },
        kShowTimeout, "the new skin's picture"));
    EXPECT_TRUE(BalloonSaid("install-zip-chosen")) << "the new skin greets";

    Quit();
    const std::string filesets = cat.ReadFile("filesetlists.cfg");
    EXPECT_NE(filesets.find("○ 三毛ねこ\x01三毛猫"), std::string::npos) << "in the file set list: " << filesets;
    EXPECT_EQ(cat.ReadFile("tumblecat.cfg").substr(0, 11), "0\r\n三毛猫\r\n") << "the chosen skin is remembered";
}

TEST_F(InstallE2e, ALargeInstallLeavesTheWindowAnsweringWhileTheBalloonSaysItIsWorking) {
    ASSERT_TRUE(Drop({"large.zip"}));
    ASSERT_TRUE(WaitUntil([&] { return cat.FileExists("skin\\large\\zeros.bin"); }, kShowTimeout,
                          "the large member being written"));
    DWORD_PTR answer = 0;
    EXPECT_NE(SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 300, &answer), 0)
        << "the window answers while the install runs";
    EXPECT_NE(ShownBalloon(window), nullptr) << "the balloon says the cat is installing";
    ScreenShot().Save("install-large-working");
    const auto written = [&] {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        const std::string path = cat.Base() + "skin\\large\\zeros.bin";
        return GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ? data.nFileSizeLow : 0;
    };
    EXPECT_TRUE(WaitUntil([&] { return written() == 240u << 20; }, 3 * kShowTimeout, "the large member written"));
    EXPECT_TRUE(BalloonSaid("install-large-announced"));
    Quit();
}

TEST_F(InstallE2e, AnLzhSkinMadeByJlhaInstallsWithoutItsFolders) {
    ASSERT_TRUE(Drop({"ぶち猫.lzh"}));
    ASSERT_TRUE(WaitUntil([&] { return cat.FileExists("skin\\ぶち猫\\表紙.txt"); }, kShowTimeout,
                          "the skin's files in skin\\ぶち猫"));
    EXPECT_TRUE(cat.FileExists("skin\\ぶち猫\\surface0.png"));
    EXPECT_FALSE(cat.FileExists("skin\\ぶち猫\\ぶち猫")) << "LZH members land without their folders";
    EXPECT_TRUE(BalloonSaid("install-lzh-announced"));
    Quit();
    EXPECT_NE(cat.ReadFile("menulists.cfg").find("ぶちねこ\x01ぶち猫"), std::string::npos);
    EXPECT_NE(cat.ReadFile("filesetlists.cfg").find("○ ぶちねこ\x01ぶち猫"), std::string::npos);
}

TEST_F(InstallE2e, FailuresSayTheirLineAndInstallNothing) {
    const std::vector<std::string> skinsBefore = Skins();
    struct Case {
        const char* file;
        const char* shot;
    };
    // The file-type line, the structure line, and the extract line twice.
    for (const Case& c : {Case{"readme.txt", "install-fail-filetype"}, Case{"noinstall.zip", "install-fail-structure"},
                          Case{"evil.zip", "install-fail-evil"}, Case{"corrupt.lzh", "install-fail-corrupt"}}) {
        ASSERT_TRUE(Drop({c.file})) << c.file;
        EXPECT_TRUE(BalloonSaid(c.shot)) << c.file;
        EXPECT_EQ(Skins(), skinsBefore) << c.file << " installs nothing";
        EXPECT_FALSE(cat.FileExists("install.work")) << c.file;
    }
    EXPECT_FALSE(cat.FileExists("evil.txt")) << "nothing beside the drops folder";
    EXPECT_FALSE(cat.FileExists("drops\\evil.txt"));
    EXPECT_FALSE(cat.FileExists("skin\\evil.txt"));
    EXPECT_TRUE(IsWindow(window)) << "the cat lives on";
    Quit();
}

TEST_F(InstallE2e, OfThreeDroppedFilesOnlyTheFirstIsInstalled) {
    ASSERT_TRUE(Drop({"三毛猫.zip", "ぶち猫.lzh", "readme.txt"}));
    ASSERT_TRUE(WaitUntil([&] { return cat.FileExists("skin\\三毛猫\\surface1.png"); }, kShowTimeout,
                          "the first archive installed"));
    EXPECT_TRUE(BalloonSaid("install-three-files"));
    Quit();
    EXPECT_EQ(Skins(), (std::vector<std::string>{"tabby", "三毛猫"}));
}

}  // namespace
}  // namespace e2e
