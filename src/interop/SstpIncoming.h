// SSTP requests that other programs send the cat over WM_COPYDATA, and the answers.
//
// A request is at most 16 lines; each line is recognised by its first five characters,
// compared without case ("SEND ", "EXECU", "DROP ", "Sende", "Scrip", "Docum", "Comma",
// "HWnd:", "Targe", "Objec", "Chars"), and a header's value starts at a fixed column, one further
// after a blank. Script, Command and Target share one slot: the last of them wins. Lines
// are cut at 1024 bytes (never inside a double-byte character), so no value is longer.
//
// A "Charset" line names the charset of the whole request (Shift_JIS when there is none): each
// line is converted to Shift_JIS before it is cut and recognised, so every value the cat uses
// is Shift_JIS; the answer goes back in the request's charset (EncodeSstpAnswer).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "interop/SstpOutgoing.h"
#include "platform/Charset.h"
#include "platform/Geometry.h"

namespace tc {

enum class SstpKind { None, Send, Execute, Drop, Notify };

struct SstpRequest {
    SstpKind kind = SstpKind::None;
    std::string sender;
    std::string argument;  // the script, the command or the target
    std::string object;
    std::int32_t replyWindow = 0;
    Charset charset = Charset::ShiftJis;
    // A "Charset" line that names no charset the cat reads: nothing else of the request is
    // read, and it is answered with 400 Bad Request.
    bool unknownCharset = false;
    bool operator==(const SstpRequest&) const = default;
};

constexpr std::size_t kSstpMaxLines = 16;
constexpr std::size_t kSstpMaxLineBytes = 1024;

constexpr std::string_view kAnswerOk = "SSTP/1.0 200 OK\r\n\r\n";
// A NOTIFY: the cat has no handler for events, so there is nothing to say back.
constexpr std::string_view kAnswerNoContent = "SSTP/1.0 204 No Content\r\n\r\n";
constexpr std::string_view kAnswerBadRequest = "SSTP/1.0 400 Bad Request\r\n\r\n";
// The request was understood but the cat is busy with the same thing (a drop still shows).
constexpr std::string_view kAnswerConflict = "SSTP/1.0 409 Conflict\r\n\r\n";
constexpr std::string_view kAnswerNotImplemented = "SSTP/1.0 501 Not Implemented\r\n\r\n";
constexpr std::string_view kAnswerInvisible = "SSTP/1.0 512 Invisible\r\n\r\n";

// SSTP over TCP: the port other programs of the family knock at (loopback only), and the
// bounds of one connection.
constexpr int kSstpTcpPort = 9801;
constexpr std::size_t kSstpTcpMaxRequestBytes = 65536;
constexpr int kSstpTcpTimeLimitMs = 2000;
constexpr int kSstpTcpMaxConnections = 8;

// The request a TCP connection brought: the bytes up to and with its empty line once that has
// come; when nothing more will come (ended), whatever came, unless it reached the size bound
// (too long to be a request). Nothing while more may come.
struct TcpRequest {
    std::string text;
    bool tooLong = false;
};
std::optional<TcpRequest> CompleteTcpRequest(std::string_view received, bool ended);

// The text of a WM_COPYDATA: up to its first NUL, never beyond the bytes received.
std::string_view CopyDataText(std::string_view bytes);

// Whether the text is an answer to one of the cat's own requests (it starts with "SSTP").
bool IsSstpAnswer(std::string_view text);

// The request's lines as split for recognition (at most 16, each at most 1024 bytes).
std::vector<std::string_view> SplitSstpLines(std::string_view text);

SstpRequest ParseSstpRequest(std::string_view text);

// Where the answer to a request goes: the window its HWnd line names when that is a window;
// with no HWnd line (or HWnd 0), the sender of the WM_COPYDATA when that is a window; else
// nowhere (0). A named window that is no window is not replaced by the sender: the request
// said where its answer goes. The broadcast handle is never a place to answer.
NativeHandle ChooseReplyWindow(std::int32_t named, NativeHandle sender,
                               const std::function<bool(NativeHandle)>& isWindow);

enum class ExecuteCommand { GetName, GetVersion, GetObjectList, Unknown };
ExecuteCommand ParseExecuteCommand(std::string_view command);

// "SSTP/1.0 200 OK", an empty line, then value and an empty line.
std::string FormatValueAnswer(std::string_view value);
// The same with "name,empty" as value.
std::string FormatNameAnswer(std::string_view name);
// The names joined by ",", as a value answer in charset (see EncodeSstpAnswer). Names that
// would make the answer overflow its 16388-byte buffer are left out whole.
std::string FormatObjectListAnswer(const std::vector<std::string>& names, Charset charset = Charset::ShiftJis);

// The Shift_JIS answer as a request in charset gets it: a Shift_JIS request gets the bytes
// unchanged; any other gets them converted, with "Charset: <name>" after the status line, so
// that a reader of the headers learns the charset before the value.
std::string EncodeSstpAnswer(std::string_view answer, Charset charset);

}  // namespace tc
