// Shift_JIS and wide text (common/WideText.h). Built natively and into the end-to-end program,
// so both the iconv and the code page 932 conversion are held to the same table.
#include <gtest/gtest.h>

#include <string>

#include "common/Sjis.h"
#include "common/WideText.h"

namespace tc {
namespace {

std::string Pair(unsigned lead, unsigned trail) {
    return {static_cast<char>(lead), static_cast<char>(trail)};
}

// Every double-byte character of code page 932 is one wide unit that converts back to bytes
// naming the same character: its own, or for the codes 932 holds twice (NEC's and IBM's
// extensions) the one code it writes, which reads back as the same character.
TEST(WideTextTest, EveryDoubleByteCharacterRoundTrips) {
    int characters = 0, secondCodes = 0;
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
        if (!IsSjisLeadByte(static_cast<unsigned char>(lead))) continue;
        for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
            const std::string bytes = Pair(lead, trail);
            const auto wide = ShiftJisToWide(bytes);
            if (!wide) continue;
            ++characters;
            ASSERT_EQ(wide->size(), 1u) << std::hex << lead << ' ' << trail;
            ASSERT_NE((*wide)[0], L'\xFFFD') << std::hex << lead << ' ' << trail;
            const auto back = WideToShiftJis(*wide);
            ASSERT_TRUE(back && back->size() == 2) << std::hex << lead << ' ' << trail;
            if (*back != bytes) {
                ++secondCodes;
                EXPECT_EQ(ShiftJisToWide(*back), wide) << std::hex << lead << ' ' << trail;
            }
        }
    }
    // JIS X 0208's 6879, NEC's row 13 (83), NEC's selection of IBM's (374), IBM's extensions
    // (388) and the 1880 codes for users' own characters (the private use area).
    EXPECT_EQ(characters, 6879 + 83 + 374 + 388 + 1880);
    EXPECT_GT(secondCodes, 0);
    EXPECT_LT(secondCodes, 400);
}

// Characters where code page 932 differs from other Japanese tables, second bytes that are
// ASCII marks, and texts at the lengths of the system's path buffers.
TEST(WideTextTest, ConvertsBothWaysExactly) {
    const struct {
        std::string sjis;
        std::wstring wide;
    } cases[] = {
        {"", L""},
        {"a\\b", L"a\\b"},
        {"\x95\x5C", L"\x8868"},              // 表: second byte '\'
        {"\x83\x5C\x8E\x75", L"\x30BD\x5FD7"},  // ソ志: second bytes '\' and 'u'
        {"\x81\x60\x81\x5C\x81\x61", L"\xFF5E\x2015\x2225"},  // 932's wave dash, bar, parallel
        {"\x87\x40\xFA\x40", L"\x2460\x2170"},  // NEC row 13, IBM extensions
        {"\xB1\xDD", L"\xFF71\xFF9D"},        // half-width katakana
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ShiftJisToWide(c.sjis), c.wide) << c.sjis;
        EXPECT_EQ(WideToShiftJis(c.wide), c.sjis) << c.sjis;
        EXPECT_EQ(WideText(c.sjis), c.wide);
        EXPECT_EQ(ShiftJisText(c.wide), c.sjis);
    }
    for (std::size_t length : {259u, 260u, 261u, 32767u}) {
        std::string sjis;
        for (std::size_t i = 0; i < length; ++i) sjis += "\x95\x5C";
        const auto wide = ShiftJisToWide(sjis);
        ASSERT_TRUE(wide);
        EXPECT_EQ(*wide, std::wstring(length, L'\x8868'));
        EXPECT_EQ(WideToShiftJis(*wide), sjis);
    }
}

// A broken pair, a lone surrogate or a character Shift_JIS lacks: names are refused, shown
// texts keep every readable character and mark the rest.
TEST(WideTextTest, RefusesNamesWithoutAFormAndMarksShownTexts) {
    const struct {
        std::string sjis;
        std::wstring shown;
    } broken[] = {
        {"\x82", L"\xFFFD"},                    // lead byte at the end
        {"\x82\xA0\x82", L"\x3042\xFFFD"},     // あ then a lead byte at the end
        {"\x82 a", L"\xFFFD a"},                // lead byte before a blank
        {"\x82\x7F\x82\xA0", L"\xFFFD\x7F\x3042"},  // 0x7F is never a second byte
        {"\x85\x40", L"\xFFFD"},                // a pair code 932 leaves empty
    };
    for (const auto& c : broken) {
        EXPECT_FALSE(ShiftJisToWide(c.sjis)) << c.sjis;
        EXPECT_EQ(WideText(c.sjis), c.shown) << c.sjis;
    }
    const struct {
        std::wstring wide;
        std::string shown;
    } lacking[] = {
        {L"\x00E9t\x00E9", "\x81\xACt\x81\xAC"},  // é: no best-fit 'e'
        {L"a\U0001F600", "a\x81\xAC"},            // outside the BMP
        {std::wstring(1, static_cast<wchar_t>(0xD800)) + L"b", "\x81\xAC" "b"},  // lone surrogate
    };
    for (const auto& c : lacking) {
        EXPECT_FALSE(WideToShiftJis(c.wide));
        EXPECT_EQ(ShiftJisText(c.wide), c.shown);
    }
}

// Fixed fields of the system (a tray tip, a face name) take a start that ends at a character.
TEST(WideTextTest, PrefixFitsTheFieldWithItsNul) {
    const std::wstring pair = L"a\U0001F600";  // a surrogate pair where wide text is UTF-16
    const struct {
        std::wstring text;
        std::size_t capacity;
        std::wstring prefix;
    } cases[] = {
        {L"\x3042\x3044\x3046", 4, L"\x3042\x3044\x3046"},
        {L"\x3042\x3044\x3046", 3, L"\x3042\x3044"},
        {L"\x3042", 1, L""},
        {L"\x3042", 0, L""},
        {L"", 1, L""},
        {pair, pair.size() + 1, pair},
        {pair, pair.size(), L"a"},
    };
    for (const auto& c : cases) EXPECT_EQ(WidePrefix(c.text, c.capacity), c.prefix) << c.capacity;
}

}  // namespace
}  // namespace tc
