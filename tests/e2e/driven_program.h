#pragma once
// One running program and the user's actions on its window, as the tests of
// its real work need them: clicks, choosing an account, the folder picker,
// and reading back the list, the caption and the cut option.
#include <windows.h>

#include <string>
#include <vector>

#include "process.h"

class DrivenProgram {
public:
    DrivenProgram() = default;
    DrivenProgram(const DrivenProgram&) = delete;
    DrivenProgram& operator=(const DrivenProgram&) = delete;
    ~DrivenProgram() { Stop(); }

    // Starts the program and finds its window; false with the reason in *error.
    bool Start(std::wstring* error);
    // Answers open boxes, closes the window and waits; kills the program if
    // it does not end.
    void Stop();

    HWND Window() const { return window_; }
    HWND Control(int id) const { return GetDlgItem(window_, id); }
    DWORD Id() const { return process_.Id(); }
    AppProcess& Process() { return process_; }

    // A posted click, as a user's click arrives; it never waits for a handler.
    bool Click(int controlId);
    // Selects entry index of the account list and reports the choice as the
    // list does; returns once the program has handled it.
    bool ChooseAccount(int index);
    // A posted double-click on the destination label.
    bool DoubleClickDestination();
    // True once every message posted to the window's thread before this call
    // has been handled (a marker posted behind them has arrived).
    bool WaitForPostedMessages(DWORD timeoutMs = 10000);

    std::vector<std::wstring> Lines() const;
    // Polls until the list holds exactly these lines.
    bool WaitForLines(const std::vector<std::wstring>& expected, DWORD timeoutMs = 15000) const;
    std::wstring Destination() const;
    bool IsCutTicked() const;

    // Opens the picker with a double-click, chooses folder in it and presses
    // OK; true once the caption reads folder + "\". *error says what failed.
    bool ChooseDestination(const std::wstring& folder, std::wstring* error);
    // Ticks the cut option and confirms the question with OK.
    bool TickCutOptionConfirmed(std::wstring* error);

private:
    AppProcess process_;
    HWND window_ = nullptr;
    int marker_ = 0;
};

// The names a directory search of folder with pattern gives, in its order:
// folders only or files only.
std::vector<std::wstring> SearchOrder(const std::wstring& folder, const std::wstring& pattern, bool folders);
