// Entry point of dropling.exe, the falling-object program the cat starts with one parameter
// string. It holds the mutex "dropling" for its whole life, by which the cat knows that a
// fall is under way. Exit codes: 0 the objects fell, 2 the parameter string was refused, 3 the
// set could not be loaded or no object could be shown.
#include <windows.h>

#include "common/Random.h"
#include "common/FileNames.h"
#include "common/WideText.h"
#include "dropling/DropRun.h"
#include "falling/DropParams.h"
#include "platform/win32/Win32Platform.h"

namespace {

constexpr int kExitFell = 0;
constexpr int kExitRefused = 2;
constexpr int kExitNoSet = 3;

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    tc::Win32InterProcess ipc;
    bool anotherRuns = false;  // the cat decides whether falls may overlap; each holds the name
    const auto mutex = ipc.CreateNamedMutex(tc::kDroplingMutex, anotherRuns);

    // The command line as the system keeps it, in UTF-16, read back into the Shift_JIS the
    // cat wrote: the targets' names arrive as their exact bytes whatever the system's code page.
    const auto params = tc::ParseDropParams(tc::CommandLineParameters(tc::ShiftJisText(GetCommandLineW())));
    if (!params) return kExitRefused;

    tc::Win32SystemServices system;
    tc::SeedRandom(static_cast<std::uint32_t>(system.TimeSeconds()) ^ GetCurrentProcessId());
    const auto report = tc::RunDrop(*params, tc::BaseDirectoryFromModulePath(system.ModuleFileName()));
    return report ? kExitFell : kExitNoSet;
}
