// A thin application framework in the manner of the classic Windows C++ frameworks: an
// application object with InitInstance, and dialogs with OnInitDialog, OnCommand, OnOK,
// OnCancel and one typed handler per message. The back end cracks each window message into
// its handler, so no packed message parameter reaches the code above this floor.
//
// Handlers that return bool say whether they handled the message; the base versions return
// false and the dialog's default processing runs.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Messages.h"
#include "platform/Platform.h"

namespace tc {

class CWnd {
public:
    virtual ~CWnd() = default;
    NativeHandle m_hWnd = 0;
};

class CDialog : public CWnd {
public:
    CDialog(Platform& platform, int templateId) : m_platform(platform), m_templateId(templateId) {}

    // owner: the window the dialog belongs to (disabled while it runs), 0 for none.
    int DoModal(NativeHandle owner = 0) { return m_platform.windows.RunModalDialog(*this, m_templateId, owner); }
    // Creates the dialog as a modeless window owned by owner; false when it could not be made.
    bool Create(NativeHandle owner) { return m_platform.windows.CreateModelessDialog(*this, m_templateId, owner) != 0; }
    void EndDialog(int result) { m_platform.windows.EndDialog(m_hWnd, result); }
    int TemplateId() const { return m_templateId; }

    virtual bool OnInitDialog() { return true; }

    // A menu or control command; returns true when handled. The default sends IDOK and
    // IDCANCEL to OnOK and OnCancel.
    virtual bool OnCommand(int id);
    // A notification of one of the dialog's controls (a click, a selection change) that
    // arrives as a command; when it is not handled, OnCommand gets the id.
    virtual bool OnControlCommand(int /*id*/, int /*code*/) { return false; }
    // A notification of a control that arrives as WM_NOTIFY, with its result.
    virtual bool OnNotify(int /*id*/, int /*code*/, std::intptr_t& /*result*/) { return false; }
    // A slider (or scroll bar) of the dialog moved.
    virtual bool OnScroll(int /*id*/) { return false; }
    virtual void OnOK() { EndDialog(kIdOk); }
    virtual void OnCancel() { EndDialog(kIdCancel); }

    virtual bool OnTimer(int /*timerId*/) { return false; }
    virtual bool OnPaint() { return false; }
    // Mouse positions are in client coordinates.
    virtual bool OnLButtonDown(Point /*client*/) { return false; }
    virtual bool OnLButtonUp(Point /*client*/) { return false; }
    virtual bool OnLButtonDblClk(Point /*client*/) { return false; }
    virtual bool OnRButtonDown(Point /*client*/) { return false; }
    virtual bool OnMouseMove(Point /*client*/, bool /*leftButtonDown*/) { return false; }
    // The mouse capture went to another window (or was released).
    virtual bool OnCaptureChanged() { return false; }
    // Data another program sent (WM_COPYDATA): the sender's window and the bytes, never more
    // than the sender declared.
    virtual bool OnCopyData(NativeHandle /*sender*/, std::string_view /*bytes*/) { return false; }
    // Files dropped on the window, as full paths.
    virtual bool OnDropFiles(const std::vector<std::string>& /*paths*/) { return false; }
    // The icon shown while the window is dragged minimized; 0 for the default.
    virtual NativeHandle OnQueryDragIcon() { return 0; }
    // Messages the program defines itself (from WM_APP on, and registered ones): the two
    // values mean what the message's sender gives them.
    virtual bool OnAppMessage(unsigned /*message*/, std::uintptr_t /*first*/, std::intptr_t /*second*/,
                              std::intptr_t& /*result*/) {
        return false;
    }
    virtual void OnDestroy() {}
    // The displays changed (one added or removed, a resolution or a scale changed).
    virtual bool OnDisplayChange() { return false; }
    // The window's monitor now has dpi dots per inch (it moved there, or its scale changed).
    virtual bool OnDpiChanged(int /*dpi*/) { return false; }
    // The session ends (ending true) or a planned end was called off; after this returns with
    // ending true the process may be ended at any moment.
    virtual void OnEndSession(bool /*ending*/) {}

    Platform& platform() { return m_platform; }

private:
    Platform& m_platform;
    int m_templateId;
};

// A page of a property sheet: a dialog from its template with a tab caption. Pages own their
// values; the code that runs the sheet copies them in before and out after.
class CPropertyPage : public CDialog {
public:
    CPropertyPage(Platform& platform, int templateId, std::string caption)
        : CDialog(platform, templateId), m_caption(std::move(caption)) {}

    const std::string& Caption() const { return m_caption; }

    // The page is about to be left, or the sheet confirmed: take the values from the
    // controls. False (after telling the user why) keeps the page open.
    virtual bool OnKillActive() { return true; }
    virtual void OnSetActive() {}

    bool OnNotify(int id, int code, std::intptr_t& result) override;

private:
    std::string m_caption;
};

// A modal property sheet of pages, shown in the order added, the first one selected.
class CPropertySheet {
public:
    CPropertySheet(Platform& platform, std::string caption) : m_platform(platform), m_caption(std::move(caption)) {}
    virtual ~CPropertySheet() = default;

    void AddPage(CPropertyPage& page) { m_pages.push_back(&page); }
    const std::vector<CPropertyPage*>& Pages() const { return m_pages; }
    const std::string& Caption() const { return m_caption; }
    // kIdOk when confirmed, kIdCancel when closed otherwise.
    int DoModal(NativeHandle owner) { return m_platform.windows.RunPropertySheet(*this, owner); }

private:
    Platform& m_platform;
    std::string m_caption;
    std::vector<CPropertyPage*> m_pages;
};

// Hands one window message to the dialog's handler (every message the framework cracks
// without the window system's own data structures); returns whether it was handled, with
// the message's result in result.
bool DispatchDialogMessage(CDialog& dialog, unsigned message, std::uintptr_t wParam, std::intptr_t lParam,
                           std::intptr_t& result);

class CWinApp {
public:
    explicit CWinApp(Platform& platform) : m_platform(platform) {}
    virtual ~CWinApp() = default;

    // Returns false to end the process after it returns.
    virtual bool InitInstance() = 0;

    Platform& platform() { return m_platform; }
    CWnd* m_pMainWnd = nullptr;

private:
    Platform& m_platform;
};

}  // namespace tc
