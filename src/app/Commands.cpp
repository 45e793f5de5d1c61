// The context menu and the commands it gives: drops, skins, switches and quit.
#include "app/TumbleDlg.h"
#include "skin/Resources.h"

namespace tc {

namespace {

constexpr int kContextMenuResource = IDR_CONTEXT_MENU;
constexpr int kFirstSkinCommand = kSkinIdBase;

std::vector<MenuItem> MenuItemsOf(const ElementList& list) {
    std::vector<MenuItem> items;
    for (const SElement& element : list) items.push_back({element.commandId, element.text});
    return items;
}

const SElement* FindByCommand(const ElementList& list, int id) {
    for (const SElement& element : list) {
        if (element.commandId == id) return &element;
    }
    return nullptr;
}

// While an install runs, a skin or set folder may be half written and the lists are about to
// be rebuilt: the commands that change the skin or show the lists are turned away until it
// has ended (the balloon says why). Drops wait already: the install's drop pose holds them.
bool WaitsForInstall(int id) {
    return id >= kFirstSkinCommand || id == kCmdDefaultSkin || id == kCmdSettings || id == kCmdDroplingProfile;
}

}  // namespace

ContextMenu CTumbleDlg::BuildContextMenu() const {
    ContextMenu menu;
    menu.resourceId = kContextMenuResource;
    menu.dropItems = MenuItemsOf(m_menuDroplings);
    menu.skinItems = MenuItemsOf(m_menuSkins);
    menu.relabelId = kCmdProfile;
    menu.relabelText = m_skinTitle + "について(&W)";
    menu.checks = {{kCmdNoConsecutiveDrop, m_noConsecutiveDrop}, {kCmdAlwaysOnTop, m_alwaysOnTop},
                   {kCmdIconize, m_iconized}};
    return menu;
}

bool CTumbleDlg::OnRButtonDown(Point client) {
    if (m_quitRequested || DialogOpen()) return true;  // no command is offered while the program ends
    platform().input.TrackContextMenu(m_hWnd, BuildContextMenu(), Windows().ClientToScreen(m_hWnd, client));
    return true;
}

// What the cat says when the chosen skin cannot be shown and it keeps the one it wears.
std::string SkinRefusedLine(const std::string& folder) { return "「" + folder + "」には着替えられなかったよ。"; }

// The free position the user dragged the skin being left to is saved on every path. A skin
// that cannot be loaded leaves the cat in the skin it wore (or the default one) with a word
// in the balloon; only when neither loads does the program end, as at start-up.
void CTumbleDlg::ChangeSkin(const std::string& folder) {
    WriteOmni();
    CutConversation();  // the conversation belonged to the skin being left
    const std::string previous = m_skinName;
    m_skinName = folder;
    if (LoadSkin(true)) {
        Greet();
        return;
    }
    for (const std::string& fallback : {previous, std::string(kDefaultSkinFolder)}) {
        m_skinName = fallback;
        if (LoadSkin(true)) {
            Say(SkinRefusedLine(folder));
            return;
        }
    }
    m_startFailed = true;  // the settings file keeps the last good run
    EndDialog(1);
}

bool CTumbleDlg::OnCommand(int id) {
    if (DialogOpen() || (InstallRunning() && WaitsForInstall(id))) return true;
    if (id >= kDroplingIdBase && id < kFirstSkinCommand) {
        if (const SElement* set = FindByCommand(m_menuDroplings, id)) Drop(set->folder);
        return true;
    }
    if (id >= kFirstSkinCommand) {
        if (const SElement* skin = FindByCommand(m_menuSkins, id)) ChangeSkin(skin->folder);
        return true;
    }
    switch (id) {
    case kCmdDropRandom:
        DropRandomObject();
        return true;
    case kCmdQuit:
        OnQuit();
        return true;
    case kCmdDefaultSkin:
        if (m_skinName != kDefaultSkinFolder) ChangeSkin(kDefaultSkinFolder);
        return true;
    case kCmdNoConsecutiveDrop:
        m_noConsecutiveDrop = !m_noConsecutiveDrop;
        return true;
    case kCmdAlwaysOnTop:
        OnAlwaysOnTop();
        return true;
    case kCmdIconize:
        OnIconize();
        return true;
    case kCmdProfile:
        OnProfile();
        return true;
    case kCmdAbout:
        OnAbout();
        return true;
    case kCmdSettings:
        OnSettings();
        return true;
    case kCmdDroplingProfile:
        OnDroplingProfile();
        return true;
    default:
        return CDialog::OnCommand(id);
    }
}

}  // namespace tc
