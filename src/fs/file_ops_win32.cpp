#include "fs/file_ops.h"

#include <windows.h>
#include <lmcons.h>
#include <shlwapi.h>

#include "app/wide_text_win32.h"

Text GetCurrentUserName() {
    // Windows allows names of up to UNLEN characters; grow once more if the
    // system still asks for a larger buffer.
    std::wstring buffer(UNLEN + 1, L'\0');
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD size = static_cast<DWORD>(buffer.size());
        if (GetUserNameW(buffer.data(), &size)) return ToUtf8(buffer.c_str());
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || size <= buffer.size()) break;
        buffer.assign(size, L'\0');
    }
    return Text();
}

bool FolderExists(const Text& path) {
    return PathIsDirectoryW(ToWide(path).c_str()) == FILE_ATTRIBUTE_DIRECTORY;
}

int CreateFolder(const Text& path) {
    return CreateDirectoryW(ToWide(path).c_str(), nullptr) ? 1 : 0;
}

int CopyFileOver(const Text& source, const Text& target) {
    return CopyFileW(ToWide(source).c_str(), ToWide(target).c_str(), FALSE) ? 1 : 0;
}

namespace {

bool IsPresent(const std::wstring& path) {
    // Anything but "not there" counts as present, so a doubtful target is
    // never overwritten.
    if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    const DWORD error = GetLastError();
    return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
}

// Deletes a file this routine wrote, read-only or not.
void DeleteOwnFile(const std::wstring& path) {
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(path.c_str());
}

// Puts the copied data on the disk before the source goes away. A read-only
// copy is made writable for the flush only.
bool FlushToDisk(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return false;
    const bool readOnly = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
    if (readOnly) SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    const bool flushed = file != INVALID_HANDLE_VALUE && FlushFileBuffers(file);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    if (readOnly) SetFileAttributesW(path.c_str(), attributes);
    return flushed;
}

// Across volumes: a complete copy under a temporary name, renamed into place
// (which refuses a target that appeared meanwhile), and only then the source
// deleted. Killed at any point, the video still exists at least once.
int MoveAcrossVolumes(const std::wstring& source, const std::wstring& target) {
    if (IsPresent(target)) return 0;
    const std::wstring temporary = target + L"~moving";
    if (!CopyFileW(source.c_str(), temporary.c_str(), FALSE) || !FlushToDisk(temporary)) {
        DeleteOwnFile(temporary);
        return 0;
    }
    if (!MoveFileExW(temporary.c_str(), target.c_str(), 0)) {
        DeleteOwnFile(temporary);
        return 0;
    }
    if (!DeleteFileW(source.c_str())) {
        DeleteOwnFile(target);
        return 0;
    }
    return 1;
}

}  // namespace

int MoveFileTo(const Text& source, const Text& target) {
    const std::wstring from = ToWide(source);
    const std::wstring to = ToWide(target);
    // No MOVEFILE_COPY_ALLOWED: on one volume this is an atomic rename that
    // refuses an existing target.
    if (MoveFileExW(from.c_str(), to.c_str(), 0)) return 1;
    if (GetLastError() != ERROR_NOT_SAME_DEVICE) return 0;
    return MoveAcrossVolumes(from, to);
}
