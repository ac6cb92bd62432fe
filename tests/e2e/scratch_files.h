#pragma once
// Folders and files the migration tests write and compare: uniquely named
// scratch folders that remove themselves, whole-file reads and writes, and
// the folder screenshots go to.
#include <windows.h>

#include <optional>
#include <string>

class ScratchFolder {
public:
    // Creates parent + "\vm-e2e-<tag>-<unique>" (parent such as C: or Y:).
    ScratchFolder(const std::wstring& parent, const std::wstring& tag);
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    ~ScratchFolder();
    bool ok() const { return ok_; }
    const std::wstring& path() const { return path_; }

private:
    std::wstring path_;
    bool ok_ = false;
};

std::optional<std::string> ReadBytes(const std::wstring& path);
bool WriteBytes(const std::wstring& path, const std::string& bytes);
// Bytes that differ from file to file and over the whole length.
std::string PatternBytes(size_t size, unsigned seed);
// The value of VM_SCREENSHOT_DIR as a Wine path (default: the driver's
// folder), created if missing.
std::wstring ScreenshotFolderPath();
