#include "platform/Framework.h"

#include "platform/Messages.h"

namespace tc {

bool CDialog::OnCommand(std::uintptr_t wParam, std::intptr_t /*lParam*/) {
    switch (static_cast<int>(wParam & 0xFFFF)) {
    case kIdOk:
        OnOK();
        return true;
    case kIdCancel:
        OnCancel();
        return true;
    default:
        return false;
    }
}

bool CDialog::WindowProc(unsigned /*message*/, std::uintptr_t /*wParam*/, std::intptr_t /*lParam*/,
                         std::intptr_t& /*result*/) {
    return false;
}

}  // namespace tc
