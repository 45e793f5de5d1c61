#include "talk/SakuraScript.h"

#include <algorithm>
#include <optional>

#include "common/Sjis.h"

namespace tc {

namespace {

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// One tag as written: its name (without the backslash), its bracketed argument, and the
// position after it. An argument never closed leaves closed false.
struct Tag {
    std::string_view name;
    std::optional<std::string_view> argument;
    std::size_t end = 0;
    bool closed = true;
};

// Tags that take no bracketed argument: a '[' after them is text.
bool TakesNoArgument(std::string_view name) {
    return name == "\\" || name == "%" || name == "0" || name == "1" || name == "h" || name == "u" || name == "e" ||
           (name.size() == 2 && IsDigit(name[1]));
}

std::size_t TagNameEnd(std::string_view s, std::size_t j) {
    const char c = s[j];
    if (c == '_') {
        std::size_t k = j + 1;
        if (k < s.size() && s[k] == '_') ++k;
        if (k < s.size() && static_cast<unsigned char>(s[k]) > 0x20 && static_cast<unsigned char>(s[k]) < 0x7F) ++k;
        return k;
    }
    if (s.substr(j, 3) == "URL") return j + 3;
    if (IsAsciiLetter(c)) {
        const bool numbered = c == 's' || c == 'w' || c == 'p' || c == 'b' || c == 'i';
        return numbered && j + 1 < s.size() && IsDigit(s[j + 1]) ? j + 2 : j + 1;
    }
    if (static_cast<unsigned char>(c) > 0x20 && static_cast<unsigned char>(c) < 0x7F) return j + 1;
    return j;  // a blank, a control or a double-byte character starts no tag
}

// The position of the ']' that closes the argument opened at open, or npos. Within quotes a
// ']' is text; "\]" and "\\" stand for ']' and '\'.
std::size_t ArgumentEnd(std::string_view s, std::size_t open) {
    bool quoted = false;
    for (std::size_t i = open + 1; i < s.size(); i += SjisCharWidth(s, i)) {
        if (s[i] == '\\' && i + 1 < s.size() && (s[i + 1] == ']' || s[i + 1] == '\\')) {
            ++i;
        } else if (s[i] == '"') {
            quoted = !quoted;
        } else if (s[i] == ']' && !quoted) {
            return i;
        }
    }
    return std::string_view::npos;
}

Tag ReadTag(std::string_view s, std::size_t backslash) {
    Tag tag;
    const std::size_t j = backslash + 1;
    if (j >= s.size()) {
        tag.end = s.size();
        return tag;
    }
    const std::size_t k = TagNameEnd(s, j);
    tag.name = s.substr(j, k - j);
    tag.end = k;
    if (tag.name.empty() || TakesNoArgument(tag.name) || k >= s.size() || s[k] != '[') return tag;
    const std::size_t close = ArgumentEnd(s, k);
    if (close == std::string_view::npos) {
        tag.closed = false;
        tag.end = s.size();
        return tag;
    }
    tag.argument = s.substr(k + 1, close - k - 1);
    tag.end = close + 1;
    return tag;
}

// A whole number, optionally negative, up to its first comma; saturates instead of
// overflowing. Nothing for anything else.
std::optional<long long> ReadNumber(std::string_view text) {
    text = text.substr(0, text.find(','));
    const bool negative = !text.empty() && text[0] == '-';
    if (negative) text.remove_prefix(1);
    if (text.empty()) return std::nullopt;
    long long value = 0;
    for (char c : text) {
        if (!IsDigit(c)) return std::nullopt;
        value = std::min<long long>(value * 10 + (c - '0'), 1000000000LL);
    }
    return negative ? -value : value;
}

// The number of a tag written either way: \s5 or \s[5].
std::optional<long long> TagNumber(const Tag& tag) {
    if (tag.name.size() == 2 && IsDigit(tag.name[1])) return tag.name[1] - '0';
    if (tag.argument) return ReadNumber(*tag.argument);
    return std::nullopt;
}

class Interpreter {
public:
    ShownScript Run(std::string_view s) {
        std::size_t i = 0;
        while (i < s.size()) {
            if (s[i] != '\\') {
                const std::size_t width = SjisCharWidth(s, i);
                AddText(s.substr(i, width));
                i += width;
                continue;
            }
            const Tag tag = ReadTag(s, i);
            if (!tag.closed || !Apply(tag)) break;
            i = tag.end;
        }
        return std::move(m_shown);
    }

private:
    void AddText(std::string_view text) {
        m_shown.text += text;
        m_rowHasText = text != "\n";
    }
    void NewRow() { AddText("\n"); }
    void Mark(ScriptMark::Kind kind, int value) { m_shown.marks.push_back({m_shown.text.size(), kind, value}); }
    void Wait(long long ms) {
        if (ms > 0) Mark(ScriptMark::Kind::Wait, static_cast<int>(std::min<long long>(ms, kScriptMaxWaitMs)));
    }
    void Clear() {
        Mark(ScriptMark::Kind::Clear, 0);
        m_rowHasText = false;
    }
    void Scope(std::optional<long long> scope) {
        if (!scope || *scope == m_scope) return;
        if (m_rowHasText) NewRow();  // each character's words on rows of their own
        m_scope = *scope;
    }

    // Carries out one tag; false ends the script.
    bool Apply(const Tag& tag) {
        const std::string_view name = tag.name;
        if (name == "\\" || name == "%") {
            AddText(name);
        } else if (name == "e") {
            return false;
        } else if (name == "n") {
            NewRow();
        } else if (name == "0" || name == "h") {
            Scope(0);
        } else if (name == "1" || name == "u") {
            Scope(1);
        } else if (name.starts_with("p")) {
            Scope(TagNumber(tag));
        } else if (name.size() == 2 && name[0] == 'w') {
            Wait(50LL * (name[1] - '0'));
        } else if (name == "_w" && tag.argument) {
            Wait(ReadNumber(*tag.argument).value_or(0));
        } else if (name.starts_with("s")) {
            const std::optional<long long> surface = TagNumber(tag);
            if (surface && m_scope == 0) Mark(ScriptMark::Kind::Surface, static_cast<int>(*surface));
        } else if (name == "c" && !tag.argument) {
            Clear();
        } else if (name == "x") {
            Wait(kScriptPauseMs);
            if (!tag.argument || *tag.argument != "noclear") Clear();
        } else if (name == "_q") {
            m_quick = !m_quick;
            Mark(ScriptMark::Kind::Quick, m_quick ? 1 : 0);
        }
        return true;  // any other tag is removed
    }

    ShownScript m_shown;
    long long m_scope = 0;
    bool m_rowHasText = false;
    bool m_quick = false;
};

}  // namespace

ShownScript InterpretSakuraScript(std::string_view script) { return Interpreter().Run(script); }

}  // namespace tc
