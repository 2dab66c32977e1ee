#pragma once
// The status-bar text after a run: what became of it, with the rows that failed
// or were not carried out, so a run with failures never reads as a clean one.
#include <string>

struct SyncOutcome;

std::string SyncStatusText(const SyncOutcome& outcome);
