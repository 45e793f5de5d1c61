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

std::optional<std::string> FakeSystemServices::ReadSharedText(const std::string& name, const std::string& guardMutex,
                                                              std::size_t offset) {
    guardsAsked.push_back(guardMutex);
    const auto it = sharedBlocks.find(name);
    if (it == sharedBlocks.end()) return std::nullopt;
    if (it->second.size() <= offset) return std::string();
    const std::string text = it->second.substr(offset);
    return text.substr(0, text.find('\0'));
}

namespace {
class FakeSharedBlock : public SharedBlock {
public:
    FakeSharedBlock(std::map<std::string, std::string>& blocks, std::string name, std::size_t size)
        : m_blocks(blocks), m_name(std::move(name)) {
        m_blocks[m_name] = std::string(size, '\0');
    }
    ~FakeSharedBlock() override { m_blocks.erase(m_name); }
    bool Write(std::size_t offset, std::string_view bytes) override {
        std::string& block = m_blocks[m_name];
        if (offset > block.size() || bytes.size() > block.size() - offset) return false;
        block.replace(offset, bytes.size(), bytes);
        return true;
    }

private:
    std::map<std::string, std::string>& m_blocks;
    std::string m_name;
};
}  // namespace

std::unique_ptr<SharedBlock> FakeSystemServices::CreateSharedBlock(const std::string& name, std::size_t size) {
    return std::make_unique<FakeSharedBlock>(ownBlocks, name, size);
}

bool FakeSystemServices::WriteProcessMemory(std::uint32_t processId, std::uintptr_t address, std::string_view bytes) {
    if (failMemoryWrites) return false;
    memoryWrites.push_back({processId, address, std::string(bytes)});
    return true;
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

NativeHandle FakeWindowSystem::FindWindowByClass(const std::string& className) {
    const auto it = windowsByClass.find(className);
    return it == windowsByClass.end() ? 0 : it->second;
}

void FakeWindowSystem::SetForeground(NativeHandle window) { foregrounded.push_back(window); }

namespace {
int ReadInt(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<int>(b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<unsigned>(b[at + 3]) << 24));
}
}  // namespace

NativeHandle FakeWindowSystem::CreateScreenBitmap(const std::vector<std::uint8_t>& info, const std::uint8_t* bits) {
    if (info.size() < 40 || bits == nullptr) return 0;
    if (failBitmapsAfter == 0) return 0;
    if (failBitmapsAfter > 0) --failBitmapsAfter;
    const NativeHandle handle = ++nextObject;
    liveBitmaps[handle] = {ReadInt(info, 4), ReadInt(info, 8), info[14] | (info[15] << 8)};
    return handle;
}

NativeHandle FakeWindowSystem::CreateRegion(const std::vector<ShapeRun>& runs) {
    if (runs.empty()) return 0;
    const NativeHandle handle = ++nextObject;
    liveRegions[handle] = runs;
    return handle;
}

void FakeWindowSystem::DeleteObject(NativeHandle object) {
    deletedObjects.push_back(object);
    liveBitmaps.erase(object);
    liveRegions.erase(object);
}

void FakeWindowSystem::SetWindowShape(NativeHandle, NativeHandle region) {
    const auto it = liveRegions.find(region);
    windowShapeIsOnePixel = it == liveRegions.end();
    windowShape = windowShapeIsOnePixel ? std::vector<ShapeRun>{} : it->second;
}

void FakeWindowSystem::PaintWindow(NativeHandle, NativeHandle bitmap, int, int) {
    lastPainted = bitmap;
    ++paintCount;
}

Rect FakeWindowSystem::WindowRect(NativeHandle window) {
    if (window == kDialogWindow) return windowRect;
    const auto it = otherWindowRects.find(window);
    return it == otherWindowRects.end() ? Rect{} : it->second;
}

void FakeWindowSystem::PlaceWindow(NativeHandle, bool onTop, const Rect& rect, bool show) {
    topmost = onTop;
    windowRect = rect;
    if (show) visible = true;
    ++placeCount;
}

void FakeWindowSystem::SetTopmost(NativeHandle, bool onTop, bool show) {
    topmost = onTop;
    if (show) visible = true;
}

void FakeWindowSystem::MoveWindow(NativeHandle, const Rect& rect) { windowRect = rect; }
void FakeWindowSystem::Invalidate(NativeHandle, int width, int height) { invalidations.emplace_back(width, height); }
void FakeWindowSystem::ShowWindow(NativeHandle, bool show) { visible = show; }

Point FakeWindowSystem::ClientToScreen(NativeHandle, Point point) {
    return {point.x + windowRect.left, point.y + windowRect.top};
}

Point FakeWindowSystem::ScreenToClient(NativeHandle, Point point) {
    return {point.x - windowRect.left, point.y - windowRect.top};
}

bool FakeWindowSystem::SetLayeredAlpha(NativeHandle, int alpha) {
    layeredAlpha = alpha;
    return true;
}

bool FakeWindowSystem::AddTrayIcon(const TrayIcon& icon) {
    trayIcons.push_back(icon);
    return true;
}

bool FakeWindowSystem::DeleteTrayIcon(const TrayIcon& icon) {
    for (auto it = trayIcons.begin(); it != trayIcons.end(); ++it) {
        if (it->window == icon.window && it->id == icon.id) {
            trayIcons.erase(it);
            return true;
        }
    }
    return false;
}

}  // namespace tc::test
