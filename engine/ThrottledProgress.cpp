#include "engine/ThrottledProgress.h"

void ThrottledProgress::SetLine1(const std::string& text) {
    target_.SetLine1(text);
    phaseChanged_ = true;
}

void ThrottledProgress::Refresh() {
    ULONGLONG now = clock_();
    if (!phaseChanged_ && now - lastRefresh_ < kIntervalMs)
        return;
    phaseChanged_ = false;
    lastRefresh_ = now;
    target_.Refresh();
}
