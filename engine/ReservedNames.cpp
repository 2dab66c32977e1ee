#include "engine/ReservedNames.h"

#include "base/PathText.h"
#include "engine/CompareNoCase.h"

bool IsReservedRootName(const std::string& name) {
    return CompareNoCase(name, kRunLockName) == 0 || CompareNoCase(name, kVersionsFolderName) == 0;
}

std::string AtRoot(const std::string& root, const std::string& name) {
    return EndsWithBackslash(root) ? root + name : root + "\\" + name;
}
