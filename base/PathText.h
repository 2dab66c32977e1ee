#pragma once
// Path texts in the ANSI code page, taken apart character by character so that
// the second byte of a double-byte character (表 is 95 5C) is never mistaken
// for a backslash or a dot.
#include <string>
#include <string_view>

// The division _splitpath makes.
struct PathParts {
    std::string drive;     // "D:" or empty
    std::string folder;    // up to and including the last backslash or slash
    std::string name;      // the file name without its extension
    std::string extension; // from the last dot of the file name on, dot included
};

PathParts SplitPath(const std::string& path);

// The folder part of a path without its last backslash (or slash); empty when
// the path holds none.
std::string FolderOf(const std::string& path);

// The offset of the last backslash or slash (the path functions read both), or
// npos when there is none.
size_t LastSeparator(std::string_view path);

bool IsAsciiLetter(char c);
// A single-byte character Windows forbids in names: a control character below
// 0x20, or one of < > : " / \ | ? *.
bool IsForbiddenInNames(unsigned char c);
// "X:\" for a letter X.
bool IsDriveRoot(const std::string& path);
// Whether the last character is a backslash (not the second byte of one).
bool EndsWithBackslash(std::string_view path);
// The path without one trailing backslash; a drive root keeps it.
std::string WithoutTrailingBackslash(const std::string& path);
