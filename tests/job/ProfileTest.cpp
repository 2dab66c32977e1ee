// Profile values live under HKCU\Software\<company>\<application>\<section>.
#include <gtest/gtest.h>

#include "ScratchProfile.h"
#include "base/RegKey.h"

TEST(Profile, ValuesRoundTripUnderTheSettingsKeyAndMissingOnesGiveDefaults) {
    ScratchProfile scratch;
    CProfile& profile = scratch.Get();
    EXPECT_EQ(7, profile.GetProfileInt("Pos", "x", 7));
    EXPECT_EQ("既定", profile.GetProfileString("Pos", "name", "既定"));

    ASSERT_TRUE(profile.WriteProfileInt("Pos", "x", -120));
    ASSERT_TRUE(profile.WriteProfileString("Pos", "name", "C:\\表ソ能\\表"));
    EXPECT_EQ(-120, profile.GetProfileInt("Pos", "x", 7));
    EXPECT_EQ("C:\\表ソ能\\表", profile.GetProfileString("Pos", "name"));
    // A value of the other type is as good as missing.
    EXPECT_EQ(5, profile.GetProfileInt("Pos", "name", 5));
    EXPECT_EQ("none", profile.GetProfileString("Pos", "x", "none"));

    // The values sit where other programs (and the uninstaller) look for them.
    RegKey key;
    ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, scratch.SectionPath("Pos").c_str()));
    DWORD x = 0;
    ASSERT_TRUE(key.QueryDword("x", x));
    EXPECT_EQ(static_cast<DWORD>(-120), x);
    std::string name;
    ASSERT_TRUE(key.QueryString("name", name));
    EXPECT_EQ("C:\\表ソ能\\表", name);
}

TEST(Profile, NullValueRemovesTheEntryAndNullEntryTheSection) {
    ScratchProfile scratch;
    CProfile& profile = scratch.Get();
    ASSERT_TRUE(profile.WriteProfileString("List", "File1", "a"));
    ASSERT_TRUE(profile.WriteProfileString("List", "File2", "b"));

    EXPECT_TRUE(profile.WriteProfileString("List", "File1", nullptr));
    EXPECT_EQ("gone", profile.GetProfileString("List", "File1", "gone"));
    EXPECT_EQ("b", profile.GetProfileString("List", "File2"));

    EXPECT_TRUE(profile.WriteProfileString("List", nullptr, nullptr));
    RegKey key;
    EXPECT_FALSE(key.Open(HKEY_CURRENT_USER, scratch.SectionPath("List").c_str()));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, key.LastStatus());
}

TEST(Profile, WithoutRegistryKeyReadsDefaultsAndWritesNothing) {
    CProfile profile("OrvaneUnkeyed");
    EXPECT_FALSE(profile.WriteProfileInt("Pos", "x", 1));
    EXPECT_FALSE(profile.WriteProfileString("Pos", "name", "a"));
    EXPECT_EQ(3, profile.GetProfileInt("Pos", "x", 3));
    EXPECT_EQ("", profile.GetProfileString("Pos", "name"));
}
