#pragma once
// The operation log: a new file for every run of the executor, named by the local
// time at its start, holding the search's message (when there is one) and one line
// per action reached: "成功:" or "失敗:" and the action's command, a failed
// action's reason on the line after it.
//
// Lines go straight to the file, one write each, so a run that ends early leaves a
// file with every line written until then. When a write fails (a full disk, a
// network folder that went away), the log keeps the whole lines it has, writes no
// further row lines (a log with silent gaps would mislead), and on closing cuts a
// half-written line and tries to add a note of how many actions it lacks.
// Complete() is then false, so the caller can tell the user.
//
// Every line is one line: a control character or '<' in a name is written in
// the escape form <U+XXXX> (base/TextEscape.h), so a name that holds a line
// break cannot add a line of its own.
#include <string>

#include "exec/OutputFile.h"

class OperationLog {
public:
    explicit OperationLog(WriteCall write = ::WriteFile) : file_(write) {}
    ~OperationLog() { Close(); }
    OperationLog(const OperationLog&) = delete;
    OperationLog& operator=(const OperationLog&) = delete;

    // Creates "<logFolder>\<yyyymmddhhmmssmmm>.log" as a new file (a name that is
    // taken, by anything, gives way to the next millisecond's) and writes
    // lastMessage as the first line when it is not empty. False when the file cannot be created,
    // and for a folder that is empty or not absolute (ERROR_BAD_PATHNAME).
    bool Open(const std::string& logFolder, const std::string& lastMessage);
    bool IsOpen() const { return file_.IsOpen(); }
    // The row's line; a failed row's reason, when given, follows on a line of its
    // own that begins with kReasonPrefix, and so does a note (where the old
    // version went) after kNotePrefix: the row's line is the command alone,
    // which a reader or a script can take as it is.
    void WriteLine(bool succeeded, const std::string& command,
                   const std::string& reason = std::string(),
                   const std::string& note = std::string());
    // A line of its own that is no row's, such as why a run did not go ahead.
    void WriteNote(const std::string& text);
    // One entry the search left out and so never planned: "対象外:" and its path.
    void WriteLeftOut(const std::string& path);
    // One conflict the run did not carry out: "衝突:" and its path.
    void WriteConflict(const std::string& path);
    void Close();

    // False once a line did not reach the file whole, or closing failed.
    bool Complete() const { return !failed_; }
    // Row lines that are missing from the file because of a failed write.
    int UnrecordedLines() const { return unrecordedLines_; }
    const std::string& Path() const { return path_; }
    // Why Open failed, or the first write failure.
    DWORD Error() const { return openError_ != 0 ? openError_ : file_.Error(); }

private:
    void WriteRecord(const std::string& text);
    bool Put(const std::string& line);

    OutputFile file_;
    std::string path_;
    unsigned long long wholeLinesEnd_ = 0;
    int unrecordedLines_ = 0;
    bool failed_ = false;
    DWORD openError_ = 0;
};

// Begins the line after a failed row's line: why it failed, in the system's words.
inline constexpr const char* kReasonPrefix = "　理由: ";
// Begins the line after a row's line that says where the old version went.
inline constexpr const char* kNotePrefix = "　";

// Marks a log line for an entry the search left out (a link, a name the path
// functions would misread): a reader sees what the run did not touch.
inline constexpr const char* kLeftOutPrefix = "対象外:";
inline constexpr const char* kConflictPrefix = "衝突:";
// Why a conflict was not carried out, after its line.
inline constexpr const char* kConflictReasonText =
    "両方のフォルダで変更されているため、処理しませんでした（どちらを残すか選んでください）";

// For the message box after an interactive run whose log is incomplete.
inline constexpr const char* kLogIncompleteText =
    "ログファイルへの書き込みに失敗しました。\nログに記録されていない処理があります。";
