#include "run/SyncStateFile.h"

#include <cstdint>
#include <cstdio>
#include <algorithm>
#include <cstring>
#include <cwchar>
#include <vector>

#include "base/AbsolutePath.h"
#include "base/FileHandle.h"
#include "base/Fnv1a.h"
#include "base/LocalData.h"
#include "base/NameText.h"
#include "base/PathText.h"
#include "base/WideFiles.h"
#include "engine/FolderIdentity.h"
#include "engine/NameOrder.h"
#include "exec/RecycleBin.h"

namespace {

const char kSignature[8] = {'O', 'R', 'V', 'S', 'T', 'A', 'T', 'E'};
constexpr uint32_t kVersion = 2;
// More than any real pair holds; a count beyond it is damage.
constexpr uint32_t kMostRecords = 50000000;
constexpr uint32_t kWitnesses = 8;
// Enough of a file to read both sides' headers when looking for pairs that are gone.
constexpr DWORD kHeaderBytes = 1u << 20;

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
    void Wide(std::wstring_view text) {
        Value(static_cast<uint32_t>(text.size()));
        Bytes(text.data(), text.size() * sizeof(wchar_t));
    }
    void Narrow(const std::string& text) {
        Value(static_cast<uint32_t>(text.size()));
        Bytes(text.data(), text.size());
    }
    void Reserve(size_t size) { out_.reserve(size); }
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

// A file of one side as it was when the memory was written. Its change time
// moves with anything done to the file, a write time set back included: a file
// copied back with its old time, even where the file system hands it the old
// file's number, has a new one.
struct Witness {
    std::wstring relativePath;
    FileIdentity identity; // all zero where the volume gives no file index
    uint64_t size = 0;
    uint64_t time = 0;
    uint64_t changed = 0; // 0 where the system tells none
};

// What the memory knows of one side's folder.
struct SideRecord {
    std::string key;
    std::wstring path;
    uint64_t created = 0;
    uint64_t written = 0;
    std::vector<Witness> witnesses;
};

// A file below `folder` as it is now; false when it is no file there.
bool ReadWitness(const std::string& folder, const std::wstring& relativePath, Witness* now) {
    std::wstring path = WidePath(folder + TextFromWide(relativePath));
    FileHandle file(CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION information;
    if (!file.IsOpen() || !GetFileInformationByHandle(file.Get(), &information) ||
        (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return false;
    now->relativePath = relativePath;
    now->identity = {information.dwVolumeSerialNumber, information.nFileIndexHigh,
                     information.nFileIndexLow};
    if (information.nFileIndexHigh == 0 && information.nFileIndexLow == 0)
        now->identity = FileIdentity();
    now->size = (static_cast<uint64_t>(information.nFileSizeHigh) << 32) | information.nFileSizeLow;
    now->time = TimeBits(information.ftLastWriteTime);
    FILE_BASIC_INFO basic;
    now->changed = GetFileInformationByHandleEx(file.Get(), FileBasicInfo, &basic, sizeof basic)
                       ? static_cast<uint64_t>(basic.ChangeTime.QuadPart)
                       : 0;
    return true;
}

SideRecord SideNow(const std::string& folder, const PairMemory& memory) {
    SideRecord side;
    side.key = FolderIdentityKey(folder);
    side.path = WideFromText(folder);
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (AttributeDataOf(folder, &data)) {
        side.created = TimeBits(data.ftCreationTime);
        side.written = TimeBits(data.ftLastWriteTime);
    }
    // Files spread over the whole memory, so that a change in one corner does
    // not take every witness.
    std::vector<uint32_t> files;
    for (size_t i = 0; i < memory.Size(); ++i)
        if (!memory.EntryAt(i).folder)
            files.push_back(static_cast<uint32_t>(i));
    size_t wanted = std::min<size_t>(kWitnesses, files.size());
    for (size_t i = 0; i < wanted; ++i) {
        Witness witness;
        std::string_view path = memory.PathAt(files[i * files.size() / wanted]);
        if (ReadWitness(folder, WideFromText(path), &witness))
            side.witnesses.push_back(std::move(witness));
    }
    return side;
}

void WriteSide(Writer& out, const SideRecord& side) {
    out.Narrow(side.key);
    out.Wide(side.path);
    out.Value(side.created);
    out.Value(side.written);
    out.Value(static_cast<uint32_t>(side.witnesses.size()));
    for (const Witness& witness : side.witnesses) {
        out.Wide(witness.relativePath);
        out.Value(witness.identity.volume);
        out.Value(witness.identity.indexHigh);
        out.Value(witness.identity.indexLow);
        out.Value(witness.size);
        out.Value(witness.time);
        out.Value(witness.changed);
    }
}

bool ReadSide(Reader& in, SideRecord& side) {
    uint32_t count = 0;
    if (!in.Narrow(side.key) || !in.Wide(side.path) || !in.Value(side.created) ||
        !in.Value(side.written) || !in.Value(count) || count > kWitnesses)
        return false;
    side.witnesses.resize(count);
    for (Witness& witness : side.witnesses)
        if (!in.Wide(witness.relativePath) || witness.relativePath.empty() ||
            witness.relativePath[0] != L'\\' || !in.Value(witness.identity.volume) ||
            !in.Value(witness.identity.indexHigh) || !in.Value(witness.identity.indexLow) ||
            !in.Value(witness.size) || !in.Value(witness.time) || !in.Value(witness.changed))
            return false;
    return true;
}

// Whether the folder is still the one the memory was made for.
bool StillTheFolder(const SideRecord& side, const std::string& folder) {
    if (side.key != FolderIdentityKey(folder))
        return false;
    // Where creation times are kept apart from write times (Wine gives a
    // folder's write time as its creation time), a folder made anew has another.
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (side.created != side.written &&
        (!AttributeDataOf(folder, &data) || TimeBits(data.ftCreationTime) != side.created))
        return false;
    if (side.witnesses.empty())
        return true;
    for (const Witness& witness : side.witnesses) {
        Witness now;
        if (ReadWitness(folder, witness.relativePath, &now) && now.size == witness.size &&
            now.time == witness.time && now.changed == witness.changed &&
            (witness.identity == FileIdentity() || now.identity == witness.identity))
            return true;
    }
    return false;
}

std::string ReadBytes(const std::string& path, DWORD most) {
    FileHandle file(OpenPath(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, 0));
    if (!file.IsOpen())
        return std::string();
    LARGE_INTEGER size = {};
    if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart > 0x7FFFFFFF)
        return std::string();
    std::string bytes(static_cast<size_t>(std::min<LONGLONG>(size.QuadPart, most)), '\0');
    DWORD read = 0;
    if (!bytes.empty() &&
        (!ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
         read != bytes.size()))
        return std::string();
    return bytes;
}

bool ReadHeaders(Reader& in, SideRecord& processing, SideRecord& reference) {
    char signature[sizeof kSignature];
    uint32_t version = 0;
    return in.Bytes(signature, sizeof signature) &&
           memcmp(signature, kSignature, sizeof signature) == 0 && in.Value(version) &&
           version == kVersion && ReadSide(in, processing) && ReadSide(in, reference);
}

// Whether a side's folder is gone from a local fixed drive, or another folder
// is at its path now. A drive that is not there, a removable one or a share
// tells nothing: it may come back.
bool Vanished(const SideRecord& side) {
    std::string folder = TextFromWide(side.path);
    std::string root = VolumeRootOf(folder);
    if (root.empty() || GetDriveTypeW(WideFromText(root).c_str()) != DRIVE_FIXED ||
        AttributesOf(root) == INVALID_FILE_ATTRIBUTES)
        return false;
    return FolderIdentityKey(folder) != side.key;
}

// Removes the memory files beside `kept` whose pair is gone.
void ForgetVanishedPairs(const std::string& kept) {
    const std::string folder = FolderOf(kept);
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(WidePath(folder + "\\*.state").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        std::string path = folder + "\\" + TextFromWide(found.cFileName, wcslen(found.cFileName));
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ||
            CompareNames(path, kept) == 0)
            continue;
        std::string bytes = ReadBytes(path, kHeaderBytes);
        Reader in(bytes);
        SideRecord processing, reference;
        if (ReadHeaders(in, processing, reference) && (Vanished(processing) || Vanished(reference)))
            DeleteFileAt(path);
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

} // namespace

std::string StateFilePath(const std::string& processingFolder, const std::string& referenceFolder,
                          const std::string& stateFolder) {
    std::string processingKey = FolderIdentityKey(processingFolder);
    std::string referenceKey = FolderIdentityKey(referenceFolder);
    if (processingKey.empty() || referenceKey.empty())
        return std::string();
    std::string local = LocalDataFolder();
    std::string folder = !stateFolder.empty() ? stateFolder
                         : local.empty()      ? std::string()
                                              : local + "\\state";
    if (folder.empty())
        return std::string();
    return folder + "\\" + processingKey + "-" + referenceKey + ".state";
}

MemoryRead ReadPairMemory(const std::string& path, const std::string& processingFolder,
                          const std::string& referenceFolder, PairMemory& memory) {
    memory = PairMemory();
    std::string bytes = ReadBytes(path, 0x7FFFFFFF);
    uint64_t checksum = 0;
    if (bytes.size() < sizeof kSignature + sizeof checksum)
        return MemoryRead::None;
    memcpy(&checksum, bytes.data() + bytes.size() - sizeof checksum, sizeof checksum);
    bytes.resize(bytes.size() - sizeof checksum);
    if (Fnv1a(bytes) != checksum)
        return MemoryRead::None;
    Reader in(bytes);
    SideRecord processing, reference;
    uint32_t count = 0;
    if (!ReadHeaders(in, processing, reference) || !in.Value(count) || count > kMostRecords)
        return MemoryRead::None;
    // Another pair's memory says nothing about this one.
    if (processing.key != FolderIdentityKey(processingFolder) ||
        reference.key != FolderIdentityKey(referenceFolder))
        return MemoryRead::None;
    PairMemory read;
    std::wstring relativePath;
    for (uint32_t i = 0; i < count; ++i) {
        uint8_t folder = 0;
        uint64_t size = 0, processingTime = 0, referenceTime = 0;
        if (!in.Value(folder) || folder > 1 || !in.Value(size) || !in.Value(processingTime) ||
            !in.Value(referenceTime) || !in.Wide(relativePath) || relativePath.empty() ||
            relativePath[0] != L'\\')
            return MemoryRead::None;
        RememberedEntry entry;
        entry.present = true;
        entry.folder = folder != 0;
        entry.size = size;
        entry.processingTime = TimeOf(processingTime);
        entry.referenceTime = TimeOf(referenceTime);
        read.PutWide(relativePath, entry);
    }
    if (!in.AtEnd())
        return MemoryRead::None;
    if (!StillTheFolder(processing, processingFolder) ||
        !StillTheFolder(reference, referenceFolder)) {
        DeleteFileAt(path);
        return MemoryRead::DoesNotFit;
    }
    memory = std::move(read);
    return MemoryRead::Fits;
}

bool WritePairMemory(const std::string& path, const std::string& processingFolder,
                     const std::string& referenceFolder, const PairMemory& memory) {
    std::string folder = FolderOf(path);
    if (folder.empty() || !MakeFolderPath(folder))
        return false;
    Writer out;
    out.Bytes(kSignature, sizeof kSignature);
    out.Value(kVersion);
    WriteSide(out, SideNow(processingFolder, memory));
    WriteSide(out, SideNow(referenceFolder, memory));
    // A million records make a file of a hundred megabytes: one buffer, sized
    // once (a path's UTF-16 form has no more units than its text has bytes).
    size_t most = out.Out().size() + sizeof(uint64_t);
    for (size_t i = 0; i < memory.Size(); ++i)
        most +=
            1 + 3 * sizeof(uint64_t) + sizeof(uint32_t) + memory.PathAt(i).size() * sizeof(wchar_t);
    out.Reserve(most);
    out.Value(static_cast<uint32_t>(memory.Size()));
    std::wstring wide;
    for (size_t i = 0; i < memory.Size(); ++i) {
        const RememberedEntry entry = memory.EntryAt(i);
        out.Value(static_cast<uint8_t>(entry.folder ? 1 : 0));
        out.Value(static_cast<uint64_t>(entry.size));
        out.Value(TimeBits(entry.processingTime));
        out.Value(TimeBits(entry.referenceTime));
        wide.clear();
        AppendWideFromText(wide, memory.PathAt(i));
        out.Wide(wide);
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
    ForgetVanishedPairs(path);
    return true;
}
