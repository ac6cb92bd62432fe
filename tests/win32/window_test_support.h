#pragma once
// A real main window inside the test process, and ways to serve it while a
// second thread calls the window operations.
#include <windows.h>

#include <functional>

#include "app/text.h"

// Creates the main window once for the whole test program.
HWND TestWindow();
HWND TestControl(int id);

// Runs work on a new thread while this (the window's) thread serves its
// messages, and returns when the thread has ended.
void RunOnOtherThread(const std::function<void()>& work);

// Polls for a top-level window of this process with the given class and title.
HWND WaitForTopLevelWindow(const wchar_t* className, const Text& title, int timeoutMs = 10000);

// Polls for a visible dialog of this process owned by owner.
HWND WaitForOwnedDialog(HWND owner, int timeoutMs = 10000);

Text WindowTextOf(HWND window);
