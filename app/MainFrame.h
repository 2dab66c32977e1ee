#pragma once
// The program's single top-level window: the view as its client, a toolbar and a
// status bar. It opens at its stored placement and stores placement and bar
// state when it closes.
#include <string>

#include "framework/FrameWnd.h"

class CMainFrame : public CFrameWnd {
public:
    CStatusBar m_wndStatusBar;
    CToolBar m_wndToolBar;

    // Stores the bar state and, unless minimised or maximised, the placement.
    BOOL DestroyWindow() override;
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;

    void SetStatusText(const std::string& text) override;
    CStatusBar* GetMessageBar() override { return &m_wndStatusBar; }

protected:
    DECLARE_MESSAGE_MAP()
    int OnCreate(LPCREATESTRUCTA cs);
};

struct WindowPlacement {
    int x, y, cx, cy;
};
// The creation rectangle from stored values, pulled back onto a screen whose
// maximised window measures maxWidth by maxHeight.
WindowPlacement ClampPlacement(const WindowPlacement& stored, int maxWidth, int maxHeight);
