#include "scratch.h"

#include <atomic>

#include "fixture.h"

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return std::string();
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr,
                        nullptr);
    return bytes;
}

std::wstring UniqueName(const std::wstring& prefix) {
    static std::atomic<unsigned> counter{0};
    return prefix + L"-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(GetTickCount64() % 1000000) + L"-" + std::to_wstring(++counter);
}

std::optional<std::wstring> DriveFromEnvironment(const wchar_t* variable) {
    wchar_t value[64] = {};
    const DWORD length = GetEnvironmentVariableW(variable, value, 64);
    if (length == 0 || length >= 64) return std::nullopt;
    std::wstring drive(value, length);
    if (drive.size() == 1) drive += L':';
    if (drive.size() != 2 || drive[1] != L':') return std::nullopt;
    const DWORD attributes = GetFileAttributesW((drive + L"\\").c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return std::nullopt;
    return drive;
}

std::wstring TempFolder() {
    wchar_t temp[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, temp);
    std::wstring folder(temp, length);
    while (!folder.empty() && folder.back() == L'\\') folder.pop_back();
    return folder;
}

std::wstring DestinationParent() {
    const auto drive = DriveFromEnvironment(L"VM_SECOND_DRIVE");
    return drive ? *drive : TempFolder();
}

ScratchFolder::ScratchFolder(const std::wstring& parent, const std::wstring& prefix)
    : path_(parent + L"\\" + UniqueName(prefix)) {
    ok_ = CreateDirectoryW(path_.c_str(), nullptr) != 0;
}

ScratchFolder::~ScratchFolder() {
    // The program may still be ending; give the folder a few tries.
    for (int attempt = 0; attempt < 20 && !RemoveTree(path_); ++attempt) Sleep(100);
}

std::optional<std::string> ReadWholeFile(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string bytes;
    char buffer[1 << 16];
    DWORD got = 0;
    bool ok = true;
    while ((ok = ReadFile(file, buffer, sizeof(buffer), &got, nullptr) != 0) && got > 0) bytes.append(buffer, got);
    CloseHandle(file);
    if (!ok) return std::nullopt;
    return bytes;
}

bool WriteWholeFile(const std::wstring& path, const std::string& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = bytes.empty() || (WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                                                nullptr) && written == bytes.size());
    CloseHandle(file);
    return ok;
}
