#pragma once
// Conversions between the ANSI code page and UTF-16, for the places that must
// treat a double-byte character as one character.
#include <string>

std::wstring AnsiToWide(const std::string& text);
std::string WideToAnsi(const wchar_t* text, size_t count);
