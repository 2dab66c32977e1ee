#include "exec/RunLock.h"

#include <cstdio>

#include "base/WideFiles.h"
#include "engine/ReservedNames.h"

namespace {

// The first line of every lock the program makes.
const char kSignature[] = "Orvane run lock 1\r\n";
const size_t kSignatureLength = sizeof kSignature - 1;
// A journal is a few lines per copy; anything larger is not one of ours.
const DWORD kLargestJournal = 64u << 20;

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

std::string RecordLine(const JournalRecord& record) {
    // A tab never occurs in a Windows name, nor as the second byte of a character.
    if (record.kind != JournalRecord::Temporary)
        return std::string(record.kind == JournalRecord::Backup ? "B" : "V") + "\t" + record.path +
               "\t" + record.target + "\r\n";
    return "T\t" + record.path + "\r\n";
}

bool ReadWhole(HANDLE file, std::string* text, DWORD* error) {
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file, &size)) {
        *error = GetLastError();
        return false;
    }
    if (size.QuadPart > kLargestJournal) {
        text->clear(); // too large to be ours: it has no signature
        return true;
    }
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

} // namespace

std::string JournalText(const std::string& runIdentity, const std::vector<JournalRecord>& records) {
    std::string text = std::string(kSignature) + "run " + runIdentity + "\r\n";
    for (const JournalRecord& record : records)
        text += RecordLine(record);
    return text;
}

bool ReadJournal(const std::string& text, std::vector<JournalRecord>* records) {
    records->clear();
    if (text.compare(0, kSignatureLength, kSignature) != 0)
        return false;
    size_t at = kSignatureLength;
    while (at < text.size()) {
        size_t end = text.find("\r\n", at);
        // A line without its end was cut by the kill: it records nothing made.
        if (end == std::string::npos)
            break;
        std::string line = text.substr(at, end - at);
        at = end + 2;
        if (line.size() < 3 || line[1] != '\t')
            continue;
        std::string rest = line.substr(2);
        if (line[0] == 'T') {
            records->push_back({JournalRecord::Temporary, rest, ""});
        } else if (line[0] == 'B' || line[0] == 'V') {
            size_t tab = rest.find('\t');
            if (tab != std::string::npos)
                records->push_back({line[0] == 'B' ? JournalRecord::Backup : JournalRecord::Version,
                                    rest.substr(0, tab), rest.substr(tab + 1)});
        }
    }
    return true;
}

LockResult RunLock::Take(const std::string& root) {
    Release();
    root_ = root;
    path_ = AtRoot(root, kRunLockName);
    inherited_.clear();
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
    // Hidden: it is the program's, not the user's. No sharing: while it is open
    // no other run can open it.
    file_ = FileHandle(
        OpenPath(path_, GENERIC_READ | GENERIC_WRITE, 0, CREATE_NEW, FILE_ATTRIBUTE_HIDDEN));
    if (file_.IsOpen()) {
        if (WriteHeader())
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
    // not ours. Read first, and write only into a file that is ours.
    FileHandle existing(
        OpenPath(path_, GENERIC_READ | GENERIC_WRITE, 0, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL));
    if (!existing.IsOpen()) {
        error_ = GetLastError();
        if (error_ == ERROR_SHARING_VIOLATION || error_ == ERROR_LOCK_VIOLATION)
            return LockResult::Busy;
        if (IsFolder(path_))
            return LockResult::NotOurs;
        return error_ == ERROR_FILE_NOT_FOUND ? LockResult::Gone : LockResult::NotWritable;
    }
    std::string text;
    if (!ReadWhole(existing.Get(), &text, &error_))
        return LockResult::NotWritable;
    // An empty file is a lock whose first line never reached the disk (the power
    // went right after it was made): it holds nothing of anyone's.
    if (!text.empty() && !ReadJournal(text, &inherited_)) {
        inherited_.clear();
        return LockResult::NotOurs;
    }
    // A killed run's lock, ours now. Its records stay in the file until they
    // are dealt with, so a kill now does not forget them.
    file_ = std::move(existing);
    clean_ = false;
    if (!Rewrite(inherited_)) {
        file_.Close(); // what could be kept stays in the file for the next run
        inherited_.clear();
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
    if (!Append(JournalText(RunIdentity(), records), true))
        return false;
    clean_ = records.empty();
    return true;
}

bool RunLock::WriteHeader() {
    return Append(JournalText(RunIdentity(), {}), true);
}

bool RunLock::Record(const JournalRecord& record) {
    return IsHeld() && Append(RecordLine(record), record.kind != JournalRecord::Temporary);
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
    file_.Close();
    // Another run may have taken it between the two calls; then it stays theirs.
    if (clean_)
        DeleteFileAt(path_);
}
