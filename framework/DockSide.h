#pragma once
// Where a control bar dropped at a point goes.
#include <windows.h>

// The side of `area` (screen coordinates: the frame's client area less its
// status bar) whose edge lies nearest the point, when that edge is closer than
// `reach` and the side is among `allowed` (CBRS_ALIGN_*); the point must also
// lie within `reach` of the area along the edge. Otherwise the bar floats:
// AFX_IDW_DOCKBAR_FLOAT.
UINT ChooseDockSide(const RECT& area, POINT point, int reach, DWORD allowed);

// The CBRS_ALIGN_* flag of a side, 0 for anything else.
DWORD AlignmentOfSide(UINT side);
