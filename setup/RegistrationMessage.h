#pragma once
// The report shown after registering: what was registered, and that the
// programs stay in the folder they were unpacked to.
#include <string>

std::string InstalledMessage(const std::string& folder);
