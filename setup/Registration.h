#pragma once
// Registering Orvane with the shell: the ".orvane" association and the entry
// in the list of installed programs.
#include <string>

// Writes the registration for the programs in the folder of setupPath.
// Values that cannot be written are passed over.
void Register(const std::string& setupPath);
