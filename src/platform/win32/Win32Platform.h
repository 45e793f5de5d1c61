// The Win32 back end of the platform interfaces (wide functions; texts are converted with code
// page 932, common/WideText.h).
// One class per interface; each is defined in the file named above it.
#pragma once

#include <thread>

#include "platform/Platform.h"

namespace tc {

// Win32Files.cpp
class Win32FileSystem : public FileSystem {
public:
    std::optional<std::string> ReadWholeFile(const std::string& path) override;
    bool WriteWholeFile(const std::string& path, std::string_view bytes) override;
    bool CanOpen(const std::string& path) override;
    std::optional<std::vector<DirEntry>> ListFolder(const std::string& folderPath) override;
    bool SetHidden(const std::string& path, bool hidden) override;
    bool IsHidden(const std::string& path) override;

    std::string WorkingDirectory() override;
    bool ChangeDirectory(const std::string& path) override;
    bool MakeFolder(const std::string& path) override;
    bool RemoveEmptyFolder(const std::string& path) override;
    bool CopyOver(const std::string& from, const std::string& to) override;
    bool RemoveFile(const std::string& path) override;
};

// Win32Libraries.cpp
class Win32Libraries : public Libraries {
public:
    NativeHandle Load(const std::string& fileName) override;
    void* Find(NativeHandle module, const std::string& name) override;
    void Free(NativeHandle module) override;
};

// Win32Background.cpp: a thread of the C++ library, the end posted with PostMessageW.
class Win32BackgroundWork : public BackgroundWork {
public:
    Win32BackgroundWork() = default;
    ~Win32BackgroundWork() override;
    Win32BackgroundWork(const Win32BackgroundWork&) = delete;
    Win32BackgroundWork& operator=(const Win32BackgroundWork&) = delete;
    bool Start(std::function<void()> work, NativeHandle window, unsigned message) override;
    bool Busy() const override { return m_thread.joinable(); }
    void Finish() override;

private:
    std::thread m_thread;
};

// Win32Processes.cpp
class Win32SystemServices : public SystemServices {
public:
    std::string ModuleFileName() override;
    std::int64_t TimeSeconds() override;
    std::uint32_t TickMilliseconds() override;
};

// Win32Processes.cpp
class Win32InterProcess : public InterProcess {
public:
    std::unique_ptr<NamedObject> CreateNamedMutex(const std::string& name, bool& alreadyExisted) override;
    bool NamedMutexExists(const std::string& name) override;
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

    // Asks another program's window for a text it writes into this process: message goes with
    // this process's id and the address of the answer buffer, and the window writes the text
    // there (ended by a NUL, kQueryAnswerBytes at most) before it answers non-zero. Nothing when
    // it did not answer within timeoutMs, or answered 0.
    // The buffer is the same at every call and is never freed, because a window that answers
    // after the time-out still writes into it; one query at a time.
    std::optional<std::string> QueryText(NativeHandle target, unsigned message, int timeoutMs);
    static constexpr std::size_t kQueryAnswerBytes = 4096;
};

// Win32Processes.cpp
class Win32Shell : public Shell {
public:
    void AcceptDroppedFiles(NativeHandle window, bool accept) override;
    void StartProgram(const std::string& file, const std::string& parameters) override;
    bool AddTrayIcon(const TrayIcon& icon) override;
    bool DeleteTrayIcon(const TrayIcon& icon) override;
};

// Win32Windows.cpp
class Win32WindowSystem : public WindowSystem {
public:
    int RunModalDialog(CDialog& dialog, int templateId, NativeHandle owner) override;
    void EndDialog(NativeHandle window, int result) override;
    NativeHandle CreateModelessDialog(CDialog& dialog, int templateId, NativeHandle owner) override;
    void DestroyWindow(NativeHandle window) override;
    int RunPropertySheet(CPropertySheet& sheet, NativeHandle owner) override;
    NativeHandle LoadAppIcon(int resourceId) override;
    void SetIcons(NativeHandle window, NativeHandle icon) override;
    NativeHandle SmallIcon(NativeHandle window) override;
    void SetWindowTitle(NativeHandle window, const std::string& title) override;
    void SetTimer(NativeHandle window, int timerId, int milliseconds) override;
    void KillTimer(NativeHandle window, int timerId) override;
    NativeHandle FindWindowByTitle(const std::string& title) override;
    NativeHandle FindWindowByClass(const std::string& className) override;
    void SetForeground(NativeHandle window) override;
    Rect ScreenRect() override;
    std::vector<Monitor> Monitors() override;
    Rect WindowRect(NativeHandle window) override;
    void PlaceWindow(NativeHandle window, bool topmost, const Rect& rect, bool show) override;
    void SetTopmost(NativeHandle window, bool topmost, bool show) override;
    void MoveWindow(NativeHandle window, const Rect& rect) override;
    void Invalidate(NativeHandle window, int width, int height) override;
    void InvalidateRect(NativeHandle window, const Rect& rect) override;
    void ShowWindow(NativeHandle window, bool show) override;
    bool IsWindowVisible(NativeHandle window) override;
    bool IsWindow(NativeHandle window) override;
    std::uint32_t WindowStyle(NativeHandle window) override;
    Point ClientToScreen(NativeHandle window, Point point) override;
    Point ScreenToClient(NativeHandle window, Point point) override;
};

// Win32Windows.cpp
class Win32Input : public Input {
public:
    void TrackContextMenu(NativeHandle window, const ContextMenu& menu, Point screen) override;
    Point CursorPosition() override;
    void SetCapture(NativeHandle window) override;
    void ReleaseCapture() override;
};

// Win32Controls.cpp
class Win32Controls : public Controls {
public:
    std::string Text(NativeHandle dialog, int id) override;
    void SetText(NativeHandle dialog, int id, const std::string& text) override;
    void AddItem(NativeHandle dialog, int id, const std::string& text) override;
    void InsertItem(NativeHandle dialog, int id, int index, const std::string& text) override;
    void DeleteItem(NativeHandle dialog, int id, int index) override;
    std::string ItemText(NativeHandle dialog, int id, int index) override;
    int Selection(NativeHandle dialog, int id) override;
    void Select(NativeHandle dialog, int id, int index) override;
    bool IsChecked(NativeHandle dialog, int id) override;
    void SetChecked(NativeHandle dialog, int id, bool checked) override;
    void SetSliderRange(NativeHandle dialog, int id, int minimum, int maximum) override;
    int SliderPosition(NativeHandle dialog, int id) override;
    void SetSliderPosition(NativeHandle dialog, int id, int position) override;
    void Enable(NativeHandle dialog, int id, bool enable) override;
    void Focus(NativeHandle dialog, int id) override;
    void ShowMessage(NativeHandle owner, const std::string& text) override;
};

// Win32Painting.cpp
class Win32Painting : public Painting {
public:
    // Looks up the optional layered-window function once.
    Win32Painting();

    NativeHandle CreateScreenBitmap(const std::vector<std::uint8_t>& info, const std::uint8_t* bits) override;
    NativeHandle CreateRegion(const std::vector<ShapeRun>& runs) override;
    void DeleteObject(NativeHandle object) override;
    NativeHandle LoadBitmapResource(int resourceId) override;
    NativeHandle CreateTextFont(const std::string& face, int height) override;
    NativeHandle CreateRoundRectRegion(const Rect& rect, int cornerWidth, int cornerHeight) override;
    NativeHandle CreatePolygonRegion(const std::vector<Point>& points) override;
    NativeHandle UniteRegions(NativeHandle first, NativeHandle second) override;
    void SetWindowShape(NativeHandle window, NativeHandle region) override;
    void PaintWindow(NativeHandle window, NativeHandle bitmap, int width, int height, int factor) override;
    void PaintCanvas(NativeHandle window, const std::function<void(Canvas&)>& draw) override;
    bool SetLayeredAlpha(NativeHandle window, int alpha) override;
    void ClearLayered(NativeHandle window) override;

private:
    using SetLayeredFn = int(__stdcall*)(void* window, unsigned long key, unsigned char alpha, unsigned long flags);
    SetLayeredFn m_setLayered = nullptr;  // null on systems without layered windows
};

}  // namespace tc
