// The SakuraScript interpreter on arbitrary bytes: the shown text is never longer than the
// script, every mark stands at a character start of it in order, waits are bounded, and the
// balloon types the result to its end within the ticks its text and waits take.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "common/Sjis.h"
#include "talk/BalloonTyping.h"
#include "talk/SakuraScript.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view script(reinterpret_cast<const char*>(data), size);
    const tc::ShownScript shown = tc::InterpretSakuraScript(script);
    if (shown.text.size() > script.size()) std::abort();

    std::size_t waitTicks = 0;
    std::size_t at = 0;  // walks the text's character starts alongside the marks
    for (const tc::ScriptMark& mark : shown.marks) {
        while (at < mark.at && at < shown.text.size()) at += tc::SjisCharWidth(shown.text, at);
        if (at != mark.at) std::abort();  // past the end, out of order, or inside a character
        if (mark.kind == tc::ScriptMark::Kind::Wait) {
            if (mark.value <= 0 || mark.value > tc::kScriptMaxWaitMs) std::abort();
            waitTicks += static_cast<std::size_t>(mark.value) / tc::kBalloonTickMs + 1;
        }
        if (mark.kind == tc::ScriptMark::Kind::Quick && mark.value != 0 && mark.value != 1) std::abort();
    }

    if (waitTicks > 20000) return 0;  // typing it would only take long
    tc::BalloonTyping balloon;
    balloon.Start(shown);
    // A character a tick, but "w" with a digit 9 pauses nine ticks for its two bytes.
    const std::size_t bound = 5 * shown.text.size() + shown.marks.size() + waitTicks + 1;
    for (std::size_t tick = 0; tick < bound && !balloon.IsComplete(); ++tick) balloon.Tick();
    if (!balloon.IsComplete()) std::abort();
    return 0;
}
