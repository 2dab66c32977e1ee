#pragma once
// Stand-ins for the result list, the progress window and the question dialogs, and
// builders for the five kinds of row the comparison produces, each holding what a
// search would see of its files at the time it is built.
#include <windows.h>

#include <string>
#include <vector>

#include "TestFiles.h" // NamesIn
#include "engine/EngineCallbacks.h"
#include "engine/SyncItem.h"
#include "exec/ExecCallbacks.h"

struct RowList : IRowSource {
    std::vector<SyncItem> items;
    int RowCount() const override { return static_cast<int>(items.size()); }
    const SyncItem& Row(int index) const override { return items.at(index); }
};

// The progress window and the window of the operation: records the second line
// each time the texts are pushed to the window, and asks to stop at one chosen
// poll (counted from 0). `touched` tells whether any window was shown.
struct ProgressRecorder : IProgress, IOperationWindow {
    std::string line1;
    std::string line2;
    std::vector<std::string> shown;
    int polls = 0;
    int stopAtPoll = -1;
    bool touched = false;
    int openOperations = 0; // begun and not yet ended

    IProgress& BeginOperation(const std::string& firstLine) override {
        ++openOperations;
        SetLine1(firstLine);
        SetLine2("");
        return *this;
    }
    void EndOperation() override { --openOperations; }

    void SetLine1(const std::string& text) override { line1 = text, touched = true; }
    void SetLine2(const std::string& text) override { line2 = text, touched = true; }
    void Refresh() override { shown.push_back(line2); }
    bool PollStop() override { return polls++ == stopAtPoll; }
    bool PollStopNow() override { return PollStop(); }
};

// Answers from a script, then `otherwise`; keeps every question text.
struct ScriptedAnswers : IDeleteQuestion, INetworkQuestion {
    std::vector<int> script;
    int otherwise;
    std::vector<std::string> asked;

    explicit ScriptedAnswers(std::vector<int> answers = {}, int afterScript = IDYES)
        : script(std::move(answers)), otherwise(afterScript) {}
    int Next(const std::string& text) {
        asked.push_back(text);
        return asked.size() <= script.size() ? script[asked.size() - 1] : otherwise;
    }
    int AskDelete(const std::string& question) override { return Next(question); }
    bool AskMassDeletion(const std::string& question) override { return Next(question) == IDYES; }
    int AskNetworkLine(const std::string& command) override { return Next(command); }
};

SyncItem DateCopy(const std::string& fromRoot, const std::string& toRoot, const std::string& folder,
                  const std::string& name, const std::string& targetName);
SyncItem ExistenceCopy(const std::string& fromRoot, const std::string& toRoot,
                       const std::string& folder, const std::string& name);
SyncItem FolderCreate(const std::string& fromRoot, const std::string& toRoot,
                      const std::string& folder, const std::string& name);
SyncItem FileDelete(const std::string& root, const std::string& folder, const std::string& name);
SyncItem FolderDelete(const std::string& root, const std::string& folder, const std::string& name);
// A rename on toRoot's side, of oldName to newName, which fromRoot holds already.
SyncItem FileMove(const std::string& fromRoot, const std::string& toRoot, const std::string& folder,
                  const std::string& oldName, const std::string& newName);

// The file's lines without their CR LF; a last line without CR LF comes back with
// "<no CR LF>" appended, so that a missing line end shows in a comparison.
std::vector<std::string> ReadLines(const std::string& path);
// The path in double quotes, as the command texts show a path that needs them.
std::string Quoted(const std::string& path);
