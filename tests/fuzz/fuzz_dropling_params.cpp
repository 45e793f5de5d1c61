// dropling.exe's command line: any bytes give either no drop or one whose fields keep their
// ranges, whose set cannot leave dropling\, and whose 1 to 16 names are non-empty and hold
// no "^" mark. What the cat writes reads back as it was meant: the same bytes also make a
// drop (set and names of any characters a folder or a character may be named with, the
// cat's own token among them), whose parameter string must parse to exactly its fields.
// The rectangle answer the cat writes back: four numbers of a rectangle with an area, or
// nothing.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "app/Drop.h"
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

// One to twelve characters, single bytes or whole double-byte ones (whose trail byte may be
// "~", "^" or "\\"); single bytes among marks are replaced by "x".
std::string Name(FuzzedDataProvider& in, std::string_view marks) {
    std::string name;
    const int count = in.ConsumeIntegralInRange(1, 12);
    for (int i = 0; i < count; ++i) {
        const auto c = in.ConsumeIntegral<unsigned char>();
        if (tc::IsSjisLeadByte(c)) {
            auto trail = in.ConsumeIntegralInRange<unsigned char>(0x40, 0xFB);
            if (trail >= 0x7F) ++trail;  // 0x40-0x7E, 0x80-0xFC
            name += static_cast<char>(c);
            name += static_cast<char>(trail);
        } else {
            name += marks.find(static_cast<char>(c)) == std::string_view::npos ? static_cast<char>(c) : 'x';
        }
    }
    return name;
}

void CheckRoundTrip(const std::uint8_t* data, std::size_t size) {
    static const std::string folderMarks = [] {
        std::string marks = "\\/:*?\"<>|~";
        for (char c = 0; c < 0x20; ++c) marks += c;
        return marks;
    }();
    // The list has no escape for "^": a skin folder holding one cannot be named in it.
    static const std::string skinMarks = folderMarks + "^";
    FuzzedDataProvider in(data, size);
    tc::DropParams sent;
    sent.set = Name(in, folderMarks);
    if (sent.set == "." || sent.set == "..") return;
    sent.reaction = in.ConsumeBool() ? tc::Reaction::Notify : tc::Reaction::Send;
    sent.port = in.ConsumeIntegralInRange(1, 65535);
    const bool transparent = in.ConsumeBool();
    const int alpha = in.ConsumeIntegralInRange(0, tc::kOpaque);
    sent.alpha = transparent ? alpha : tc::kOpaque;
    std::string targets;
    const std::size_t count = in.ConsumeIntegralInRange<std::size_t>(1, tc::kMaxTargets);
    for (std::size_t i = 0; i < count; ++i) {
        const bool self = in.ConsumeBool();
        const std::string token = self ? tc::SelfTargetToken(Name(in, skinMarks)) : Name(in, "^") + "^";
        const std::string name = token.substr(0, token.size() - 1);
        if (self) Check(tc::ResolveTarget(name, {}, 7).kind == tc::TargetKind::Cat);
        targets += token;
        sent.targets.push_back(name);
    }
    const auto read = tc::ParseDropParams(tc::FormatDropParams(sent.set, static_cast<int>(sent.reaction), sent.port,
                                                               transparent, alpha, targets));
    Check(read && *read == sent);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CheckParams(bytes);
    CheckRoundTrip(data, size);
    if (const auto head = tc::ParseRectangleAnswer(bytes)) Check(head->Width() > 0 && head->Height() > 0);
    return 0;
}
