#pragma once
// The settings tests' way of writing a script: steps added one by one, then the
// modal dialog shown while they run on the timer of a ModalScript.
#include <windows.h>

#include <functional>
#include <vector>

#include "ModalScript.h"

class DialogScript {
public:
    DialogScript& Then(std::function<void()> step);
    DialogScript& Until(std::function<bool()> step);

    // Calls `showModal`, which runs a modal dialog, with the steps ticking;
    // returns what it returns. The steps are used up.
    INT_PTR Run(const std::function<INT_PTR()>& showModal);
    // True when the safety end had to close the dialog.
    bool TimedOut() const { return timedOut_; }
    // Where a timed-out script stood, for the failure message.
    size_t StuckStep() const { return stuckStep_; }

private:
    std::vector<ModalScript::Step> steps_;
    bool timedOut_ = false;
    size_t stuckStep_ = 0;
};
