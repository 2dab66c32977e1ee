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
    // Dispatches pending window messages; true exactly once after a stop request.
    virtual bool PollStop() = 0;
};

// Receives the planned actions; takes ownership of every item it is given.
class IRowSink {
public:
    virtual ~IRowSink() = default;
    // Returns the row index, or -1 when the row was refused (the item is then destroyed).
    virtual int InsertRow(SyncItem* item, int position) = 0;
};
