#pragma once
// The file actions of the executor that take more than one platform call.
#include <windows.h>

#include <string>

#include "exec/ActionError.h"

// Copies one file with the shell's file operation, replacing an existing target
// without a question. False for an empty path or when the shell reports a
// failure, whose code then goes to *code when given.
bool ShellCopyFile(const std::string& from, const std::string& to, DWORD* code = nullptr);

// The shell-copy flags for a system version: silent and without questions always;
// no connected elements from 4.90 (Me) and 5.0 on; no copied security attributes
// when the major version is at least 5 and the minor at least 1.
FILEOP_FLAGS ShellCopyFlagsFor(DWORD majorVersion, DWORD minorVersion);

// Deletes one file, or one empty folder, with nothing in a recycle bin. Read-only,
// hidden and system attributes are cleared first and put back when the deletion
// fails. A path that does not exist fails. On failure *error, when given, says why.
bool DeletePath(const std::string& path, ActionError* error = nullptr);
