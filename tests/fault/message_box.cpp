#include "message_box.h"

#include "scratch.h"
#include "window_probe.h"

namespace {

constexpr int kMessageTextId = 0xFFFF;  // the static that holds a message box's text

struct BoxSearch {
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectBoxes(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<BoxSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window) && ClassNameOf(window) == L"#32770")
        search->found.push_back(window);
    return TRUE;
}

BOOL CALLBACK LongestStatic(HWND child, LPARAM param) {
    auto* text = reinterpret_cast<std::wstring*>(param);
    if (ClassNameOf(child) == L"Static") {
        const std::wstring candidate = TextOf(child);
        if (candidate.size() > text->size()) *text = candidate;
    }
    return TRUE;
}

std::wstring CaptionOf(HWND window) {
    wchar_t caption[512] = {};
    GetWindowTextW(window, caption, 512);
    return caption;
}

std::wstring MessageTextOf(HWND box) {
    if (HWND label = GetDlgItem(box, kMessageTextId)) return TextOf(label);
    std::wstring text;
    EnumChildWindows(box, LongestStatic, reinterpret_cast<LPARAM>(&text));
    return text;
}

bool ProcessRuns(DWORD processId) {
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
    if (!process) return false;
    const bool runs = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    CloseHandle(process);
    return runs;
}

}  // namespace

std::vector<MessageBoxSeen> MessageBoxesOf(DWORD processId) {
    BoxSearch search{processId, {}};
    EnumWindows(CollectBoxes, reinterpret_cast<LPARAM>(&search));
    std::vector<MessageBoxSeen> boxes;
    for (HWND window : search.found) boxes.push_back({window, CaptionOf(window), MessageTextOf(window)});
    return boxes;
}

std::optional<MessageBoxSeen> WaitForMessageBoxWhere(DWORD processId,
                                                     const std::function<bool(const MessageBoxSeen&)>& fits,
                                                     DWORD timeoutMs) {
    std::optional<MessageBoxSeen> seen;
    WaitUntil([&] {
        BoxSearch search{processId, {}};
        EnumWindows(CollectBoxes, reinterpret_cast<LPARAM>(&search));
        for (HWND window : search.found) {
            // The text is set while the box is built; take the box once it is there.
            const MessageBoxSeen box{window, CaptionOf(window), MessageTextOf(window)};
            if (box.text.empty() || !fits(box)) continue;
            seen = box;
            return true;
        }
        return !ProcessRuns(processId);
    }, timeoutMs, 25);
    return seen;
}

std::optional<MessageBoxSeen> WaitForMessageBox(DWORD processId, const std::wstring& caption, DWORD timeoutMs) {
    return WaitForMessageBoxWhere(processId, [&](const MessageBoxSeen& box) { return box.caption == caption; },
                                  timeoutMs);
}

bool AnswerMessageBox(HWND box, int button, DWORD timeoutMs) {
    if (!PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, button))))
        return false;
    return WaitUntil([&] { return !IsWindow(box) || !IsWindowVisible(box); }, timeoutMs);
}

std::string DescribeMessageBoxes(DWORD processId) {
    std::string description;
    for (const MessageBoxSeen& box : MessageBoxesOf(processId)) {
        description += "[" + Utf8(box.caption) + ": " + Utf8(box.text) + "] ";
    }
    return description.empty() ? "no message box open" : description;
}
