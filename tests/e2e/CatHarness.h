// Runs tumblecat.exe in a fresh temporary base directory and looks at it from outside: its
// process, windows, named objects and files.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace e2e {

// The character window's title (Shift_JIS, as the program sets it).
inline constexpr const char* kCatTitle = "たんぶる";

// A Linux path given at build time, in the form Wine's Windows programs use (Z:\...).
std::string WinePath(std::string_view unixPath);

class CatHarness {
public:
    CatHarness();
    // Runs the program already laid out in folder (a Windows path ending in a backslash, such
    // as an unpacked release), which is used as it is and left in place.
    explicit CatHarness(std::string folder);
    ~CatHarness();
    CatHarness(const CatHarness&) = delete;
    CatHarness& operator=(const CatHarness&) = delete;

    // Base directory, ending in a backslash; tumblecat.exe is already in it.
    const std::string& Base() const { return m_base; }

    void WriteFile(const std::string& relative, std::string_view bytes) const;
    // The file's bytes, or "<missing>" when it cannot be opened.
    std::string ReadFile(const std::string& relative) const;
    bool FileExists(const std::string& relative) const;
    void MakeFolder(const std::string& relative) const;
    void SetHidden(const std::string& relative) const;
    // Copies a test skin from tests/data/skins into skin\<folder>.
    void InstallTestSkin(const std::string& testSkin, const std::string& folder) const;
    // Copies a skin shipped with the program (data/skin/<skin>) into skin\<folder>.
    void InstallDataSkin(const std::string& skin, const std::string& folder = std::string()) const;
    // Copies a file built with the tests (a Linux path) into the base directory.
    void CopyIn(const std::string& unixPath, const std::string& relative) const;
    // Names of the entries of a folder in enumeration order ("." and ".." included).
    std::vector<std::string> ListFolder(const std::string& relative) const;

    // Installs the test skin as skin\tabby, writes tumblecat.cfg, starts the program and
    // waits for its window (null when none showed).
    HWND StartTabby(const std::string& settings, HANDLE* process = nullptr);

    // Starts tumblecat.exe from the base directory; returns the process handle (owned here).
    HANDLE Start();
    // Waits for a started process to end; returns its exit code, or STILL_ACTIVE on timeout.
    DWORD WaitForExit(HANDLE process, DWORD milliseconds) const;
    // The character window of the process once its start-up is over, waited for up to
    // milliseconds; null (and a test failure saying why) when that does not come. Over
    // means: the window is shown, the own block names it and the window answers a message,
    // so the program has left its start-up and runs its message loop.
    HWND WaitForCatWindow(HANDLE process, DWORD milliseconds) const;

private:
    std::string m_base;
    bool m_ownsBase = true;
    std::vector<HANDLE> m_processes;
};

// Top-level windows titled kCatTitle, of any process.
std::vector<HWND> CatWindows();

// Whether a named mutex exists.
bool MutexExists(const char* name);

// The first size bytes of the shared block "Tumblecat", empty while there is none.
std::string ReadOwnBlock(std::size_t size);

}  // namespace e2e
