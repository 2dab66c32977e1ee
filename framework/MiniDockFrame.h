#pragma once
// The small tool window a floating bar lives in. It hosts the bar, sized around
// it, and passes the bar's commands on to the frame. What is done to its caption
// goes to the dock site: a drag moves the bar (back onto a side of the frame
// docks it), a double-click docks it on the side it last had, and the close
// button switches it off.
#include "framework/Wnd.h"

class CControlBar;
class CDockSite;

class CMiniDockFrameWnd : public CWnd {
public:
    // Created hidden, owned by the frame, so it stays above it and goes with it;
    // its caption is the bar's window text.
    BOOL Create(CWnd& frame, CControlBar& bar, CDockSite& site);
    // Sizes the window around the bar at its floating layout.
    void FitToBar();

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    CControlBar* m_pBar = nullptr;
    CDockSite* m_pSite = nullptr;
};
