#pragma once
// One run of the real program under the benchmark: start it, prepare its
// controls, click and time until the final state, read its memory, close it.
#include <windows.h>

#include <string>

#include "latency_probe.h"
#include "process.h"

struct TimedRun {
    bool ok = false;
    std::wstring error;
    double seconds = 0;         // from the posted click to the final state
    LatencySummary latency;     // answers to WM_NULL meanwhile
};

class ProgramSession {
public:
    // Starts the program and waits until its window shows the account list.
    bool Start(std::wstring* error);
    HWND Control(int id) const { return GetDlgItem(window_, id); }

    // Writes the destination label's caption, as a chosen folder would.
    bool SetDestination(const std::wstring& folder);
    // Ticks the cut option and confirms its question.
    bool TickCutOption(std::wstring* error);

    // Clicks 刷新视频 and waits until the list holds expectedLines lines.
    TimedRun Refresh(int expectedLines);
    // Clicks 迁移文件 and waits for the box "共迁移视频文件 【n】", then closes it.
    TimedRun Migrate(int expectedFiles);

    int LineCount() const;
    std::wstring Line(int index) const;
    // PeakWorkingSetSize of the program's process, 0 when unreadable.
    SIZE_T PeakWorkingSet() const;
    // Closes the window; kills the program when it does not end.
    void Close();

private:
    AppProcess process_;
    HWND window_ = nullptr;
};
