#pragma once
// Small file helpers for tests that build real folders.
#include <windows.h>

#include <map>
#include <string>
#include <vector>

bool WriteFileBytes(const std::string& path, const std::string& bytes);
std::string ReadFileBytes(const std::string& path);
// A text as an editor would save it: in a code page (932, CP_UTF8) without a
// byte-order mark, or in UTF-16 with its mark.
std::string Encoded(const std::wstring& text, UINT codePage);
std::string Utf16(const std::wstring& text, bool bigEndian);
bool MakeFolder(const std::string& path);
bool PathExists(const std::string& path);
// Every entry below a folder, the program's own names at its root left out:
// each path ("\sub\a.txt") with "folder", or a file's bytes and last-write time.
using Tree = std::map<std::string, std::string>;
Tree TreeOf(const std::string& root);
// Names in a folder, without "." and "..", in the listing's order.
std::vector<std::string> NamesIn(const std::string& folder);
bool IsFolder(const std::string& path);
// A file (holding "x") or, with a trailing backslash, a folder below an ANSI
// root, named in UTF-16: names the code page cannot write.
bool MakeWidePath(const std::string& root, const std::wstring& relative);

// A UTC file time from calendar fields, for setting last-write times exactly.
FILETIME UtcFileTime(int year, int month, int day, int hour, int minute, int second,
                     int milliseconds = 0);
bool SetLastWriteTime(const std::string& path, const FILETIME& time);
FILETIME GetLastWriteTime(const std::string& path);
// The same time moved by a number of 100-nanosecond units.
FILETIME AddTicks(const FILETIME& time, long long ticks);

// Under Wine only: the Unix path of a Windows path (empty elsewhere or when it
// has none), and a Unix symbolic link made with the host's ln, which a test
// cannot make through the Win32 functions there. True once the link answers.
// The Unix paths travel in an ANSI command line: ASCII paths only.
std::string UnixPathOf(const std::string& windowsPath);
bool MakeUnixLink(const std::string& unixTarget, const std::string& unixLink,
                  const std::string& windowsLink);
// Removes such a link (not what it points to); true once it is gone.
bool RemoveUnixLink(const std::string& unixLink, const std::string& windowsLink);
