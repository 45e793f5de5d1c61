// Script text: the split of a conversation script, the replace operation, the
// request a partner step becomes, and the balloon typing a text to its end.
// - ParseTalkScript: the cat first, then strictly alternating; the other character's parts
//   start at a hand-over mark, the cat's hold none.
// - ReplaceAll of a text by itself changes nothing; otherwise the size changes by the number
//   of occurrences times the difference in length.
// - A script request always fits the 16388-byte buffer with its NUL and holds a prefix of the
//   script cut between characters.
// - The balloon types any text to its end in bounded ticks, shows at most five rows, never
//   types past the text, never lets a row pass 49 bytes, and types exactly the text less its
//   pauses and line feeds.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "common/Sjis.h"
#include "interop/SstpOutgoing.h"
#include "talk/BalloonTyping.h"
#include "talk/ScriptText.h"

namespace {

bool HasMark(std::string_view text, std::string_view mark) { return tc::FindMark(text, mark) != std::string_view::npos; }

bool IsCharStart(std::string_view text, std::size_t at) {
    std::size_t i = 0;
    while (i < at) i += tc::SjisCharWidth(text, i);
    return i == at;
}

void CheckParse(std::string_view script) {
    const auto steps = tc::ParseTalkScript(script);
    if (steps.empty() || steps[0].speaker != 1) std::abort();
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const tc::SAITalk& step = steps[i];
        if (step.speaker != (i % 2 == 0 ? 1 : 0)) std::abort();
        if (step.speaker == 0) {
            bool marked = false;
            for (std::string_view mark : tc::kPartnerPartMarks) marked = marked || step.text.starts_with(mark);
            if (!marked) std::abort();
        } else {
            for (std::string_view mark : tc::kPartnerPartMarks) {
                if (HasMark(step.text, mark)) std::abort();
            }
        }
    }

    // A partner step goes out as a request that fits, long or not.
    for (const tc::SAITalk& step : steps) {
        if (step.speaker != 0) continue;
        std::string longScript;
        while (longScript.size() < tc::kSstpBufferSize) longScript += step.text;
        const std::string request = tc::FormatScriptRequest(longScript, -2147483647 - 1);
        if (request.size() > tc::kSstpBufferSize - 1) std::abort();
        const std::size_t start = request.find("Script: ") + 8;
        const std::size_t end = request.rfind("\\e\r\nCharset: SJIS\r\n");
        const std::string_view sent = std::string_view(request).substr(start, end - start);
        if (!longScript.starts_with(sent) || !IsCharStart(longScript, sent.size())) std::abort();
        break;
    }
}

void CheckReplace(std::string_view input) {
    if (input.size() < 2) return;
    const std::size_t findLength = static_cast<unsigned char>(input[0]) % 8;
    const std::size_t replLength = static_cast<unsigned char>(input[1]) % 8;
    input.remove_prefix(2);
    const std::string_view find = input.substr(0, findLength);
    input.remove_prefix(find.size());
    const std::string_view repl = input.substr(0, replLength);
    input.remove_prefix(repl.size());
    const std::string text(input);

    std::string same = text;
    tc::ReplaceAll(same, find, find);
    if (same != text) std::abort();

    std::size_t count = 0;
    if (!find.empty()) {
        for (std::size_t at = tc::FindMark(text, find); at != std::string::npos; at = tc::FindMark(text, find, at + find.size())) {
            ++count;
        }
    }
    std::string replaced = text;
    tc::ReplaceAll(replaced, find, repl);
    if (replaced.size() + count * find.size() != text.size() + count * repl.size()) std::abort();
}

// The text as the balloon shows it: without "w" and its pause digit, without line feeds.
std::string Shown(std::string_view text) {
    std::string shown;
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char b = static_cast<unsigned char>(text[i]);
        if ((b >= 0x80 && b <= 0xA0) || b >= 0xE0) {
            const std::size_t width = std::min<std::size_t>(2, text.size() - i);
            shown.append(text.substr(i, width));
            i += width;
        } else if (b == 'w') {
            ++i;
            if (i < text.size() && text[i] >= '1' && text[i] <= '9') ++i;
        } else {
            if (b != '\n') shown.push_back(static_cast<char>(b));
            ++i;
        }
    }
    return shown;
}

void CheckTyping(std::string_view text) {
    tc::BalloonTyping balloon;
    balloon.m_lowerTop = 768;
    balloon.m_side = static_cast<int>(text.size() % 2);
    balloon.Start(text, "Aya");
    const std::size_t limit = 9 * text.size() + 2;  // "w9" costs 9 ticks for 2 bytes
    std::size_t ticks = 0;
    while (balloon.m_speaking) {
        if (++ticks > limit) std::abort();
        const tc::BalloonUpdate update = balloon.Tick();
        if (balloon.VisibleRows().empty() || balloon.VisibleRows().size() > tc::kBalloonVisibleRows) std::abort();
        if (balloon.m_typePos > balloon.m_text.size()) std::abort();
        if (balloon.m_rows.back().size() > tc::kBalloonRowBytes + 1) std::abort();
        if (balloon.m_rows.size() != static_cast<std::size_t>(balloon.m_row) + 1) std::abort();
        if (static_cast<std::size_t>(balloon.m_column) != balloon.m_rows.back().size()) std::abort();
        if (update.invalidate) {
            const tc::Rect area = balloon.TextArea();
            const tc::Rect r = *update.invalidate;
            if (r.left < area.left || r.top < area.top || r.right > area.right || r.bottom > area.bottom) std::abort();
        }
    }
    std::string typed;
    for (const std::string& row : balloon.m_rows) {
        if (row.size() > tc::kBalloonRowBytes + 1) std::abort();
        typed += row;
    }
    if (typed != Shown(text)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    CheckParse(input);
    CheckReplace(input);
    CheckTyping(input);
    return 0;
}
