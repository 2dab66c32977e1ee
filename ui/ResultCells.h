#pragma once
// The texts of the result list's cells, produced from a row's item when the
// list asks for them.
#include <windows.h>

#include <string>

struct SyncItem;
struct PlanSummary;

constexpr int kResultColumnCount = 6;

// Texts of the item values, as the list shows them.
const char* OperationText(int operation);                // "コピー", "作成", "削除"
const char* ReasonText(int operation, int reason);       // "日付", "存在"
const char* DirectionText(int operation, int direction); // "処→参", "参→処", "処", "参"

// The text of one cell; empty where the row has nothing for the column.
std::string CellText(int column, const SyncItem& item);
// True when the cell text begins with `typed` (the whole text when `whole`),
// ignoring ASCII case (and for a name without an ANSI form, case as Windows
// folds it), as the list's type-ahead search matches a row.
bool CellMatches(const std::string& cell, const std::string& typed, bool whole);
// A UTC file time as local time, "2005/04/07 05:21\"18"; empty when the runtime's
// calendar cannot represent it.
std::string LocalTimeText(const FILETIME& utc);

// The plan at a glance, for the line above the list: each side's copies (with
// their bytes), folder creations and deletions, and the left-out entries;
// "予定の処理はありません" for an empty plan.
std::string PlanSummaryText(const PlanSummary& summary);
