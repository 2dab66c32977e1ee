#pragma once
// The reports shown after registering: what was registered and that the
// programs stay in the folder they were unpacked to, or which keys could not be
// written and why.
#include <string>
#include <vector>

#include "setup/Registration.h"

std::string InstalledMessage(const std::string& folder);

// Names every key that could not be written, each with the system's reason.
std::string NotInstalledMessage(const std::vector<RegistrationFailure>& failures);
