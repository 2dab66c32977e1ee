#include "setup/DllSearch.h"

#include <windows.h>

namespace {

using FlagsCall = BOOL(WINAPI*)(DWORD);

// Looked up at run time: a Windows 7 without the update that brought it still
// starts, with the narrower protection of the calls that follow.
FlagsCall KernelFunction(const char* name) {
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    if (kernel == nullptr)
        return nullptr;
    return reinterpret_cast<FlagsCall>(reinterpret_cast<void (*)()>(GetProcAddress(kernel, name)));
}

} // namespace

void RestrictDllSearchToSystem() {
    if (FlagsCall setDefault = KernelFunction("SetDefaultDllDirectories"))
        setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
    // Takes the current folder out of the search where the call above is missing.
    SetDllDirectoryW(L"");
    // A file looked for by name (SearchPath) is found in the current folder last.
    if (FlagsCall setMode = KernelFunction("SetSearchPathMode"))
        setMode(BASE_SEARCH_PATH_ENABLE_SAFE_SEARCHMODE | BASE_SEARCH_PATH_PERMANENT);
}
