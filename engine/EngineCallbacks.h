#pragma once
// What the engine needs from the window that shows a long operation, so that
// the engine runs and is tested without any window.
#include <string>

struct SyncItem;

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
