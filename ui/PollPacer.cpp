#include "ui/PollPacer.h"

bool PollPacer::Due() {
    ULONGLONG now = clock_();
    if (started_ && now - lastPump_ < intervalMs_)
        return false;
    started_ = true;
    lastPump_ = now;
    return true;
}

void PollPacer::Pumped() {
    started_ = true;
    lastPump_ = clock_();
}
