#pragma once
// Driving the program's folder picker (SHBrowseForFolderW) from outside: what
// it shows, and choosing a folder in it as a user does.
#include <windows.h>

#include <string>

// The picker of the process once it is open; null when none appeared.
HWND WaitForFolderPicker(DWORD processId, DWORD timeoutMs = 15000);
// One line per child window: class, ID, visible or hidden, text.
std::wstring DescribeChildren(HWND dialog);
// The picker's visible edit box (it shows the selected item's name), or null.
HWND PickerEditBox(HWND picker);
HWND PickerTreeView(HWND picker);

// Opens the tree from the desktop down to folder (a full path such as
// C:\a\b), expanding each level as a click on its button does, and selects
// the folder's item. False with the step that failed in *error.
bool SelectFolderInTree(HWND picker, const std::wstring& folder, std::wstring* error);
// The texts of the selected item and its ancestors, joined by " > ".
std::wstring SelectedTreePath(HWND picker);

// Chooses folder in the picker by selecting it in the tree, checks that the
// picker took the choice, presses OK and waits for the picker to close.
// False with the reason in *error.
bool ChooseFolderInPicker(HWND picker, const std::wstring& folder, std::wstring* error);
