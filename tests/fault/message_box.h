#pragma once
// The program's message boxes seen from outside: found by owning process and
// caption, read, and answered by posting the button's command.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

struct MessageBoxSeen {
    HWND window = nullptr;
    std::wstring caption;
    std::wstring text;
};

// Every visible dialog-class top-level window of the process.
std::vector<MessageBoxSeen> MessageBoxesOf(DWORD processId);
// The first box of the process that fits; nothing when none appears in time
// or the process ends.
std::optional<MessageBoxSeen> WaitForMessageBoxWhere(DWORD processId,
                                                     const std::function<bool(const MessageBoxSeen&)>& fits,
                                                     DWORD timeoutMs);
// The first box with this caption.
std::optional<MessageBoxSeen> WaitForMessageBox(DWORD processId, const std::wstring& caption, DWORD timeoutMs);
// Presses button (IDOK, IDCANCEL) and waits until the box is gone.
bool AnswerMessageBox(HWND box, int button, DWORD timeoutMs = 10000);
// "caption: text" of every open box of the process, for failure messages.
std::string DescribeMessageBoxes(DWORD processId);
