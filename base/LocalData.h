#pragma once
// The program's own folder in the user's local application data
// (%LOCALAPPDATA%\Orvane): what belongs to this user on this PC and to no job
// folder, such as the pairs' memory and the key that seals the run journals.
#include <string>

// "...\Orvane", or empty when the system names no such folder for the user.
std::string LocalDataFolder();

// Makes `folder` and every missing folder above it; true when it is a folder now.
bool MakeFolderPath(const std::string& folder);
