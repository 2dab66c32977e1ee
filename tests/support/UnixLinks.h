#pragma once
// Unix links made for one test (under Wine, where the Win32 functions make
// none), removed again, newest first, before the folders they point into.
// ASCII paths only (see MakeUnixLink).
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

class UnixLinks {
public:
    UnixLinks() = default;
    ~UnixLinks();
    UnixLinks(const UnixLinks&) = delete;
    UnixLinks& operator=(const UnixLinks&) = delete;

    // Whether links can be made here at all (Wine).
    static bool Available();
    // A link at the Windows path `link` to the folder `target`; true once it answers.
    bool Add(const std::string& target, const std::string& link);
    // A new drive letter ("Y:") whose root is the folder; empty when none could be made.
    std::string AddDrive(const std::string& target);

private:
    bool AddUnix(const std::string& unixTarget, const std::string& unixLink,
                 const std::string& windowsLink);
    std::vector<std::pair<std::string, std::string>> links_; // Unix path, Windows path
    // Tests run side by side in one prefix: a drive letter is claimed by a lock
    // file made only if it is not there, so no other test takes the same letter.
    std::vector<HANDLE> driveClaims_;
};
