// Where a dragged control bar goes when it is dropped.
#include <gtest/gtest.h>

#include "framework/ControlBars.h"
#include "framework/DockSite.h"

TEST(DockSide, NearestAllowedEdgeWithinReachElseFloating) {
    const RECT area = {100, 100, 500, 400};
    const int reach = 20;
    const struct {
        POINT point;
        DWORD allowed;
        UINT expected;
    } cases[] = {
        {{300, 105}, CBRS_ALIGN_ANY, AFX_IDW_DOCKBAR_TOP},
        {{300, 85}, CBRS_ALIGN_ANY, AFX_IDW_DOCKBAR_TOP},   // just above the edge
        {{300, 80}, CBRS_ALIGN_ANY, AFX_IDW_DOCKBAR_FLOAT}, // out of reach
        {{300, 395}, CBRS_ALIGN_ANY, AFX_IDW_DOCKBAR_BOTTOM},
        {{102, 250}, CBRS_ALIGN_ANY, AFX_IDW_DOCKBAR_LEFT},
        {{519, 250}, CBRS_ALIGN_ANY, AFX_IDW_DOCKBAR_RIGHT},
        {{300, 250}, CBRS_ALIGN_ANY, AFX_IDW_DOCKBAR_FLOAT}, // mid-window
        {{105, 110}, CBRS_ALIGN_ANY, AFX_IDW_DOCKBAR_LEFT},  // corner: the nearer edge
        {{110, 105}, CBRS_ALIGN_ANY, AFX_IDW_DOCKBAR_TOP},
        {{105, 110}, CBRS_ALIGN_TOP, AFX_IDW_DOCKBAR_TOP}, // only allowed sides
        {{300, 105}, CBRS_ALIGN_LEFT, AFX_IDW_DOCKBAR_FLOAT},
        {{300, 105}, 0, AFX_IDW_DOCKBAR_FLOAT},
        {{700, 105}, CBRS_ALIGN_ANY, AFX_IDW_DOCKBAR_FLOAT}, // beside the window, not over it
        {{300, 390}, CBRS_ALIGN_TOP | CBRS_ALIGN_RIGHT, AFX_IDW_DOCKBAR_FLOAT},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, ChooseDockSide(area, c.point, reach, c.allowed))
            << c.point.x << "," << c.point.y << " allowed " << c.allowed;
}
