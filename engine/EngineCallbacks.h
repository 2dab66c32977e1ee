#pragma once
// What the engine needs from the window that shows a long operation, so that
// the engine runs and is tested without any window.
#include <string>

struct SyncItem;

// How far a long operation has come, kept current by the operation itself: a
// counter update where the work is done, nothing more. The progress window reads
// the figures when it shows them, at most every tenth of a second.
struct ProgressFigures {
    enum class Kind {
        EntriesRead, // a search: the entries read on each side so far
        RowsWritten, // a batch export: rows written of rows planned
        RowsAndBytes // a synchronisation: rows and bytes done of those planned
    };
    // What every row weighs in the work besides its bytes, so that rows without
    // bytes (folders, deletions, small files) move the bar and the estimate too.
    // Measured under Wine: a small file's copy takes 4-8 ms, a gigabyte 3-4 s, so
    // one file costs as much as one to two megabytes of a large one.
    static constexpr unsigned long long kBytesPerRow = 1 << 20;

    Kind kind = Kind::EntriesRead;
    int processingEntries = 0;
    int referenceEntries = 0;
    int rowsDone = 0; // rows finished, whatever became of them
    int rowsPlanned = 0;
    unsigned long long bytesDone = 0; // copied so far, block by block where the copy is ours
    unsigned long long bytesPlanned = 0;
    std::string currentFile; // the row under way, by its relative path

    // The work done and planned, for the progress bar and the time left: every
    // row weighs kBytesPerRow besides its bytes.
    unsigned long long WorkDone() const { return bytesDone + rowsDone * kBytesPerRow; }
    unsigned long long WorkPlanned() const { return bytesPlanned + rowsPlanned * kBytesPerRow; }
};

class IProgress {
public:
    virtual ~IProgress() = default;
    virtual void SetLine1(const std::string& text) = 0;
    virtual void SetLine2(const std::string& text) = 0;
    // Moves the current texts into the progress window.
    virtual void Refresh() = 0;
    // Dispatches pending window messages, in the program's window only every few
    // tens of milliseconds; true exactly once after a stop request. Called
    // between units of work: a stop is seen within one pacing interval.
    virtual bool PollStop() = 0;
    // The same, dispatching at once: where a stop pressed since the last paced
    // poll must not be missed (before a question opens, before a search's end).
    virtual bool PollStopNow() = 0;
    // From now on the window shows these figures, which the operation keeps
    // current and keeps alive until it calls this again with null; their values
    // at that moment stay on show. A window without figures ignores them.
    virtual void ShowFigures(const ProgressFigures* figures) { (void)figures; }
};

// Figures on show in a progress window for the life of one scope.
class FiguresOnShow {
public:
    FiguresOnShow(IProgress& progress, const ProgressFigures& figures) : progress_(progress) {
        progress_.ShowFigures(&figures);
    }
    ~FiguresOnShow() { progress_.ShowFigures(nullptr); }
    FiguresOnShow(const FiguresOnShow&) = delete;
    FiguresOnShow& operator=(const FiguresOnShow&) = delete;

private:
    IProgress& progress_;
};

// Receives the planned actions; takes ownership of every item it is given.
class IRowSink {
public:
    virtual ~IRowSink() = default;
    // Returns the row index, or -1 when the row was refused (the item is then destroyed).
    virtual int InsertRow(SyncItem* item, int position) = 0;
};

// The window side of one long operation: while it runs, the main windows take no
// input and the progress window shows its two lines and its stop button.
class IOperationWindow {
public:
    virtual ~IOperationWindow() = default;
    // Disables the main windows and shows the progress window with `firstLine`.
    virtual IProgress& BeginOperation(const std::string& firstLine) = 0;
    // Enables the main windows again and takes the progress window down.
    virtual void EndOperation() = 0;
};

// One long operation, ended on every path out of the scope that began it.
class OperationScope {
public:
    OperationScope(IOperationWindow& window, const std::string& firstLine)
        : window_(window), progress_(window.BeginOperation(firstLine)) {}
    ~OperationScope() { window_.EndOperation(); }
    OperationScope(const OperationScope&) = delete;
    OperationScope& operator=(const OperationScope&) = delete;

    IProgress& Progress() { return progress_; }

private:
    IOperationWindow& window_;
    IProgress& progress_;
};
