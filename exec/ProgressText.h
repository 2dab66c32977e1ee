#pragma once
// The progress of the executor's and the batch writer's row loops: the second
// line "[i/N]" (the index counted from 0), and the stop poll before each row.
#include <cstdio>
#include <string>

#include "engine/EngineCallbacks.h"

inline std::string RowCountText(int index, int count) {
    char text[32];
    std::snprintf(text, sizeof text, "[%d/%d]", index, count);
    return text;
}

// Before row `index`: shows "[index/count]" when the row is a multiple of
// `every`, then polls; true when a stop was asked for.
inline bool StopBeforeRow(IProgress& progress, int index, int count, int every = 1) {
    if (index % every == 0) {
        progress.SetLine2(RowCountText(index, count));
        progress.Refresh();
    }
    return progress.PollStop();
}
