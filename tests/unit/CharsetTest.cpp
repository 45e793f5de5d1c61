// Requests in other charsets: the charset's names, the conversion of texts to and from
// Shift_JIS, the request parser on a converted request, its answer, and where answers go.
#include <gtest/gtest.h>

#include <string>

#include "interop/SstpIncoming.h"
#include "platform/Charset.h"

namespace tc {
namespace {

// UTF-8 bytes; narrow literals of the tests are Shift_JIS.
std::string U8(std::u8string_view text) { return std::string(text.begin(), text.end()); }

TEST(CharsetName, AliasesWithoutCaseAndNothingForOtherNames) {
    const struct {
        std::string_view name;
        std::optional<Charset> charset;
    } cases[] = {
        {"Shift_JIS", Charset::ShiftJis}, {"sjis", Charset::ShiftJis},     {"X-SJIS", Charset::ShiftJis},
        {"windows-31j", Charset::ShiftJis}, {"Cp932", Charset::ShiftJis},  {" UTF-8 ", Charset::Utf8},
        {"utf8", Charset::Utf8},          {"euc-jp", Charset::EucJp},      {"iso-2022-jp", Charset::Iso2022Jp},
        {"latin1", std::nullopt},         {"", std::nullopt},              {"UTF-16", std::nullopt},
        {"Shift_JIS2", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(CharsetFromName(c.name), c.charset) << c.name;
    EXPECT_EQ(CharsetName(Charset::EucJp), "EUC-JP");
}

TEST(CharsetConversion, BothWaysForEachCharset) {
    // ソ表能十 end in 0x5C in Shift_JIS; 〜 is the wave dash either charset maps its own way.
    const struct {
        Charset charset;
        std::string external;
        std::string sjis;
    } cases[] = {
        {Charset::Utf8, U8(u8"ソ表能十 a~"), "ソ表能十 a~"},
        {Charset::Utf8, U8(u8"ｱ\uFF5E"), "\xB1\x81\x60"},
        {Charset::EucJp, "\xA5\xBD\xC9\xBD\xC7\xBD\xBD\xBD\\", "ソ表能十\\"},
        {Charset::EucJp, "\x8E\xB1\xA1\xC1", "\xB1\x81\x60"},
        {Charset::Iso2022Jp, "a\x1B$B%=I=G===\x1B(Bb", "aソ表能十b"},
        {Charset::Iso2022Jp, "\x1B$B!A\x1B(B", "\x81\x60"},
        {Charset::ShiftJis, "\x81", "\x81"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ToShiftJis(c.external, c.charset), c.sjis) << CharsetName(c.charset) << " " << c.sjis;
        EXPECT_EQ(FromShiftJis(c.sjis, c.charset), c.external) << CharsetName(c.charset) << " " << c.sjis;
    }
    EXPECT_EQ(ToShiftJis(U8(u8"\u301C\u2212\u00A2\u2014"), Charset::Utf8), "\x81\x60\x81\x7C\x81\x91\x81\x5C")
        << "JIS's mapping of the signs too";
}

TEST(CharsetConversion, WhatHasNoFormBecomesTheGetaMark) {
    const struct {
        std::string text;
        Charset charset;
        std::string sjis;
    } toSjis[] = {
        {U8(u8"a\U0001F600b"), Charset::Utf8, "a〓b"},
        {"a\xFF" "b", Charset::Utf8, "a〓b"},
        {"a\xE3\x81", Charset::Utf8, "a〓"},
        {U8(u8"\u00A5\u203E"), Charset::Utf8, "￥￣"},  // never the 0x5C that starts a tag
        {"\x1B$Ba", Charset::Iso2022Jp, "〓"},
    };
    for (const auto& c : toSjis) EXPECT_EQ(ToShiftJis(c.text, c.charset), c.sjis) << c.sjis;
    EXPECT_EQ(FromShiftJis("a\x81", Charset::Utf8), U8(u8"a〓"));
    EXPECT_EQ(FromShiftJis("\xFF", Charset::EucJp), "\xA2\xAE");
    EXPECT_EQ(FromShiftJis("a\x1B$Bb", Charset::Iso2022Jp), "a\x1B$B\".\x1B(B$Bb") << "an escape of its own is no text";
}

std::string Utf8Request(std::string_view lines) { return U8(u8"SEND SSTP/1.1\r\n") + std::string(lines) + "\r\n"; }

TEST(SstpCharset, EveryValueIsConvertedBeforeItIsRead) {
    const SstpRequest send = ParseSstpRequest(
        Utf8Request(U8(u8"Sender: 表\r\nScript: ソ\\e\r\nHWnd: 12\r\ncharset:  utf-8")));
    EXPECT_EQ(send, (SstpRequest{SstpKind::Send, "表", "ソ\\e", "", 12, Charset::Utf8})) << "the Charset line may come last";

    const SstpRequest drop = ParseSstpRequest(
        "DROP SSTP/1.0\r\nCharset: ISO-2022-JP\r\nTarget: \x1B$BG=\x1B(B\r\nObject: \x1B$B==\x1B(B\r\n");
    EXPECT_EQ(drop, (SstpRequest{SstpKind::Drop, "", "能", "十", 0, Charset::Iso2022Jp}));
    EXPECT_EQ(ParseSstpRequest("EXECUTE SSTP/1.0\r\nCharset: EUC-JP\r\nCommand: GetName\r\n").argument, "GetName");
    EXPECT_EQ(ParseSstpRequest("SEND SSTP/1.0\r\nSender: \x95\x5C\r\n").charset, Charset::ShiftJis);

    // The 1024-byte cut is made in Shift_JIS: 600 three-byte characters are 1200 bytes in it.
    std::string many;
    for (int i = 0; i < 600; ++i) many += U8(u8"表");
    EXPECT_EQ(ParseSstpRequest(Utf8Request("Charset: UTF-8\r\nScript: " + many)).argument.size(), 1016u);
}

TEST(SstpCharset, AnUnknownCharsetIsReadNoFurther) {
    const SstpRequest r = ParseSstpRequest("SEND SSTP/1.1\r\nSender: a\r\nScript: b\r\nCharset: KOI8-R\r\nHWnd: 5\r\n");
    EXPECT_TRUE(r.unknownCharset);
    EXPECT_EQ(r.kind, SstpKind::None);
    EXPECT_EQ(r.sender, "");
    EXPECT_EQ(r.replyWindow, 0);
    EXPECT_FALSE(ParseSstpRequest("SEND SSTP/1.1\r\nCharset: Shift_JIS\r\n").unknownCharset);
}

TEST(SstpCharset, AnswersInTheRequestsCharsetAndStillBounded) {
    EXPECT_EQ(EncodeSstpAnswer(FormatNameAnswer("表"), Charset::ShiftJis), FormatNameAnswer("表"));
    EXPECT_EQ(EncodeSstpAnswer(FormatNameAnswer("表"), Charset::Utf8),
              U8(u8"SSTP/1.0 200 OK\r\nCharset: UTF-8\r\n\r\n表,empty\r\n\r\n"));
    EXPECT_EQ(EncodeSstpAnswer(kAnswerBadRequest, Charset::EucJp),
              "SSTP/1.0 400 Bad Request\r\nCharset: EUC-JP\r\n\r\n");
    EXPECT_EQ(FormatObjectListAnswer({"能", "a"}, Charset::Iso2022Jp),
              "SSTP/1.0 200 OK\r\nCharset: ISO-2022-JP\r\n\r\n\x1B$BG=\x1B(B,a\r\n\r\n");

    // 2-byte names that take 3 bytes each in UTF-8: the room is counted in the bytes sent.
    const std::vector<std::string> many(4000, "表表");
    const std::string answer = FormatObjectListAnswer(many, Charset::Utf8);
    EXPECT_LT(answer.size(), kSstpBufferSize);
    EXPECT_GT(answer.size(), kSstpBufferSize - 8);
    EXPECT_TRUE(answer.ends_with(U8(u8",表表\r\n\r\n")));
}

TEST(SstpReplyWindow, TheNamedWindowElseTheSenderElseNobody) {
    const auto windows = [](NativeHandle h) { return h == 10 || h == 20 || h == kBroadcastWindow; };
    const struct {
        std::int32_t named;
        NativeHandle sender;
        NativeHandle answerTo;
    } cases[] = {
        {10, 20, 10}, {0, 20, 20},  {0, 30, 0},  {30, 20, 0},  // a named non-window is not replaced
        {0, 0, 0},    {0xFFFF, 20, 0}, {0, kBroadcastWindow, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ChooseReplyWindow(c.named, c.sender, windows), c.answerTo) << c.named << " " << c.sender;
    }
}

}  // namespace
}  // namespace tc
