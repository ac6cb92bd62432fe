#pragma once
// Keyboard input for the program under test: real input through SendInput to
// the foreground window, or key messages posted to one control.
#include <windows.h>

// Makes window the foreground window; false when it did not become it in time.
bool BringToFront(HWND window, DWORD timeoutMs = 5000);
// Presses and releases a key through the system's input queue.
bool PressKey(WORD virtualKey);
// Posts the key-down and key-up messages of a key to window, as the message
// loop of its thread would receive them from the keyboard.
bool PostKey(HWND window, WORD virtualKey);
