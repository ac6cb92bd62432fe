// The controls of the main window: one table of classes, styles and places at
// 96 DPI, walked once when the window is created.
#include <windows.h>
#include <commctrl.h>

#include "app/wide_text_win32.h"
#include "ui/control_ids.h"
#include "ui/window_internal_win32.h"

namespace {

struct ControlSpec {
    int id;
    const wchar_t* className;
    DWORD style;
    DWORD exStyle;
    int left, top, width, height;
    const char* text;
};

constexpr DWORD kLabel = SS_LEFTNOWORDWRAP | SS_CENTERIMAGE;

// Creation order is the Tab order: 选择框1, 组合框1, 按钮3, 按钮1, 列表框1.
const ControlSpec kControls[] = {
    {IDC_CUT_OPTION, L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, 0, 208, 16, 80, 24, "是否剪切"},
    // A drop-down list's height includes its open list.
    {IDC_ACCOUNTS, L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0, 64, 16, 96, 160, ""},
    {IDC_REFRESH, L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0, 109, 392, 104, 32, "刷新视频"},
    {IDC_MIGRATE, L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0, 253, 392, 104, 32, "迁移文件"},
    {IDC_VIDEO_LIST, L"LISTBOX", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP,
     WS_EX_CLIENTEDGE, 21, 96, 424, 280, ""},
    {IDC_ACCOUNT_LABEL, L"STATIC", kLabel, 0, 24, 16, 28, 20, "账号："},
    {IDC_DESTINATION, L"STATIC", kLabel | SS_NOTIFY, 0, 29, 56, 408, 24, "双击此处选择存储位置"},
    {IDC_PROGRESS, PROGRESS_CLASSW, PBS_SMOOTH, 0, -8, 440, 472, 20, ""},
};

int Scale(int value, int dpi) { return MulDiv(value, dpi, 96); }

}  // namespace

void CreateControls(HWND window, int dpi) {
    HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
    for (const ControlSpec& layout : kControls) {
        const bool visible = layout.id != IDC_PROGRESS;
        HWND control = CreateWindowExW(
            layout.exStyle, layout.className, ToWide(layout.text).c_str(),
            WS_CHILD | (visible ? WS_VISIBLE : 0) | layout.style,
            Scale(layout.left, dpi), Scale(layout.top, dpi), Scale(layout.width, dpi), Scale(layout.height, dpi),
            window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(layout.id)), instance, nullptr);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }

    HWND list = GetDlgItem(window, IDC_VIDEO_LIST);
    const LRESULT lineHeight = SendMessageW(list, LB_GETITEMHEIGHT, 0, 0);
    SendMessageW(list, LB_SETITEMHEIGHT, 0, lineHeight + 1);
    HWND accounts = GetDlgItem(window, IDC_ACCOUNTS);
    const LRESULT entryHeight = SendMessageW(accounts, CB_GETITEMHEIGHT, 0, 0);
    SendMessageW(accounts, CB_SETITEMHEIGHT, 0, entryHeight + 1);
    // Wine ignores CB_SETITEMHEIGHT for entries of a combo box that is not
    // owner-drawn; its list takes the height directly.
    COMBOBOXINFO info = {};
    info.cbSize = sizeof(info);
    if (GetComboBoxInfo(accounts, &info) && info.hwndList != nullptr &&
        SendMessageW(accounts, CB_GETITEMHEIGHT, 0, 0) != entryHeight + 1) {
        SendMessageW(info.hwndList, LB_SETITEMHEIGHT, 0, entryHeight + 1);
    }
    SendMessageW(GetDlgItem(window, IDC_PROGRESS), PBM_SETRANGE32, 0, 100);
}
