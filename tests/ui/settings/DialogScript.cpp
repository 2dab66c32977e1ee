#include "DialogScript.h"

DialogScript& DialogScript::Then(std::function<void()> step) {
    steps_.push_back([step] {
        step();
        return true;
    });
    return *this;
}

DialogScript& DialogScript::Until(std::function<bool()> step) {
    steps_.push_back(std::move(step));
    return *this;
}

INT_PTR DialogScript::Run(const std::function<INT_PTR()>& showModal) {
    // A budget, not a timing: four fresh folder browsers on a busy machine take
    // most of 9 s; a stuck step still fails well inside the test's time limit.
    ModalScript script(std::move(steps_), 10, 2500);
    steps_.clear(); // used up: the next run starts a script of its own
    INT_PTR result = showModal();
    timedOut_ = script.TimedOut();
    stuckStep_ = script.StepReached();
    return result;
}
