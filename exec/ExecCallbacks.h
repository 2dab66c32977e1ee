#pragma once
// What the executor and the batch writer need from whoever holds the rows and
// answers the questions, so that both run and are tested without any window.
#include <windows.h>

#include <string>

struct SyncItem;

// The rows of the result list, read in list order and never changed.
class IRowSource {
public:
    virtual ~IRowSource() = default;
    virtual int RowCount() const = 0;
    virtual const SyncItem& Row(int index) const = 0;
};

// Answers of the question before a deletion: the dialog's result codes.
enum DeleteAnswer : int {
    DeleteYes = IDYES,      // delete this one
    DeleteAll = IDIGNORE,   // delete this one and ask no more in this run
    DeleteNo = IDNO,        // keep it; the row still gets its log line
    DeleteAbort = IDCANCEL, // end the run before this deletion
};

class IDeleteQuestion {
public:
    virtual ~IDeleteQuestion() = default;
    // Shows the question text; returns a DeleteAnswer. -1 (the question could not
    // be shown) ends the run as an abort does; any other number means yes.
    virtual int AskDelete(const std::string& question) = 0;
    // Before a run that would delete most of a side: true to go ahead. The
    // question's default answer is no.
    virtual bool AskMassDeletion(const std::string& question) = 0;
};

// Answers of the question before writing a line that names a network path.
enum NetworkAnswer : int {
    WriteAll = IDOK,       // write this line and ask no more in this export
    WriteThis = IDIGNORE,  // write this line
    SkipThis = IDRETRY,    // leave this line out
    ExportAbort = IDCANCEL // end the export before this line
};

class INetworkQuestion {
public:
    virtual ~INetworkQuestion() = default;
    // Shows the row's command; returns a NetworkAnswer (any other number means write).
    virtual int AskNetworkLine(const std::string& command) = 0;
};
