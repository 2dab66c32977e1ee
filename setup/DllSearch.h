#pragma once
// Where OrvaneSetup looks for a DLL loaded by name: only in the system folder
// (and what the manifest names), never in its own folder or the current one,
// so a DLL placed beside it in a download folder is not taken in by the
// system's own indirect loads. Orvane has the same rule in base/DllSearch.h;
// the two programs share no code.
void RestrictDllSearchToSystem();
