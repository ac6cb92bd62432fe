// Workers, routines queued for the window's thread, and the run directory.
#include <atomic>
#include <vector>

#include "app/wide_text_win32.h"
#include "ui/window_internal_win32.h"
#include "ui/window_ops.h"

namespace {

std::atomic<int> runningWorkers{0};

DWORD WINAPI WorkerMain(LPVOID parameter) {
    reinterpret_cast<void (*)()>(parameter)();
    --runningWorkers;
    return 0;
}

}  // namespace

void StartWorker(void (*routine)()) {
    ++runningWorkers;
    HANDLE thread = CreateThread(nullptr, 0, WorkerMain, reinterpret_cast<LPVOID>(routine), 0, nullptr);
    if (thread == nullptr) {
        --runningWorkers;
        // Without a thread the routine still has to run; the window waits for it.
        routine();
        return;
    }
    CloseHandle(thread);
}

int RunningWorkerCount() {
    return runningWorkers;
}

void RunOnWindowThread(void (*routine)()) {
    HWND window = MainWindowHandle();
    if (window != nullptr) PostMessageW(window, WM_APP_ROUTINE, 0, reinterpret_cast<LPARAM>(routine));
}

Text RunDirectory() {
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return Text();
        if (length < path.size()) break;
        path.resize(path.size() * 2);
    }
    const Text program = ToUtf8(path.data());
    const size_t lastSeparator = program.rfind('\\');
    return lastSeparator == Text::npos ? Text() : program.substr(0, lastSeparator);
}
