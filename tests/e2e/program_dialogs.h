#pragma once
// The program's own dialogs as the driver sees them: message boxes and the
// folder picker are top-level windows of class #32770 owned by its process.
#include <windows.h>

#include <string>
#include <vector>

// Visible top-level dialogs (#32770) of the process, in z-order.
std::vector<HWND> DialogsOf(DWORD processId);
// A dialog that holds a tree view: the folder picker.
bool IsFolderPicker(HWND dialog);

struct MessageBoxSeen {
    HWND window = nullptr;
    std::wstring caption;
    std::wstring text;  // the static text of the box, CR LF as given
};

// The first message box (a dialog that is not the folder picker) of the
// process within timeoutMs; window is null when none appeared.
MessageBoxSeen WaitForMessageBox(DWORD processId, DWORD timeoutMs = 15000);
// The message box with this caption, ignoring others.
MessageBoxSeen WaitForMessageBoxCaptioned(DWORD processId, const std::wstring& caption, DWORD timeoutMs = 15000);
// Whether any message box of the process is open now.
bool HasMessageBox(DWORD processId);

// Presses a button of the box (IDOK, IDCANCEL) by a posted click; true once
// the box is gone.
bool PressDialogButton(HWND dialog, int buttonId, DWORD timeoutMs = 10000);
// Asks the box to close as its close box does; true once it is gone.
bool CloseDialog(HWND dialog, DWORD timeoutMs = 10000);
// Answers every box of the process with OK or its only button; used when
// a test stops early.
void DismissMessageBoxes(DWORD processId);
