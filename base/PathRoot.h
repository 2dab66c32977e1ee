#pragma once
// The root of an absolute path and the folders above a path. Cut character by
// character, so the second byte of a double-byte character is never taken for
// a backslash.
#include <string>

// The length of the part of an absolute path that is never cut off: "C:\",
// "\\?\C:\", "\\server\share\", "\\?\UNC\server\share\" ("C:" and "\" for
// the forms that hang on the current folder; 0 when there is none).
size_t RootLength(const std::string& path);

// The folder above, or empty at the root. A trailing backslash does not count
// as a level: the folder above "C:\a\b\" is "C:\a".
std::string ParentFolder(const std::string& path);
