#pragma once
// The Linux side of the Wine session: Unix paths, Unix processes found
// through /proc, and shell commands run with Wine's "start /unix".
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

// The Unix path of a Windows path; nothing when not running under Wine.
std::optional<std::string> UnixPathOf(const std::wstring& path);
// Pids of the Unix processes whose command line holds marker (ASCII, any case).
// Wine puts the Windows command line of a program into its Unix one.
std::vector<int> UnixProcessesMatching(const std::string& marker);
// Starts script with /bin/sh through "start /unix" (which returns at once);
// the script leaves the returned file behind when it has finished.
std::optional<std::wstring> StartUnixShell(const std::string& script);
bool WaitForUnixShell(const std::wstring& doneFile, DWORD timeoutMs);
// Both of the above.
bool RunUnixShell(const std::string& script, DWORD timeoutMs);

// A Unix command made ready beforehand, so that it runs within milliseconds
// of Fire() and not after the time a new Unix shell takes to start.
class ArmedUnixCommand {
public:
    ~ArmedUnixCommand();
    bool Arm(const std::string& command);
    bool Fire();
    bool WaitDone(DWORD timeoutMs);

private:
    std::wstring trigger_;
    std::wstring done_;
};

// Single-quoted for /bin/sh.
std::string ShellQuoted(const std::string& text);
