// A temporary folder for tests that work on real files; removed with its content.
#pragma once

#include <string>
#include <string_view>

namespace tc::test {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The folder in the form the program uses as its base directory (trailing separator).
    const std::string& Base() const { return m_base; }

    // relative uses '\' or '/' separators; folders on the way are created.
    void Write(const std::string& relative, std::string_view bytes) const;
    void MakeFolder(const std::string& relative) const;
    std::string Read(const std::string& relative) const;
    bool Exists(const std::string& relative) const;

private:
    std::string Native(const std::string& relative) const;
    std::string m_base;
};

}  // namespace tc::test
