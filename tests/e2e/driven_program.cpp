#include "driven_program.h"

#include "folder_picker.h"
#include "program_dialogs.h"
#include "ui/control_ids.h"
#include "window_probe.h"

bool DrivenProgram::Start(std::wstring* error) {
    window_ = StartAndFindWindow(process_, error);
    return window_ != nullptr;
}

void DrivenProgram::Stop() {
    if (!process_.IsRunning()) return;
    DismissMessageBoxes(Id());
    for (HWND dialog : DialogsOf(Id())) {
        if (IsFolderPicker(dialog)) PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    }
    if (window_) PostMessageW(window_, WM_CLOSE, 0, 0);
    if (!process_.WaitForExit(5000)) process_.Kill();
}

bool DrivenProgram::Click(int controlId) {
    HWND control = Control(controlId);
    return control && PostMessageW(control, BM_CLICK, 0, 0);
}

bool DrivenProgram::ChooseAccount(int index) {
    HWND accounts = Control(IDC_ACCOUNTS);
    if (Query(accounts, CB_SETCURSEL, index) != index) return false;
    // The program queues its handler behind what is pending, so wait for two
    // markers: one behind the notification, one behind the queued handler.
    return PostMessageW(window_, WM_COMMAND, MAKEWPARAM(IDC_ACCOUNTS, CBN_SELENDOK),
                        reinterpret_cast<LPARAM>(accounts)) &&
           WaitForPostedMessages() && WaitForPostedMessages();
}

bool DrivenProgram::DoubleClickDestination() {
    HWND label = Control(IDC_DESTINATION);
    return label && PostMessageW(label, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
}

bool DrivenProgram::WaitForPostedMessages(DWORD timeoutMs) {
    // The list box's horizontal extent is a value the program never uses;
    // posted messages of one thread are handled in the order they were posted.
    HWND list = Control(IDC_VIDEO_LIST);
    const int value = 1000 + (++marker_ % 1000);
    if (!PostMessageW(list, LB_SETHORIZONTALEXTENT, value, 0)) return false;
    return WaitUntil([&] { return Query(list, LB_GETHORIZONTALEXTENT) == value; }, timeoutMs);
}

std::vector<std::wstring> DrivenProgram::Lines() const { return ListBoxLines(Control(IDC_VIDEO_LIST)); }

bool DrivenProgram::WaitForLines(const std::vector<std::wstring>& expected, DWORD timeoutMs) const {
    return WaitUntil([&] { return Lines() == expected; }, timeoutMs);
}

std::wstring DrivenProgram::Destination() const { return TextOf(Control(IDC_DESTINATION)); }

bool DrivenProgram::IsCutTicked() const { return Query(Control(IDC_CUT_OPTION), BM_GETCHECK) == BST_CHECKED; }

bool DrivenProgram::ChooseDestination(const std::wstring& folder, std::wstring* error) {
    if (!DoubleClickDestination()) {
        *error = L"cannot post the double-click";
        return false;
    }
    HWND picker = WaitForFolderPicker(Id());
    if (!picker) {
        *error = L"no folder picker appeared";
        return false;
    }
    if (!ChooseFolderInPicker(picker, folder, error)) return false;
    if (!WaitUntil([&] { return Destination() == folder + L"\\"; }, 10000)) {
        *error = L"the caption reads \"" + Destination() + L"\"";
        return false;
    }
    return true;
}

bool DrivenProgram::TickCutOptionConfirmed(std::wstring* error) {
    if (!Click(IDC_CUT_OPTION)) {
        *error = L"cannot click the cut option";
        return false;
    }
    const MessageBoxSeen question = WaitForMessageBoxCaptioned(Id(), L"确认操作");
    if (!question.window) {
        *error = L"no confirmation question";
        return false;
    }
    if (!PressDialogButton(question.window, IDOK) || !WaitUntil([&] { return IsCutTicked(); }, 5000)) {
        *error = L"the cut option is not ticked after OK";
        return false;
    }
    return true;
}

std::vector<std::wstring> SearchOrder(const std::wstring& folder, const std::wstring& pattern, bool folders) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW((folder + L"\\" + pattern).c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const bool isFolder = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (isFolder == folders) names.push_back(entry.cFileName);
    } while (FindNextFileW(search, &entry));
    FindClose(search);
    return names;
}
