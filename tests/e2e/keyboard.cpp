// Keyboard input sent to another process.
#include "keyboard.h"

#include "window_probe.h"

bool BringToFront(HWND window, DWORD timeoutMs) {
    return WaitUntil([&] {
        if (GetForegroundWindow() == window) return true;
        SetForegroundWindow(window);
        return GetForegroundWindow() == window;
    }, timeoutMs, 50);
}

bool PressKey(WORD virtualKey) {
    INPUT inputs[2] = {};
    for (INPUT& input : inputs) {
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = virtualKey;
        input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
    }
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    return SendInput(2, inputs, sizeof(INPUT)) == 2;
}

bool PostKey(HWND window, WORD virtualKey) {
    const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC)) << 16;
    const LPARAM down = 1 | scan;
    const LPARAM up = down | (LPARAM{1} << 30) | (LPARAM{1} << 31);
    return PostMessageW(window, WM_KEYDOWN, virtualKey, down) && PostMessageW(window, WM_KEYUP, virtualKey, up);
}
