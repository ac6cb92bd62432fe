#pragma once
// What the Win32 files of the window share among themselves.
#include <windows.h>

#include <functional>

// Messages the main window handles beyond the standard ones.
enum AppMessage {
    WM_APP_CALL = WM_APP + 1,     // lParam: std::function<void()>* run on the window thread
    WM_APP_ROUTINE,               // lParam: void(*)() posted by RunOnWindowThread
    WM_APP_ACCOUNT_SELECTED,      // the account list's confirmed choice, queued
};

// The main window, or null before it exists and after it is destroyed.
HWND MainWindowHandle();
HWND ControlHandle(int id);

// Runs action on the window's thread and returns when it is done; from the
// window's thread itself it runs at once. Does nothing without a window.
void OnWindowThread(const std::function<void()>& action);

// Creates the controls inside the main window, scaled from 96 DPI.
void CreateControls(HWND window, int dpi);
// The window's outer size at 96 DPI.
constexpr int kWindowWidth = 473;
constexpr int kWindowHeight = 487;
