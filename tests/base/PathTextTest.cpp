// The folder part of a path, however it is asked for: never cut at the second
// byte of a double-byte character (表 is 95 5C, ソ is 83 5C), never into the root.
#include <gtest/gtest.h>

#include "base/PathRoot.h"
#include "base/PathText.h"

namespace {

std::string Joined(const PathParts& parts) {
    return parts.drive + "|" + parts.folder + "|" + parts.name + "|" + parts.extension;
}

TEST(PathText, FolderPartsStepOverDoubleByteCharactersAndKeepTheRoot) {
    struct Case {
        std::string path;
        std::string folderOf; // before the last separator
        std::string parent;   // the folder above, the root kept whole
        std::string split;    // drive|folder|name|extension
    };
    const Case cases[] = {
        {"C:\\表\\ソ.txt", "C:\\表", "C:\\表", "C:|\\表\\|ソ|.txt"},
        {"C:\\ソ表", "C:", "C:\\", "C:|\\|ソ表|"},
        {"C:\\a\\表\\", "C:\\a\\表", "C:\\a", "C:|\\a\\表\\||"},
        {"C:\\", "C:", "", "C:|\\||"},
        {"\\\\srv\\share\\表", "\\\\srv\\share", "\\\\srv\\share\\", "|\\\\srv\\share\\|表|"},
        // The share's name ends in 0x5C: the root goes on to the real backslash.
        {"\\\\?\\UNC\\srv\\表\\a", "\\\\?\\UNC\\srv\\表", "\\\\?\\UNC\\srv\\表\\",
         "|\\\\?\\UNC\\srv\\表\\|a|"},
        {"\\\\?\\C:\\表\\ソ", "\\\\?\\C:\\表", "\\\\?\\C:\\表", "|\\\\?\\C:\\表\\|ソ|"},
        {"表.ソ", "", "", "||表|.ソ"}, // no folder: 0x5C ending 表 is no separator
        {"C:/a/b.c", "C:/a", "C:/a", "C:|/a/|b|.c"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(c.folderOf, FolderOf(c.path));
        EXPECT_EQ(c.parent, ParentFolder(c.path));
        EXPECT_EQ(c.split, Joined(SplitPath(c.path)));
    }
    // The same for the last backslash: 表 keeps its last byte, a drive root its backslash.
    EXPECT_EQ("C:\\表", WithoutTrailingBackslash("C:\\表"));
    EXPECT_EQ("C:\\表", WithoutTrailingBackslash("C:\\表\\"));
    EXPECT_EQ("C:\\", WithoutTrailingBackslash("C:\\"));
}

} // namespace
