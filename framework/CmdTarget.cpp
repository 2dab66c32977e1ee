#include "framework/CmdTarget.h"

#include <windows.h>
#include <commctrl.h>

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr}};
    static const AFX_MSGMAP map = {nullptr, &entries[0]};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const {
    return GetThisMessageMap();
}

const AFX_MSGMAP_ENTRY* CCmdTarget::FindEntry(UINT message, UINT code, UINT id) const {
    for (const AFX_MSGMAP* map = GetMessageMap(); map != nullptr;
         map = map->baseMap ? map->baseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* entry = map->entries; entry->thunk != nullptr; ++entry) {
            if (entry->message == message && entry->code == code && id >= entry->firstId &&
                id <= entry->lastId)
                return entry;
        }
    }
    return nullptr;
}

bool CCmdTarget::OnCmdMsg(UINT id, UINT code, AfxCallArgs& args) {
    const AFX_MSGMAP_ENTRY* entry = FindEntry(args.message, code, id);
    if (entry == nullptr)
        return false;
    if (args.probe)
        return true;
    args.id = id;
    entry->thunk(this, args);
    return true;
}

bool CCmdTarget::HasCommandHandler(UINT id) {
    AfxCallArgs probe;
    probe.message = WM_COMMAND;
    probe.probe = true;
    return OnCmdMsg(id, CN_COMMAND, probe);
}

void CCmdUI::Enable(BOOL on) {
    if (m_pMenu != nullptr) {
        EnableMenuItem(m_pMenu, m_nIndex, MF_BYPOSITION | (on ? MF_ENABLED : MF_GRAYED));
    } else if (m_pOther != nullptr) {
        SendMessageA(m_pOther, TB_ENABLEBUTTON, m_nID, MAKELPARAM(on ? TRUE : FALSE, 0));
    }
    m_bEnableChanged = true;
}

void CCmdUI::SetCheck(int check) {
    if (m_pMenu != nullptr) {
        CheckMenuItem(m_pMenu, m_nIndex, MF_BYPOSITION | (check ? MF_CHECKED : MF_UNCHECKED));
    } else if (m_pOther != nullptr) {
        SendMessageA(m_pOther, TB_CHECKBUTTON, m_nID, MAKELPARAM(check ? TRUE : FALSE, 0));
    }
}

void CCmdUI::DoUpdate(CCmdTarget* target, bool disableIfNoHandler) {
    m_bEnableChanged = false;
    AfxCallArgs args;
    args.message = WM_COMMAND;
    args.extra = this;
    bool handled = target->OnCmdMsg(m_nID, CN_UPDATE_COMMAND_UI, args);
    if (!handled && disableIfNoHandler && !m_bEnableChanged)
        Enable(target->HasCommandHandler(m_nID));
}
