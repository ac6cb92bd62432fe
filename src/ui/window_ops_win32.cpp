// The control operations. Each one runs whole on the window's thread, so a
// worker's change has taken effect when the call returns and the user's own
// input cannot interleave with a multi-step change.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>

#include "app/wide_text_win32.h"
#include "ui/control_ids.h"
#include "ui/window_internal_win32.h"
#include "ui/window_ops.h"

namespace {

constexpr int kProgressLimit = 32767;

Text ListBoxLine(HWND list, int index) {
    const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, index, 0);
    if (length == LB_ERR) return Text();
    std::wstring line(static_cast<size_t>(length) + 1, L'\0');
    SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(line.data()));
    return ToUtf8(line.c_str());
}

Text ComboEntry(HWND combo, int index) {
    const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, index, 0);
    if (length == CB_ERR) return Text();
    std::wstring entry(static_cast<size_t>(length) + 1, L'\0');
    SendMessageW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(entry.data()));
    return ToUtf8(entry.c_str());
}

// Painting the list for every added or replaced line, and the bar for every
// step, costs far more than the change itself when thousands of lines arrive
// (each paint is flushed to the screen). While lines keep changing, the
// list's redraw is held off and both controls are painted once per frame.
constexpr UINT kFrameMs = 30;
constexpr UINT_PTR kRepaintTimer = 0x564D;
// Window thread only.
bool paintHeld = false;
bool visibleLineChanged = false;

void CALLBACK RepaintHeldControls(HWND window, UINT, UINT_PTR timer, DWORD) {
    KillTimer(window, timer);
    paintHeld = false;
    HWND list = ControlHandle(IDC_VIDEO_LIST);
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    if (visibleLineChanged) InvalidateRect(list, nullptr, TRUE);
    visibleLineChanged = false;
    InvalidateRect(ControlHandle(IDC_PROGRESS), nullptr, FALSE);
}

// Holds the list's painting until the next frame. The timer turns redraw on
// again, so the list is never left without it; without a timer nothing is held.
void HoldPainting() {
    if (paintHeld) return;
    HWND window = MainWindowHandle();
    if (window == nullptr || SetTimer(window, kRepaintTimer, kFrameMs, RepaintHeldControls) == 0) return;
    SendMessageW(ControlHandle(IDC_VIDEO_LIST), WM_SETREDRAW, FALSE, 0);
    paintHeld = true;
}

// Remembers whether a changed line lies on the visible page of the list.
void NoteLineChange(HWND list, int index) {
    if (visibleLineChanged || index < 0) return;
    const int top = static_cast<int>(SendMessageW(list, LB_GETTOPINDEX, 0, 0));
    const int height = std::max(1, static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0)));
    RECT client{};
    GetClientRect(list, &client);
    if (index >= top && index <= top + client.bottom / height) visibleLineChanged = true;
}

}  // namespace

void ClearLines() {
    OnWindowThread([] {
        SendMessageW(ControlHandle(IDC_VIDEO_LIST), LB_RESETCONTENT, 0, 0);
        if (paintHeld) visibleLineChanged = true;
    });
}

int AddLine(const Text& line) {
    int index = -1;
    OnWindowThread([&] {
        const std::wstring wide = ToWide(line);
        HWND list = ControlHandle(IDC_VIDEO_LIST);
        HoldPainting();
        index = static_cast<int>(SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str())));
        if (paintHeld) NoteLineChange(list, index);
    });
    return index;
}

void SetLineText(int index, const Text& line) {
    OnWindowThread([&] {
        HWND list = ControlHandle(IDC_VIDEO_LIST);
        const int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
        if (index < 0 || index >= count || ListBoxLine(list, index) == line) return;

        const LRESULT selection = SendMessageW(list, LB_GETCURSEL, 0, 0);
        const LRESULT top = SendMessageW(list, LB_GETTOPINDEX, 0, 0);
        const LRESULT caret = SendMessageW(list, LB_GETCARETINDEX, 0, 0);
        const std::wstring wide = ToWide(line);
        // The list has no way to change a line's text in place; with redraw
        // off, the delete and the insert show as one change.
        HoldPainting();
        if (!paintHeld) SendMessageW(list, WM_SETREDRAW, FALSE, 0);
        SendMessageW(list, LB_DELETESTRING, index, 0);
        SendMessageW(list, LB_INSERTSTRING, index, reinterpret_cast<LPARAM>(wide.c_str()));
        if (selection != LB_ERR) SendMessageW(list, LB_SETCURSEL, selection, 0);
        SendMessageW(list, LB_SETCARETINDEX, caret, FALSE);
        SendMessageW(list, LB_SETTOPINDEX, top, 0);
        if (paintHeld) {
            NoteLineChange(list, index);
        } else {
            SendMessageW(list, WM_SETREDRAW, TRUE, 0);
            InvalidateRect(list, nullptr, TRUE);
        }
    });
}

void AddAccount(const Text& name) {
    OnWindowThread([&] {
        const std::wstring wide = ToWide(name);
        SendMessageW(ControlHandle(IDC_ACCOUNTS), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    });
}

void SelectAccount(int index) {
    OnWindowThread([&] {
        HWND combo = ControlHandle(IDC_ACCOUNTS);
        const int count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
        const int selection = index < -1 ? -1 : std::min(index, count - 1);
        SendMessageW(combo, CB_SETCURSEL, selection, 0);
    });
}

int SelectedAccount() {
    int selection = -1;
    OnWindowThread([&] {
        const LRESULT current = SendMessageW(ControlHandle(IDC_ACCOUNTS), CB_GETCURSEL, 0, 0);
        selection = current == CB_ERR ? -1 : static_cast<int>(current);
    });
    return selection;
}

Text AccountText(int index) {
    Text entry;
    OnWindowThread([&] {
        HWND combo = ControlHandle(IDC_ACCOUNTS);
        const int count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
        if (index >= 0 && index < count) entry = ComboEntry(combo, index);
    });
    return entry;
}

Text DestinationCaption() {
    Text caption;
    OnWindowThread([&] {
        HWND label = ControlHandle(IDC_DESTINATION);
        const int length = GetWindowTextLengthW(label);
        std::wstring wide(static_cast<size_t>(length) + 1, L'\0');
        GetWindowTextW(label, wide.data(), length + 1);
        caption = ToUtf8(wide.c_str());
    });
    return caption;
}

void SetDestinationCaption(const Text& caption) {
    OnWindowThread([&] { SetWindowTextW(ControlHandle(IDC_DESTINATION), ToWide(caption).c_str()); });
}

bool IsCutOptionTicked() {
    bool ticked = false;
    OnWindowThread([&] {
        ticked = SendMessageW(ControlHandle(IDC_CUT_OPTION), BM_GETCHECK, 0, 0) == BST_CHECKED;
    });
    return ticked;
}

void SetCutOptionTicked(bool ticked) {
    OnWindowThread([&] {
        SendMessageW(ControlHandle(IDC_CUT_OPTION), BM_SETCHECK, ticked ? BST_CHECKED : BST_UNCHECKED, 0);
    });
}

void SetProgressMaximum(int maximum) {
    OnWindowThread([&] {
        SendMessageW(ControlHandle(IDC_PROGRESS), PBM_SETRANGE32, 0, std::clamp(maximum, 0, kProgressLimit));
    });
}

void SetProgressPosition(int position) {
    OnWindowThread([&] {
        HWND progress = ControlHandle(IDC_PROGRESS);
        // The bar repaints itself at once on every step; while painting is
        // held it is only told the position, and shows it at the next frame.
        // Redraw is toggled only on a shown bar: turning it on shows a window.
        HoldPainting();
        const bool quiet = paintHeld && (GetWindowLongW(progress, GWL_STYLE) & WS_VISIBLE) != 0;
        if (quiet) SendMessageW(progress, WM_SETREDRAW, FALSE, 0);
        SendMessageW(progress, PBM_SETPOS, std::clamp(position, 0, kProgressLimit), 0);
        if (quiet) SendMessageW(progress, WM_SETREDRAW, TRUE, 0);
    });
}

void ShowProgress(bool visible) {
    OnWindowThread([&] { ShowWindow(ControlHandle(IDC_PROGRESS), visible ? SW_SHOW : SW_HIDE); });
}
