#pragma once
// What the execution benchmarks share: a clock, stand-ins for the list and the
// progress window, and a scratch folder of their own.
#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "base/FileHandle.h"
#include "base/Owned.h"
#include "engine/EngineCallbacks.h"
#include "engine/SyncItem.h"
#include "exec/ExecCallbacks.h"
#include "ui/PollPacer.h"

inline double Now() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return double(counter.QuadPart) / double(frequency.QuadPart);
}

struct BenchRows : IRowSource {
    std::vector<SyncItem> items;
    int RowCount() const override { return static_cast<int>(items.size()); }
    const SyncItem& Row(int index) const override { return items[index]; }
};

// A progress window that costs nothing: the figures are the module's own.
// The rows a search hands over, kept for the executor.
struct KeptRows : IRowSink, IRowSource {
    int InsertRow(SyncItem* item, int) override {
        rows.emplace_back(item);
        return static_cast<int>(rows.size()) - 1;
    }
    int RowCount() const override { return static_cast<int>(rows.size()); }
    const SyncItem& Row(int index) const override { return *rows[static_cast<size_t>(index)]; }
    std::vector<std::unique_ptr<SyncItem>> rows;
};

struct QuietProgress : IProgress, IOperationWindow {
    void SetLine1(const std::string&) override {}
    void SetLine2(const std::string&) override {}
    void Refresh() override {}
    bool PollStop() override { return false; }
    bool PollStopNow() override { return PollStop(); }
    IProgress& BeginOperation(const std::string&) override { return *this; }
    void EndOperation() override {}
};

// The poll as the real progress window does it: every pending message of the
// thread dispatched, here with an empty queue, once the pacing interval has
// passed since the last pump.
struct PumpingProgress : QuietProgress {
    bool PollStop() override {
        if (pacer.Due())
            Pump();
        return false;
    }
    bool PollStopNow() override {
        Pump();
        pacer.Pumped();
        return false;
    }
    static void Pump() {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    PollPacer pacer;
};

struct AlwaysYes : IDeleteQuestion, INetworkQuestion {
    int AskDelete(const std::string&) override { return IDYES; }
    bool AskMassDeletion(const std::string&) override { return true; }
    int AskNetworkLine(const std::string&) override { return IDOK; }
};

inline bool WriteSmallFile(const std::string& path, const std::string& bytes) {
    FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsOpen())
        return false;
    DWORD written = 0;
    return WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                     nullptr) &&
           written == bytes.size();
}

// A folder under the temp folder, removed with its files (one level deep) at the end.
class ScratchFolder {
public:
    explicit ScratchFolder(const char* name) {
        char base[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, base);
        path_ = std::string(base) + name + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~ScratchFolder() { RemoveFlat(path_); }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& Path() const { return path_; }

    // Removes a folder whose entries are files or folders of files.
    static void RemoveFlat(const std::string& folder) {
        WIN32_FIND_DATAA found;
        HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &found);
        if (find != INVALID_HANDLE_VALUE) {
            Owned<HANDLE, &FindClose> closer(find);
            do {
                std::string name = found.cFileName;
                if (name == "." || name == "..")
                    continue;
                std::string path = folder + "\\" + name;
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    RemoveFlat(path);
                else
                    DeleteFileA(path.c_str());
            } while (FindNextFileA(find, &found));
        }
        RemoveDirectoryA(folder.c_str());
    }

private:
    std::string path_;
};
