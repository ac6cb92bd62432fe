#pragma once
// Starting the program under test, finding its main window and waiting for it
// to end. A process still running when its AppProcess goes away is killed.
#include <windows.h>

#include <optional>
#include <string>

// The folder that holds the driver (and the program beside it), no trailing "\".
std::wstring DriverFolder();
// Full path of VideoMigrator.exe beside the driver.
std::wstring ProgramPath();

class AppProcess {
public:
    AppProcess() = default;
    AppProcess(const AppProcess&) = delete;
    AppProcess& operator=(const AppProcess&) = delete;
    ~AppProcess();

    // Starts the program (or the copy of it at program) with the given working
    // folder (empty: the user's temporary folder, so the program has to set
    // its own). False with a reason in *error when CreateProcessW fails.
    bool Start(std::wstring* error, const std::wstring& workingFolder = std::wstring(),
               const std::wstring& program = std::wstring());
    // The visible top-level window of class MAIN_WINDOW_CLASS owned by the
    // process, or null when none appears in time.
    HWND WaitForMainWindow(DWORD timeoutMs = 20000);
    // The exit code, or nothing when the process still runs after timeoutMs.
    std::optional<DWORD> WaitForExit(DWORD timeoutMs);
    bool IsRunning() const;
    void Kill();
    DWORD Id() const { return info_.dwProcessId; }

private:
    PROCESS_INFORMATION info_{};
};

// Starts the program and waits for its window; on failure *error says why.
HWND StartAndFindWindow(AppProcess& process, std::wstring* error);
