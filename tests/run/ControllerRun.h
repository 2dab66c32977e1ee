#pragma once
// The run controller driven as the program drives it, with a host that
// records what the user would see, on two fresh folders of a test's own.
#include <string>
#include <utility>
#include <vector>

#include "TempDir.h"
#include "TestFiles.h"
#include "framework/Profile.h"
#include "job/JobContext.h"
#include "run/RunController.h"

// Answers like a user who says yes, and keeps what the windows would show.
struct RecordingHost : IRunHost, IProgress {
    std::vector<std::string> told;
    std::string status;
    int operations = 0;
    int pollsBeforeStop = -1; // a stop at this poll; -1: never
    // A click that the paced polls have not taken yet: only a poll at once sees it.
    bool clickWaiting = false;
    int questions = 0; // deletion and network questions asked

    IProgress& BeginOperation(const std::string&) override {
        ++operations;
        return *this;
    }
    void EndOperation() override {}
    void SetLine1(const std::string&) override {}
    void SetLine2(const std::string&) override {}
    void Refresh() override {}
    bool PollStop() override { return pollsBeforeStop >= 0 && pollsBeforeStop-- == 0; }
    bool PollStopNow() override { return std::exchange(clickWaiting, false) || PollStop(); }
    int AskDelete(const std::string&) override {
        ++questions;
        return DeleteYes;
    }
    bool AskMassDeletion(const std::string&) override { return true; }
    int AskNetworkLine(const std::string&) override {
        ++questions;
        return WriteAll;
    }
    bool EditJob(const std::string&, const std::string&, const std::string&) override {
        return true;
    }
    void ShowSearchStart(const JobSettings&, const std::string&) override {}
    void ShowPlan() override {}
    void Tell(const std::string& text) override { told.push_back(text); }
    void ShowStatus(const std::string& text) override { status = text; }
};

struct ControllerRun {
    CProfile profile{"OrvaneRunTest"};
    JobContext jobs{profile};
    RunController run{jobs};
    RecordingHost host;
    TempDir dir;
    std::string p = dir / "処理 表", r = dir / "参照 ソ";

    ControllerRun() {
        run.SetHost(&host);
        MakeFolder(p);
        MakeFolder(r);
        jobs.currentJob.mode = UpdateReference;
        jobs.currentJob.processingFolder = p;
        jobs.currentJob.referenceFolder = r;
        jobs.currentJob.fastCopy = 1;
    }
    std::string Told() const {
        std::string all;
        for (const std::string& text : host.told)
            all += text + "|";
        return all;
    }
};
