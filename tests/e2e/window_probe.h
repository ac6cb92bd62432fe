#pragma once
// Reading the state of another process's windows and controls. Every query is
// a sent message with a timeout, so a hung program cannot hang the driver.
#include <windows.h>

#include <string>
#include <vector>

struct Geometry {
    int left, top, width, height;
    bool operator==(const Geometry& other) const {
        return left == other.left && top == other.top && width == other.width && height == other.height;
    }
};

// Polls condition every stepMs until it holds or timeoutMs have passed;
// returns its last value.
template <class Condition>
bool WaitUntil(Condition condition, DWORD timeoutMs, DWORD stepMs = 20) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        if (condition()) return true;
        if (GetTickCount64() >= deadline) return false;
        Sleep(stepMs);
    }
}

// Result of a sent query; onTimeout when the window did not answer in time.
LRESULT Query(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0, LRESULT onTimeout = -999);

std::wstring ClassNameOf(HWND window);
std::wstring TextOf(HWND window);
DWORD StyleOf(HWND window);
DWORD ExStyleOf(HWND window);
bool HasVisibleStyle(HWND window);  // its own WS_VISIBLE, whatever its parent

// The window's rectangle on the screen, and a child's relative to its parent's client area.
Geometry ScreenGeometry(HWND window);
Geometry GeometryInParent(HWND child);

std::vector<std::wstring> ListBoxLines(HWND listBox);
std::vector<std::wstring> ComboEntries(HWND comboBox);

struct ProgressState {
    int low, high, position;
};
ProgressState ProgressOf(HWND progressBar);

// The window that has the keyboard focus in the thread that owns window.
HWND FocusedWindowOf(HWND window);

// Pixels at 96 DPI scaled to the screen's DPI, as the program lays out.
int ScreenDpi();
int ScaleFrom96(int value);
