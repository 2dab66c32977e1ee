#include "engine/PathSet.h"

#include <windows.h>

#include <algorithm>

#include "engine/NameOrder.h"

namespace {

bool Before(const std::string& a, const std::string& b) {
    return CompareNames(a, b) < 0;
}

} // namespace

PathSet::PathSet(std::vector<std::string> relativePaths) : paths_(std::move(relativePaths)) {
    std::sort(paths_.begin(), paths_.end(), Before);
}

bool PathSet::Holds(const std::string& path) const {
    return std::binary_search(paths_.begin(), paths_.end(), path, Before);
}

bool PathSet::Covers(const std::string& path) const {
    if (paths_.empty())
        return false;
    // Every folder above the path, from the top: \a, \a\b, ... ; a backslash
    // that is the second byte of a double-byte character cuts nothing.
    const char* begin = path.c_str();
    for (const char* p = begin; *p != '\0'; p = CharNextA(p))
        if (*p == '\\' && p != begin && Holds(std::string(begin, p)))
            return true;
    return Holds(path);
}

bool PathSet::HasBelow(const std::string& folder) const {
    // The order is that of the keys, and a key of folder\name begins with the
    // key of folder\: the paths below the folder follow one another from the
    // first of them.
    std::string prefix = folder + "\\";
    auto first = std::lower_bound(paths_.begin(), paths_.end(), prefix, Before);
    if (first == paths_.end())
        return false;
    std::string prefixKey = NameKey(prefix);
    return NameKey(*first).compare(0, prefixKey.size(), prefixKey) == 0;
}
