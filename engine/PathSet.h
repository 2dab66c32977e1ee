#pragma once
// Relative paths kept apart from a plan (left-out entries, the log folder), held
// in CompareNames order so that a lookup costs a bisection per folder level,
// not a pass over every path: a tree of many forbidden names or links
// leaves out thousands of them.
#include <string>
#include <vector>

class PathSet {
public:
    explicit PathSet(std::vector<std::string> relativePaths);

    bool Empty() const { return paths_.empty(); }
    // Whether `path` is one of the paths or lies below one.
    bool Covers(const std::string& path) const;
    // Whether one of the paths lies below the folder `folder`.
    bool HasBelow(const std::string& folder) const;

private:
    bool Holds(const std::string& path) const;

    std::vector<std::string> paths_;
};
