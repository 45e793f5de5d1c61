// Entry point of tumblecat.exe: the one place that knows both the application and the
// Win32 back end, and hands the one to the other.
#include <windows.h>
#include <commctrl.h>

#include "app/TumbleApp.h"
#include "platform/win32/Win32Network.h"
#include "platform/win32/Win32Platform.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // The settings sheet's slider and tabs are common controls.
    INITCOMMONCONTROLSEX controlClasses{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&controlClasses);
    tc::Win32FileSystem files;
    tc::Win32SystemServices system;
    tc::Win32InterProcess ipc;
    tc::Win32WindowSystem windows;
    tc::Win32Painting painting;
    tc::Win32Input input;
    tc::Win32Shell shell;
    tc::Win32Controls controls;
    tc::Win32Libraries libraries;
    tc::Win32BackgroundWork background;
    tc::Win32Network network;
    tc::Platform platform{files, system, ipc, windows, painting, input, shell, controls, libraries, background, network};
    tc::CTumbleApp app(platform);
    app.InitInstance();
    return 0;
}
