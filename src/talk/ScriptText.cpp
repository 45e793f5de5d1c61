#include "talk/ScriptText.h"

#include "common/Sjis.h"

namespace tc {

std::size_t FindMark(std::string_view text, std::string_view mark, std::size_t from) {
    if (mark.empty()) return std::string_view::npos;
    for (std::size_t i = from; i < text.size(); i += SjisCharWidth(text, i)) {
        if (text.substr(i, mark.size()) == mark) return i;
    }
    return std::string_view::npos;
}

void ReplaceAll(std::string& text, std::string_view find, std::string_view repl) {
    if (find.empty()) return;
    // One pass that copies the text with the replacements made: the same result as
    // replacing in place and searching on after the inserted text, without the quadratic cost.
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        if (text.compare(i, find.size(), find) == 0) {
            out += repl;
            i += find.size();
        } else {
            const std::size_t width = SjisCharWidth(text, i);
            out.append(text, i, width);
            i += width;
        }
    }
    text = std::move(out);
}

namespace {

// Whether text ends with mark standing at a character start.
bool EndsWithMark(std::string_view text, std::string_view mark) {
    if (text.size() < mark.size() || !text.ends_with(mark)) return false;
    const std::size_t at = text.size() - mark.size();
    std::size_t i = 0;
    while (i < at) i += SjisCharWidth(text, i);
    return i == at;
}

std::size_t FindFirstPartnerMark(std::string_view text, std::size_t from) {
    std::size_t first = std::string_view::npos;
    for (std::string_view mark : kPartnerPartMarks) {
        const std::size_t at = FindMark(text, mark, from);
        if (at < first) first = at;
    }
    return first;
}

}  // namespace

std::vector<SAITalk> ParseTalkScript(std::string_view script) {
    std::string text;
    if (!script.starts_with(kCatPartMark)) text = kCatPartMark;
    text += script;

    std::vector<SAITalk> steps;
    std::size_t t = 0;  // an "@neko" in cat mode, a partner mark otherwise
    bool catMode = true;
    for (;;) {
        if (catMode) {
            const std::size_t m = FindFirstPartnerMark(text, t);
            const std::size_t from = t + kCatPartMark.size();
            if (m == std::string::npos) {
                steps.push_back({1, text.substr(from)});
                break;
            }
            steps.push_back({1, text.substr(from, m - from)});
            t = m;
        } else {
            const std::size_t n = FindMark(text, kCatPartMark, t);
            if (n == std::string::npos) {
                steps.push_back({0, text.substr(t)});
                break;
            }
            steps.push_back({0, text.substr(t, n - t)});
            t = n;
        }
        catMode = !catMode;
    }

    std::string& last = steps.back().text;
    if (EndsWithMark(last, "\\e")) last.resize(last.size() - 2);
    return steps;
}

}  // namespace tc
