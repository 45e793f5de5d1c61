// The result codes of the archiver libraries UNLHA32.DLL and UNZIP32.DLL: 0 for success,
// otherwise one of the codes callers of this family of libraries know, with these meanings
// here:
//
//   0x8005  the archive would unpack beyond the output cap or holds too many members
//   0x800C  a member's data does not match its checksum
//   0x800D  a member cannot be created: its name or kind is refused (outside the
//           destination, a device name, a link, encrypted), or the file cannot be opened
//   0x8012  a folder cannot be made
//   0x8013  writing a file failed
//   0x8014  a member's compressed data is damaged
//   0x8017  a header is damaged, or a member's name cannot be read
//   0x8018  the archive file cannot be opened
//   0x8019  the command names no archive
//   0x801A  the archive ends too early
//   0x801B  the file is not an archive of the library's kind
//   0x801C  the command is not understood
//   0x801F  the library is already running a command
//   0x8021  an archive handle that is not open
//   0x8022  a member query before FindFirst, or after the last member
//   0x8026  a path would be too long
#pragma once

#include <cstddef>

namespace tc::archivers {

enum ResultCode : int {
    kOk = 0,
    kOutputTooLarge = 0x8005,
    kChecksum = 0x800C,
    kCannotCreate = 0x800D,
    kMakeFolder = 0x8012,
    kWriteError = 0x8013,
    kDamagedData = 0x8014,
    kBrokenHeader = 0x8017,
    kCannotOpen = 0x8018,
    kNoArchiveName = 0x8019,
    kTruncated = 0x801A,
    kNotArchive = 0x801B,
    kBadCommand = 0x801C,
    kAlreadyRunning = 0x801F,
    kNotOpened = 0x8021,
    kNoCurrentMember = 0x8022,
    kPathTooLong = 0x8026,
};

// Bounds that hold whatever an archive declares: a skin or a falling-object set is a few
// megabytes, so these are generous and still keep a hostile archive from filling the disk.
inline constexpr long long kMaxOutputBytes = 256LL * 1024 * 1024;
inline constexpr int kMaxMembers = 10000;
// The longest path of a file made, in bytes (the ANSI file functions' MAX_PATH less the NUL).
inline constexpr std::size_t kMaxOutputPath = 259;

}  // namespace tc::archivers
