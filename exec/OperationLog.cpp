#include "exec/OperationLog.h"

#include <cstdio>

#include "base/AbsolutePath.h"
#include "base/TextEscape.h"

namespace {

std::string LogFileName(const SYSTEMTIME& now) {
    char name[64];
    std::snprintf(name, sizeof name, "%4d%02d%02d%02d%02d%02d%03d.log", now.wYear, now.wMonth,
                  now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds);
    return name;
}

std::string MissingLinesNote(int lines, DWORD error) {
    char note[160];
    std::snprintf(
        note, sizeof note,
        "ログの書き込みに失敗しました（エラー %lu）。以降の%d件の処理は記録されていません。"
        "\r\n",
        static_cast<unsigned long>(error), lines);
    return note;
}

} // namespace

bool OperationLog::Open(const std::string& logFolder, const std::string& lastMessage) {
    Close();
    openError_ = 0;
    // An empty or relative folder would put the log in the root or the current
    // folder of whatever drive is current.
    if (!IsAbsolutePath(logFolder)) {
        path_ = logFolder;
        openError_ = ERROR_BAD_PATHNAME;
        return false;
    }
    SYSTEMTIME now;
    GetLocalTime(&now);
    FILETIME start;
    SystemTimeToFileTime(&now, &start);
    failed_ = false;
    unrecordedLines_ = 0;
    wholeLinesEnd_ = 0;
    // Always a new file: a name that is taken, by another run's log of the same
    // millisecond or by a link someone placed in a shared folder to have a
    // file elsewhere overwritten, is passed over for the next millisecond's.
    for (int attempt = 0;; ++attempt) {
        path_ = logFolder + "\\" + LogFileName(now);
        if (file_.Create(path_, true))
            break;
        DWORD code = file_.Error();
        if ((code != ERROR_FILE_EXISTS && code != ERROR_ALREADY_EXISTS) || attempt == 1000)
            return false;
        ULARGE_INTEGER ticks = {{start.dwLowDateTime, start.dwHighDateTime}};
        ticks.QuadPart += 10000ull * static_cast<unsigned>(attempt + 1);
        FILETIME later = {ticks.LowPart, ticks.HighPart};
        FileTimeToSystemTime(&later, &now);
    }
    if (!lastMessage.empty())
        Put(lastMessage + "\r\n");
    return true;
}

void OperationLog::WriteLine(bool succeeded, const std::string& command, const std::string& reason,
                             const std::string& note) {
    std::string record = (succeeded ? "成功:" : "失敗:") + EscapeForText(command);
    // One record, so a failed write never keeps the row's line without its reason.
    if (!succeeded && !reason.empty())
        record += "\r\n" + std::string(kReasonPrefix) + EscapeForText(reason);
    if (!note.empty())
        record += "\r\n" + std::string(kNotePrefix) + EscapeForText(note);
    WriteRecord(record);
}

void OperationLog::WriteLeftOut(const std::string& path) {
    WriteRecord(kLeftOutPrefix + EscapeForText(path));
}

void OperationLog::WriteConflict(const std::string& path) {
    WriteRecord(kConflictPrefix + EscapeForText(path));
}

void OperationLog::WriteRecord(const std::string& text) {
    if (!file_.IsOpen())
        return;
    if (failed_) {
        ++unrecordedLines_;
        return;
    }
    if (!Put(text + "\r\n"))
        ++unrecordedLines_;
}

void OperationLog::WriteNote(const std::string& text) {
    if (file_.IsOpen() && !failed_)
        Put(EscapeForText(text) + "\r\n");
}

bool OperationLog::Put(const std::string& line) {
    if (file_.Write(line)) {
        wholeLinesEnd_ = file_.Size();
        return true;
    }
    failed_ = true;
    return false;
}

void OperationLog::Close() {
    if (!file_.IsOpen())
        return;
    if (failed_) {
        // Best effort: the disk may have room again, or may not.
        DWORD error = file_.Error();
        file_.CutTo(wholeLinesEnd_);
        file_.Write(MissingLinesNote(unrecordedLines_, error));
    }
    if (!file_.Close())
        failed_ = true;
}
