#pragma once
// The root of everything that receives commands, and the update rules that
// enable, disable and check menu items and toolbar buttons.
#include <string>

#include "framework/MessageMap.h"

class CCmdTarget {
public:
    virtual ~CCmdTarget() = default;

    // Looks the command, notification or update rule up in the message tables and
    // runs it; with args.probe set it only tells whether a handler exists.
    virtual bool OnCmdMsg(UINT id, UINT code, AfxCallArgs& args);
    bool HasCommandHandler(UINT id);

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;

    // Finds the entry for a message, code and identifier in this class or its bases.
    const AFX_MSGMAP_ENTRY* FindEntry(UINT message, UINT code, UINT id) const;
    friend class CWnd;
};

// One menu item or toolbar button whose state an update rule sets.
class CCmdUI {
public:
    UINT m_nID = 0;
    UINT m_nIndex = 0;       // position in the menu or toolbar
    HMENU m_pMenu = nullptr; // the popup menu, for menu items
    HWND m_pOther = nullptr; // the toolbar, for buttons
    bool m_bEnableChanged = false;

    virtual ~CCmdUI() = default;
    virtual void Enable(BOOL on = TRUE);
    virtual void SetCheck(int check = 1);

    // Runs the update rule of `target`. An item without a rule is, with
    // disableIfNoHandler, enabled when a command handler exists and disabled
    // otherwise, and left as it is without it.
    void DoUpdate(CCmdTarget* target, bool disableIfNoHandler);
};
