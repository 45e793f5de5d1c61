#include "support/FakePlatform.h"

#include <algorithm>
#include <utility>

#include "platform/Messages.h"

namespace tc::test {

// --- Other processes ---

namespace {
class FakeMutex : public NamedObject {
public:
    FakeMutex(FakeInterProcess& owner, std::string name) : m_owner(owner), m_name(std::move(name)) {
        m_owner.liveMutexes.insert(m_name);
    }
    ~FakeMutex() override { m_owner.liveMutexes.erase(m_owner.liveMutexes.find(m_name)); }

private:
    FakeInterProcess& m_owner;
    std::string m_name;
};

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

std::unique_ptr<NamedObject> FakeInterProcess::CreateNamedMutex(const std::string& name, bool& alreadyExisted) {
    alreadyExisted = MutexExists(name);
    if (failMutexCreation) return nullptr;
    return std::make_unique<FakeMutex>(*this, name);
}

std::optional<std::string> FakeInterProcess::ReadSharedText(const std::string& name, const std::string& guardMutex,
                                                           std::size_t offset) {
    guardsAsked.push_back(guardMutex);
    const auto it = sharedBlocks.find(name);
    if (it == sharedBlocks.end()) return std::nullopt;
    if (it->second.size() <= offset) return std::string();
    const std::string text = it->second.substr(offset);
    return text.substr(0, text.find('\0'));
}

std::unique_ptr<SharedBlock> FakeInterProcess::CreateSharedBlock(const std::string& name, std::size_t size) {
    return std::make_unique<FakeSharedBlock>(ownBlocks, name, size);
}

bool FakeInterProcess::WriteProcessMemory(std::uint32_t processId, std::uintptr_t address, std::string_view bytes) {
    if (failMemoryWrites) return false;
    memoryWrites.push_back({processId, address, std::string(bytes)});
    return true;
}

unsigned FakeInterProcess::RegisterMessage(const std::string& name) {
    const auto it = registeredMessages.find(name);
    if (it != registeredMessages.end()) return it->second;
    const unsigned number = 0xC100 + static_cast<unsigned>(registeredMessages.size());
    registeredMessages[name] = number;
    return number;
}

bool FakeInterProcess::SendCopyData(NativeHandle target, NativeHandle sender, std::uintptr_t tag,
                                    std::string_view bytes, int timeoutMs) {
    copyData.push_back({target, sender, tag, std::string(bytes), timeoutMs});
    if (onCopyData) onCopyData(copyData.back());
    return unreachable.count(target) == 0;
}

std::optional<std::intptr_t> FakeInterProcess::SendQuery(NativeHandle target, unsigned message, std::uintptr_t first,
                                                         std::intptr_t second, int timeoutMs) {
    queries.push_back({target, message, first, second, timeoutMs});
    return answerQuery(queries.back());
}

bool FakeInterProcess::ExchangeMailslot(const std::string& ownSlot, const std::string& peerSlot,
                                        std::string_view message, int readTimeoutMs) {
    mailslots.push_back({ownSlot, peerSlot, std::string(message), readTimeoutMs});
    return mailslotsWork;
}

// --- Shell ---

bool FakeShell::AddTrayIcon(const TrayIcon& icon) {
    trayIcons.push_back(icon);
    return true;
}

bool FakeShell::DeleteTrayIcon(const TrayIcon& icon) {
    for (auto it = trayIcons.begin(); it != trayIcons.end(); ++it) {
        if (it->window == icon.window && it->id == icon.id) {
            trayIcons.erase(it);
            return true;
        }
    }
    return false;
}

// --- Painting ---

namespace {
int ReadInt(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<int>(b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<unsigned>(b[at + 3]) << 24));
}
}  // namespace

NativeHandle FakePainting::CreateScreenBitmap(const std::vector<std::uint8_t>& info, const std::uint8_t* bits) {
    if (info.size() < 40 || bits == nullptr) return 0;
    if (failBitmapsAfter == 0) return 0;
    if (failBitmapsAfter > 0) --failBitmapsAfter;
    const NativeHandle handle = ++nextObject;
    liveBitmaps[handle] = {ReadInt(info, 4), ReadInt(info, 8), info[14] | (info[15] << 8)};
    return handle;
}

NativeHandle FakePainting::CreateRegion(const std::vector<ShapeRun>& runs) {
    if (runs.empty()) return 0;
    const NativeHandle handle = ++nextObject;
    liveRegions[handle] = runs;
    return handle;
}

void FakePainting::DeleteObject(NativeHandle object) {
    deletedObjects.push_back(object);
    liveBitmaps.erase(object);
    liveRegions.erase(object);
    regionBounds.erase(object);
    bitmapResources.erase(object);
    liveFonts.erase(object);
}

NativeHandle FakePainting::LoadBitmapResource(int resourceId) {
    const NativeHandle handle = ++nextObject;
    bitmapResources[handle] = resourceId;
    return handle;
}

NativeHandle FakePainting::CreateTextFont(const std::string& face, int height) {
    const NativeHandle handle = ++nextObject;
    liveFonts[handle] = {face, height};
    return handle;
}

NativeHandle FakePainting::CreateRoundRectRegion(const Rect& rect, int, int) {
    const NativeHandle handle = ++nextObject;
    regionBounds[handle] = rect;
    return handle;
}

NativeHandle FakePainting::CreatePolygonRegion(const std::vector<Point>& points) {
    if (points.empty()) return 0;
    Rect bounds{points[0].x, points[0].y, points[0].x, points[0].y};
    for (const Point& p : points) {
        bounds = {std::min(bounds.left, p.x), std::min(bounds.top, p.y), std::max(bounds.right, p.x),
                  std::max(bounds.bottom, p.y)};
    }
    const NativeHandle handle = ++nextObject;
    regionBounds[handle] = bounds;
    return handle;
}

NativeHandle FakePainting::UniteRegions(NativeHandle first, NativeHandle second) {
    const Rect a = regionBounds.at(first), b = regionBounds.at(second);
    const NativeHandle handle = ++nextObject;
    regionBounds[handle] = {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                            std::max(a.bottom, b.bottom)};
    return handle;
}

namespace {
class FakeCanvas : public Canvas {
public:
    explicit FakeCanvas(std::vector<FakePainting::Drawn>& drawn) : m_drawn(drawn) {}
    void DrawBitmap(NativeHandle bitmap, Point at, int, int, Point from, int factor) override {
        m_drawn.push_back({bitmap, at, {}, 0, from, factor});
    }
    void DrawString(NativeHandle font, std::uint32_t rgb, Point at, std::string_view text) override {
        m_drawn.push_back({font, at, std::string(text), rgb, {}, 1});
    }

private:
    std::vector<FakePainting::Drawn>& m_drawn;
};
}  // namespace

void FakePainting::PaintCanvas(NativeHandle window, const std::function<void(Canvas&)>& draw) {
    WindowLook& look = Look(window);
    look.drawn.clear();
    ++look.paintCount;
    FakeCanvas canvas(look.drawn);
    draw(canvas);
}

FakePainting::WindowLook& FakePainting::Look(NativeHandle window) { return looks[window]; }

void FakePainting::SetWindowShape(NativeHandle window, NativeHandle region) {
    const auto it = liveRegions.find(region);
    WindowLook& look = Look(window);
    const auto bounds = regionBounds.find(region);
    look.shapeBounds = bounds == regionBounds.end() ? Rect{} : bounds->second;
    look.shapeIsOnePixel = it == liveRegions.end() && bounds == regionBounds.end();
    look.shape = it == liveRegions.end() ? std::vector<ShapeRun>{} : it->second;
}

void FakePainting::PaintWindow(NativeHandle window, NativeHandle bitmap, int width, int height, int factor) {
    WindowLook& look = Look(window);
    look.lastPainted = bitmap;
    look.paintedSize = {width, height, factor};
    ++look.paintCount;
}

bool FakePainting::SetLayeredAlpha(NativeHandle window, int alpha) {
    Look(window).layeredAlpha = alpha;
    return true;
}

// --- Windows ---

// --- Controls ---

void FakeControls::InsertItem(NativeHandle dialog, int id, int index, const std::string& text) {
    auto& items = At(dialog, id).items;
    items.insert(items.begin() + std::min<std::ptrdiff_t>(index, static_cast<std::ptrdiff_t>(items.size())), text);
}

void FakeControls::DeleteItem(NativeHandle dialog, int id, int index) {
    auto& items = At(dialog, id).items;
    if (index >= 0 && index < static_cast<int>(items.size())) items.erase(items.begin() + index);
    At(dialog, id).selection = -1;
}

std::string FakeControls::ItemText(NativeHandle dialog, int id, int index) {
    const auto& items = At(dialog, id).items;
    return index >= 0 && index < static_cast<int>(items.size()) ? items[static_cast<std::size_t>(index)] : std::string();
}

// --- Property sheets ---

void FakeSheet::Make(int index) {
    CPropertyPage& page = Page(index);
    page.m_hWnd = ++m_windows.nextWindow;
    m_windows.Window(page.m_hWnd).dialog = &page;
    page.OnInitDialog();
    m_made.insert(index);
}

bool FakeSheet::ShowPage(int index) {
    std::intptr_t result = 0;
    if (m_current >= 0) {
        Page(m_current).OnNotify(0, kPsnKillActive, result);
        if (result != 0) return false;
    }
    if (!Made(index)) Make(index);
    m_current = index;
    Page(index).OnNotify(0, kPsnSetActive, result);
    return true;
}

bool FakeSheet::PressOk() {
    std::intptr_t result = 0;
    Page(m_current).OnNotify(0, kPsnKillActive, result);
    if (result != 0) return false;
    m_windows.sheetConfirmed = true;
    return true;
}

int FakeWindowSystem::RunPropertySheet(CPropertySheet& sheet, NativeHandle owner) {
    sheetCaptions.push_back(sheet.Caption());
    sheetConfirmed = false;
    FakeSheet run(*this, sheet);
    run.ShowPage(0);
    if (owner) Window(owner).disabled = true;
    if (whileSheetRuns) whileSheetRuns(run);
    if (owner) Window(owner).disabled = false;
    for (CPropertyPage* page : sheet.Pages()) {
        if (page->m_hWnd) DestroyWindow(page->m_hWnd);
    }
    return sheetConfirmed ? kIdOk : kIdCancel;
}

FakeWindowSystem::FakeWindow& FakeWindowSystem::Window(NativeHandle window) { return windows[window]; }

int FakeWindowSystem::RunModalDialog(CDialog& dialog, int templateId, NativeHandle owner) {
    modalTemplates.push_back(templateId);
    if (owner) {
        const NativeHandle handle = ++nextWindow;
        Window(handle).owner = owner;
        Window(handle).templateId = templateId;
        dialog.m_hWnd = handle;
        Window(owner).disabled = true;
        dialog.OnInitDialog();
        if (!Window(handle).ended && whileOwnedRuns) whileOwnedRuns(dialog);
        std::intptr_t result = 0;
        DispatchDialogMessage(dialog, kWmDestroy, 0, 0, result);
        Window(handle).destroyed = true;
        Window(owner).disabled = false;
        dialog.m_hWnd = 0;
        return Window(handle).endResult;
    }
    dialog.m_hWnd = kDialogWindow;
    dialog.OnInitDialog();
    if (!Main().ended && whileRunning) whileRunning(dialog);
    std::intptr_t result = 0;
    DispatchDialogMessage(dialog, kWmDestroy, 0, 0, result);
    Main().destroyed = true;
    dialog.m_hWnd = 0;
    return Main().endResult;
}

NativeHandle FakeWindowSystem::CreateModelessDialog(CDialog& dialog, int templateId, NativeHandle owner) {
    const NativeHandle handle = ++nextWindow;
    FakeWindow& w = Window(handle);
    w.owner = owner;
    w.templateId = templateId;
    w.dialog = &dialog;
    dialog.m_hWnd = handle;
    dialog.OnInitDialog();
    return handle;
}

void FakeWindowSystem::DestroyWindow(NativeHandle window) {
    const auto it = windows.find(window);
    if (it == windows.end() || it->second.destroyed || !it->second.dialog) return;
    CDialog* dialog = it->second.dialog;
    std::intptr_t result = 0;
    DispatchDialogMessage(*dialog, kWmDestroy, 0, 0, result);
    it->second.destroyed = true;
    it->second.visible = false;
    it->second.dialog = nullptr;
    dialog->m_hWnd = 0;
}

void FakeWindowSystem::EndDialog(NativeHandle window, int result) {
    Window(window).ended = true;
    Window(window).endResult = result;
}

NativeHandle FakeWindowSystem::LoadAppIcon(int resourceId) {
    loadedIcons.push_back(resourceId);
    return kAppIcon;
}

void FakeWindowSystem::SetIcons(NativeHandle window, NativeHandle icon) {
    Window(window).bigIcon = Window(window).smallIcon = icon;
}

NativeHandle FakeWindowSystem::FindWindowByTitle(const std::string& searched) {
    titlesSearched.push_back(searched);
    const auto it = windowsByTitle.find(searched);
    return it == windowsByTitle.end() ? 0 : it->second;
}

NativeHandle FakeWindowSystem::FindWindowByClass(const std::string& className) {
    const auto it = windowsByClass.find(className);
    return it == windowsByClass.end() ? 0 : it->second;
}

Rect FakeWindowSystem::WindowRect(NativeHandle window) {
    const auto it = windows.find(window);
    return it == windows.end() ? Rect{} : it->second.rect;
}

void FakeWindowSystem::PlaceWindow(NativeHandle window, bool onTop, const Rect& rect, bool show) {
    FakeWindow& w = Window(window);
    w.topmost = onTop;
    w.rect = rect;
    if (show) w.visible = true;
    ++w.placeCount;
}

void FakeWindowSystem::SetTopmost(NativeHandle window, bool onTop, bool show) {
    FakeWindow& w = Window(window);
    w.topmost = onTop;
    if (show) w.visible = true;
}

bool FakeWindowSystem::IsWindowVisible(NativeHandle window) {
    const auto it = windows.find(window);
    return it != windows.end() && it->second.visible;
}

std::uint32_t FakeWindowSystem::WindowStyle(NativeHandle window) {
    const auto it = windows.find(window);
    return it == windows.end() ? 0 : it->second.style;
}

Point FakeWindowSystem::ClientToScreen(NativeHandle window, Point point) {
    const Rect r = WindowRect(window);
    return {point.x + r.left, point.y + r.top};
}

Point FakeWindowSystem::ScreenToClient(NativeHandle window, Point point) {
    const Rect r = WindowRect(window);
    return {point.x - r.left, point.y - r.top};
}

// --- Libraries ---

NativeHandle FakeLibraries::Load(const std::string& fileName) {
    loads.push_back(fileName);
    if (!available.count(fileName)) return 0;
    const NativeHandle module = m_next++;
    m_modules[module] = fileName;
    ++liveModules;
    return module;
}

void* FakeLibraries::Find(NativeHandle module, const std::string& name) {
    lookups.push_back(name);
    const auto it = m_modules.find(module);
    if (it == m_modules.end()) return nullptr;
    const auto& entries = available[it->second].entryPoints;
    const auto entry = entries.find(name);
    return entry == entries.end() ? nullptr : entry->second;
}

void FakeLibraries::Free(NativeHandle module) {
    if (m_modules.erase(module)) --liveModules;
}

// --- Work away from the window's thread ---

bool FakeBackgroundWork::Start(std::function<void()> work, NativeHandle, unsigned message) {
    if (m_busy) return false;
    ++started;
    m_busy = true;
    m_work = std::move(work);
    m_message = message;
    if (!hold) Complete();
    return true;
}

void FakeBackgroundWork::Finish() {
    if (m_work) std::exchange(m_work, nullptr)();
    m_busy = false;
}

void FakeBackgroundWork::Complete() {
    if (!m_work) return;
    std::exchange(m_work, nullptr)();
    if (deliver) deliver(m_message);
}

// --- The loopback door ---

namespace {
// Closing the door makes it knock no more.
class FakeDoor : public Door {
public:
    explicit FakeDoor(std::shared_ptr<bool> open) : m_open(std::move(open)) { *m_open = true; }
    ~FakeDoor() override { *m_open = false; }

private:
    std::shared_ptr<bool> m_open;
};
}  // namespace

std::unique_ptr<Door> FakeNetwork::OpenLoopbackDoor(int port, const DoorBounds& doorBounds, DoorHandler handler) {
    if (takenPort == port || IsOpen()) return nullptr;
    openedPort = port;
    bounds = doorBounds;
    m_handler = std::move(handler);
    m_open = std::make_shared<bool>(false);
    return std::make_unique<FakeDoor>(m_open);
}

std::optional<std::string> FakeNetwork::Knock(std::string_view received, bool ended) {
    if (!IsOpen()) return std::string();
    return m_handler(received, ended);
}

}  // namespace tc::test
