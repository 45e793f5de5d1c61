// A platform for the native tests: real files (PosixFileSystem on a temporary folder) and a
// recording double for the window system and the system services.
#pragma once

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/Framework.h"
#include "platform/posix/PosixFileSystem.h"

namespace tc::test {

class FakeSystemServices : public SystemServices {
public:
    std::string ModuleFileName() override { return moduleFileName; }
    std::unique_ptr<NamedObject> CreateNamedMutex(const std::string& name, bool& alreadyExisted) override;
    std::int64_t TimeSeconds() override { return timeSeconds; }

    bool MutexExists(const std::string& name) const { return liveMutexes.count(name) != 0; }

    std::string moduleFileName = "C:\\tumblecat\\tumblecat.exe";
    std::int64_t timeSeconds = 1234567;
    bool failMutexCreation = false;
    std::multiset<std::string> liveMutexes;
};

class FakeWindowSystem : public WindowSystem {
public:
    static constexpr NativeHandle kDialogWindow = 0x1001;
    static constexpr NativeHandle kAppIcon = 0x2001;

    // Runs the dialog's initialisation; unless it ended itself, runs whileRunning (when set)
    // and then destroys it as the window system would when the dialog ends.
    int RunModalDialog(CDialog& dialog, int templateId) override;
    void EndDialog(NativeHandle window, int result) override;
    NativeHandle LoadAppIcon(int resourceId) override;
    void SetIcons(NativeHandle window, NativeHandle icon) override;
    void SetWindowTitle(NativeHandle window, const std::string& title) override;
    void AcceptDroppedFiles(NativeHandle window, bool accept) override;
    void SetTimer(NativeHandle window, int timerId, int milliseconds) override;
    void KillTimer(NativeHandle window, int timerId) override;
    NativeHandle FindWindowByTitle(const std::string& title) override;
    void SetForeground(NativeHandle window) override;

    std::function<void(CDialog&)> whileRunning;
    std::vector<int> modalTemplates;
    bool ended = false;
    int endResult = 0;
    std::vector<int> loadedIcons;
    NativeHandle bigIcon = 0, smallIcon = 0;
    std::string title;
    bool acceptsFiles = false;
    std::map<int, int> timers;  // running timers: id -> period
    std::map<std::string, NativeHandle> windowsByTitle;
    std::vector<std::string> titlesSearched;
    std::vector<NativeHandle> foregrounded;
    bool destroyed = false;
};

struct FakePlatform {
    PosixFileSystem files;
    FakeSystemServices system;
    FakeWindowSystem windows;
    Platform platform{files, system, windows};
};

}  // namespace tc::test
