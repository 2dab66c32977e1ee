#pragma once
// Names under which a copy is written next to its target before it replaces it.
// They are recognisable, so a search never lists one and a later run can clear
// one that a killed run left behind.
#include <windows.h>

#include <string>

// "~orvane", six hexadecimal digits, ".tmp": 17 characters.
inline constexpr size_t kTemporaryNameLength = 17;
// What a find pattern needs to list the candidates of a folder.
inline constexpr const char* kTemporaryNamePattern = "~orvane*.tmp";

// The name for a number; only its low 24 bits are used.
std::string TemporaryName(unsigned number);

// Exactly the form above (letters in either case). Every character of the form
// is ASCII and the name is read from its start, so no double-byte character can
// be mistaken for part of it.
bool IsTemporaryName(const char* name);

// A file (not a folder) whose name is a temporary name.
bool IsTemporaryFile(DWORD attributes, const char* name);
