#include "run/SyncStateFile.h"

#include <shlobj.h>

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "base/AbsolutePath.h"
#include "base/FileHandle.h"
#include "base/NameText.h"
#include "base/PathText.h"
#include "base/WideFiles.h"
#include "engine/FolderIdentity.h"
#include "engine/NameOrder.h"

namespace {

const char kSignature[8] = {'O', 'R', 'V', 'S', 'T', 'A', 'T', 'E'};
constexpr uint32_t kVersion = 1;
// More than any real pair holds; a count beyond it is damage.
constexpr uint32_t kMostRecords = 50000000;

uint64_t Fnv1a(const std::string& bytes) {
    uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : bytes) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    return hash;
}

uint64_t TimeBits(const FILETIME& time) {
    return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

FILETIME TimeOf(uint64_t bits) {
    return {static_cast<DWORD>(bits), static_cast<DWORD>(bits >> 32)};
}

class Writer {
public:
    void Bytes(const void* data, size_t size) { out_.append(static_cast<const char*>(data), size); }
    template <class T> void Value(T value) { Bytes(&value, sizeof value); }
    void Wide(const std::wstring& text) {
        Value(static_cast<uint32_t>(text.size()));
        Bytes(text.data(), text.size() * sizeof(wchar_t));
    }
    void Narrow(const std::string& text) {
        Value(static_cast<uint32_t>(text.size()));
        Bytes(text.data(), text.size());
    }
    std::string& Out() { return out_; }

private:
    std::string out_;
};

class Reader {
public:
    explicit Reader(std::string_view in) : in_(in) {}
    bool Bytes(void* data, size_t size) {
        if (in_.size() - at_ < size)
            return false;
        memcpy(data, in_.data() + at_, size);
        at_ += size;
        return true;
    }
    template <class T> bool Value(T& value) { return Bytes(&value, sizeof value); }
    bool Wide(std::wstring& text) {
        uint32_t length = 0;
        if (!Value(length) || (in_.size() - at_) / sizeof(wchar_t) < length)
            return false;
        text.resize(length);
        return Bytes(text.data(), length * sizeof(wchar_t));
    }
    bool Narrow(std::string& text) {
        uint32_t length = 0;
        if (!Value(length) || in_.size() - at_ < length)
            return false;
        text.assign(in_.data() + at_, length);
        at_ += length;
        return true;
    }
    bool AtEnd() const { return at_ == in_.size(); }

private:
    std::string_view in_;
    size_t at_ = 0;
};

std::string LocalStateFolder() {
    wchar_t folder[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr,
                                SHGFP_TYPE_CURRENT, folder)))
        return std::string();
    return TextFromWide(std::wstring(folder)) + "\\Orvane\\state";
}

bool MakeFolders(const std::string& folder) {
    for (size_t at = folder.find('\\', 3); at != std::string::npos; at = folder.find('\\', at + 1))
        CreateFolderAt(folder.substr(0, at));
    CreateFolderAt(folder);
    DWORD attributes = AttributesOf(folder);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ReadWhole(const std::string& path) {
    FileHandle file(OpenPath(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, 0));
    if (!file.IsOpen())
        return std::string();
    LARGE_INTEGER size = {};
    if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart > 0x7FFFFFFF)
        return std::string();
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!bytes.empty() &&
        (!ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
         read != bytes.size()))
        return std::string();
    return bytes;
}

} // namespace

std::string StateFilePath(const std::string& processingFolder, const std::string& referenceFolder,
                          const std::string& stateFolder) {
    std::string processingKey = FolderIdentityKey(processingFolder);
    std::string referenceKey = FolderIdentityKey(referenceFolder);
    if (processingKey.empty() || referenceKey.empty())
        return std::string();
    std::string folder = stateFolder.empty() ? LocalStateFolder() : stateFolder;
    if (folder.empty())
        return std::string();
    return folder + "\\" + processingKey + "-" + referenceKey + ".state";
}

bool ReadPairMemory(const std::string& path, const std::string& processingFolder,
                    const std::string& referenceFolder, PairMemory& memory) {
    memory = PairMemory();
    std::string bytes = ReadWhole(path);
    uint64_t checksum = 0;
    if (bytes.size() < sizeof kSignature + sizeof checksum)
        return false;
    memcpy(&checksum, bytes.data() + bytes.size() - sizeof checksum, sizeof checksum);
    bytes.resize(bytes.size() - sizeof checksum);
    if (Fnv1a(bytes) != checksum)
        return false;
    Reader in(bytes);
    char signature[sizeof kSignature];
    uint32_t version = 0, count = 0;
    std::string processingKey, referenceKey;
    if (!in.Bytes(signature, sizeof signature) || memcmp(signature, kSignature, sizeof signature) ||
        !in.Value(version) || version != kVersion || !in.Narrow(processingKey) ||
        !in.Narrow(referenceKey) || !in.Value(count) || count > kMostRecords)
        return false;
    // Another pair's memory says nothing about this one.
    if (processingKey != FolderIdentityKey(processingFolder) ||
        referenceKey != FolderIdentityKey(referenceFolder))
        return false;
    PairMemory read;
    for (uint32_t i = 0; i < count; ++i) {
        uint8_t folder = 0;
        uint64_t size = 0, processingTime = 0, referenceTime = 0;
        std::wstring relativePath;
        if (!in.Value(folder) || folder > 1 || !in.Value(size) || !in.Value(processingTime) ||
            !in.Value(referenceTime) || !in.Wide(relativePath) || relativePath.empty() ||
            relativePath[0] != L'\\')
            return false;
        RememberedEntry entry;
        entry.present = true;
        entry.folder = folder != 0;
        entry.size = size;
        entry.processingTime = TimeOf(processingTime);
        entry.referenceTime = TimeOf(referenceTime);
        read.PutWide(std::move(relativePath), entry);
    }
    if (!in.AtEnd())
        return false;
    memory = std::move(read);
    return true;
}

bool WritePairMemory(const std::string& path, const std::string& processingFolder,
                     const std::string& referenceFolder, const PairMemory& memory) {
    std::string folder = FolderOf(path);
    if (folder.empty() || !MakeFolders(folder))
        return false;
    Writer out;
    out.Bytes(kSignature, sizeof kSignature);
    out.Value(kVersion);
    out.Narrow(FolderIdentityKey(processingFolder));
    out.Narrow(FolderIdentityKey(referenceFolder));
    out.Value(static_cast<uint32_t>(memory.Size()));
    for (const auto& [key, record] : memory.Records()) {
        out.Value(static_cast<uint8_t>(record.entry.folder ? 1 : 0));
        out.Value(static_cast<uint64_t>(record.entry.size));
        out.Value(TimeBits(record.entry.processingTime));
        out.Value(TimeBits(record.entry.referenceTime));
        out.Wide(record.relativePath);
    }
    out.Value(Fnv1a(out.Out()));
    const std::string& bytes = out.Out();
    std::string fresh = path + ".new";
    {
        FileHandle file(OpenPath(fresh, GENERIC_WRITE, 0, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL));
        if (!file.IsOpen())
            return false;
        DWORD written = 0;
        bool whole = WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                               nullptr) &&
                     written == bytes.size() && FlushFileBuffers(file.Get());
        if (!file.Close() || !whole) {
            DeleteFileAt(fresh);
            return false;
        }
    }
    if (!MovePath(fresh.c_str(), path.c_str(),
                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileAt(fresh);
        return false;
    }
    return true;
}
