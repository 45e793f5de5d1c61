// A platform for the native tests: real files (PosixFileSystem on a temporary folder) and a
// recording double for every other interface, split the same way. Window state is kept per
// window handle, so the character window, the balloon and dialogs each have their own.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/Framework.h"
#include "platform/posix/PosixFileSystem.h"

namespace tc::test {

class FakeSystemServices : public SystemServices {
public:
    std::string ModuleFileName() override { return moduleFileName; }
    std::int64_t TimeSeconds() override { return timeSeconds; }
    std::uint32_t TickMilliseconds() override { return tickMilliseconds; }

    std::string moduleFileName = "C:\\tumblecat\\tumblecat.exe";
    std::int64_t timeSeconds = 1234567;
    std::uint32_t tickMilliseconds = 100000;
};

class FakeInterProcess : public InterProcess {
public:
    std::unique_ptr<NamedObject> CreateNamedMutex(const std::string& name, bool& alreadyExisted) override;
    bool NamedMutexExists(const std::string& name) override {
        return liveMutexes.count(name) != 0 || otherMutexes.count(name) != 0;
    }
    std::optional<std::string> ReadSharedText(const std::string& name, const std::string& guardMutex,
                                              std::size_t offset) override;
    std::unique_ptr<SharedBlock> CreateSharedBlock(const std::string& name, std::size_t size) override;
    bool WriteProcessMemory(std::uint32_t processId, std::uintptr_t address, std::string_view bytes) override;

    unsigned RegisterMessage(const std::string& name) override;
    bool SendCopyData(NativeHandle target, NativeHandle sender, std::uintptr_t tag, std::string_view bytes,
                      int timeoutMs) override;
    std::optional<std::intptr_t> SendQuery(NativeHandle target, unsigned message, std::uintptr_t first,
                                           std::intptr_t second, int timeoutMs) override;
    bool ExchangeMailslot(const std::string& ownSlot, const std::string& peerSlot, std::string_view message,
                          int readTimeoutMs) override;

    bool MutexExists(const std::string& name) const { return liveMutexes.count(name) != 0; }

    bool failMutexCreation = false;
    std::multiset<std::string> liveMutexes;
    std::set<std::string> otherMutexes;               // held by other processes
    std::map<std::string, std::string> sharedBlocks;  // published by others: whole bytes
    std::map<std::string, std::string> ownBlocks;     // published here: current bytes
    std::vector<std::string> guardsAsked;
    struct MemoryWrite {
        std::uint32_t processId;
        std::uintptr_t address;
        std::string bytes;
    };
    std::vector<MemoryWrite> memoryWrites;
    bool failMemoryWrites = false;

    std::map<std::string, unsigned> registeredMessages;
    struct CopyData {
        NativeHandle target, sender;
        std::uintptr_t tag;
        std::string bytes;
        int timeoutMs;
    };
    std::vector<CopyData> copyData;
    std::set<NativeHandle> unreachable;  // windows whose sends fail
    // Called for each copy sent, as the receiving window would handle it meanwhile.
    std::function<void(const CopyData&)> onCopyData;
    struct Query {
        NativeHandle target;
        unsigned message;
        std::uintptr_t first;
        std::intptr_t second;
        int timeoutMs;
    };
    std::vector<Query> queries;
    // The answer to a query; nothing stands for a window that does not answer in time.
    std::function<std::optional<std::intptr_t>(const Query&)> answerQuery = [](const Query&) {
        return std::optional<std::intptr_t>(0);
    };
    struct MailslotExchange {
        std::string ownSlot, peerSlot, message;
        int readTimeoutMs;
    };
    std::vector<MailslotExchange> mailslots;
    bool mailslotsWork = true;
};

class FakeShell : public Shell {
public:
    void AcceptDroppedFiles(NativeHandle window, bool accept) override {
        if (accept) filesAcceptedBy.insert(window); else filesAcceptedBy.erase(window);
    }
    void StartProgram(const std::string& file, const std::string& parameters) override {
        started.emplace_back(file, parameters);
    }
    bool AddTrayIcon(const TrayIcon& icon) override;
    bool DeleteTrayIcon(const TrayIcon& icon) override;

    std::set<NativeHandle> filesAcceptedBy;
    std::vector<std::pair<std::string, std::string>> started;  // program, parameters
    std::vector<TrayIcon> trayIcons;
};

class FakePainting : public Painting {
public:
    NativeHandle CreateScreenBitmap(const std::vector<std::uint8_t>& info, const std::uint8_t* bits) override;
    NativeHandle CreateRegion(const std::vector<ShapeRun>& runs) override;
    void DeleteObject(NativeHandle object) override;
    void SetWindowShape(NativeHandle window, NativeHandle region) override;
    void PaintWindow(NativeHandle window, NativeHandle bitmap, int width, int height, int factor) override;
    bool SetLayeredAlpha(NativeHandle window, int alpha) override;
    void ClearLayered(NativeHandle window) override { Look(window).layeredAlpha.reset(); }
    NativeHandle LoadBitmapResource(int resourceId) override;
    NativeHandle CreateTextFont(const std::string& face, int height) override;
    NativeHandle CreateRoundRectRegion(const Rect& rect, int cornerWidth, int cornerHeight) override;
    NativeHandle CreatePolygonRegion(const std::vector<Point>& points) override;
    NativeHandle UniteRegions(NativeHandle first, NativeHandle second) override;
    void PaintCanvas(NativeHandle window, const std::function<void(Canvas&)>& draw) override;

    // One drawing operation of a paint: a bitmap, or a text with its font and colour.
    struct Drawn {
        NativeHandle object = 0;  // the bitmap or the font
        Point at;
        std::string text;         // empty for a bitmap
        std::uint32_t rgb = 0;
        Point from;               // the bitmap's part drawn
        int factor = 1;           // each pixel drawn as a block this wide
        bool operator==(const Drawn&) const = default;
    };

    // How one window looks.
    struct WindowLook {
        std::vector<ShapeRun> shape;  // runs of the region last given
        bool shapeIsOnePixel = false;
        NativeHandle lastPainted = 0;
        struct PaintedSize {
            int width = 0, height = 0, factor = 1;
            bool operator==(const PaintedSize&) const = default;
        } paintedSize;  // of the last PaintWindow: the bitmap's part and its enlargement
        int paintCount = 0;
        std::optional<int> layeredAlpha;  // set while the window is layered
        std::vector<Drawn> drawn;         // by the last PaintCanvas
        Rect shapeBounds;                 // bounds of the region last given
    };
    WindowLook& Look(NativeHandle window);

    // Objects made and not yet deleted: bitmaps with their size, regions with their runs.
    struct BitmapRecord {
        int width = 0, height = 0, bitCount = 0;
    };
    std::map<NativeHandle, BitmapRecord> liveBitmaps;
    std::map<NativeHandle, std::vector<ShapeRun>> liveRegions;
    std::map<NativeHandle, Rect> regionBounds;     // of every live region
    std::map<NativeHandle, int> bitmapResources;   // live bitmaps loaded from resources
    struct FontRecord {
        std::string face;
        int height = 0;
    };
    std::map<NativeHandle, FontRecord> liveFonts;
    std::vector<NativeHandle> deletedObjects;
    NativeHandle nextObject = 0x5000;
    int failBitmapsAfter = -1;  // when not negative: bitmaps fail after this many
    std::map<NativeHandle, WindowLook> looks;
};

class FakeInput : public Input {
public:
    void TrackContextMenu(NativeHandle, const ContextMenu& menu, Point screen) override {
        menus.push_back(menu);
        menuPoints.push_back(screen);
    }
    Point CursorPosition() override { return cursor; }
    void SetCapture(NativeHandle window) override { captured = window; }
    void ReleaseCapture() override { captured = 0; }

    std::vector<ContextMenu> menus;
    std::vector<Point> menuPoints;
    Point cursor;
    NativeHandle captured = 0;
};

// Controls keyed by dialog window and id, and the message boxes shown.
class FakeControls : public Controls {
public:
    struct Control {
        std::string text;
        std::vector<std::string> items;
        int selection = -1;
        bool checked = false;
        bool enabled = true;
        int minimum = 0, maximum = 100, position = 0;
    };
    Control& At(NativeHandle dialog, int id) { return controls[{dialog, id}]; }

    std::string Text(NativeHandle dialog, int id) override { return At(dialog, id).text; }
    void SetText(NativeHandle dialog, int id, const std::string& text) override { At(dialog, id).text = text; }
    void AddItem(NativeHandle dialog, int id, const std::string& text) override { At(dialog, id).items.push_back(text); }
    void InsertItem(NativeHandle dialog, int id, int index, const std::string& text) override;
    void DeleteItem(NativeHandle dialog, int id, int index) override;
    std::string ItemText(NativeHandle dialog, int id, int index) override;
    int Selection(NativeHandle dialog, int id) override { return At(dialog, id).selection; }
    void Select(NativeHandle dialog, int id, int index) override { At(dialog, id).selection = index; }
    bool IsChecked(NativeHandle dialog, int id) override { return At(dialog, id).checked; }
    void SetChecked(NativeHandle dialog, int id, bool checked) override { At(dialog, id).checked = checked; }
    void SetSliderRange(NativeHandle dialog, int id, int minimum, int maximum) override {
        At(dialog, id).minimum = minimum;
        At(dialog, id).maximum = maximum;
    }
    int SliderPosition(NativeHandle dialog, int id) override { return At(dialog, id).position; }
    void SetSliderPosition(NativeHandle dialog, int id, int position) override { At(dialog, id).position = position; }
    void Enable(NativeHandle dialog, int id, bool enable) override { At(dialog, id).enabled = enable; }
    void Focus(NativeHandle dialog, int id) override { focused = {dialog, id}; }
    void ShowMessage(NativeHandle owner, const std::string& text) override { messages.emplace_back(owner, text); }

    std::map<std::pair<NativeHandle, int>, Control> controls;
    std::pair<NativeHandle, int> focused{0, 0};
    std::vector<std::pair<NativeHandle, std::string>> messages;
};

// A property sheet while it runs in the double: pages are made when first shown, as the
// window system makes them.
class FakeSheet {
public:
    FakeSheet(class FakeWindowSystem& windows, CPropertySheet& sheet) : m_windows(windows), m_sheet(sheet) {}
    CPropertySheet& Sheet() { return m_sheet; }
    int Current() const { return m_current; }
    // Leaves the current page for page index; false when the page refused to be left.
    bool ShowPage(int index);
    // OK: the current page is left first; false (the sheet stays open) when it refused.
    bool PressOk();
    CPropertyPage& Page(int index) { return *m_sheet.Pages()[static_cast<std::size_t>(index)]; }
    bool Made(int index) const { return m_made.count(index) != 0; }

private:
    void Make(int index);
    class FakeWindowSystem& m_windows;
    CPropertySheet& m_sheet;
    int m_current = -1;
    std::set<int> m_made;
};

class FakeWindowSystem : public WindowSystem {
public:
    static constexpr NativeHandle kDialogWindow = 0x1001;
    static constexpr NativeHandle kAppIcon = 0x2001;

    // Without an owner (the character window): runs the dialog's initialisation; unless it
    // ended itself, runs whileRunning (when set) and then destroys it as the window system
    // would when the dialog ends. With an owner: the dialog gets a window of its own, the
    // owner is disabled while whileOwnedRuns (when set) runs, and the result is its end result.
    int RunModalDialog(CDialog& dialog, int templateId, NativeHandle owner) override;
    std::function<void(CDialog&)> whileOwnedRuns;
    void EndDialog(NativeHandle window, int result) override;
    // Gives the dialog a new handle and runs its initialisation.
    NativeHandle CreateModelessDialog(CDialog& dialog, int templateId, NativeHandle owner) override;
    // Destroys a modeless dialog as the window system would.
    void DestroyWindow(NativeHandle window) override;
    // Makes the first page, then runs whileSheetRuns (the owner disabled meanwhile), which
    // decides the result with the sheet's PressOk (kIdOk) or by returning without it (kIdCancel).
    int RunPropertySheet(CPropertySheet& sheet, NativeHandle owner) override;
    std::function<void(FakeSheet&)> whileSheetRuns;
    std::vector<std::string> sheetCaptions;
    bool sheetConfirmed = false;
    NativeHandle LoadAppIcon(int resourceId) override;
    void SetIcons(NativeHandle window, NativeHandle icon) override;
    NativeHandle SmallIcon(NativeHandle window) override { return Window(window).smallIcon; }
    void SetWindowTitle(NativeHandle window, const std::string& title) override { Window(window).title = title; }
    void SetTimer(NativeHandle window, int timerId, int milliseconds) override {
        Window(window).timers[timerId] = milliseconds;
    }
    void KillTimer(NativeHandle window, int timerId) override { Window(window).timers.erase(timerId); }
    NativeHandle FindWindowByTitle(const std::string& title) override;
    NativeHandle FindWindowByClass(const std::string& className) override;
    void SetForeground(NativeHandle window) override { foregrounded.push_back(window); }

    Rect ScreenRect() override { return screen; }
    // The monitors set by the test; without any, one monitor that is the whole screen.
    std::vector<Monitor> Monitors() override {
        return monitors.empty() ? std::vector<Monitor>{{screen, screen, 96}} : monitors;
    }
    Rect WindowRect(NativeHandle window) override;
    void PlaceWindow(NativeHandle window, bool topmost, const Rect& rect, bool show) override;
    void SetTopmost(NativeHandle window, bool topmost, bool show) override;
    void MoveWindow(NativeHandle window, const Rect& rect) override { Window(window).rect = rect; }
    void Invalidate(NativeHandle window, int width, int height) override {
        Window(window).invalidations.emplace_back(width, height);
    }
    void InvalidateRect(NativeHandle window, const Rect& rect) override { Window(window).invalidRects.push_back(rect); }
    void ShowWindow(NativeHandle window, bool show) override { Window(window).visible = show; }
    bool IsWindowVisible(NativeHandle window) override;
    bool IsWindow(NativeHandle window) override {
        const auto it = windows.find(window);
        return it != windows.end() && !it->second.destroyed;
    }
    std::uint32_t WindowStyle(NativeHandle window) override;
    Point ClientToScreen(NativeHandle window, Point point) override;
    Point ScreenToClient(NativeHandle window, Point point) override;

    // Everything known of one window: the dialogs' own and other programs' alike.
    struct FakeWindow {
        Rect rect;
        bool visible = false;
        bool topmost = false;
        std::uint32_t style = 0;  // of other programs' windows
        int placeCount = 0;
        std::vector<std::pair<int, int>> invalidations;
        std::vector<Rect> invalidRects;
        std::map<int, int> timers;  // running timers: id -> period
        std::string title;
        NativeHandle bigIcon = 0, smallIcon = 0;
        bool ended = false;
        int endResult = 0;
        bool destroyed = false;
        NativeHandle owner = 0;
        bool disabled = false;  // while a modal dialog it owns runs
        int templateId = 0;
        CDialog* dialog = nullptr;  // of a modeless dialog while it lives
    };
    // The record of a window, made on first use.
    FakeWindow& Window(NativeHandle window);
    // The character window's record.
    FakeWindow& Main() { return Window(kDialogWindow); }

    std::map<NativeHandle, FakeWindow> windows;
    Rect screen{0, 0, 1024, 768};
    std::vector<Monitor> monitors;
    std::map<std::string, NativeHandle> windowsByClass;
    std::map<std::string, NativeHandle> windowsByTitle;
    std::vector<std::string> titlesSearched;
    std::vector<NativeHandle> foregrounded;
    std::function<void(CDialog&)> whileRunning;
    std::vector<int> modalTemplates;
    std::vector<int> loadedIcons;
    NativeHandle nextWindow = 0x1100;
};

// --- Libraries loaded at run time (the archiver libraries) ---
// A library is a table of entry points by name; loading one counts, so a test can see that
// every load was freed again.
class FakeLibraries : public Libraries {
public:
    NativeHandle Load(const std::string& fileName) override;
    void* Find(NativeHandle module, const std::string& name) override;
    void Free(NativeHandle module) override;

    struct Library {
        std::map<std::string, void*> entryPoints;
    };
    std::map<std::string, Library> available;  // by file name, as asked (letter case counts)
    std::vector<std::string> loads;             // file names asked for, loadable or not
    std::vector<std::string> lookups;           // entry point names asked for
    int liveModules = 0;

private:
    std::map<NativeHandle, std::string> m_modules;
    NativeHandle m_next = 0x7000;
};

// --- Work away from the window's thread ---
// Runs the work in Start and delivers the message at once, unless hold is set: then the work
// waits until Complete (or Finish) runs it, so a test can look at the window meanwhile.
class FakeBackgroundWork : public BackgroundWork {
public:
    bool Start(std::function<void()> work, NativeHandle window, unsigned message) override;
    bool Busy() const override { return m_busy; }
    void Finish() override;
    // Runs held work and delivers its message.
    void Complete();

    bool hold = false;
    std::function<void(unsigned message)> deliver;  // hands a message to the window
    int started = 0;

private:
    std::function<void()> m_work;
    unsigned m_message = 0;
    bool m_busy = false;
};

// --- The loopback door ---
// One door at most; a taken port opens none. A test knocks by handing bytes to the handler.
class FakeNetwork : public Network {
public:
    std::unique_ptr<Door> OpenLoopbackDoor(int port, const DoorBounds& bounds, DoorHandler handler) override;
    bool IsOpen() const { return m_open && *m_open; }
    // What the door answers to bytes that a connection brought; nothing while it waits for more.
    std::optional<std::string> Knock(std::string_view received, bool ended = false);

    std::optional<int> takenPort;
    int openedPort = 0;
    DoorBounds bounds;

private:
    DoorHandler m_handler;
    std::shared_ptr<bool> m_open;
};

struct FakePlatform {
    PosixFileSystem files;
    FakeSystemServices system;
    FakeInterProcess ipc;
    FakeWindowSystem windows;
    FakePainting painting;
    FakeInput input;
    FakeShell shell;
    FakeControls controls;
    FakeLibraries libraries;
    FakeBackgroundWork background;
    FakeNetwork network;
    Platform platform{files, system, ipc, windows, painting, input, shell, controls, libraries, background, network};
};

}  // namespace tc::test
