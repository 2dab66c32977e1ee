#include "engine/ReservedNames.h"

#include "base/PathText.h"
#include "engine/NameOrder.h"

bool IsReservedRootName(const std::string& name) {
    return CompareNames(name, kRunLockName) == 0 || CompareNames(name, kVersionsFolderName) == 0;
}

std::string AtRoot(const std::string& root, const std::string& name) {
    return EndsWithBackslash(root) ? root + name : root + "\\" + name;
}
