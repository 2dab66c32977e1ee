#include "SetupRegistry.h"

#include <sddl.h>

#include "OrvaneVersion.h"

extern "C" LONG WINAPI NtDeleteKey(HANDLE key);

const char kUninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\{3B7E2C40-"
                             "5D19-4A8E-9F26-C81D07E4B55A}";
const char kApplicationsKey[] = "SOFTWARE\\Classes\\Applications\\Orvane.exe";
const char kMakerKey[] = "Software\\Quorlin";
const char kSettingsKey[] = "Software\\Quorlin\\Orvane";

const char kInstalledMessage[] = "インストールが完了しました";
const char kNotInstalledMessage[] = "インストールを完了できませんでした";
const char kUninstalledMessage[] = "レジストリ情報のアンインストールが完了しました\n"
                                   "インストールしたフォルダにあるファイルを手動で削除してください";

namespace {

struct Key {
    HKEY handle = nullptr;
    ~Key() {
        if (handle)
            RegCloseKey(handle);
    }
};

// The native name of the current user's hive, which a link target must use.
std::wstring UserHivePath() {
    std::wstring path;
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return path;
    BYTE buffer[256];
    DWORD length = 0;
    wchar_t* sid = nullptr;
    if (GetTokenInformation(token, TokenUser, buffer, sizeof buffer, &length) &&
        ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid, &sid)) {
        path = std::wstring(L"\\Registry\\User\\") + sid;
        LocalFree(sid);
    }
    CloseHandle(token);
    return path;
}

} // namespace

bool KeyExists(HKEY root, const std::string& path) {
    Key key;
    return RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key.handle) == ERROR_SUCCESS;
}

bool ReadString(HKEY root, const std::string& path, const char* valueName, std::string* data) {
    Key key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key.handle) != ERROR_SUCCESS)
        return false;
    char buffer[2048] = {};
    DWORD size = sizeof buffer - 1;
    DWORD type = 0;
    if (RegQueryValueExA(key.handle, valueName, nullptr, &type, reinterpret_cast<BYTE*>(buffer),
                         &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return false;
    *data = buffer;
    return true;
}

DWORD ValueCount(HKEY root, const std::string& path) {
    Key key;
    DWORD count = 0;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key.handle) == ERROR_SUCCESS)
        RegQueryInfoKeyA(key.handle, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count,
                         nullptr, nullptr, nullptr, nullptr);
    return count;
}

bool WriteString(HKEY root, const std::string& path, const char* valueName,
                 const std::string& data) {
    Key key;
    return RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key.handle,
                           nullptr) == ERROR_SUCCESS &&
           RegSetValueExA(key.handle, valueName, 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(data.c_str()),
                          static_cast<DWORD>(data.size() + 1)) == ERROR_SUCCESS;
}

bool CreateVolatileKey(HKEY root, const std::string& path) {
    Key key;
    return RegCreateKeyExA(root, path.c_str(), 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS,
                           nullptr, &key.handle, nullptr) == ERROR_SUCCESS;
}

DanglingLink::DanglingLink(HKEY root, const std::string& path) : root_(root), path_(path) {
    Key link;
    if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, REG_OPTION_CREATE_LINK,
                        KEY_ALL_ACCESS | KEY_CREATE_LINK, nullptr, &link.handle,
                        nullptr) != ERROR_SUCCESS)
        return;
    std::wstring target = UserHivePath() + L"\\Software\\OrvaneSetupTestNowhere";
    created_ = RegSetValueExW(link.handle, L"SymbolicLinkValue", 0, REG_LINK,
                              reinterpret_cast<const BYTE*>(target.c_str()),
                              static_cast<DWORD>(target.size() * sizeof(wchar_t))) == ERROR_SUCCESS;
}

DanglingLink::~DanglingLink() {
    Key link;
    if (RegOpenKeyExA(root_, path_.c_str(), REG_OPTION_OPEN_LINK, DELETE, &link.handle) ==
        ERROR_SUCCESS)
        NtDeleteKey(link.handle);
}

void ExpectRegisteredFor(const std::string& setupPath, const std::string& folder) {
    const std::string mainProgram = folder + "\\Orvane.exe";
    const struct {
        HKEY root;
        const char* key;
        const char* name;
        std::string data;
    } expected[] = {
        {HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName", "フォルダ同期ツール　Orvane"},
        {HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString", "\"" + setupPath + "\" -uninst"},
        {HKEY_CLASSES_ROOT, ".orvane", nullptr, "Orvane.Document"},
        {HKEY_CLASSES_ROOT, "Orvane.Document\\shell\\open\\command", nullptr,
         "\"" + mainProgram + "\" \"%1\""},
        {HKEY_CLASSES_ROOT, "Orvane.Document\\DefaultIcon", nullptr, mainProgram + ",1"},
        {HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayIcon", mainProgram + ",0"},
        {HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayVersion", ORVANE_VERSION_TEXT},
        {HKEY_LOCAL_MACHINE, kUninstallKey, "Publisher", "Quorlin"},
        {HKEY_LOCAL_MACHINE, kUninstallKey, "InstallLocation", folder},
        {HKEY_CLASSES_ROOT, "Orvane.Document", nullptr, "Orvane 同期設定ファイル"},
    };
    for (const auto& value : expected) {
        std::string data;
        EXPECT_TRUE(ReadString(value.root, value.key, value.name, &data))
            << value.key << " " << (value.name ? value.name : "(default)");
        EXPECT_EQ(value.data, data);
    }
    for (const char* flag : {"NoModify", "NoRepair"}) {
        DWORD data = 0;
        DWORD size = sizeof data;
        EXPECT_EQ(ERROR_SUCCESS, RegGetValueA(HKEY_LOCAL_MACHINE, kUninstallKey, flag,
                                              RRF_RT_REG_DWORD, nullptr, &data, &size))
            << flag;
        EXPECT_EQ(1u, data) << flag;
    }
    // Nothing besides those values: a second run must not add any.
    EXPECT_EQ(8u, ValueCount(HKEY_LOCAL_MACHINE, kUninstallKey));
    EXPECT_EQ(1u, ValueCount(HKEY_CLASSES_ROOT, ".orvane"));
}

void ExpectNoRegistrationAndNoSettings() {
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, ".orvane"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "Orvane.Document"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kApplicationsKey));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kMakerKey));
}

void OrvaneSetupTest::RemoveAllTouchedKeys() {
    RegDeleteTreeA(HKEY_CLASSES_ROOT, ".orvane");
    RegDeleteTreeA(HKEY_CLASSES_ROOT, "Orvane.Document");
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kApplicationsKey);
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kUninstallKey);
    RegDeleteTreeA(HKEY_CURRENT_USER, kMakerKey);
}
