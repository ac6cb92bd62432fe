#pragma once
// Unique temporary folders on a chosen drive, removed again even when a test
// fails, and the small text helpers the fault tests share.
#include <windows.h>

#include <optional>
#include <string>

// UTF-8 for test output.
std::string Utf8(const std::wstring& text);

// A name no earlier run of this driver used: Windows process ids are reused
// under Wine, so the tick count and a counter go into it too.
std::wstring UniqueName(const std::wstring& prefix);

// The drive named by an environment variable such as VM_SECOND_DRIVE ("Y:"),
// or nothing when it is unset or the drive does not exist.
std::optional<std::wstring> DriveFromEnvironment(const wchar_t* variable);

// The user's temporary folder on C:, no trailing "\".
std::wstring TempFolder();
// Where a destination goes when the case does not depend on the drive:
// VM_SECOND_DRIVE when set (moves then cross file systems), else TempFolder().
std::wstring DestinationParent();

class ScratchFolder {
public:
    // Creates parent + "\" + a unique name starting with prefix.
    ScratchFolder(const std::wstring& parent, const std::wstring& prefix);
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    ~ScratchFolder();
    bool ok() const { return ok_; }
    const std::wstring& path() const { return path_; }

private:
    std::wstring path_;
    bool ok_ = false;
};

// The whole content of a file, or nothing when it cannot be read.
std::optional<std::string> ReadWholeFile(const std::wstring& path);
bool WriteWholeFile(const std::wstring& path, const std::string& bytes);
