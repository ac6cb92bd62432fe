#include "program_copy.h"

#include "process.h"
#include "ui/control_ids.h"
#include "window_probe.h"

ProgramCopy::ProgramCopy(const std::wstring& parent, const std::wstring& prefix) : folder_(parent, prefix) {
    if (!folder_.ok()) {
        error_ = "cannot create " + Utf8(folder_.path()) + ", error " + std::to_string(GetLastError());
        return;
    }
    if (!CopyFileW(ProgramPath().c_str(), exe().c_str(), TRUE)) {
        error_ = "cannot copy " + Utf8(ProgramPath()) + " to " + Utf8(exe()) + ", error " +
                 std::to_string(GetLastError());
        return;
    }
    ok_ = true;
}

ProgramInstance::~ProgramInstance() {
    Terminate();
    if (info_.hThread) CloseHandle(info_.hThread);
    if (info_.hProcess) CloseHandle(info_.hProcess);
}

bool ProgramInstance::Start(const std::wstring& exe, std::string* error) {
    std::wstring commandLine = L"\"" + exe + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    const std::wstring working = TempFolder();
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, working.c_str(),
                        &startup, &info_)) {
        if (error) *error = "CreateProcessW failed for " + Utf8(exe) + ", error " + std::to_string(GetLastError());
        info_ = {};
        return false;
    }
    return true;
}

namespace {

struct WindowSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK MatchMainWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && ClassNameOf(window) == MAIN_WINDOW_CLASS && IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND ProgramInstance::WaitForMainWindow(DWORD timeoutMs) {
    WindowSearch search{info_.dwProcessId, nullptr};
    WaitUntil([&] {
        if (!IsRunning()) return true;
        EnumWindows(MatchMainWindow, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
    }, timeoutMs, 50);
    return search.found;
}

std::optional<DWORD> ProgramInstance::WaitForExit(DWORD timeoutMs) {
    if (!info_.hProcess || WaitForSingleObject(info_.hProcess, timeoutMs) != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
}

bool ProgramInstance::IsRunning() const {
    return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

void ProgramInstance::Terminate() {
    if (IsRunning()) {
        TerminateProcess(info_.hProcess, 255);
        WaitForSingleObject(info_.hProcess, 10000);
    }
}
