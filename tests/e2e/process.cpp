// Process control for the program under test.
#include "process.h"

#include <vector>

#include "ui/control_ids.h"
#include "window_probe.h"

std::wstring DriverFolder() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length < buffer.size()) {
            std::wstring path(buffer.data(), length);
            return path.substr(0, path.find_last_of(L'\\'));
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::wstring ProgramPath() { return DriverFolder() + L"\\VideoMigrator.exe"; }

AppProcess::~AppProcess() {
    Kill();
    if (info_.hThread) CloseHandle(info_.hThread);
    if (info_.hProcess) CloseHandle(info_.hProcess);
}

bool AppProcess::Start(std::wstring* error, const std::wstring& workingFolder, const std::wstring& programPath) {
    std::wstring folder = workingFolder;
    if (folder.empty()) {
        wchar_t temp[MAX_PATH + 1] = {};
        GetTempPathW(MAX_PATH + 1, temp);
        folder = temp;
    }
    const std::wstring program = programPath.empty() ? ProgramPath() : programPath;
    std::wstring commandLine = L"\"" + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &info_)) {
        if (error) *error = L"CreateProcessW failed for " + program + L", error " + std::to_wstring(GetLastError());
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

HWND AppProcess::WaitForMainWindow(DWORD timeoutMs) {
    WindowSearch search{info_.dwProcessId, nullptr};
    WaitUntil([&] {
        if (!IsRunning()) return true;
        EnumWindows(MatchMainWindow, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
    }, timeoutMs);
    return search.found;
}

std::optional<DWORD> AppProcess::WaitForExit(DWORD timeoutMs) {
    if (!info_.hProcess || WaitForSingleObject(info_.hProcess, timeoutMs) != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
}

bool AppProcess::IsRunning() const {
    return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

void AppProcess::Kill() {
    if (IsRunning()) {
        TerminateProcess(info_.hProcess, 255);
        WaitForSingleObject(info_.hProcess, 5000);
    }
}

HWND StartAndFindWindow(AppProcess& process, std::wstring* error) {
    if (!process.Start(error)) return nullptr;
    HWND window = process.WaitForMainWindow();
    if (!window && error) {
        *error = process.IsRunning() ? L"no visible main window of class " MAIN_WINDOW_CLASS L" appeared"
                                     : L"the program ended before showing its window";
    }
    return window;
}
