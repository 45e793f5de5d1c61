// SakuraScript as the cat shows it: a script becomes the text its balloon types, and marks at
// places in that text for what is not text (waits, surfaces, clears, untimed spans).
//
// The cat is a single character. It shows scope 0 (\0, \h, \p[0]) as its own speech, with
// its surfaces; the text of any other scope (\1, \u, \p[n]) is shown as well, on a line of
// its own, since it is part of what the sender wanted said, but its surfaces are not the
// cat's and are left out.
//
//   \n, \n[...]     a new row (the balloon's rows are a fixed grid: a half row is a row)
//   \w1 .. \w9      a wait of 50 ms per step; \_w[ms] a wait of ms (at most 10 s)
//   \x              a wait of 1 s, then the balloon is cleared (\x[noclear]: not cleared)
//   \s[n], \s0..\s9 the cat shows surface n from here on (scope 0 only)
//   \c              the balloon is cleared;  \e the script ends
//   \_q             starts or ends a span typed at once
//   \\, \%          a backslash, a percent sign
// Every other tag (\!, \q, \b, \i, \f, \_a, \URL, \__c, ...) is removed with its bracketed
// arguments. A backslash that starts no tag is removed; a tag whose argument is never closed
// ends the script. The script is walked character by character, so a Shift_JIS character
// whose second byte is 0x5C (ソ, 表, 能, 十) is text, never a tag.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tc {

struct ScriptMark {
    enum class Kind { Wait, Surface, Clear, Quick };
    std::size_t at = 0;  // the mark applies before the byte at this position of the text is typed
    Kind kind = Kind::Wait;
    int value = 0;       // Wait: milliseconds; Surface: the surface; Quick: 1 starts, 0 ends the span
    bool operator==(const ScriptMark&) const = default;
};

// What the balloon types: Shift_JIS text in which a line feed starts a row and every other
// byte is shown (a "w" too), and the marks in the order of their places.
struct ShownScript {
    std::string text;
    std::vector<ScriptMark> marks;
    bool operator==(const ShownScript&) const = default;
};

constexpr int kScriptMaxWaitMs = 10000;
constexpr int kScriptPauseMs = 1000;  // \x

ShownScript InterpretSakuraScript(std::string_view script);

}  // namespace tc
