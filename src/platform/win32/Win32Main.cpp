// Entry point of tumblecat.exe: the Win32 services handed to the application object.
#include <windows.h>

#include "app/TumbleApp.h"
#include "platform/win32/Win32Platform.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    tc::Win32FileSystem files;
    tc::Win32SystemServices system;
    tc::Win32WindowSystem windows;
    tc::Platform platform{files, system, windows};
    tc::CTumbleApp app(platform);
    app.InitInstance();
    return 0;
}
