#include "exec/RunLock.h"

#include <cstdio>

#include "base/WideFiles.h"
#include "engine/FolderIdentity.h"
#include "engine/ReservedNames.h"
#include "exec/JobBounds.h"

namespace {

// The first line of every lock the program makes, and of those it made before
// journals were sealed: such a journal is the program's, its records unproven.
const char kSignature[] = "Orvane run lock 2\r\n";
const char kUnsealedSignature[] = "Orvane run lock 1\r\n";
const size_t kSignatureLength = sizeof kSignature - 1;
// A journal is a few lines per copy; anything larger is not one of ours.
const DWORD kLargestJournal = 64u << 20;
const char kNoTag[] = "-";

// Who holds the lock, for a person who opens the file: PC, process and start.
std::string RunIdentity() {
    char computer[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = sizeof computer;
    GetComputerNameA(computer, &size);
    SYSTEMTIME now;
    GetLocalTime(&now);
    char text[160];
    std::snprintf(text, sizeof text, "%s %lu %04d-%02d-%02d %02d:%02d:%02d", computer,
                  static_cast<unsigned long>(GetCurrentProcessId()), now.wYear, now.wMonth,
                  now.wDay, now.wHour, now.wMinute, now.wSecond);
    return text;
}

bool IsFolder(const std::string& path) {
    DWORD attributes = AttributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// What the seal line's tag covers: the folder and the journal's number.
std::string SealedText(const std::string& folderKey, std::string_view number) {
    return "Orvane journal\n" + folderKey + "\n" + std::string(number);
}

std::string TagOr(const std::string& tag) {
    return tag.empty() ? kNoTag : tag;
}

// A record's line without its tag. A tab never occurs in a Windows name, nor
// as the second byte of a character.
std::string RecordBody(const JournalRecord& record) {
    if (record.kind == JournalRecord::Temporary)
        return "T\t" + record.path;
    return std::string(record.kind == JournalRecord::Backup ? "B" : "V") + "\t" + record.path +
           "\t" + record.target;
}

std::string RecordLine(const JournalRecord& record, const std::string& number,
                       const UserSeal& seal) {
    std::string body = RecordBody(record);
    return body + "\t" + TagOr(seal.Tag(number + "\n" + body)) + "\r\n";
}

// One record line without its line end, or false when it is no record.
bool ParseRecord(std::string_view line, JournalRecord* record, std::string_view* body,
                 std::string_view* tag) {
    if (line.size() < 3 || line[1] != '\t')
        return false;
    // The tag follows the last tab; the kind's own tab is not it.
    size_t lastTab = line.rfind('\t');
    if (lastTab < 2)
        return false;
    *body = line.substr(0, lastTab);
    *tag = line.substr(lastTab + 1);
    std::string_view fields = body->substr(2);
    size_t tab = fields.find('\t');
    switch (line[0]) {
    case 'T':
        if (tab != std::string_view::npos || fields.empty())
            return false;
        *record = {JournalRecord::Temporary, std::string(fields), std::string()};
        return true;
    case 'B':
    case 'V':
        if (tab == std::string_view::npos || fields.find('\t', tab + 1) != std::string_view::npos)
            return false;
        *record = {line[0] == 'B' ? JournalRecord::Backup : JournalRecord::Version,
                   std::string(fields.substr(0, tab)), std::string(fields.substr(tab + 1))};
        return true;
    default:
        return false;
    }
}

bool ReadWhole(HANDLE file, std::string* text, bool* tooLarge, DWORD* error) {
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file, &size)) {
        *error = GetLastError();
        return false;
    }
    *tooLarge = size.QuadPart > kLargestJournal;
    if (*tooLarge)
        return true;
    text->assign(static_cast<size_t>(size.QuadPart), '\0');
    DWORD got = 0;
    if (!text->empty() &&
        !ReadFile(file, text->data(), static_cast<DWORD>(text->size()), &got, nullptr)) {
        *error = GetLastError();
        return false;
    }
    text->resize(got);
    return true;
}

// Whether the open file at the lock's name is one the program could have made:
// a plain file with no other name, where the lock belongs. A link to a file
// elsewhere, or a second name of one, must never be written or cut.
bool IsOwnKind(HANDLE file, const std::string& root) {
    FILE_ATTRIBUTE_TAG_INFO attributes;
    FILE_STANDARD_INFO standard;
    if (!GetFileInformationByHandleEx(file, FileAttributeTagInfo, &attributes, sizeof attributes) ||
        !GetFileInformationByHandleEx(file, FileStandardInfo, &standard, sizeof standard))
        return false;
    JobBounds bounds;
    return (attributes.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0 && !standard.Directory &&
           standard.NumberOfLinks == 1 &&
           bounds.InPlace(file, root, std::string("\\") + kRunLockName);
}

} // namespace

std::string JournalText(const std::string& runIdentity, const std::string& folderKey,
                        const std::string& number, const std::vector<JournalRecord>& records,
                        const UserSeal& seal) {
    std::string text = std::string(kSignature) + "run " + runIdentity + "\r\n" + "seal " + number +
                       " " + TagOr(seal.Tag(SealedText(folderKey, number))) + "\r\n";
    for (const JournalRecord& record : records)
        text += RecordLine(record, number, seal);
    return text;
}

JournalReading ReadJournal(std::string_view text, const std::string& folderKey,
                           const UserSeal& seal) {
    JournalReading reading;
    if (text.substr(0, kSignatureLength) == kSignature)
        reading.kind = JournalReading::Unsealed; // until its seal line checks
    else if (text.substr(0, kSignatureLength) == kUnsealedSignature)
        reading.kind = JournalReading::Unsealed;
    else
        return reading;
    const bool sealedForm = text.substr(0, kSignatureLength) == kSignature;
    std::string_view number;
    size_t at = kSignatureLength;
    while (at < text.size()) {
        size_t end = text.find("\r\n", at);
        // A line without its end was cut by the kill: it records nothing made.
        if (end == std::string_view::npos)
            break;
        std::string_view line = text.substr(at, end - at);
        at = end + 2;
        if (sealedForm && line.substr(0, 5) == "seal " && number.empty()) {
            std::string_view rest = line.substr(5);
            size_t blank = rest.find(' ');
            if (blank != std::string_view::npos && blank > 0 &&
                seal.Checks(SealedText(folderKey, rest.substr(0, blank)), rest.substr(blank + 1))) {
                number = rest.substr(0, blank);
                reading.kind = JournalReading::Sealed;
            }
            continue;
        }
        if (line.size() < 2 || line[1] != '\t' ||
            std::string_view("TBV").find(line[0]) == line.npos)
            continue; // no record
        JournalRecord record;
        std::string_view body, tag;
        if (reading.kind == JournalReading::Sealed && ParseRecord(line, &record, &body, &tag) &&
            seal.Checks(std::string(number) + "\n" + std::string(body), tag))
            reading.records.push_back(std::move(record));
        else
            ++reading.untrusted;
    }
    return reading;
}

LockResult RunLock::Take(const std::string& root) {
    Release();
    root_ = root;
    path_ = AtRoot(root, kRunLockName);
    folderKey_ = FolderIdentityKey(root);
    number_ = RandomHex(16);
    inherited_ = JournalReading();
    // A run that ends between the two opens below lets its lock go: try again.
    for (int attempt = 0;; ++attempt) {
        LockResult result = TakeOnce();
        if (result != LockResult::Gone)
            return result;
        if (attempt == 8)
            return LockResult::NotWritable;
    }
}

LockResult RunLock::TakeOnce() {
    error_ = 0;
    clean_ = true;
    const DWORD access = GENERIC_READ | GENERIC_WRITE | DELETE;
    // Hidden: it is the program's, not the user's. No sharing: while it is open
    // no other run can open it. A new file is never a link, whatever the name held.
    file_ = FileHandle(OpenPath(path_, access, 0, CREATE_NEW, FILE_ATTRIBUTE_HIDDEN));
    if (file_.IsOpen()) {
        if (Rewrite({}))
            return LockResult::Taken;
        Release();
        return LockResult::NotWritable;
    }
    error_ = GetLastError();
    if (error_ != ERROR_FILE_EXISTS && error_ != ERROR_ALREADY_EXISTS) {
        DWORD attributes = AttributesOf(root_);
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
            return LockResult::NoFolder;
        // Some systems answer a name taken by a folder with "access denied".
        if (IsFolder(path_))
            return LockResult::NotOurs;
        return LockResult::NotWritable;
    }
    // There is one: a live run's (then it cannot be opened), a killed run's, or
    // not ours. Looked at through its own handle first, written only when ours.
    FileHandle existing(OpenPath(path_, access, 0, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT));
    if (!existing.IsOpen()) {
        error_ = GetLastError();
        if (error_ == ERROR_SHARING_VIOLATION || error_ == ERROR_LOCK_VIOLATION)
            return LockResult::Busy;
        if (IsFolder(path_))
            return LockResult::NotOurs;
        return error_ == ERROR_FILE_NOT_FOUND ? LockResult::Gone : LockResult::NotWritable;
    }
    if (!IsOwnKind(existing.Get(), root_))
        return LockResult::NotOurs;
    std::string text;
    bool tooLarge = false;
    if (!ReadWhole(existing.Get(), &text, &tooLarge, &error_))
        return LockResult::NotWritable;
    // An empty file is a lock whose first line never reached the disk (the power
    // went right after it was made): it holds nothing of anyone's.
    if (tooLarge)
        return LockResult::NotOurs;
    if (!text.empty()) {
        inherited_ = ReadJournal(text, folderKey_, UserSeal::OfThisUser());
        if (inherited_.kind == JournalReading::NotOurs)
            return LockResult::NotOurs;
    }
    // A killed run's lock, ours now. Its trusted records stay in the file until
    // they are dealt with, so a kill now does not forget them.
    file_ = std::move(existing);
    clean_ = false;
    if (!Rewrite(inherited_.records)) {
        file_.Close(); // what could be kept stays in the file for the next run
        inherited_ = JournalReading();
        return LockResult::NotWritable;
    }
    return LockResult::Taken;
}

bool RunLock::Rewrite(const std::vector<JournalRecord>& records) {
    if (!IsHeld())
        return false;
    if (SetFilePointer(file_.Get(), 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER ||
        !SetEndOfFile(file_.Get())) {
        error_ = GetLastError();
        return false;
    }
    if (!Append(JournalText(RunIdentity(), folderKey_, number_, records, UserSeal::OfThisUser()),
                true))
        return false;
    clean_ = records.empty();
    return true;
}

bool RunLock::Record(const JournalRecord& record) {
    return IsHeld() && Append(RecordLine(record, number_, UserSeal::OfThisUser()),
                              record.kind != JournalRecord::Temporary);
}

bool RunLock::Append(const std::string& text, bool flush) {
    DWORD written = 0;
    if (!WriteFile(file_.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) ||
        written != text.size()) {
        error_ = GetLastError();
        return false;
    }
    if (flush && !FlushFileBuffers(file_.Get())) {
        error_ = GetLastError();
        return false;
    }
    return true;
}

void RunLock::Release() {
    if (!file_.IsOpen())
        return;
    // Removed through the run's own handle, so nothing that took the name
    // meanwhile can be removed in its place.
    if (clean_) {
        FILE_DISPOSITION_INFO disposition = {TRUE};
        SetFileInformationByHandle(file_.Get(), FileDispositionInfo, &disposition,
                                   sizeof disposition);
    }
    file_.Close();
}
