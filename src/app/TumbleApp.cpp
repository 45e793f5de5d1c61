#include "app/TumbleApp.h"

#include "app/AppGlobals.h"
#include "app/TumbleDlg.h"
#include "common/Sjis.h"

namespace tc {

std::string s_baseDirectory;
std::unique_ptr<NamedObject> s_instanceMutex;

std::string BaseDirectoryFromModulePath(const std::string& modulePath) {
    const std::size_t backslash = FindLastSjisChar(modulePath, '\\');
    const std::size_t slash = FindLastSjisChar(modulePath, '/');
    std::size_t cut = std::string::npos;
    if (backslash != std::string::npos) cut = backslash;
    if (slash != std::string::npos && (cut == std::string::npos || slash > cut)) cut = slash;
    if (cut == std::string::npos) return std::string();
    return modulePath.substr(0, cut + 1);
}

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
