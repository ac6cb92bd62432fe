#include "linux_side.h"

#include <winioctl.h>

#include <cwctype>

#include "window_probe.h"

namespace {

std::wstring Wide(const std::string& text) {
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(size > 0 ? size : 0), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
    return wide;
}

// Starts a Linux program given by its path, as Wine allows; Wine's exit code
// of it is not the program's, so callers look at what it did.
bool StartLinuxProgram(const wchar_t* program, std::wstring commandLine) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(program, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        return false;
    }
    WaitForSingleObject(info.hProcess, 10000);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return true;
}

bool ListsExactly(const std::wstring& parent, const std::wstring& name) {
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW((parent + L"\\*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return false;
    bool found = false;
    do {
        found = name == entry.cFileName && (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    } while (!found && FindNextFileW(search, &entry));
    FindClose(search);
    return found;
}

}  // namespace

std::string UnixPathOf(const std::wstring& path) {
    using UnixName = char*(__cdecl*)(const wchar_t*);
    auto toUnix = reinterpret_cast<UnixName>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!toUnix) return std::string();
    char* unixPath = toUnix(path.c_str());
    if (!unixPath) return std::string();
    std::string result = unixPath;
    HeapFree(GetProcessHeap(), 0, unixPath);
    return result;
}

std::string ResolvedUnixPathOf(const std::wstring& path) {
    const std::string unixPath = UnixPathOf(path);
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    const std::wstring output = std::wstring(temp) + L"vm-e2e-resolved-" + std::to_wstring(GetCurrentProcessId()) +
                                L"-" + std::to_wstring(GetTickCount64()) + L".txt";
    const std::string unixOutput = UnixPathOf(output);
    if (unixPath.empty() || unixOutput.empty()) return std::string();
    const std::wstring script = L"readlink -f -- '" + Wide(unixPath) + L"' > '" + Wide(unixOutput) + L"'";
    std::string resolved;
    if (StartLinuxProgram(L"Z:\\bin\\sh", L"/bin/sh -c \"" + script + L"\"")) {
        WaitUntil([&] {
            HANDLE file = CreateFileW(output.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, 0, nullptr);
            if (file == INVALID_HANDLE_VALUE) return false;
            char buffer[4096] = {};
            DWORD read = 0;
            ReadFile(file, buffer, sizeof(buffer) - 1, &read, nullptr);
            CloseHandle(file);
            resolved.assign(buffer, read);
            return !resolved.empty() && resolved.back() == '\n';
        }, 10000);
    }
    DeleteFileW(output.c_str());
    while (!resolved.empty() && (resolved.back() == '\n' || resolved.back() == '\r')) resolved.pop_back();
    return resolved;
}

namespace {

// Wine's own mount manager request (winecfg uses it to add a drive).
struct UnixDriveRequest {
    ULONG size;
    ULONG type;
    ULONG fsType;
    DWORD serial;
    ULONGLONG unixDevice;
    WCHAR letter;
    USHORT mountPointOffset;
    USHORT deviceOffset;
    USHORT labelOffset;
};

constexpr DWORD kDefineUnixDrive = CTL_CODE(0x6d, 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);

bool DriveKnown(wchar_t letter) { return (GetLogicalDrives() >> (towupper(letter) - L'A')) & 1; }

}  // namespace

bool MakeDriveKnownToWine(wchar_t letter) {
    if (DriveKnown(letter)) return true;
    const std::string target = ResolvedUnixPathOf(std::wstring(1, letter) + L":\\");
    if (target.empty()) return false;
    std::string request(sizeof(UnixDriveRequest) + target.size() + 1, '\0');
    auto* drive = reinterpret_cast<UnixDriveRequest*>(request.data());
    drive->size = static_cast<ULONG>(request.size());
    drive->type = DRIVE_FIXED;
    drive->letter = static_cast<WCHAR>(towlower(letter));
    drive->mountPointOffset = sizeof(UnixDriveRequest);
    request.replace(sizeof(UnixDriveRequest), target.size(), target);
    HANDLE manager = CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (manager == INVALID_HANDLE_VALUE) return false;
    DWORD returned = 0;
    DeviceIoControl(manager, kDefineUnixDrive, request.data(), static_cast<DWORD>(request.size()), nullptr, 0,
                    &returned, nullptr);
    CloseHandle(manager);
    return WaitUntil([&] { return DriveKnown(letter); }, 5000);
}

bool MakeFolderThroughLinux(const std::wstring& parent, const std::wstring& name) {
    const std::string unixParent = UnixPathOf(parent);
    if (unixParent.empty()) return false;
    if (!StartLinuxProgram(L"Z:\\bin\\mkdir", L"/bin/mkdir \"" + Wide(unixParent) + L"/" + name + L"\"")) {
        return false;
    }
    return WaitUntil([&] { return ListsExactly(parent, name); }, 10000);
}
