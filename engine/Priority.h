#pragma once
// The order in which planned actions are carried out.
#include "engine/SyncItem.h"

// Negative when a comes first. From the top: file deletions and then folder
// deletions, each by relative path descending (contents before their folder);
// then folder creations, moves (into folders that exist by then), the
// deletions of folders whose contents moved out, and copies, each ascending
// (a folder exists before anything goes into it). Conflicts close the list.
int ComparePriority(const SyncItem* a, const SyncItem* b);
