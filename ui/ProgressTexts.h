#pragma once
// The texts of the progress window's figures: counts, sizes, times and the
// estimate of the time left, made from a long operation's ProgressFigures.
#include <windows.h>

#include <string>

#include "engine/EngineCallbacks.h"

// "12,345".
std::string GroupedNumber(long long value);
// A size for people: "512 バイト", "3.4 KB", "12 MB", "1.5 GB".
std::string SizeText(unsigned long long bytes);
// "0:05", "12:34", "1:02:03".
std::string DurationText(unsigned long long seconds);

// The estimate waits for this much time and this share of the work: until
// then the pace says little (the first files, the disk's cache).
constexpr ULONGLONG kEstimateAfterMs = 3000;
constexpr unsigned long long kEstimateAfterPerMille = 10;

// Seconds left at the pace so far, rounded up; -1 while the estimate would mean
// nothing (see above) and when nothing is left to do.
long long SecondsLeft(ULONGLONG elapsedMs, unsigned long long done, unsigned long long planned);

// The progress bar runs from 0 to kBarRange over the work planned.
constexpr int kBarRange = 1000;
int BarPosition(const ProgressFigures& figures);

// The counts: "読み込んだ項目：処理 12,345 件　参照 678 件" during a search,
// "出力済み 1,200 / 5,000 件" during a batch export, "処理済み 12 / 100 件（3.4 MB /
// 1.0 GB）" during a synchronisation (without the bytes when nothing is copied).
std::string FiguresCountText(const ProgressFigures& figures);
// "経過 0:12", and after a synchronisation's or an export's rows have gone on
// long enough, "経過 0:12　残り 約 1:05".
std::string FiguresTimeText(const ProgressFigures& figures, ULONGLONG elapsedMs);
