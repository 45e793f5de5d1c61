// The cost of a fall (figures only): dropling's run, in this process, drops the washtub on
// three characters of the peer and reports its frames; the process's CPU time (user and
// kernel) over the run is what one fall of three objects costs. Runs under Wine on an X
// display, like the end-to-end tests.
#include <windows.h>

#include <cstdio>

#include "common/Random.h"
#include "dropling/DropRun.h"
#include "peer/Peer.h"

namespace {

constexpr int kCharacterTop = 420;

double CpuSeconds() {
    FILETIME created{}, exited{}, kernel{}, user{};
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    const auto seconds = [](const FILETIME& t) {
        return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7;
    };
    return seconds(kernel) + seconds(user);
}

// The shipped sets, read where the sources are.
std::string DataDirectory() {
    std::string path = "Z:" TUMBLECAT_SOURCE_DIR "/data/";
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    return path;
}

}  // namespace

int main() {
    e2e::Peer peer({{"p1", "P1", "", true}, {"p2", "P2", "", true}, {"p3", "P3", "", true}});
    int x = 200;
    for (const char* id : {"p1", "p2", "p3"}) {
        SetWindowPos(peer.Window(id), nullptr, x, kCharacterTop, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        x += 250;
    }
    tc::SeedRandom(1);
    const tc::DropParams params{"tarai", tc::Reaction::Send, 9801, 255, {"P1", "P2", "P3"}};
    const double cpuBefore = CpuSeconds();
    const auto report = tc::RunDrop(params, DataDirectory());
    const double cpu = CpuSeconds() - cpuBefore;
    if (!report || report->seconds <= 0) {
        std::printf("dropling: the fall did not run\n");
        return 1;
    }
    std::printf("dropling: one fall of %d objects took %.2f s: %d frames, %.1f frames/s; "
                "CPU %.3f s (%.0f%% of one core)\n",
                report->objects, report->seconds, report->frames, report->frames / report->seconds, cpu,
                100.0 * cpu / report->seconds);
    return 0;
}
