#include "app/TumbleApp.h"

#include "app/AppGlobals.h"
#include "app/TumbleDlg.h"
#include "common/FileNames.h"

namespace tc {

std::string s_baseDirectory;
std::unique_ptr<NamedObject> s_instanceMutex;

bool CTumbleApp::InitInstance() {
    Platform& p = platform();
    bool alreadyExisted = false;
    auto mutex = p.ipc.CreateNamedMutex(kInstanceMutexName, alreadyExisted);
    if (!mutex) return false;
    if (alreadyExisted) {
        mutex.reset();
        // The title looked for is "...", not the character window's title, so the running
        // copy is normally not brought forward: a second copy ends silently.
        if (const NativeHandle other = p.windows.FindWindowByTitle("...")) p.windows.SetForeground(other);
        return false;
    }
    s_instanceMutex = std::move(mutex);
    s_baseDirectory = BaseDirectoryFromModulePath(p.system.ModuleFileName());

    CTumbleDlg dlg(p);
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;
    s_instanceMutex.reset();  // already closed by the window's destruction, unless it never opened
    return false;
}

}  // namespace tc
