#include "engine/FolderIdentity.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "base/AbsolutePath.h"
#include "base/FileHandle.h"
#include "base/Fnv1a.h"
#include "base/NameText.h"
#include "base/PathRoot.h"
#include "base/PathText.h"
#include "base/WideFiles.h"
#include "engine/CompareNoCase.h"
#include "engine/NameOrder.h"

namespace {

// A handle opened only to ask about the file. No access rights are asked for,
// so a folder the user may not list still answers; backup semantics are what
// opens a folder at all.
HANDLE OpenForQuery(const std::string& path) {
    return OpenPath(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING,
                    FILE_FLAG_BACKUP_SEMANTICS);
}

// The path the system itself gives the open folder, links resolved; empty when
// it gives none.
std::string ResolvedPath(const std::string& path) {
    FileHandle handle(OpenForQuery(path));
    std::wstring resolved = handle.IsOpen() ? ResolvedPathOf(handle.Get()) : std::wstring();
    return TextFromWide(resolved);
}

void AddChain(std::string path, std::vector<FileIdentity>& chain) {
    for (; !path.empty(); path = ParentFolder(path)) {
        FileIdentity identity;
        if (ReadIdentity(path, identity))
            chain.push_back(identity);
    }
}

// The absolute text without a trailing backslash (a root keeps its own).
std::string AbsoluteFolder(const std::string& folder) {
    std::string path = MakeAbsolute(folder);
    if (EndsWithBackslash(path) && path.size() > RootLength(path))
        path.pop_back();
    return path;
}

// Whether the text `inner` is `outer` or lies inside it.
bool WithinText(const std::string& inner, const std::string& outer) {
    if (inner.size() < outer.size() ||
        CompareNoCase(std::string_view(inner).substr(0, outer.size()), outer) != 0)
        return false;
    // Both texts are the same up to outer.size(), so that position starts a character.
    return inner.size() == outer.size() || EndsWithBackslash(outer) || inner[outer.size()] == '\\';
}

// Whether the folder `inner` is `outer` or lies inside it, by identity.
bool WithinByIdentity(const std::string& inner, const std::string& outer) {
    FileIdentity outerIdentity;
    if (!ReadIdentity(outer, outerIdentity))
        return false;
    std::vector<FileIdentity> chain = IdentityChain(inner);
    return std::find(chain.begin(), chain.end(), outerIdentity) != chain.end();
}

// The spelling with every short name replaced by the long one.
std::string LongPath(const std::string& path) {
    std::wstring wide = WideFromText(path);
    std::wstring longer(wide.size() * 2 + MAX_PATH, L'\0');
    DWORD length = GetLongPathNameW(wide.c_str(), longer.data(), static_cast<DWORD>(longer.size()));
    return length > 0 && length < longer.size() ? TextFromWide(longer.data(), length) : path;
}

// The rest of `path` below its leading part `top`, "\" and the names after it.
std::string RestBelow(const std::string& path, const std::string& top) {
    std::string rest = path.substr(top.size());
    if (rest.empty() || rest[0] != '\\')
        rest.insert(rest.begin(), '\\');
    if (EndsWithBackslash(rest))
        rest.pop_back();
    return rest;
}

} // namespace

std::string FolderIdentityKey(const std::string& folder) {
    FileIdentity identity;
    char text[64];
    if (ReadIdentity(folder, identity)) {
        snprintf(text, sizeof text, "%08lX%08lX%08lX", identity.volume, identity.indexHigh,
                 identity.indexLow);
        return text;
    }
    DWORD attributes = AttributesOf(folder);
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return std::string();
    std::string absolute = MakeAbsolute(folder);
    if (absolute.size() > 3 && absolute.back() == '\\')
        absolute.pop_back();
    snprintf(text, sizeof text, "P%016llX",
             static_cast<unsigned long long>(Fnv1a(NameKey(absolute))));
    return text;
}

bool ReadIdentity(const std::string& path, FileIdentity& identity) {
    FileHandle handle(OpenForQuery(path));
    BY_HANDLE_FILE_INFORMATION information;
    if (!handle.IsOpen() || !GetFileInformationByHandle(handle.Get(), &information))
        return false;
    // Some network servers give every file the index 0; that tells nothing, and
    // taken as an identity it would make all their folders one.
    if (information.nFileIndexHigh == 0 && information.nFileIndexLow == 0)
        return false;
    identity.volume = information.dwVolumeSerialNumber;
    identity.indexHigh = information.nFileIndexHigh;
    identity.indexLow = information.nFileIndexLow;
    return true;
}

std::vector<FileIdentity> IdentityChain(const std::string& folder) {
    std::vector<FileIdentity> chain;
    AddChain(MakeAbsolute(folder), chain);
    // Through a link the folders above the spelling are not the folders above
    // the files; the resolved path names those.
    std::string resolved = ResolvedPath(folder);
    if (!resolved.empty())
        AddChain(resolved, chain);
    return chain;
}

bool FoldersOverlap(const std::string& first, const std::string& second) {
    std::string a = AbsoluteFolder(first);
    std::string b = AbsoluteFolder(second);
    return WithinText(a, b) || WithinText(b, a) || WithinByIdentity(a, b) || WithinByIdentity(b, a);
}

bool SameFolder(const std::string& first, const std::string& second) {
    std::string a = AbsoluteFolder(first);
    std::string b = AbsoluteFolder(second);
    if (CompareNoCase(a, b) == 0)
        return true;
    FileIdentity identityA;
    FileIdentity identityB;
    return ReadIdentity(a, identityA) && ReadIdentity(b, identityB) && identityA == identityB;
}

std::string PathBelow(const std::string& path, const std::string& folder) {
    FileIdentity folderIdentity;
    if (!ReadIdentity(folder, folderIdentity))
        return std::string();
    // The names below the folder are taken from a spelling without short names,
    // as the listings hold them.
    for (const std::string& spelling : {LongPath(MakeAbsolute(path)), ResolvedPath(path)}) {
        if (spelling.empty())
            continue;
        FileIdentity identity;
        if (ReadIdentity(spelling, identity) && identity == folderIdentity)
            return std::string(); // the folder itself
        for (std::string top = ParentFolder(spelling); !top.empty(); top = ParentFolder(top))
            if (ReadIdentity(top, identity) && identity == folderIdentity)
                return RestBelow(spelling, top);
    }
    return std::string();
}
