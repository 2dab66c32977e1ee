#pragma once
// Names under which a copy is written next to its target before it replaces it,
// and under which a replaced target waits until the copy is in its place. Only
// the run's journal tells a leftover of the program from a user's file of the
// same form: a search lists every such name like any other.
#include <string>

// "~orvane", six hexadecimal digits, ".tmp": 17 characters.
inline constexpr size_t kTemporaryNameLength = 17;

// The name for a number; only its low 24 bits are used.
std::string TemporaryName(unsigned number);
// A number for the next such name: one after another from a start of the
// process's own, so two processes seldom try the same names.
unsigned NextTemporaryNumber();
// The backup folder's name for a number: the same form ending in ".old".
std::string BackupName(unsigned number);

// Exactly the temporary form above (letters in either case). Every character of
// the form is ASCII and the name is read from its start, so no double-byte
// character can be mistaken for part of it.
bool IsTemporaryName(const char* name);
// Exactly the backup folder's form, in the same way.
bool IsBackupName(const char* name);
