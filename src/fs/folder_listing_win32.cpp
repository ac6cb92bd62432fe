#include "fs/folder_listing.h"

#include <windows.h>

#include "app/wide_text_win32.h"

namespace {

// The folder itself when it already ends with "\", else the folder and "\".
Text BaseOf(const Text& folder) {
    if (!folder.empty() && folder.back() == '\\') return folder;
    return folder + "\\";
}

// Runs one directory search and hands the name of every entry whose directory
// bit equals wantFolders to take. A listing started by a pumped handler opens a
// search of its own.
template <typename Take>
void Search(const Text& searchText, bool wantFolders, Take take) {
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW(ToWide(searchText).c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const bool isFolder = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (isFolder == wantFolders) take(ToUtf8(entry.cFileName));
    } while (FindNextFileW(search, &entry));
    FindClose(search);
}

}  // namespace

int ListSubfolders(const Text& folder, TextList& names) {
    Search(BaseOf(folder) + "*.*", true, [&names](Text name) {
        if (!name.empty() && name[0] != '.') names.push_back(std::move(name));
    });
    return static_cast<int>(names.size());
}

int ListFiles(const Text& folder, const Text& pattern, TextList& names) {
    names.clear();
    Search(BaseOf(folder) + pattern, false, [&names](Text name) {
        names.push_back(std::move(name));
        PumpPendingEvents();
    });
    return static_cast<int>(names.size());
}

void PumpPendingEvents() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // Peeking removed the quit request; put it back for the message
            // loop and stop, so closing the window mid-listing still ends.
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}
