#pragma once
// One running instance of the program in its initial state, with no accounts
// folder, shared by the tests of a suite that only look at the window.
#include <windows.h>

#include <memory>
#include <string>

#include "process.h"

class ProgramAtStart {
public:
    // Removes the accounts folder, starts the program and finds its window.
    static void Start();
    // Closes the program, killing it when it does not end.
    static void Stop();
    static HWND Window() { return window_; }
    static HWND Control(int id) { return GetDlgItem(window_, id); }
    // Why Window() is null.
    static std::string StartError();

private:
    static std::unique_ptr<AppProcess> process_;
    static HWND window_;
    static std::wstring error_;
};

// UTF-8 for test messages.
std::string Narrow(const std::wstring& text);
