#include "scratch_files.h"

#include <algorithm>
#include <atomic>

#include "fixture.h"
#include "process.h"

namespace {

std::atomic<unsigned> scratchCount{0};

}  // namespace

ScratchFolder::ScratchFolder(const std::wstring& parent, const std::wstring& tag) {
    // Process ids are small and reused: the tick count and a counter keep
    // folders of earlier runs apart.
    path_ = parent + L"\\vm-e2e-" + tag + L"-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(GetTickCount64()) + L"-" + std::to_wstring(++scratchCount);
    ok_ = CreateDirectoryW(path_.c_str(), nullptr) != FALSE;
}

ScratchFolder::~ScratchFolder() { RemoveTree(path_); }

std::optional<std::string> ReadBytes(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string bytes;
    LARGE_INTEGER size{};
    bool ok = GetFileSizeEx(file, &size) != FALSE;
    if (ok) {
        bytes.resize(static_cast<size_t>(size.QuadPart));
        size_t done = 0;
        while (ok && done < bytes.size()) {
            DWORD read = 0;
            const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1 << 20));
            ok = ReadFile(file, &bytes[done], chunk, &read, nullptr) && read > 0;
            done += read;
        }
    }
    CloseHandle(file);
    if (!ok) return std::nullopt;
    return bytes;
}

bool WriteBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size();
    CloseHandle(file);
    return ok;
}

std::string PatternBytes(size_t size, unsigned seed) {
    std::string bytes(size, '\0');
    unsigned state = seed * 2654435761u + 12345u;
    for (char& byte : bytes) {
        state = state * 1103515245u + 12345u;
        byte = static_cast<char>(state >> 16);
    }
    return bytes;
}

std::wstring ScreenshotFolderPath() {
    wchar_t value[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(L"VM_SCREENSHOT_DIR", value, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return DriverFolder();
    std::wstring folder(value, length);
    // A Unix path set by the test script becomes its Wine drive path.
    using DosName = wchar_t*(__cdecl*)(const char*);
    auto toDos = reinterpret_cast<DosName>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name")));
    if (folder[0] == L'/' && toDos) {
        std::string unixPath(folder.begin(), folder.end());
        if (wchar_t* dos = toDos(unixPath.c_str())) {
            folder = dos;
            HeapFree(GetProcessHeap(), 0, dos);
        }
    }
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}
