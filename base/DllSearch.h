#pragma once
// Where the process looks for a DLL loaded by name: only in the system folder
// (and what the manifest names), never in the program's own folder or the
// current one, so a DLL placed beside a program started from a download
// folder is not taken in by the system's own indirect loads.
void RestrictDllSearchToSystem();
