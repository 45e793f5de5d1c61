// Start-up and shutdown of the application and the character window, driven through the
// application object with real files in a temporary base directory and a recording window
// system.
#include <gtest/gtest.h>

#include "app/AppGlobals.h"
#include "app/TumbleApp.h"
#include "app/TumbleDlg.h"
#include "platform/Messages.h"
#include "skin/Resources.h"
#include "support/FakePlatform.h"
#include "support/Images.h"
#include "support/TempDir.h"

namespace tc {
namespace {

class StartupTest : public ::testing::Test {
protected:
    StartupTest() { fake.system.moduleFileName = dir.Base() + "tumblecat.exe"; }

    void AddLoadableSkin(const std::string& folder) { test::CopyTestSkin("tabby-bmp", dir.Base() + "skin\\" + folder); }

    // Runs the program once; inspect is called while the character window runs.
    void RunApp(std::function<void(CTumbleDlg&)> inspect = nullptr) {
        if (inspect) fake.windows.whileRunning = [inspect](CDialog& d) { inspect(static_cast<CTumbleDlg&>(d)); };
        CTumbleApp app(fake.platform);
        EXPECT_FALSE(app.InitInstance());
    }

    test::TempDir dir;
    test::FakePlatform fake;
};

TEST_F(StartupTest, WithoutSettingsTheCharacterStartsWithStartValues) {
    AddLoadableSkin("whiskerby");
    bool inspected = false;
    RunApp([&](CTumbleDlg& dlg) {
        inspected = true;
        EXPECT_FALSE(dlg.m_startFailed);
        EXPECT_FALSE(dlg.m_loading);
        EXPECT_EQ(dlg.m_skinName, "whiskerby");
        EXPECT_EQ(dlg.m_target, "%rnd");
        EXPECT_FALSE(dlg.m_autoDrop);
        EXPECT_EQ(dlg.m_autoDropMinutes, 10);
        EXPECT_FALSE(dlg.m_transparent);
        EXPECT_EQ(dlg.m_alpha, 255);
        EXPECT_TRUE(dlg.m_alwaysOnTop);
        EXPECT_TRUE(dlg.m_noConsecutiveDrop);
        EXPECT_EQ(dlg.m_sstpPort, 9801);
        EXPECT_EQ(dlg.m_skinTitle, "Tabby BMP");
        EXPECT_EQ(dlg.m_skinProfile, "A tiny test skin.\r\n");
        EXPECT_EQ(dlg.m_version, "unknown");
        EXPECT_EQ(dlg.m_balloonOffsetX, 1024);
        EXPECT_EQ(dlg.m_surfaceLastFrame[31], -1);
        EXPECT_EQ(fake.windows.Main().timers.at(kTimerTick), 50);
        EXPECT_EQ(fake.windows.Main().timers.count(kTimerAutoDrop), 0u);
        const int posePeriod = fake.windows.Main().timers.at(kTimerPose);
        EXPECT_TRUE(posePeriod == 30000 || posePeriod == 60000 || posePeriod == 90000 || posePeriod == 120000);
        ASSERT_EQ(fake.shell.trayIcons.size(), 1u);
        EXPECT_EQ(fake.shell.trayIcons[0].callbackMessage, 0x8068u);
        EXPECT_EQ(fake.shell.trayIcons[0].tip, "たんぶる");
        EXPECT_TRUE(fake.ipc.MutexExists("tumblecat"));
    });
    EXPECT_TRUE(inspected);
    EXPECT_EQ(fake.windows.modalTemplates, std::vector<int>{102});
    EXPECT_EQ(fake.windows.Main().title, "たんぶる");
    EXPECT_TRUE(fake.shell.filesAcceptedBy.count(test::FakeWindowSystem::kDialogWindow));
    EXPECT_EQ(fake.windows.loadedIcons, std::vector<int>{128});
    EXPECT_EQ(fake.windows.Main().bigIcon, test::FakeWindowSystem::kAppIcon);
    EXPECT_EQ(fake.windows.Main().smallIcon, test::FakeWindowSystem::kAppIcon);
    EXPECT_FALSE(fake.windows.Main().ended) << "a loadable skin keeps the window running";
    EXPECT_EQ(dir.Read("tumblecat.cfg"),
              "0\r\nwhiskerby\r\n10\r\n0\r\n0\r\n0\r\n9801\r\n1\r\n767\r\n1\r\n%rnd\r\n");
    EXPECT_FALSE(fake.ipc.MutexExists("tumblecat")) << "closed by the window's destruction";
    EXPECT_TRUE(fake.shell.trayIcons.empty()) << "the tray icon is removed";
    EXPECT_TRUE(fake.painting.liveBitmaps.empty()) << "every bitmap is released";
    EXPECT_TRUE(fake.painting.liveRegions.empty()) << "every region is released";
    EXPECT_TRUE(fake.windows.Main().timers.empty()) << "every timer is stopped";
}

TEST_F(StartupTest, SettingsAreReadAtStartAndWrittenAtTheEnd) {
    AddLoadableSkin("tabby");
    const std::string cfg = "40\r\ntabby\r\n133\r\n1\r\n9\r\n9\r\n9821\r\n0\r\n1992\r\n0\r\n%all\r\n";
    dir.Write("tumblecat.cfg", cfg);
    RunApp([](CTumbleDlg& dlg) {
        EXPECT_EQ(dlg.m_posX, 40);
        EXPECT_EQ(dlg.m_skinName, "tabby");
        EXPECT_TRUE(dlg.m_autoDrop);
        EXPECT_EQ(dlg.m_autoDropMinutes, 5);
        EXPECT_EQ(dlg.m_alpha, 200);
        EXPECT_TRUE(dlg.m_transparentDroplings);
        EXPECT_EQ(dlg.m_target, "%all");
        dlg.m_posX = 77;
    });
    EXPECT_EQ(dir.Read("tumblecat.cfg"), "77\r\ntabby\r\n133\r\n1\r\n0\r\n0\r\n9821\r\n0\r\n1992\r\n0\r\n%all\r\n");
}

TEST_F(StartupTest, MissingSkinEndsTheWindowAndLeavesSettingsUntouched) {
    const std::string cfg = "5\r\nno-such-skin\r\n10\r\n0\r\n7\r\n7\r\n9801\r\n1\r\n767\r\n1\r\n%rnd\r\n";
    dir.Write("tumblecat.cfg", cfg);
    AddLoadableSkin("tabby");
    dir.Write("dropling\\ball\\dropling.txt", "#name\nBall\n");
    dir.Write("dropling\\ball\\surface0.png", "img");
    dir.Write("dropling\\cube\\dropling.txt", "#name\nCube\n");
    dir.Write("dropling\\cube\\surface0.bmp", "img");
    ASSERT_TRUE(fake.files.SetHidden(dir.Base() + "dropling\\cube", true));

    RunApp();
    EXPECT_TRUE(fake.windows.Main().ended);
    EXPECT_EQ(fake.windows.Main().endResult, 1);
    EXPECT_TRUE(fake.windows.Main().destroyed);
    EXPECT_EQ(dir.Read("tumblecat.cfg"), cfg) << "a failed start does not write the settings";
    EXPECT_EQ(dir.Read("menulistk.cfg"), "32802\x01"
                                         "Ball\x01"
                                         "ball\r\n");
    EXPECT_EQ(dir.Read("filesetlistk.cfg"), "32802\x01○ Ball\x01"
                                            "ball\r\n32803\x01× Cube\x01"
                                            "cube\r\n");
    EXPECT_EQ(dir.Read("menulists.cfg"), "33826\x01Tabby BMP\x01tabby\r\n");
    EXPECT_EQ(dir.Read("filesetlists.cfg"), "33826\x01○ Tabby BMP\x01tabby\r\n");
    EXPECT_FALSE(fake.ipc.MutexExists("tumblecat"));
}

TEST_F(StartupTest, SkinWithoutSurfaceZeroFailsToLoad) {
    dir.Write("skin\\whiskerby\\profile.txt", "Name\r\n");
    dir.Write("skin\\whiskerby\\surface1.bmp", "BM");
    RunApp();
    EXPECT_TRUE(fake.windows.Main().ended);
    EXPECT_FALSE(dir.Exists("tumblecat.cfg"));
    EXPECT_TRUE(dir.Exists("menulistk.cfg")) << "the lists are written even after a failed start";
}

TEST_F(StartupTest, ListFilesAreReadInsteadOfScanning) {
    AddLoadableSkin("whiskerby");
    dir.Write("menulistk.cfg", "32900\x01Kept\x01kept\r\n");
    dir.Write("menulists.cfg", "\r\n");
    dir.Write("filesetlistk.cfg", "broken line\r\n");
    dir.Write("dropling\\ball\\dropling.txt", "#name\nBall\n");
    dir.Write("dropling\\ball\\surface0.png", "img");
    RunApp([](CTumbleDlg& dlg) {
        ASSERT_EQ(dlg.m_menuDroplings.size(), 1u);
        EXPECT_EQ(dlg.m_menuDroplings[0].folder, "kept") << "read from its file, not scanned";
        EXPECT_TRUE(dlg.m_menuSkins.empty()) << "an empty first line is an empty list";
        ASSERT_EQ(s_filesetDroplings.size(), 1u) << "a malformed file is replaced by a scan";
        EXPECT_EQ(s_filesetDroplings[0].folder, "ball");
    });
    EXPECT_EQ(dir.Read("menulistk.cfg"), "32900\x01Kept\x01kept\r\n");
    EXPECT_EQ(dir.Read("menulists.cfg"), "");
}

TEST_F(StartupTest, SecondCopyEndsWithoutAWindow) {
    AddLoadableSkin("whiskerby");
    RunApp([&](CTumbleDlg&) {
        test::FakePlatform second;
        second.ipc.liveMutexes = fake.ipc.liveMutexes;
        second.windows.windowsByTitle["..."] = 0x77;
        CTumbleApp copy(second.platform);
        EXPECT_FALSE(copy.InitInstance());
        EXPECT_TRUE(second.windows.modalTemplates.empty());
        EXPECT_EQ(second.windows.titlesSearched, std::vector<std::string>{"..."});
        EXPECT_EQ(second.windows.foregrounded, std::vector<NativeHandle>{0x77});
        EXPECT_EQ(second.ipc.liveMutexes.count("tumblecat"), 1u) << "the copy closed its own handle";
    });
}

TEST_F(StartupTest, AFailedWriteLeavesTheOldSettingsWhole) {
    dir.Write("tumblecat.cfg", "old settings\r\n");
    dir.MakeFolder("tumblecat.cfg.new");  // the temporary name cannot be written
    EXPECT_FALSE(fake.files.WriteWholeFile(dir.Base() + "tumblecat.cfg", "new settings\r\n"));
    EXPECT_EQ(dir.Read("tumblecat.cfg"), "old settings\r\n");
    EXPECT_TRUE(fake.files.WriteWholeFile(dir.Base() + "readme.txt", "written\r\n"));
    EXPECT_EQ(dir.Read("readme.txt"), "written\r\n");
    EXPECT_FALSE(dir.Exists("readme.txt.new")) << "no temporary file is left behind";
}

TEST_F(StartupTest, NoMutexNoWindow) {
    fake.ipc.failMutexCreation = true;
    RunApp();
    EXPECT_TRUE(fake.windows.modalTemplates.empty());
}

TEST_F(StartupTest, VersionIsTheFirstLineOfTheReadme) {
    AddLoadableSkin("whiskerby");
    dir.Write("readme.txt", "tumblecat 0.1\r\nmore\r\n");
    RunApp([](CTumbleDlg& dlg) { EXPECT_EQ(dlg.m_version, "tumblecat 0.1"); });
    dir.Write("readme.txt", std::string(1500, 'v'));
    RunApp([](CTumbleDlg& dlg) { EXPECT_EQ(dlg.m_version, std::string(1023, 'v')); });
    dir.Write("readme.txt", "");
    RunApp([](CTumbleDlg& dlg) { EXPECT_EQ(dlg.m_version, ""); });
}

TEST_F(StartupTest, EscapeAndDragIconMessages) {
    AddLoadableSkin("whiskerby");
    RunApp([&](CTumbleDlg& dlg) {
        EXPECT_TRUE(dlg.OnCommand(kIdCancel));
        EXPECT_FALSE(fake.windows.Main().ended) << "Escape never ends the character window";
        EXPECT_TRUE(dlg.OnCommand(kIdOk));
        EXPECT_FALSE(fake.windows.Main().ended) << "nor does Enter";
        std::intptr_t result = 0;
        EXPECT_TRUE(DispatchDialogMessage(dlg, kWmQueryDragIcon, 0, 0, result));
        EXPECT_EQ(static_cast<NativeHandle>(result), test::FakeWindowSystem::kAppIcon);
    });
}

}  // namespace
}  // namespace tc
