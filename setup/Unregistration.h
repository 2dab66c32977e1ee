#pragma once
// Removing Orvane's registration and its per-user settings. Keys that are
// missing or cannot be deleted are passed over.
void Unregister();
