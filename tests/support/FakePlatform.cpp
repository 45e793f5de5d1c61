#include "support/FakePlatform.h"

#include "platform/Messages.h"

namespace tc::test {

namespace {
class FakeMutex : public NamedObject {
public:
    FakeMutex(FakeSystemServices& owner, std::string name) : m_owner(owner), m_name(std::move(name)) {
        m_owner.liveMutexes.insert(m_name);
    }
    ~FakeMutex() override { m_owner.liveMutexes.erase(m_owner.liveMutexes.find(m_name)); }

private:
    FakeSystemServices& m_owner;
    std::string m_name;
};
}  // namespace

std::unique_ptr<NamedObject> FakeSystemServices::CreateNamedMutex(const std::string& name, bool& alreadyExisted) {
    alreadyExisted = MutexExists(name);
    if (failMutexCreation) return nullptr;
    return std::make_unique<FakeMutex>(*this, name);
}

int FakeWindowSystem::RunModalDialog(CDialog& dialog, int templateId) {
    modalTemplates.push_back(templateId);
    dialog.m_hWnd = kDialogWindow;
    dialog.OnInitDialog();
    if (!ended && whileRunning) whileRunning(dialog);
    std::intptr_t result = 0;
    dialog.WindowProc(kWmDestroy, 0, 0, result);
    destroyed = true;
    dialog.m_hWnd = 0;
    return endResult;
}

void FakeWindowSystem::EndDialog(NativeHandle, int result) {
    ended = true;
    endResult = result;
}

NativeHandle FakeWindowSystem::LoadAppIcon(int resourceId) {
    loadedIcons.push_back(resourceId);
    return kAppIcon;
}

void FakeWindowSystem::SetIcons(NativeHandle, NativeHandle icon) { bigIcon = smallIcon = icon; }
void FakeWindowSystem::SetWindowTitle(NativeHandle, const std::string& newTitle) { title = newTitle; }
void FakeWindowSystem::AcceptDroppedFiles(NativeHandle, bool accept) { acceptsFiles = accept; }
void FakeWindowSystem::SetTimer(NativeHandle, int timerId, int milliseconds) { timers[timerId] = milliseconds; }
void FakeWindowSystem::KillTimer(NativeHandle, int timerId) { timers.erase(timerId); }

NativeHandle FakeWindowSystem::FindWindowByTitle(const std::string& searched) {
    titlesSearched.push_back(searched);
    const auto it = windowsByTitle.find(searched);
    return it == windowsByTitle.end() ? 0 : it->second;
}

void FakeWindowSystem::SetForeground(NativeHandle window) { foregrounded.push_back(window); }

}  // namespace tc::test
