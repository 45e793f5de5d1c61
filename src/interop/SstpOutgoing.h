// The texts the cat sends to other characters: SSTP requests delivered as WM_COPYDATA
// (DirectSSTP), the line Stand takes through its mailslot, and the names and numbers of that
// exchange. Requests are fire-and-forget; no answer is read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tc {

constexpr std::uintptr_t kSstpCopyDataId = 9801;  // dwData of every WM_COPYDATA sent
constexpr std::size_t kSstpBufferSize = 16388;    // the sending buffer: a request and its NUL
constexpr int kSstpSendTimeoutMs = 1000;          // SendMessageTimeout, SMTO_ABORTIFHUNG

constexpr const char* kOwnMailslotName = "\\\\.\\mailslot\\tumblecat";
constexpr const char* kStandMailslotName = "\\\\.\\mailslot\\Stand";
constexpr std::uint32_t kOwnMailslotMaxMessage = 4096;
constexpr std::size_t kStandAnswerMax = 1023;  // the answer read back (and not used)

// The talking-state query: the message registered under this name, sent with this wParam and
// lParam 0; an answer of 0 means the other character has stopped talking.
constexpr const char* kTalkingQueryMessageName = "Sakura";
constexpr std::uintptr_t kTalkingQueryWParam = 140;

enum class SstpCommand { Quiet = 0, Restore = 1 };

// "SEND SSTP/1.1" with the script (which gets its closing "\e" here) and the sending window's
// handle in decimal. A script too long for the buffer is cut, at a character boundary so no
// double-byte character is split, so that the whole request and its NUL fit in 16388 bytes.
std::string FormatScriptRequest(std::string_view script, std::int32_t hwnd);

// "EXECUTE SSTP/1.3" with Command: Quiet or Restore.
std::string FormatCommandRequest(SstpCommand command, std::int32_t hwnd);

// The line written to Stand's mailslot: "tumblecat", a tab, "say " and the script, no NUL.
std::string FormatStandLine(std::string_view script);

}  // namespace tc
