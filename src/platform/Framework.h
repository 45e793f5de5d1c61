// A thin application framework in the manner of the classic Windows C++ frameworks: an
// application object with InitInstance, and dialogs with OnInitDialog, OnCommand, OnOK,
// OnCancel and a message handler. The window-system work is done by the platform back end,
// which drives these virtual operations from the real dialog procedure.
#pragma once

#include <cstdint>

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

    int DoModal() { return m_platform.windows.RunModalDialog(*this, m_templateId); }
    void EndDialog(int result) { m_platform.windows.EndDialog(m_hWnd, result); }
    int TemplateId() const { return m_templateId; }

    virtual bool OnInitDialog() { return true; }

    // Every WM_COMMAND comes here; returns true when the command was handled. The default
    // sends IDOK and IDCANCEL to OnOK and OnCancel.
    virtual bool OnCommand(std::uintptr_t wParam, std::intptr_t lParam);
    virtual void OnOK() { EndDialog(kIdOk); }
    virtual void OnCancel() { EndDialog(kIdCancel); }

    // Any other message. Returns true when handled, with the message's result in result.
    virtual bool WindowProc(unsigned message, std::uintptr_t wParam, std::intptr_t lParam, std::intptr_t& result);

    Platform& platform() { return m_platform; }

private:
    Platform& m_platform;
    int m_templateId;
};

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
