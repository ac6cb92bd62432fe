// The contract's world on Windows: real files in a uniquely named folder
// under %TEMP%, and a message-only window of the test thread.
#include "fixture.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <map>

#include "app/wide_text_win32.h"

namespace {

constexpr UINT kTestEvent = WM_APP + 1;

Text root;
HWND eventWindow = nullptr;
int dispatched = 0;
std::map<Text, HANDLE> heldFiles;

LRESULT CALLBACK EventProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kTestEvent) {
        ++dispatched;
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND MakeEventWindow() {
    static const ATOM windowClass = [] {
        WNDCLASSW description{};
        description.lpfnWndProc = EventProc;
        description.hInstance = GetModuleHandleW(nullptr);
        description.lpszClassName = L"FsContractEvents";
        return RegisterClassW(&description);
    }();
    return CreateWindowExW(0, MAKEINTATOM(windowClass), L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

FILETIME ToFileTime(std::int64_t utcUnixSeconds) {
    const ULONGLONG ticks = static_cast<ULONGLONG>(utcUnixSeconds + 11644473600LL) * 10000000ULL;
    FILETIME time;
    time.dwLowDateTime = static_cast<DWORD>(ticks);
    time.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    return time;
}

void DeleteTree(const std::wstring& folder) {
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring path = folder + L"\\" + name;
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                DeleteTree(path);
            else
                DeleteFileW(path.c_str());
        } while (FindNextFileW(search, &entry));
        FindClose(search);
    }
    SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryW(folder.c_str());
}

}  // namespace

namespace fixture {

Text MakeRoot() {
    static int counter = 0;
    wchar_t temp[MAX_PATH + 1];
    const DWORD length = GetTempPathW(MAX_PATH + 1, temp);
    // Process ids are small and reused under Wine: add the clock and a counter.
    root = ToUtf8(temp, static_cast<int>(length)) + "fs_contract_" + std::to_string(GetCurrentProcessId()) + "_" +
           std::to_string(GetTickCount64()) + "_" + std::to_string(++counter);
    if (!CreateDirectoryW(ToWide(root).c_str(), nullptr)) ADD_FAILURE() << "cannot create " << root;
    eventWindow = MakeEventWindow();
    if (eventWindow == nullptr) ADD_FAILURE() << "cannot create the event window";
    dispatched = 0;
    return root;
}

void RemoveRoot() {
    for (auto& held : heldFiles) CloseHandle(held.second);
    heldFiles.clear();
    DropPendingEvents();
    if (eventWindow != nullptr) DestroyWindow(eventWindow);
    eventWindow = nullptr;
    if (!root.empty()) DeleteTree(ToWide(root));
    if (!root.empty() && Exists(root)) ADD_FAILURE() << "could not remove " << root;
    root.clear();
}

void MakeFolder(const Text& path, unsigned attributes) {
    const std::wstring wide = ToWide(path);
    if (!CreateDirectoryW(wide.c_str(), nullptr)) ADD_FAILURE() << "cannot create folder " << path;
    if (attributes != 0 && !SetFileAttributesW(wide.c_str(), attributes | FILE_ATTRIBUTE_DIRECTORY))
        ADD_FAILURE() << "cannot set attributes of " << path;
}

void MakeFile(const Text& path, const Text& content, std::int64_t utcUnixSeconds, unsigned attributes) {
    const std::wstring wide = ToWide(path);
    HANDLE file = CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        ADD_FAILURE() << "cannot create file " << path;
        return;
    }
    DWORD written = 0;
    if (!content.empty()) WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    // Real Windows keeps the creation stamp apart; Wine shows the last-write one.
    const FILETIME time = ToFileTime(utcUnixSeconds);
    if (written != content.size() || !SetFileTime(file, &time, &time, &time))
        ADD_FAILURE() << "cannot write " << path;
    CloseHandle(file);
    if (attributes != 0 && !SetFileAttributesW(wide.c_str(), attributes)) ADD_FAILURE() << "cannot set attributes of " << path;
}

void SetTimes(const Text& path, std::int64_t creation, std::int64_t lastWrite, std::int64_t lastAccess) {
    HANDLE file = CreateFileW(ToWide(path).c_str(), FILE_WRITE_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    const FILETIME created = ToFileTime(creation), written = ToFileTime(lastWrite), accessed = ToFileTime(lastAccess);
    if (file == INVALID_HANDLE_VALUE || !SetFileTime(file, &created, &accessed, &written))
        ADD_FAILURE() << "cannot set the times of " << path;
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
}

bool CreationFollowsLastWrite() {
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

int LocalZoneMinutes() {
    const FILETIME utc = ToFileTime(1542675903);
    FILETIME local;
    FileTimeToLocalFileTime(&utc, &local);
    const auto ticks = [](const FILETIME& t) {
        return static_cast<long long>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime);
    };
    return static_cast<int>((ticks(local) - ticks(utc)) / 600000000LL);
}

void HoldOpen(const Text& path) {
    HANDLE file = CreateFileW(ToWide(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        ADD_FAILURE() << "cannot hold " << path << " open";
    else
        heldFiles[path] = file;
}

void Release(const Text& path) {
    auto held = heldFiles.find(path);
    if (held == heldFiles.end()) return;
    CloseHandle(held->second);
    heldFiles.erase(held);
}

bool Exists(const Text& path) { return GetFileAttributesW(ToWide(path).c_str()) != INVALID_FILE_ATTRIBUTES; }

Text ReadContent(const Text& path) {
    HANDLE file = CreateFileW(ToWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return Text();
    Text content;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) content.append(buffer, read);
    CloseHandle(file);
    return content;
}

void PostPendingEvent() { PostMessageW(eventWindow, kTestEvent, 0, 0); }
int DispatchedEvents() { return dispatched; }

void DropPendingEvents() {
    MSG message;
    while (eventWindow != nullptr && PeekMessageW(&message, eventWindow, kTestEvent, kTestEvent, PM_REMOVE)) {
    }
}

}  // namespace fixture
