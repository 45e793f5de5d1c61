// A character window started on a temporary base directory with the recording window
// system, for tests that drive it message by message.
#pragma once

#include <memory>

#include "app/AppGlobals.h"
#include "app/TumbleDlg.h"
#include "platform/Messages.h"
#include "support/FakePlatform.h"
#include "support/Images.h"
#include "support/TempDir.h"

namespace tc::test {

constexpr std::uintptr_t kMkLButton = 0x0001;  // a mouse move with the left button held

class DialogHarness {
public:
    DialogHarness() { s_baseDirectory = dir.Base(); }
    ~DialogHarness() { Destroy(); }

    // Runs OnInitDialog on a new character window.
    CTumbleDlg& Start() {
        dlg = std::make_unique<CTumbleDlg>(fake.platform);
        dlg->m_hWnd = FakeWindowSystem::kDialogWindow;
        fake.background.deliver = [this](unsigned message) { Send(message); };
        dlg->OnInitDialog();
        return *dlg;
    }
    void Destroy() {
        if (!dlg) return;
        Send(kWmDestroy);
        dlg.reset();
    }
    std::intptr_t Send(unsigned message, std::uintptr_t wParam = 0, std::intptr_t lParam = 0) {
        std::intptr_t result = 0;
        DispatchDialogMessage(*dlg, message, wParam, lParam, result);
        return result;
    }
    FakePainting::WindowLook& MainLook() { return fake.painting.Look(FakeWindowSystem::kDialogWindow); }
    void Timer(int id) { Send(kWmTimer, static_cast<std::uintptr_t>(id)); }
    void Command(int id) { Send(kWmCommand, static_cast<std::uintptr_t>(id)); }
    // A mouse message's packed position, with the left button held for moves.
    static std::intptr_t PointParam(int x, int y) {
        return static_cast<std::intptr_t>((static_cast<std::uint32_t>(y & 0xFFFF) << 16) | (x & 0xFFFF));
    }

    // A BMP skin of surfaces whose picture s is a filled rectangle on the key colour.
    void WriteRectangleSkin(const std::string& folder, int surfaces, int width, int height) {
        dir.Write("skin\\" + folder + "\\profile.txt", folder + "\r\n");
        for (int s = 0; s < surfaces; ++s) {
            dir.Write("skin\\" + folder + "\\surface" + std::to_string(s) + (s >= 10 ? "m" : "") + ".bmp",
                      MakeBmp(width, height, [s](int x, int y) {
                          return (x >= 2 && y >= 1 && x < 10 + s) ? 0x101010u * static_cast<unsigned>(s + 1) : 0xFF00FFu;
                      }));
        }
    }
    void UseSkin(const std::string& folder) {
        dir.Write("tumblecat.cfg", "0\r\n" + folder + "\r\n");
    }

    TempDir dir;
    FakePlatform fake;
    std::unique_ptr<CTumbleDlg> dlg;
};

}  // namespace tc::test
