#pragma once
// The modeless progress window of long operations: two lines of text, below them
// the operation's figures (a bar, counts, the current file, the time taken and
// left) and a stop button. The operation creates it, updates and polls it between
// units of work, and destroys it at the end; the object lives on for the next
// operation.
#include <memory>
#include <string>

#include "engine/EngineCallbacks.h"
#include "framework/Dialog.h"
#include "ui/PollPacer.h"
#include "ui/TaskbarProgress.h"

class CDlgBusy : public CDialog, public IProgress {
public:
    explicit CDlgBusy(CWnd* view, PollPacer pacer = PollPacer());
    ~CDlgBusy() override;

    std::string m_strLine1;
    std::string m_strLine2;
    bool m_bStopRequested = false;

    // Creates the window over the view; the lines set before show at once. A stop
    // left over from the last operation is forgotten, and the clock of the time
    // taken starts.
    BOOL CreateBusy();
    // Ends the dialog with result 0 and destroys its window.
    void Destroy();

    // Dispatches every pending message of the thread, keys for this window first
    // through its dialog navigation.
    void PumpMessages();
    // Pumps when the pacer says a pump is due, then reports a stop request once
    // and forgets it. Between pumps a click waits in the queue. A pump shows the
    // figures too, at most every kFiguresIntervalMs.
    bool PollStop() override;
    // Pumps at once, then reports a stop request once and forgets it.
    bool PollStopNow() override;

    void SetLine1(const std::string& text) override { m_strLine1 = text; }
    void SetLine2(const std::string& text) override { m_strLine2 = text; }
    // Moves the lines into the window.
    void Refresh() override;
    // Shows these figures now and from then on at the pumps; null shows the last
    // values once more and stops reading them.
    void ShowFigures(const ProgressFigures* figures) override;

    // Each new text costs a repaint (about 1.7 ms under Wine): the figures move as
    // often as the lines of a search, and only the texts that changed are set.
    static constexpr ULONGLONG kFiguresIntervalMs = 100;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    void OnOK() override {}
    // "中止" and Escape: remember the stop and hide at once.
    void OnCancel() override;

private:
    bool TakeStop();
    // Puts the figures into the window when the interval has passed since the
    // last time, or at once when `now`.
    void UpdateFigures(bool now);
    void SetControlText(int id, std::string& shown, const std::string& text);

    CWnd* m_pView;
    PollPacer m_pacer;
    const ProgressFigures* m_pFigures = nullptr;
    ULONGLONG m_startedAt = 0;
    ULONGLONG m_figuresShownAt = 0;
    // What the figure controls show, so that an unchanged text is not set again.
    std::string m_shownCounts, m_shownFile, m_shownTimes;
    int m_shownBar = -1;
    std::unique_ptr<TaskbarProgress> m_taskbar;
};
