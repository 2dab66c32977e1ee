#include "ui/ProgressTexts.h"

#include <cstdio>

std::string GroupedNumber(long long value) {
    std::string digits = std::to_string(value < 0 ? -value : value);
    std::string text;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            text += ',';
        text += digits[i];
    }
    return value < 0 ? "-" + text : text;
}

std::string SizeText(unsigned long long bytes) {
    static const char* const units[] = {"KB", "MB", "GB", "TB"};
    if (bytes < 1024)
        return std::to_string(bytes) + " バイト";
    double size = static_cast<double>(bytes) / 1024;
    int unit = 0;
    while (size >= 1024 && unit < 3) {
        size /= 1024;
        ++unit;
    }
    char text[32];
    std::snprintf(text, sizeof text, size < 10 ? "%.1f %s" : "%.0f %s", size, units[unit]);
    return text;
}

std::string DurationText(unsigned long long seconds) {
    char text[32];
    unsigned long long hours = seconds / 3600, minutes = seconds / 60 % 60;
    if (hours > 0)
        std::snprintf(text, sizeof text, "%llu:%02llu:%02llu", hours, minutes, seconds % 60);
    else
        std::snprintf(text, sizeof text, "%llu:%02llu", minutes, seconds % 60);
    return text;
}

long long SecondsLeft(ULONGLONG elapsedMs, unsigned long long done, unsigned long long planned) {
    if (elapsedMs < kEstimateAfterMs || done >= planned ||
        done * 1000 < planned * kEstimateAfterPerMille)
        return -1;
    // In doubles: bytes times milliseconds overflow 64 bits for a few terabytes.
    double msLeft = static_cast<double>(elapsedMs) * static_cast<double>(planned - done) /
                    static_cast<double>(done);
    return static_cast<long long>((msLeft + 999) / 1000);
}

int BarPosition(const ProgressFigures& figures) {
    unsigned long long planned = figures.WorkPlanned(), done = figures.WorkDone();
    if (planned == 0 || done >= planned)
        return planned == 0 ? 0 : kBarRange;
    return static_cast<int>(static_cast<double>(done) * kBarRange / static_cast<double>(planned));
}

std::string FiguresCountText(const ProgressFigures& figures) {
    switch (figures.kind) {
    case ProgressFigures::Kind::EntriesRead:
        return "読み込んだ項目：処理 " + GroupedNumber(figures.processingEntries) + " 件　参照 " +
               GroupedNumber(figures.referenceEntries) + " 件";
    case ProgressFigures::Kind::RowsWritten:
        return "出力済み " + GroupedNumber(figures.rowsDone) + " / " +
               GroupedNumber(figures.rowsPlanned) + " 件";
    case ProgressFigures::Kind::RowsAndBytes:
        break;
    }
    std::string text = "処理済み " + GroupedNumber(figures.rowsDone) + " / " +
                       GroupedNumber(figures.rowsPlanned) + " 件";
    if (figures.bytesPlanned > 0)
        text += "（" + SizeText(figures.bytesDone) + " / " + SizeText(figures.bytesPlanned) + "）";
    return text;
}

std::string FiguresTimeText(const ProgressFigures& figures, ULONGLONG elapsedMs) {
    std::string text = "経過 " + DurationText(elapsedMs / 1000);
    if (figures.kind == ProgressFigures::Kind::EntriesRead)
        return text; // how much is left to read is not known
    long long left = SecondsLeft(elapsedMs, figures.WorkDone(), figures.WorkPlanned());
    if (left >= 0)
        text += "　残り 約 " + DurationText(static_cast<unsigned long long>(left));
    return text;
}
