// Message boxes and the folder picker.
#include <windows.h>
#include <shlobj.h>

#include "app/wide_text_win32.h"
#include "ui/window_internal_win32.h"
#include "ui/window_ops.h"

MessageResult ShowMessage(const Text& message, ButtonSet buttons, const Text& caption) {
    const std::wstring title = ToWide(caption.empty() ? Text("信息：") : caption);
    // No owner; task-modal disables the calling thread's own windows only, so a
    // worker's box leaves the main window usable.
    const UINT type = (buttons == ButtonSet::OkCancel ? MB_OKCANCEL : MB_OK) | MB_TASKMODAL | MB_SETFOREGROUND;
    const int answer = MessageBoxW(nullptr, ToWide(message).c_str(), title.c_str(), type);
    return answer == IDOK ? MessageResult::Ok : MessageResult::Cancel;
}

Text PickFolder(const Text& title) {
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    const std::wstring wideTitle = ToWide(title);
    BROWSEINFOW browse = {};
    browse.hwndOwner = MainWindowHandle();  // disabled while the picker is open
    browse.lpszTitle = wideTitle.c_str();
    browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX | BIF_NEWDIALOGSTYLE;

    Text folder;
    if (PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&browse)) {
        // Long paths need more than MAX_PATH; the Ex form takes a buffer size.
        std::wstring path(32768, L'\0');
        if (SHGetPathFromIDListEx(chosen, path.data(), static_cast<DWORD>(path.size()), GPFIDL_DEFAULT))
            folder = ToUtf8(path.c_str());
        CoTaskMemFree(chosen);
    }
    if (SUCCEEDED(com)) CoUninitialize();
    return folder;
}
