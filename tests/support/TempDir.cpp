#include "support/TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "platform/posix/PosixFileSystem.h"

namespace tc::test {

namespace fs = std::filesystem;

TempDir::TempDir() {
    std::string pattern = (fs::temp_directory_path() / "tumblecat-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    m_base = pattern + "/";
}

TempDir::~TempDir() {
    std::error_code ignored;
    fs::remove_all(m_base, ignored);
}

std::string TempDir::Native(const std::string& relative) const {
    return PosixFileSystem::ToNativePath(m_base + relative);
}

void TempDir::Write(const std::string& relative, std::string_view bytes) const {
    const fs::path path = Native(relative);
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void TempDir::MakeFolder(const std::string& relative) const { fs::create_directories(Native(relative)); }

std::string TempDir::Read(const std::string& relative) const {
    std::ifstream in(Native(relative), std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

bool TempDir::Exists(const std::string& relative) const { return fs::exists(Native(relative)); }

}  // namespace tc::test
