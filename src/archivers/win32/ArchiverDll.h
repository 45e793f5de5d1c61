// The entry points of UNLHA32.DLL and UNZIP32.DLL, written once for both kinds; each library's
// file stamps them out under its own prefix (TC_ARCHIVER_EXPORTS) and its .def file exports
// them under their undecorated names. Calls are __stdcall, as callers of this family of
// libraries expect.
#pragma once

#include <windows.h>

#include "archivers/ArchiverApi.h"
#include "archivers/ArchiverCommand.h"

namespace tc::archivers::dll {

int Command(ArchiverKind kind, HWND owner, LPCSTR command, LPSTR output, DWORD size);
BOOL Running();
BOOL CheckArchive(ArchiverKind kind, LPCSTR archive, int mode);
int FileCount(ArchiverKind kind, LPCSTR archive);
HANDLE OpenArchive(ArchiverKind kind, LPCSTR archive);
int CloseArchive(HANDLE archive);
int FindFirst(HANDLE archive, LPCSTR pattern, ArchiverMemberRecord* record);
int FindNext(HANDLE archive, ArchiverMemberRecord* record);
int ArcFileName(HANDLE archive, LPSTR buffer, int size);
DWORD ArcFileSize(HANDLE archive);
DWORD ArcOriginalSize(HANDLE archive);
int FileName(HANDLE archive, LPSTR buffer, int size);
int OriginalSize(HANDLE archive);
WORD Date(HANDLE archive);
WORD Time(HANDLE archive);
int Attribute(HANDLE archive);
DWORD WriteTime(HANDLE archive);

}  // namespace tc::archivers::dll

#define TC_ARCHIVER_EXPORTS(PREFIX, KIND)                                                                  \
    extern "C" int WINAPI PREFIX(HWND owner, LPCSTR command, LPSTR output, DWORD size) {                    \
        return tc::archivers::dll::Command(KIND, owner, command, output, size);                            \
    }                                                                                                      \
    extern "C" WORD WINAPI PREFIX##GetVersion() { return tc::archivers::kLibraryVersion; }                 \
    extern "C" BOOL WINAPI PREFIX##GetRunning() { return tc::archivers::dll::Running(); }                  \
    extern "C" BOOL WINAPI PREFIX##CheckArchive(LPCSTR archive, int mode) {                                \
        return tc::archivers::dll::CheckArchive(KIND, archive, mode);                                      \
    }                                                                                                      \
    extern "C" int WINAPI PREFIX##GetFileCount(LPCSTR archive) {                                           \
        return tc::archivers::dll::FileCount(KIND, archive);                                               \
    }                                                                                                      \
    extern "C" BOOL WINAPI PREFIX##QueryFunctionList(int number) {                                         \
        return tc::archivers::OffersFunction(number) ? TRUE : FALSE;                                       \
    }                                                                                                      \
    /* The libraries show no windows, so an owner window is accepted and not used. */                      \
    extern "C" BOOL WINAPI PREFIX##SetOwnerWindow(HWND) { return TRUE; }                                   \
    extern "C" BOOL WINAPI PREFIX##ClearOwnerWindow() { return TRUE; }                                     \
    extern "C" HANDLE WINAPI PREFIX##OpenArchive(HWND, LPCSTR archive, DWORD) {                            \
        return tc::archivers::dll::OpenArchive(KIND, archive);                                             \
    }                                                                                                      \
    extern "C" int WINAPI PREFIX##CloseArchive(HANDLE archive) { return tc::archivers::dll::CloseArchive(archive); } \
    extern "C" int WINAPI PREFIX##FindFirst(HANDLE archive, LPCSTR pattern,                                \
                                            tc::archivers::ArchiverMemberRecord* record) {                 \
        return tc::archivers::dll::FindFirst(archive, pattern, record);                                    \
    }                                                                                                      \
    extern "C" int WINAPI PREFIX##FindNext(HANDLE archive, tc::archivers::ArchiverMemberRecord* record) {  \
        return tc::archivers::dll::FindNext(archive, record);                                              \
    }                                                                                                      \
    extern "C" int WINAPI PREFIX##GetArcFileName(HANDLE archive, LPSTR buffer, int size) {                 \
        return tc::archivers::dll::ArcFileName(archive, buffer, size);                                     \
    }                                                                                                      \
    extern "C" DWORD WINAPI PREFIX##GetArcFileSize(HANDLE archive) { return tc::archivers::dll::ArcFileSize(archive); } \
    extern "C" DWORD WINAPI PREFIX##GetArcOriginalSize(HANDLE archive) {                                   \
        return tc::archivers::dll::ArcOriginalSize(archive);                                               \
    }                                                                                                      \
    extern "C" int WINAPI PREFIX##GetFileName(HANDLE archive, LPSTR buffer, int size) {                    \
        return tc::archivers::dll::FileName(archive, buffer, size);                                        \
    }                                                                                                      \
    extern "C" int WINAPI PREFIX##GetOriginalSize(HANDLE archive) { return tc::archivers::dll::OriginalSize(archive); } \
    extern "C" WORD WINAPI PREFIX##GetDate(HANDLE archive) { return tc::archivers::dll::Date(archive); }   \
    extern "C" WORD WINAPI PREFIX##GetTime(HANDLE archive) { return tc::archivers::dll::Time(archive); }   \
    extern "C" int WINAPI PREFIX##GetAttribute(HANDLE archive) { return tc::archivers::dll::Attribute(archive); } \
    extern "C" DWORD WINAPI PREFIX##GetWriteTime(HANDLE archive) { return tc::archivers::dll::WriteTime(archive); }
