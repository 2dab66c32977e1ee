#pragma once
// Registering Orvane with the shell: the ".orvane" association and the entry
// in the list of installed programs.
#include <windows.h>

#include <string>
#include <vector>

// A key the registration could not write to, and the registry's reason.
struct RegistrationFailure {
    std::string key; // the full name, "HKEY_LOCAL_MACHINE\SOFTWARE\..."
    LONG status;     // the registry's status code of the first failed call
};

// Writes the registration for the programs in the folder of setupPath. A value
// that cannot be written does not stop the others. Returns each key that could
// not be opened or written to, once, in the order they were tried: empty when
// the registration is complete.
std::vector<RegistrationFailure> Register(const std::string& setupPath);
