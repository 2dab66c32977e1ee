#include "UnixLinks.h"

#include "TestFiles.h"

UnixLinks::~UnixLinks() {
    for (auto it = links_.rbegin(); it != links_.rend(); ++it)
        RemoveUnixLink(it->first, it->second);
    for (HANDLE claim : driveClaims_)
        CloseHandle(claim); // deletes the lock file
}

namespace {

// The letter's lock file in the prefix's temporary folder, made only when no
// other test holds it; INVALID_HANDLE_VALUE when one does.
HANDLE ClaimDriveLetter(char letter) {
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    std::string lock = std::string(folder) + "orvane_drive_" + letter + ".lock";
    return CreateFileA(lock.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                       FILE_FLAG_DELETE_ON_CLOSE, nullptr);
}

} // namespace

bool UnixLinks::Available() {
    return !UnixPathOf("C:\\").empty();
}

bool UnixLinks::Add(const std::string& target, const std::string& link) {
    size_t cut = link.rfind('\\');
    if (cut == std::string::npos)
        return false;
    std::string unixFolder = UnixPathOf(link.substr(0, cut + 1));
    if (unixFolder.empty())
        return false;
    if (unixFolder.back() != '/')
        unixFolder += '/';
    return AddUnix(UnixPathOf(target), unixFolder + link.substr(cut + 1), link);
}

std::string UnixLinks::AddDrive(const std::string& target) {
    // Wine keeps its drive letters as links named "x:" beside the one for C:.
    std::string cDrive = UnixPathOf("C:\\");
    const std::string tail = "c:/";
    if (cDrive.size() < tail.size() ||
        cDrive.compare(cDrive.size() - tail.size(), tail.size(), tail) != 0)
        return "";
    DWORD used = GetLogicalDrives();
    for (char letter = 'Y'; letter > 'D'; --letter) {
        if (used & (1u << (letter - 'A')))
            continue;
        HANDLE claim = ClaimDriveLetter(letter);
        if (claim == INVALID_HANDLE_VALUE)
            continue;
        driveClaims_.push_back(claim);
        std::string unixDrive = cDrive.substr(0, cDrive.size() - tail.size()) +
                                static_cast<char>(letter - 'A' + 'a') + ":";
        std::string drive = std::string(1, letter) + ":";
        return AddUnix(UnixPathOf(target), unixDrive, drive + "\\") ? drive : "";
    }
    return "";
}

bool UnixLinks::AddUnix(const std::string& unixTarget, const std::string& unixLink,
                        const std::string& windowsLink) {
    if (unixTarget.empty() || !MakeUnixLink(unixTarget, unixLink, windowsLink))
        return false;
    links_.emplace_back(unixLink, windowsLink);
    return true;
}
