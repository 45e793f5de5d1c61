// Recognising SSTP requests and building the answers.
#include <gtest/gtest.h>

#include "interop/SstpIncoming.h"

namespace tc {
namespace {

TEST(SstpRequestText, EndsAtTheNulOrTheBytesReceived) {
    EXPECT_EQ(CopyDataText(std::string_view("SEND x\0junk", 11)), "SEND x");
    EXPECT_EQ(CopyDataText(std::string_view("SEND x", 4)), "SEND") << "no NUL: never past the bytes received";
    EXPECT_TRUE(IsSstpAnswer("SSTP/1.0 200 OK\r\n"));
    EXPECT_FALSE(IsSstpAnswer("sstp/1.0"));
}

TEST(SstpParse, HeadersByTheirFirstFiveCharactersWithoutCase) {
    const SstpRequest r = ParseSstpRequest(
        "SEND SSTP/1.1\r\nsender: a\r\nScript: hello\\e\r\nHWnd: 1234\r\n\r\nHWnd: 99\r\n");
    EXPECT_EQ(r, (SstpRequest{SstpKind::Send, "a", "hello\\e", "", 1234}));
    const SstpRequest noBlank = ParseSstpRequest("EXECUTE SSTP/1.0\r\nSender:abc\r\nCommand:GetName\r\nHWnd:7");
    EXPECT_EQ(noBlank, (SstpRequest{SstpKind::Execute, "abc", "GetName", "", 7})) << "last line without CR counts";
}

TEST(SstpParse, LaterLinesWinAndScriptCommandTargetShareOneSlot) {
    const SstpRequest r = ParseSstpRequest("DROP SSTP/1.0\r\nTarget: Aya\r\nObject: ball\r\nScript: s\r\nTarget: %ALL\r\n");
    EXPECT_EQ(r.kind, SstpKind::Drop);
    EXPECT_EQ(r.argument, "%ALL");
    EXPECT_EQ(r.object, "ball");
    EXPECT_EQ(ParseSstpRequest("Sender: a\r\nSender: b\r\n").sender, "b");
    EXPECT_EQ(ParseSstpRequest("HWnd: 5\r\nDocument: x\r\nwhatever\r\n").kind, SstpKind::None);
}

TEST(SstpParse, SixteenLinesAtMostAndOverlongLinesCutAtACharacter) {
    std::string text;
    for (int i = 0; i < 15; ++i) text += "X-Filler: " + std::to_string(i) + "\r\n";
    EXPECT_EQ(ParseSstpRequest(text + "HWnd: 3\r\n").replyWindow, 3) << "the 16th line is read";
    EXPECT_EQ(ParseSstpRequest(text + "X\r\nHWnd: 3\r\n").replyWindow, 0) << "a 17th is not";

    // "表" is 0x95 0x5C: a cut at 1024 bytes must not split it.
    const std::string longLine = "Script: " + std::string(1015, 'a') + "表表";
    const SstpRequest r = ParseSstpRequest(longLine + "\r\n");
    EXPECT_EQ(r.argument.size(), 1015u);
    EXPECT_EQ(r.argument.back(), 'a');
    EXPECT_EQ(SplitSstpLines(longLine)[0].size(), 1023u);
}

TEST(SstpAnswer, TextsAndTheObjectListKeepsWholeNames) {
    EXPECT_EQ(FormatValueAnswer("0.1"), "SSTP/1.0 200 OK\r\n\r\n0.1\r\n\r\n");
    EXPECT_EQ(FormatNameAnswer("Mike"), "SSTP/1.0 200 OK\r\n\r\nMike,empty\r\n\r\n");
    EXPECT_EQ(FormatObjectListAnswer({"A", "B"}), "SSTP/1.0 200 OK\r\n\r\nA,B\r\n\r\n");
    EXPECT_EQ(FormatObjectListAnswer({}), "SSTP/1.0 200 OK\r\n\r\n\r\n\r\n");
    const std::vector<std::string> many(2000, std::string(10, 'n'));
    const std::string answer = FormatObjectListAnswer(many);
    EXPECT_LT(answer.size(), kSstpBufferSize);
    EXPECT_EQ(answer.substr(answer.size() - 15), ",nnnnnnnnnn\r\n\r\n") << "ends with a whole name";
    EXPECT_EQ(ParseSstpRequest("Command: abc\r\nCommandXY: def\r\n").argument, "Y: def") << "the value starts at a fixed column";
    EXPECT_EQ(ParseExecuteCommand("getversion"), ExecuteCommand::GetVersion);
    EXPECT_EQ(ParseExecuteCommand("GetObjectLists"), ExecuteCommand::Unknown);
}

}  // namespace
}  // namespace tc
