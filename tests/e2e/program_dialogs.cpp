// Finding, reading and answering the program's dialogs from outside.
#include "program_dialogs.h"

#include "window_probe.h"

namespace {

struct DialogSearch {
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectDialog(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<DialogSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window) && ClassNameOf(window) == L"#32770") {
        search->found.push_back(window);
    }
    return TRUE;
}

BOOL CALLBACK FindTreeView(HWND child, LPARAM param) {
    if (_wcsicmp(ClassNameOf(child).c_str(), L"SysTreeView32") == 0) {
        *reinterpret_cast<bool*>(param) = true;
        return FALSE;
    }
    return TRUE;
}

struct StaticSearch {
    std::wstring text;
};

// The message's static: the one with a text (the icon static has none).
BOOL CALLBACK FindMessageStatic(HWND child, LPARAM param) {
    if (_wcsicmp(ClassNameOf(child).c_str(), L"Static") != 0) return TRUE;
    if ((StyleOf(child) & SS_TYPEMASK) == SS_ICON) return TRUE;
    const std::wstring text = TextOf(child);
    if (text.empty()) return TRUE;
    reinterpret_cast<StaticSearch*>(param)->text = text;
    return FALSE;
}

MessageBoxSeen Describe(HWND box) {
    MessageBoxSeen seen;
    seen.window = box;
    seen.caption = TextOf(box);
    // Wine and Windows both give the message static the ID 0xFFFF.
    HWND text = GetDlgItem(box, 0xFFFF);
    if (text) {
        seen.text = TextOf(text);
    } else {
        StaticSearch search;
        EnumChildWindows(box, FindMessageStatic, reinterpret_cast<LPARAM>(&search));
        seen.text = search.text;
    }
    return seen;
}

HWND FirstMessageBox(DWORD processId, const std::wstring* caption) {
    for (HWND dialog : DialogsOf(processId)) {
        if (IsFolderPicker(dialog)) continue;
        if (caption && TextOf(dialog) != *caption) continue;
        // A box is complete once its OK button exists.
        if (!GetDlgItem(dialog, IDOK) && !GetDlgItem(dialog, IDCANCEL)) continue;
        return dialog;
    }
    return nullptr;
}

MessageBoxSeen WaitForBox(DWORD processId, const std::wstring* caption, DWORD timeoutMs) {
    HWND box = nullptr;
    WaitUntil([&] { return (box = FirstMessageBox(processId, caption)) != nullptr; }, timeoutMs);
    return box ? Describe(box) : MessageBoxSeen{};
}

bool WaitGone(HWND dialog, DWORD timeoutMs) {
    return WaitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, timeoutMs);
}

}  // namespace

std::vector<HWND> DialogsOf(DWORD processId) {
    DialogSearch search{processId, {}};
    EnumWindows(CollectDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool IsFolderPicker(HWND dialog) {
    bool hasTree = false;
    EnumChildWindows(dialog, FindTreeView, reinterpret_cast<LPARAM>(&hasTree));
    return hasTree;
}

MessageBoxSeen WaitForMessageBox(DWORD processId, DWORD timeoutMs) { return WaitForBox(processId, nullptr, timeoutMs); }

MessageBoxSeen WaitForMessageBoxCaptioned(DWORD processId, const std::wstring& caption, DWORD timeoutMs) {
    return WaitForBox(processId, &caption, timeoutMs);
}

bool HasMessageBox(DWORD processId) { return FirstMessageBox(processId, nullptr) != nullptr; }

bool PressDialogButton(HWND dialog, int buttonId, DWORD timeoutMs) {
    HWND button = GetDlgItem(dialog, buttonId);
    if (!button || !PostMessageW(button, BM_CLICK, 0, 0)) return false;
    return WaitGone(dialog, timeoutMs);
}

bool CloseDialog(HWND dialog, DWORD timeoutMs) {
    if (!PostMessageW(dialog, WM_CLOSE, 0, 0)) return false;
    return WaitGone(dialog, timeoutMs);
}

void DismissMessageBoxes(DWORD processId) {
    for (int round = 0; round < 10; ++round) {
        HWND box = FirstMessageBox(processId, nullptr);
        if (!box) return;
        if (!PressDialogButton(box, GetDlgItem(box, IDOK) ? IDOK : IDCANCEL, 3000)) CloseDialog(box, 3000);
    }
}
