#pragma once
// The main frame: menu, accelerators, the view in what the bars leave of the
// client area, command routing (view, frame, application), update rules for
// menus and toolbar buttons, prompts in the status bar and tooltips from the
// string table. Where the bars go is decided by the frame's dock site
// (DockSite.h); the bar functions here are the MFC-style way in.
#include <string>

#include "framework/ControlBars.h"
#include "framework/DockSite.h"
#include "framework/View.h"

class CFrameWnd : public CWnd {
public:
    // Creates the frame with the menu, accelerators and icon of the resource id.
    BOOL LoadFrame(UINT resourceId, DWORD style = WS_OVERLAPPEDWINDOW);
    virtual BOOL PreCreateWindow(CREATESTRUCTA& cs);

    CView* GetActiveView() const { return m_pView; }
    void SetViewToCreate(CView* view) { m_pView = view; }
    void InitialUpdateFrame();
    // Places the bars, then the view in what they leave.
    void RecalcLayout();

    // Control bars are found by their identifier, which is also the command that
    // shows and hides them.
    void AddControlBar(CWnd* bar) { m_dockSite.AddBar(*bar); }
    CWnd* GetControlBar(UINT id) const { return m_dockSite.FindBar(id); }
    void ShowControlBar(CWnd* bar, BOOL show);
    // Which sides of the frame take docked bars (CBRS_ALIGN_*).
    void EnableDocking(DWORD dockStyle) { m_dockSite.EnableDocking(dockStyle); }
    // Docks a bar on a side (AFX_IDW_DOCKBAR_TOP to _RIGHT); 0 is the side it
    // last had. A side the frame or the bar does not allow leaves it where it is.
    void DockControlBar(CControlBar* bar, UINT dockBarId = 0);
    // Floats a bar in its own tool window with that top left corner (screen).
    void FloatControlBar(CControlBar* bar, POINT topLeft);
    // Drops a bar as a drag ending at that screen point does.
    void DropControlBar(CControlBar* bar, POINT point);
    // Visibility, side and floating position of every bar, in the application's
    // settings under keys whose names begin with the prefix.
    void SaveBarState(const char* prefix) const;
    void LoadBarState(const char* prefix);
    CDockSite& GetDockSite() { return m_dockSite; }

    void SetMessageText(const char* text);
    // A message of the program's own in the message pane (completion texts).
    virtual void SetStatusText(const std::string& text) { SetMessageText(text.c_str()); }
    // The status bar that shows prompts and messages; none by default.
    virtual CStatusBar* GetMessageBar() { return nullptr; }
    void OnIdleUpdateCmdUI();

    BOOL PreTranslateMessage(MSG* msg) override;
    bool OnCmdMsg(UINT id, UINT code, AfxCallArgs& args) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;

protected:
    DECLARE_MESSAGE_MAP()
    int OnCreate(LPCREATESTRUCTA cs);
    void OnSize(UINT type, int cx, int cy);
    void OnClose();
    // The keyboard focus belongs to the view: the frame hands it on, and gives
    // back the control that had it when the frame was last deactivated.
    void OnSetFocus(HWND previous);
    void OnActivate(UINT state, HWND other, bool minimized);
    LRESULT OnInitMenuPopup(WPARAM wParam, LPARAM lParam);
    // Floating bars are enabled, disabled, shown and hidden with the frame.
    LRESULT OnEnable(WPARAM wParam, LPARAM lParam);
    LRESULT OnShowWindow(WPARAM wParam, LPARAM lParam);
    LRESULT OnMenuSelect(WPARAM wParam, LPARAM lParam);
    void OnBarCheck(UINT id);
    void OnUpdateControlBarMenu(CCmdUI* cmdUI);
    void PostNcDestroy() override;

    std::string PromptFor(UINT id, bool tooltip) const;

    HACCEL m_hAccelTable = nullptr;
    CView* m_pView = nullptr;
    CDockSite m_dockSite{*this};
    HWND m_hWndFocusSaved = nullptr;
};
