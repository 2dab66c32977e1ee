#include "framework/DockSide.h"

#include <cstdlib>

#include "framework/ControlBars.h"

DWORD AlignmentOfSide(UINT side) {
    switch (side) {
    case AFX_IDW_DOCKBAR_TOP:
        return CBRS_ALIGN_TOP;
    case AFX_IDW_DOCKBAR_BOTTOM:
        return CBRS_ALIGN_BOTTOM;
    case AFX_IDW_DOCKBAR_LEFT:
        return CBRS_ALIGN_LEFT;
    case AFX_IDW_DOCKBAR_RIGHT:
        return CBRS_ALIGN_RIGHT;
    default:
        return 0;
    }
}

UINT ChooseDockSide(const RECT& area, POINT point, int reach, DWORD allowed) {
    const bool acrossInside = point.x > area.left - reach && point.x < area.right + reach;
    const bool downInside = point.y > area.top - reach && point.y < area.bottom + reach;
    struct Candidate {
        UINT side;
        int distance;
        bool alongEdge;
    };
    const Candidate candidates[] = {
        {AFX_IDW_DOCKBAR_TOP, std::abs(point.y - area.top), acrossInside},
        {AFX_IDW_DOCKBAR_BOTTOM, std::abs(point.y - area.bottom), acrossInside},
        {AFX_IDW_DOCKBAR_LEFT, std::abs(point.x - area.left), downInside},
        {AFX_IDW_DOCKBAR_RIGHT, std::abs(point.x - area.right), downInside},
    };
    UINT best = AFX_IDW_DOCKBAR_FLOAT;
    int bestDistance = reach;
    for (const Candidate& c : candidates) {
        if (c.alongEdge && (allowed & AlignmentOfSide(c.side)) && c.distance < bestDistance) {
            best = c.side;
            bestDistance = c.distance;
        }
    }
    return best;
}
