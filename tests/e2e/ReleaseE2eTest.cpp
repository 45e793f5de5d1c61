// The release as a user gets it: the test command unpacks the win64 archive into a folder
// whose path holds spaces and Japanese characters and names it in TUMBLECAT_E2E_RELEASE; the
// cat runs from there with nothing but what the archive ships. It greets, tells its version,
// drops the shipped set on a partner through the shipped dropling.exe, installs a dropped ZIP
// skin through the shipped UNZIP32.DLL, opens its settings sheet, and writes its settings when
// it quits. Skipped when no unpacked release is named (the test command runs it on its own).
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <prsht.h>

#include <string>

#include "CatHarness.h"
#include "Desktop.h"
#include "ProcessWindows.h"
#include "Wait.h"
#include "common/WideText.h"
#include "install/InstallDrop.h"
#include "peer/Peer.h"
#include "tumblecat_version.h"

namespace e2e {
namespace {

constexpr UINT kCmdQuit = 32777;
constexpr UINT kCmdSettings = 32780;
constexpr DWORD kFallTimeout = 10000;
constexpr int kPartnerTop = 420;  // low enough for a fall worth a screenshot
const std::string kTaraiName = "金だらい";

// The unpacked release folder (Shift_JIS, ending in a backslash), empty when none is named.
std::string ReleaseFolder() {
    wchar_t value[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(L"TUMBLECAT_E2E_RELEASE", value, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    std::string folder = tc::ShiftJisText(value);
    if (folder.back() != '\\') folder += '\\';
    return folder;
}

// The SSTP answers the partner got so far.
std::vector<std::string> Answers(const Peer& peer) {
    std::vector<std::string> answers;
    for (const ReceivedData& data : peer.Received()) {
        if (data.text.rfind("SSTP/", 0) == 0) answers.push_back(data.text);
    }
    return answers;
}

// The answer to request, sent from the partner's window (which the request names).
std::string AnswerTo(const Peer& peer, HWND cat, const std::string& request) {
    const std::size_t before = Answers(peer).size();
    const std::string hwnd = std::to_string(reinterpret_cast<INT_PTR>(peer.Window("a")));
    peer.SendSstp(cat, request + "HWnd: " + hwnd + "\r\n\r\n");
    std::string answer = "<none>";
    WaitUntil(
        [&] {
            const auto answers = Answers(peer);
            if (answers.size() > before) answer = answers[before];
            return answers.size() > before;
        },
        kShowTimeout, "the cat's answer");
    return answer;
}

bool PartnerToldBy(const Peer& peer, const std::string& setName) {
    for (const ReceivedData& data : peer.Received()) {
        if (data.to == peer.Window("a") && data.text.rfind("SEND SSTP/1.1\r\n", 0) == 0 &&
            data.text.find("\r\nSender: " + setName + "\r\n") != std::string::npos) {
            return true;
        }
    }
    return false;
}

// A falling object of dropling.exe in the middle of the screen, above the partner.
bool ObjectMidFall() {
    for (HWND object = FindWindowExA(nullptr, nullptr, "DroplingObject", nullptr); object;
         object = FindWindowExA(nullptr, object, "DroplingObject", nullptr)) {
        RECT r{};
        GetWindowRect(object, &r);
        if (IsWindowVisible(object) && r.top > 40 && r.bottom < kPartnerTop - 60) return true;
    }
    return false;
}

TEST(Release, TheUnpackedArchiveRunsWithWhatItShips) {
    const std::string folder = ReleaseFolder();
    if (folder.empty()) GTEST_SKIP() << "TUMBLECAT_E2E_RELEASE names no unpacked release";
    DesktopScene desktop;
    CatHarness cat(folder);
    ASSERT_TRUE(cat.FileExists("tumblecat.exe")) << folder;
    ASSERT_FALSE(cat.FileExists("tumblecat.cfg")) << "a fresh unpacking holds no settings";
    HANDLE process = cat.Start();
    HWND window = cat.WaitForCatWindow(process, kStartTimeout);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return ShownBalloon(window) != nullptr; }, kShowTimeout, "the greeting's balloon"));
    SettledShot(WindowArea(ShownBalloon(window)), nullptr, 500).Save("release-greeting");

    Peer peer({{"a", "Aya", "Ayako", true}});
    SetWindowPos(peer.Window("a"), nullptr, 600, kPartnerTop, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(AnswerTo(peer, window, "EXECUTE SSTP/1.0\r\nSender: Aya\r\nCommand: GetVersion\r\n"),
              "SSTP/1.0 200 OK\r\n\r\ntumblecat " TUMBLECAT_VERSION_TEXT "\r\n\r\n")
        << "the version of the build, from the shipped readme.txt";

    // The shipped set falls on the partner through the shipped dropling.exe.
    ASSERT_EQ(AnswerTo(peer, window,
                       "DROP SSTP/1.0\r\nSender: Aya\r\nTarget: Aya\r\nObject: " + kTaraiName + "\r\n"),
              "SSTP/1.0 200 OK\r\n\r\n");
    ASSERT_TRUE(WaitUntil(ObjectMidFall, kFallTimeout, "the object falling in the middle of the screen"));
    ScreenShot().Save("release-midfall");
    EXPECT_TRUE(WaitUntil([&] { return PartnerToldBy(peer, kTaraiName); }, kFallTimeout, "the hit on Aya"));
    EXPECT_TRUE(WaitUntil([] { return !MutexExists("dropling"); }, kEndTimeout, "dropling.exe to end"));

    // A ZIP skin dropped on the cat is unpacked by the shipped UNZIP32.DLL.
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string drops = std::string(temp) + "tumblecat-release-drops\\";
    CreateDirectoryA(drops.c_str(), nullptr);
    ASSERT_TRUE(MakeTestArchives(drops)) << "the archives are made with zip and jlha";
    ASSERT_TRUE(DropFilesOn(window, {60, 60}, {drops + "三毛猫.zip"})) << "the cat takes the drop";
    EXPECT_TRUE(WaitUntil([&] { return cat.ReadFile("skin\\三毛猫\\表紙.txt") == "表紙\r\n"; }, kShowTimeout,
                          "the skin's files in skin\\三毛猫"));

    PostMessageA(window, WM_COMMAND, kCmdSettings, 0);
    HWND sheet = WaitForWindowOf(window, "設定", "the settings sheet");
    ASSERT_NE(sheet, nullptr);
    SettledShot(WindowArea(sheet)).Save("release-settings");
    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    EXPECT_TRUE(WaitForGone(sheet, "the sheet to close on OK"));

    PostMessageA(window, WM_COMMAND, kCmdQuit, 0);
    EXPECT_EQ(cat.WaitForExit(process, kEndTimeout), 0u);
    const std::string settings = cat.ReadFile("tumblecat.cfg");
    EXPECT_NE(settings.find("\r\nwhiskerby\r\n"), std::string::npos) << "the settings, written on quitting: "
                                                                      << settings;
    EXPECT_NE(cat.ReadFile("menulists.cfg").find("三毛"), std::string::npos) << "the skin list holds the new skin";
}

}  // namespace
}  // namespace e2e
