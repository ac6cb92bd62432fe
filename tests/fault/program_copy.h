#pragma once
// A copy of VideoMigrator.exe in a fresh folder of a chosen drive, and a
// process started from it. The program's run directory is the folder of its
// exe, so with no destination chosen its month folders land beside the copy.
#include <windows.h>

#include <optional>
#include <string>

#include "process.h"
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

// The program started from a copy, with the temporary folder as working
// folder so that it has to find its run directory itself.
class ProgramInstance {
public:
    bool Start(const std::wstring& exe, std::string* error);
    HWND WaitForMainWindow(DWORD timeoutMs = 30000) { return process_.WaitForMainWindow(timeoutMs); }
    std::optional<DWORD> WaitForExit(DWORD timeoutMs) { return process_.WaitForExit(timeoutMs); }
    bool IsRunning() const { return process_.IsRunning(); }
    // TerminateProcess from the driver (under Wine the Unix process ends abruptly).
    void Terminate() { process_.Kill(); }
    DWORD Id() const { return process_.Id(); }

private:
    AppProcess process_;
};
