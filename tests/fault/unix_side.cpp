#include "unix_side.h"

#include <algorithm>
#include <cctype>

#include "scratch.h"
#include "window_probe.h"

namespace {

using UnixNameOf = char*(CDECL*)(LPCWSTR);
using DosNameOf = WCHAR*(CDECL*)(LPCSTR);

template <class Function>
Function WineExport(const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), name)));
}

std::optional<std::wstring> DosPathOf(const std::string& unixPath) {
    const auto convert = WineExport<DosNameOf>("wine_get_dos_file_name");
    if (!convert) return std::nullopt;
    WCHAR* name = convert(unixPath.c_str());
    if (!name) return std::nullopt;
    std::wstring path(name);
    HeapFree(GetProcessHeap(), 0, name);
    return path;
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

// Unix paths and scripts are UTF-8.
std::wstring Widen(const std::string& text) {
    if (text.empty()) return std::wstring();
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
    return wide;
}

}  // namespace

std::optional<std::string> UnixPathOf(const std::wstring& path) {
    const auto convert = WineExport<UnixNameOf>("wine_get_unix_file_name");
    if (!convert) return std::nullopt;
    char* name = convert(path.c_str());
    if (!name) return std::nullopt;
    std::string unixPath(name);
    HeapFree(GetProcessHeap(), 0, name);
    return unixPath;
}

std::vector<int> UnixProcessesMatching(const std::string& marker) {
    std::vector<int> pids;
    const auto proc = DosPathOf("/proc");
    if (!proc) return pids;
    const std::string wanted = Lower(marker);
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW((*proc + L"\\*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return pids;
    do {
        const std::wstring name = entry.cFileName;
        if (name.empty() || !std::all_of(name.begin(), name.end(), iswdigit)) continue;
        const auto commandLine = ReadWholeFile(*proc + L"\\" + name + L"\\cmdline");
        if (commandLine && Lower(*commandLine).find(wanted) != std::string::npos) pids.push_back(std::stoi(name));
    } while (FindNextFileW(search, &entry));
    FindClose(search);
    return pids;
}

std::string ShellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::optional<std::wstring> StartUnixShell(const std::string& script) {
    // The script goes between double quotes on a Windows command line.
    if (script.find('"') != std::string::npos) return std::nullopt;
    const std::wstring doneFile = TempFolder() + L"\\" + UniqueName(L"fault-unix") + L".done";
    const auto unixDone = UnixPathOf(doneFile);
    if (!unixDone) return std::nullopt;
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    const std::wstring start = std::wstring(system) + L"\\start.exe";
    std::wstring commandLine = L"start.exe /unix /bin/sh -c \"" + Widen(script) + L"; echo done > " +
                               Widen(ShellQuoted(*unixDone)) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(start.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                        nullptr, &startup, &info))
        return std::nullopt;
    WaitForSingleObject(info.hProcess, 10000);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return doneFile;
}

bool WaitForUnixShell(const std::wstring& doneFile, DWORD timeoutMs) {
    const bool done = WaitUntil([&] { return GetFileAttributesW(doneFile.c_str()) != INVALID_FILE_ATTRIBUTES; },
                                timeoutMs);
    DeleteFileW(doneFile.c_str());
    return done;
}

bool RunUnixShell(const std::string& script, DWORD timeoutMs) {
    const auto done = StartUnixShell(script);
    return done && WaitForUnixShell(*done, timeoutMs);
}

ArmedUnixCommand::~ArmedUnixCommand() {
    // An unfired shell must not wait for ever.
    if (!trigger_.empty()) {
        WriteWholeFile(trigger_ + L".cancel", "");
        if (!done_.empty()) WaitForUnixShell(done_, 5000);
        DeleteFileW((trigger_ + L".cancel").c_str());
        DeleteFileW(trigger_.c_str());
    }
}

bool ArmedUnixCommand::Arm(const std::string& command) {
    trigger_ = TempFolder() + L"\\" + UniqueName(L"fault-kill-trigger");
    const auto unixTrigger = UnixPathOf(trigger_);
    if (!unixTrigger) return false;
    const std::string t = ShellQuoted(*unixTrigger);
    const std::string script = "n=0; while [ ! -e " + t + " ] && [ ! -e " + t + ".cancel ] && [ $n -lt 6000 ]; do sleep 0.005; n=$((n+1)); done; [ -e " + t +
                               " ] && " + command;
    const auto done = StartUnixShell(script);
    if (!done) return false;
    done_ = *done;
    return true;
}

bool ArmedUnixCommand::Fire() { return WriteWholeFile(trigger_, "go"); }

bool ArmedUnixCommand::WaitDone(DWORD timeoutMs) {
    const bool done = WaitForUnixShell(done_, timeoutMs);
    done_.clear();
    return done;
}
