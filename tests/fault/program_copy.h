#pragma once
// A copy of VideoMigrator.exe in a fresh folder of a chosen drive, and a
// process started from it. The program's run directory is the folder of its
// exe, so with no destination chosen its month folders land beside the copy.
#include <windows.h>

#include <optional>
#include <string>

#include "scratch.h"

class ProgramCopy {
public:
    // parent: a folder such as "Y:" or "C:\users\root\Temp"; the copy goes
    // into parent + "\" + a unique name starting with prefix.
    ProgramCopy(const std::wstring& parent, const std::wstring& prefix);
    bool ok() const { return ok_; }
    const std::string& error() const { return error_; }
    // The folder holding the copy, no trailing "\": the run directory.
    const std::wstring& folder() const { return folder_.path(); }
    std::wstring exe() const { return folder_.path() + L"\\VideoMigrator.exe"; }

private:
    ScratchFolder folder_;
    bool ok_ = false;
    std::string error_;
};

class ProgramInstance {
public:
    ProgramInstance() = default;
    ProgramInstance(const ProgramInstance&) = delete;
    ProgramInstance& operator=(const ProgramInstance&) = delete;
    ~ProgramInstance();

    // Starts exe with the temporary folder as working folder, so the program
    // has to find its run directory itself.
    bool Start(const std::wstring& exe, std::string* error);
    HWND WaitForMainWindow(DWORD timeoutMs = 30000);
    std::optional<DWORD> WaitForExit(DWORD timeoutMs);
    bool IsRunning() const;
    // TerminateProcess from the driver (under Wine the Unix process ends abruptly).
    void Terminate();
    DWORD Id() const { return info_.dwProcessId; }

private:
    PROCESS_INFORMATION info_{};
};
