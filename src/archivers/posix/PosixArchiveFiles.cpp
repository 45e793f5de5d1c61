// The archiver libraries on POSIX (the native tests and fuzz targets): Windows-form paths
// become POSIX paths ('\' that is a character of its own becomes '/'); names stay Shift_JIS
// bytes. libarchive reads wide names in a UTF-8 locale of the thread's own.
#include <fcntl.h>
#include <locale.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "archivers/ArchiveFiles.h"
#include "archivers/ArchiveReader.h"
#include "archivers/MemberPath.h"
#include "common/Sjis.h"

namespace tc::archivers {

namespace {

std::string Native(const std::string& path) { return ReplaceSjisChar(path, '\\', '/'); }

// A file descriptor closed when it goes.
class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor() {
        if (m_fd >= 0) ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return m_fd; }

private:
    int m_fd;
};

class FileSource : public ByteSource {
public:
    explicit FileSource(int fd) : m_fd(fd) {}
    long long Read(void* buffer, std::size_t size) override {
        for (;;) {
            const ssize_t got = ::read(m_fd.Get(), buffer, size);
            if (got >= 0 || errno != EINTR) return got;
        }
    }
    long long Seek(long long offset, int whence) override {
        return ::lseek(m_fd.Get(), offset, whence == 0 ? SEEK_SET : whence == 1 ? SEEK_CUR : SEEK_END);
    }
    long long Size() override {
        struct stat st {};
        return ::fstat(m_fd.Get(), &st) == 0 ? st.st_size : -1;
    }

private:
    Descriptor m_fd;
};

class FileSink : public ByteSink {
public:
    explicit FileSink(int fd) : m_fd(fd) {}
    bool Write(const void* bytes, std::size_t size) override {
        const char* p = static_cast<const char*>(bytes);
        while (size) {
            const ssize_t done = ::write(m_fd.Get(), p, size);
            if (done < 0 && errno == EINTR) continue;
            if (done <= 0) return false;
            p += done;
            size -= static_cast<std::size_t>(done);
        }
        return true;
    }

private:
    Descriptor m_fd;
};

class PosixArchiveFiles : public ArchiveFiles {
public:
    std::unique_ptr<ByteSource> OpenRead(const std::string& path) override {
        const int fd = ::open(Native(path).c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) return nullptr;
        struct stat st {};
        if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            ::close(fd);
            return nullptr;
        }
        return std::make_unique<FileSource>(fd);
    }
    bool MakeFolder(const std::string& path) override {
        const std::string native = Native(path);
        if (::mkdir(native.c_str(), 0777) == 0) return true;
        struct stat st {};
        // lstat: a link standing where a folder should be is not a folder of ours.
        return errno == EEXIST && ::lstat(native.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    }
    std::unique_ptr<ByteSink> Create(const std::string& path) override {
        // O_NOFOLLOW: a link standing where the file should be is not followed.
        const int fd = ::open(Native(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0) return nullptr;
        return std::make_unique<FileSink>(fd);
    }
    void Remove(const std::string& path) override { ::unlink(Native(path).c_str()); }
};

}  // namespace

ArchiveFiles& SystemArchiveFiles() {
    static PosixArchiveFiles files;
    return files;
}

NameLocaleScope::NameLocaleScope() {
    locale_t own = ::newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    if (own) {
        m_own = own;
        m_previous = ::uselocale(own);
    }
}

NameLocaleScope::~NameLocaleScope() {
    if (m_own) {
        ::uselocale(static_cast<locale_t>(m_previous));
        ::freelocale(static_cast<locale_t>(m_own));
    }
}

}  // namespace tc::archivers
