// The request texts sent to other characters, byte for byte.
#include <gtest/gtest.h>

#include "interop/SstpOutgoing.h"

namespace tc {
namespace {

TEST(SstpRequests, ScriptCommandAndStandTexts) {
    const std::string request = FormatScriptRequest("hello", 1234);
    EXPECT_EQ(request,
              "SEND SSTP/1.1\r\nSender: \x82\xBD\x82\xF1\x82\xD4\x82\xE9\r\nScript: hello\\e\r\n"
              "Charset: SJIS\r\nHWnd: 1234\r\n\r\n");
    EXPECT_EQ(request.size(), 79u);
    const std::string sender = "EXECUTE SSTP/1.3\r\nSender: \x82\xBD\x82\xF1\x82\xD4\x82\xE9\r\n";
    const std::string end = "\r\nCharset: SJIS\r\nHWnd: 7\r\n\r\n";
    EXPECT_EQ(FormatCommandRequest(SstpCommand::Restore, 7), sender + "Command: Restore" + end);
    EXPECT_EQ(FormatCommandRequest(SstpCommand::Restore, 7).size(), 80u);
    EXPECT_EQ(FormatCommandRequest(SstpCommand::Quiet, 7), sender + "Command: Quiet" + end);
    EXPECT_EQ(FormatCommandRequest(SstpCommand::Quiet, 7).size(), 78u);
    EXPECT_EQ(FormatStandLine("hello"), "tumblecat\tsay hello");
    EXPECT_EQ(FormatStandLine("hello").size(), 19u);
}

TEST(SstpRequests, LongScriptIsCutBetweenCharactersToFitTheBuffer) {
    const std::size_t room = kSstpBufferSize - 1 - FormatScriptRequest("", 1234).size();
    // A double-byte character straddles the last byte that fits.
    const std::string script = std::string(room - 1, 'a') + "\x82\xA0" + "tail";
    const std::string request = FormatScriptRequest(script, 1234);
    EXPECT_EQ(request.size(), kSstpBufferSize - 2);
    EXPECT_NE(request.find(std::string(room - 1, 'a') + "\\e\r\nCharset"), std::string::npos);
    EXPECT_EQ(FormatScriptRequest(std::string(room, 'a'), 1234).size(), kSstpBufferSize - 1);
}

}  // namespace
}  // namespace tc
