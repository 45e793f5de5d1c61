// The files the archiver libraries touch: the archive they read and the folders and files
// they make. Paths are in the Windows form of the command texts (Shift_JIS, backslashes);
// relative paths are taken from the current folder. The platform part (posix/ or win32/)
// gives the real ones; tests and fuzz targets read archives from memory.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace tc::archivers {

// The bytes of an archive, read from the start and sought in.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Reads up to size bytes; 0 at the end, -1 on a read error.
    virtual long long Read(void* buffer, std::size_t size) = 0;
    // Moves to offset from the start (whence 0), the current place (1) or the end (2); the
    // new place, or -1.
    virtual long long Seek(long long offset, int whence) = 0;
    virtual long long Size() = 0;
};

// A file being written; closed when it goes.
class ByteSink {
public:
    virtual ~ByteSink() = default;
    virtual bool Write(const void* bytes, std::size_t size) = 0;
};

class ArchiveFiles {
public:
    virtual ~ArchiveFiles() = default;
    virtual std::unique_ptr<ByteSource> OpenRead(const std::string& path) = 0;
    // Makes one folder; true when it exists afterwards (made now or before).
    virtual bool MakeFolder(const std::string& path) = 0;
    // Creates or replaces a file.
    virtual std::unique_ptr<ByteSink> Create(const std::string& path) = 0;
    virtual void Remove(const std::string& path) = 0;
};

// The files of the system the library runs on.
ArchiveFiles& SystemArchiveFiles();

// An archive held in memory.
class MemorySource : public ByteSource {
public:
    explicit MemorySource(std::string_view bytes) : m_bytes(bytes) {}
    long long Read(void* buffer, std::size_t size) override;
    long long Seek(long long offset, int whence) override;
    long long Size() override { return static_cast<long long>(m_bytes.size()); }

private:
    std::string_view m_bytes;
    std::size_t m_pos = 0;
};

}  // namespace tc::archivers
