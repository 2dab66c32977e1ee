#pragma once
// Names a listing may hold: those the Win32 path functions take exactly as they
// are. Any other name would be acted on as a different file.
#include "engine/FoundRecord.h"

#include <windows.h>

// False for a name with a character Windows forbids in names (also escaped:
// <U+0001>, <U+003C>), a trailing dot or blank (stripped by the path functions:
// keep. opens keep), or a reserved device name such as CON, NUL.txt or com1. Steps over double-byte
// characters, whose second byte may be 0x5C or 0x7C.
bool IsExactPathName(const char* name);

// Any reparse point: a folder link, a junction or a file link. Writing or
// deleting through one reaches something outside the job's folders.
inline bool IsLinkRecord(const FoundRecord& found) {
    return (found.attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}
