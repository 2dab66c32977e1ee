#pragma once
// Paths that do not depend on the current drive or folder, which differ between
// the settings dialog, a scheduled run and a shortcut's start folder.
#include <string>

// "X:\..." or "\\server\..." (also "\\?\..."). "data", "D:", "D:data" and
// "\data" are not: they name different folders from different start folders.
bool IsAbsolutePath(const std::string& path);

// The full form the path functions give ("." and ".." resolved, "/" read as
// "\", a relative path joined to the current folder); false, with `full`
// untouched, when they give none.
bool GetFullPath(const std::string& path, std::string& full);

// The same full form; the text unchanged when there is none.
std::string MakeAbsolute(const std::string& path);
