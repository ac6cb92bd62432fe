// window_screenshot CLASS OUTPUT.png: waits for a visible window of the class
// and saves a PNG of it with its frame. Used by the run script on a headless
// machine.
#include <windows.h>

#include <cstdio>

#include "png_writer.h"
#include "screenshot.h"

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::fwprintf(stderr, L"usage: window_screenshot CLASS OUTPUT.png\n");
        return 2;
    }
    HWND window = nullptr;
    for (int waited = 0; waited < 30000 && window == nullptr; waited += 100) {
        window = FindWindowW(argv[1], nullptr);
        if (window == nullptr || !IsWindowVisible(window)) {
            window = nullptr;
            Sleep(100);
        }
    }
    if (window == nullptr) {
        std::fwprintf(stderr, L"no window of class %ls appeared\n", argv[1]);
        return 1;
    }
    Sleep(500);  // let it finish painting
    if (!WritePng(CaptureWindow(window), argv[2])) {
        std::fwprintf(stderr, L"cannot write %ls\n", argv[2]);
        return 1;
    }
    return 0;
}
