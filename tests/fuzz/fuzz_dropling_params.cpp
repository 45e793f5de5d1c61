// dropling.exe's command line: any bytes give either no drop or one whose fields keep their
// ranges, whose set cannot leave dropling\, and whose 1 to 16 names are non-empty and hold
// no "^" mark. The rectangle answer the cat writes back: four numbers of a rectangle with an
// area, or nothing.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "common/Sjis.h"
#include "falling/DropParams.h"
#include "falling/Targets.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

void CheckParams(std::string_view bytes) {
    const std::string_view parameters = tc::CommandLineParameters(bytes);
    Check(parameters.size() <= bytes.size());
    const auto params = tc::ParseDropParams(parameters);
    if (!params) return;
    Check(params->alpha >= 0 && params->alpha <= tc::kOpaque);
    Check(params->port >= 1 && params->port <= 65535);
    Check(params->reaction == tc::Reaction::Send || params->reaction == tc::Reaction::Notify);
    Check(!params->set.empty() && params->set != "." && params->set != "..");
    Check(tc::FindSjisChar(params->set, '\\') == std::string::npos);
    Check(params->set.find_first_of("/:") == std::string::npos);
    Check(!params->targets.empty() && params->targets.size() <= tc::kMaxTargets);
    for (const std::string& name : params->targets) {
        Check(!name.empty() && tc::FindSjisChar(name, '^') == std::string::npos);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CheckParams(bytes);
    if (const auto head = tc::ParseRectangleAnswer(bytes)) Check(head->Width() > 0 && head->Height() > 0);
    return 0;
}
