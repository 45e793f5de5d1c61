// CArcBase binds one archiver library, loaded at run time: it picks the library file by
// archive kind, loads it on first use, builds each entry point's name from the library's
// prefix and the function's name, asks the library (QueryFunctionList) whether it offers a
// function before looking it up, and turns every failure into a result code with a Japanese
// message, shown in a message box unless m_showErrors is off.
//
//   kind  library          prefix      kind  library          prefix
//   1     UNLHA32.DLL      Unlha       4     TAR32.DLL        Tar
//   2     UNZIP32.DLL      UnZip       5     CAB32.DLL        Cab
//   3     UNARJ32J.DLL     UnArj       6     ISH32.DLL        Ish (its command is IshEx)
#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <utility>

#include "platform/Controls.h"
#include "platform/Libraries.h"

// The archiver libraries' calling convention.
#if defined(_WIN32)
#define TC_ARCHIVER_CALL __stdcall
#else
#define TC_ARCHIVER_CALL
#endif

namespace tc {

enum ArcKind : int { kArcLzh = 1, kArcZip = 2, kArcArj = 3, kArcTar = 4, kArcCab = 5, kArcIsh = 6 };

// Result codes of the binding itself.
constexpr int kArcErrorLoad = 0x8042;      // the library cannot be loaded
constexpr int kArcErrorFunction = 0x8043;  // the function cannot be called
constexpr int kArcErrorNoFileName = 0x802B;

// The library file of a kind; empty for any other kind.
std::string ArcLibraryName(int kind);

// The entry point of function number for a kind: the prefix followed by the function's name;
// number 0 (the command), and numbers not in the table, give the prefix alone (for kind 6,
// number 0 is "IshEx").
std::string ArcEntryPointName(int kind, int number);

// The message of a result code, and whether the code has one of its own (other codes give
// "未知のエラーです． ERROR[<code in decimal>]"). 0x8042 names the library.
std::pair<std::string, bool> ArcErrorMessage(int code, const std::string& libraryName);

// Whether the library file can be loaded (it is loaded and freed at once).
bool IsArchiverAvailable(Libraries& libraries, const std::string& libraryName);

class CArcException : public std::exception {
public:
    CArcException(std::string message, std::string function, int code)
        : m_message(std::move(message)), m_function(std::move(function)), m_code(code) {}
    ~CArcException() override = default;
    const char* what() const noexcept override { return m_message.c_str(); }

    std::string m_message;
    std::string m_function;
    int m_code;
    bool m_reported = false;
};

class CArcBase {
public:
    CArcBase(Libraries& libraries, Controls& controls, NativeHandle owner, int kind,
             const std::string& archiveName = std::string());
    virtual ~CArcBase();
    CArcBase(const CArcBase&) = delete;
    CArcBase& operator=(const CArcBase&) = delete;

    virtual NativeHandle LoadDll();
    virtual void* GetFunction(int number);
    [[noreturn]] virtual void ThrowError(int code, const std::string& functionName);
    virtual bool IsAvailable();
    virtual void UnloadDll();
    virtual std::pair<std::string, bool> ErrorMessage(int code);
    // Runs the command entry point (function 0): the output buffer is cleared first and its
    // last byte is always zero afterwards; 0x8043 when the function cannot be called.
    virtual int Command(NativeHandle owner, const std::string& commandLine, char* output, std::uint32_t size);
    virtual int GetVersion();
    virtual int GetRunning();
    virtual int CheckArchive(const std::string& archiveName, int mode);
    virtual int GetFileCount(const std::string& archiveName);
    virtual bool QueryFunctionList(int number);
    virtual NativeHandle OpenArchive(unsigned mode);
    virtual int CloseArchive();
    virtual int GetFileName(char* buffer, int size);
    virtual int GetOriginalSize();

    std::string m_dllName;
    // The folder the library is loaded from by its full path (ending in a backslash); empty
    // loads it by its bare name, which the system looks for in the current folder as well.
    std::string m_dllFolder;
    int m_kind;
    std::string m_archiveName;
    NativeHandle m_hOwner;
    NativeHandle m_hArc = 0;
    NativeHandle m_hModule = 0;
    bool m_showErrors = true;
    bool m_rethrow = false;

private:
    // Handles a failure: the message box (once, when messages are shown), then the rethrow.
    void Handle(CArcException& failure, const std::string& text);
    template <typename Fn>
    Fn Function(int number) {
        // Through an integer: ISO C++ has no direct cast between object and function pointers.
        return reinterpret_cast<Fn>(reinterpret_cast<std::uintptr_t>(GetFunction(number)));
    }

    Libraries& m_libraries;
    Controls& m_controls;
};

}  // namespace tc
