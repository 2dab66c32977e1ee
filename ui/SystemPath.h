#pragma once
// Paths that come from the system in UTF-16: a dropped file, the folder
// browser's choice, the file of an open or save dialog. The program works on
// ANSI paths, and a path without an exact ANSI form would reach a look-alike
// (café as cafe, ¥ as a backslash), so such a path is refused with a message.
#include <windows.h>

#include <string>

inline constexpr const char* kUnusablePathText =
    "このパスにはこのプログラムで扱えない文字が含まれているため、指定できません";

// The refusal: the text above and the path as far as it can be written ('?'
// for each character that cannot).
std::string UnusablePathMessage(const std::string& written);

// True with `path` set when `wide` has an exact ANSI form. Otherwise shows the
// refusal in a message box over `owner`, leaves `path` alone and returns false.
bool TakeSystemPath(HWND owner, const std::wstring& wide, std::string& path);
