#pragma once
// The small tool window a floating control bar lives in. Its caption drags the
// bar (back onto a side of the frame docks it); its close button hides the bar.
#include "framework/Wnd.h"

class CControlBar;
class CFrameWnd;

class CMiniDockFrameWnd : public CWnd {
public:
    // Created hidden, owned by the frame, so it stays above it and goes with it.
    BOOL Create(CFrameWnd* frame, CControlBar* bar);
    // Sizes the window around the bar at its floating layout.
    void FitToBar();

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    CFrameWnd* m_pFrame = nullptr;
    CControlBar* m_pBar = nullptr;
};
