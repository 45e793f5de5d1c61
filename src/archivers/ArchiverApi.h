// What UNLHA32.DLL and UNZIP32.DLL offer besides the command entry point, as plain values the
// export layer hands out: the version, the function numbers QueryFunctionList answers yes
// to, and the record FindFirst and FindNext fill (this library's own layout).
#pragma once

#include <cstdint>
#include <string>

namespace tc::archivers {

// 1.00
inline constexpr std::uint16_t kLibraryVersion = 100;

// Function numbers: the prefix alone (the command) is 0; the others are the prefix followed by
// the name. QueryFunctionList answers yes exactly for these:
//   0 command, 1 GetVersion, 8 GetRunning, 16 CheckArchive, 18 GetFileCount,
//   19 QueryFunctionList, 23 OpenArchive, 24 CloseArchive, 25 FindFirst, 26 FindNext,
//   40 GetArcFileName, 41 GetArcFileSize, 42 GetArcOriginalSize, 57 GetFileName,
//   58 GetOriginalSize, 61 GetDate, 62 GetTime, 64 GetAttribute, 67 GetWriteTime,
//   101 SetOwnerWindow, 102 ClearOwnerWindow.
bool OffersFunction(int number);

// The member record of FindFirst and FindNext.
struct ArchiverMemberRecord {
    std::uint32_t originalSize;
    std::uint32_t attributes;  // 0x10 folder, 0x01 read-only, 0x20 file
    std::uint16_t date;        // MS-DOS date and time of the last change, UTC
    std::uint16_t time;
    std::uint32_t writeTime;   // seconds since 1970, UTC
    char fileName[512];        // Shift_JIS, folders separated by backslashes
};

// MS-DOS date (high 16 bits) and time (low 16 bits) of a time in seconds since 1970, UTC;
// times before 1980 give 1980-01-01 00:00.
std::uint32_t DosDateTime(std::int64_t seconds);

// Copies text into a caller's buffer of size bytes, cut to fit, always NUL-terminated when
// size is at least 1.
void CopyOut(const std::string& text, char* buffer, std::size_t size);

}  // namespace tc::archivers
