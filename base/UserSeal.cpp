#include "base/UserSeal.h"

#include <windows.h>

#include <bcrypt.h>
#include <wincrypt.h>

#include "base/FileHandle.h"
#include "base/LocalData.h"
#include "base/WideFiles.h"

namespace {

const size_t kKeyBytes = 32;
const size_t kTagBytes = 32;
const wchar_t kKeyDescription[] = L"Orvane journal key";

std::string Hex(const unsigned char* bytes, size_t count) {
    static const char digits[] = "0123456789abcdef";
    std::string text;
    text.reserve(count * 2);
    for (size_t i = 0; i < count; ++i) {
        text += digits[bytes[i] >> 4];
        text += digits[bytes[i] & 15];
    }
    return text;
}

std::string RandomBytes(size_t count) {
    std::string bytes(count, '\0');
    if (!BCRYPT_SUCCESS(BCryptGenRandom(nullptr, reinterpret_cast<PUCHAR>(bytes.data()),
                                        static_cast<ULONG>(count),
                                        BCRYPT_USE_SYSTEM_PREFERRED_RNG)))
        return std::string();
    return bytes;
}

std::string ReadSmallFile(const std::string& path) {
    FileHandle file(OpenPath(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, 0));
    char buffer[4096];
    DWORD got = 0;
    if (!file.IsOpen() || !ReadFile(file.Get(), buffer, sizeof buffer, &got, nullptr))
        return std::string();
    return std::string(buffer, got);
}

// The key from its protected form; empty when it is not one of this user's.
std::string Unprotect(const std::string& blob) {
    DATA_BLOB in = {static_cast<DWORD>(blob.size()),
                    reinterpret_cast<BYTE*>(const_cast<char*>(blob.data()))};
    DATA_BLOB out = {};
    if (blob.empty() || !CryptUnprotectData(&in, nullptr, nullptr, nullptr, nullptr,
                                            CRYPTPROTECT_UI_FORBIDDEN, &out))
        return std::string();
    std::string key(reinterpret_cast<char*>(out.pbData), out.cbData);
    SecureZeroMemory(out.pbData, out.cbData);
    LocalFree(out.pbData);
    return key.size() == kKeyBytes ? key : std::string();
}

std::string Protect(const std::string& key) {
    DATA_BLOB in = {static_cast<DWORD>(key.size()),
                    reinterpret_cast<BYTE*>(const_cast<char*>(key.data()))};
    DATA_BLOB out = {};
    if (!CryptProtectData(&in, kKeyDescription, nullptr, nullptr, nullptr,
                          CRYPTPROTECT_UI_FORBIDDEN, &out))
        return std::string();
    std::string blob(reinterpret_cast<char*>(out.pbData), out.cbData);
    LocalFree(out.pbData);
    return blob;
}

// Writes a new key beside `path` and renames it into place. Another process
// making its own key at the same moment wins or loses whole: `replace` is
// false for a first key, so the loser reads the winner's.
bool StoreKey(const std::string& path, const std::string& blob, bool replace) {
    std::string fresh = path + "." + RandomHex(8);
    {
        FileHandle file(OpenPath(fresh, GENERIC_WRITE, 0, CREATE_NEW, FILE_ATTRIBUTE_NORMAL));
        DWORD written = 0;
        bool whole = file.IsOpen() &&
                     WriteFile(file.Get(), blob.data(), static_cast<DWORD>(blob.size()), &written,
                               nullptr) &&
                     written == blob.size() && FlushFileBuffers(file.Get());
        if (!file.Close() || !whole) {
            DeleteFileAt(fresh);
            return false;
        }
    }
    if (MovePath(fresh.c_str(), path.c_str(), replace ? MOVEFILE_REPLACE_EXISTING : 0))
        return true;
    DeleteFileAt(fresh);
    return false;
}

std::string KeyOfThisUser() {
    std::string folder = LocalDataFolder();
    if (folder.empty() || !MakeFolderPath(folder))
        return std::string();
    const std::string path = folder + "\\journal.key";
    std::string key = Unprotect(ReadSmallFile(path));
    if (!key.empty())
        return key;
    // A key that cannot be read back (another user's profile copied here, a
    // damaged file) seals nothing of ours: a new one takes its place.
    bool first = AttributesOf(path) == INVALID_FILE_ATTRIBUTES;
    std::string made = RandomBytes(kKeyBytes);
    std::string blob = made.empty() ? std::string() : Protect(made);
    if (!blob.empty() && StoreKey(path, blob, !first))
        return made;
    // Another process stored its key first.
    return Unprotect(ReadSmallFile(path));
}

} // namespace

const UserSeal& UserSeal::OfThisUser() {
    static const UserSeal seal(KeyOfThisUser());
    return seal;
}

std::string UserSeal::Tag(std::string_view data) const {
    if (!Available())
        return std::string();
    static BCRYPT_ALG_HANDLE algorithm = [] {
        BCRYPT_ALG_HANDLE opened = nullptr;
        if (!BCRYPT_SUCCESS(BCryptOpenAlgorithmProvider(&opened, BCRYPT_SHA256_ALGORITHM, nullptr,
                                                        BCRYPT_ALG_HANDLE_HMAC_FLAG)))
            opened = nullptr;
        return opened;
    }();
    if (algorithm == nullptr)
        return std::string();
    BCRYPT_HASH_HANDLE hash = nullptr;
    unsigned char tag[kTagBytes];
    bool done =
        BCRYPT_SUCCESS(BCryptCreateHash(algorithm, &hash, nullptr, 0,
                                        reinterpret_cast<PUCHAR>(const_cast<char*>(key_.data())),
                                        static_cast<ULONG>(key_.size()), 0)) &&
        BCRYPT_SUCCESS(BCryptHashData(hash,
                                      reinterpret_cast<PUCHAR>(const_cast<char*>(data.data())),
                                      static_cast<ULONG>(data.size()), 0)) &&
        BCRYPT_SUCCESS(BCryptFinishHash(hash, tag, sizeof tag, 0));
    if (hash != nullptr)
        BCryptDestroyHash(hash);
    return done ? Hex(tag, sizeof tag) : std::string();
}

bool UserSeal::Checks(std::string_view data, std::string_view tag) const {
    std::string expected = Tag(data);
    if (expected.empty() || expected.size() != tag.size())
        return false;
    unsigned char difference = 0;
    for (size_t i = 0; i < tag.size(); ++i)
        difference |= static_cast<unsigned char>(expected[i] ^ tag[i]);
    return difference == 0;
}

std::string RandomHex(size_t count) {
    std::string bytes = RandomBytes(count);
    return Hex(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}
