#pragma once
// The status-bar texts after a synchronisation and after a batch export: what
// became of the work, with what failed or was not done, so a run with failures
// never reads as a clean one.
#include <string>

struct SyncOutcome;
struct BatchOutcome;

std::string SyncStatusText(const SyncOutcome& outcome);
// The designed text when every row was written, otherwise what became of it.
std::string BatchStatusText(const BatchOutcome& outcome);
