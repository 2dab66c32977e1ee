#pragma once
// A folder of the test's own under the Windows temp folder, removed with
// everything in it when the test ends.
#include <string>

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path_; }
    // Path of a name inside the folder ("sub\\a.txt" allowed).
    std::string operator/(const std::string& relative) const { return path_ + "\\" + relative; }

private:
    std::string path_;
};

// Deletes a file or a whole folder tree, clearing read-only bits on the way.
void RemoveTree(const std::string& path);
