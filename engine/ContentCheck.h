#pragma once
// Whether two files hold the same bytes, as the proof that an entry gone from
// one place and one new at another are the same file. Read block by block,
// polling for a stop between blocks so that a long comparison can be stopped.
#include <string>
#include <vector>

#include "engine/EngineCallbacks.h"

enum class ContentMatch { Same, Different, Stopped };

// Keeps its buffers from one comparison to the next: a search compares
// thousands of files, and fresh buffers would cost more than small reads.
class ContentComparer {
public:
    // Every byte (`whole`), or the first, middle and last 64 KiB: enough where
    // a whole folder's names, sizes and times already agree. Files that cannot
    // be read are Different.
    ContentMatch Compare(const std::string& first, const std::string& second,
                         unsigned long long size, bool whole, IProgress& progress);

private:
    std::vector<char> left_, right_;
};
