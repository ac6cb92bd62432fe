#pragma once
// One running copy of the program driven like a user would: the cut option
// ticked and confirmed, the migrate button clicked with no destination chosen
// (the run directory is accepted), the end of a run waited for.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "program_copy.h"

extern const wchar_t* const kRunDoneCaption;    // caption of the final box of a run with videos
extern const wchar_t* const kNothingToMigrate;  // text of the final box of a run without videos

class Session {
public:
    explicit Session(const ProgramCopy& copy) : copy_(copy) {}
    // Starts the copy and waits for its window.
    bool Start(std::string* error);
    HWND window() const { return window_; }
    HWND control(int id) const { return GetDlgItem(window_, id); }
    DWORD pid() const { return process_.Id(); }
    ProgramInstance& process() { return process_; }
    const ProgramCopy& copy() const { return copy_; }

    void Click(int controlId) const;  // a posted BM_CLICK
    bool IsCutTicked() const;
    // Ticks (answering the question with OK) or unticks the cut option.
    bool SetCut(bool cut, std::string* error);
    // Clicks migrate on the prompt caption and accepts the run directory; the
    // question must name it and the caption must become it.
    bool StartFirstRun(std::string* error);
    // Text of the next final box of a run ("共迁移视频文件 【n】" or
    // "暂无视频迁移..."), pressing OK on it when answer is set.
    std::optional<std::wstring> WaitForRunEnd(DWORD timeoutMs, bool answer = true);
    // OK on the final box that WaitForRunEnd left open.
    bool AnswerRunEnd();
    std::vector<std::wstring> Lines() const;
    std::wstring Destination() const;
    // Closes the window and returns the exit code.
    std::optional<DWORD> Close(DWORD timeoutMs = 15000);
    // Diagnostics for a failed wait.
    std::string State() const;

private:
    const ProgramCopy& copy_;
    ProgramInstance process_;
    HWND window_ = nullptr;
    HWND runEndBox_ = nullptr;
};

// "共迁移视频文件 【n】"
std::wstring RunDoneText(size_t count);
