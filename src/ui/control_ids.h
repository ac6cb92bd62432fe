#pragma once
// Control identifiers and the window class, shared with the end-to-end driver.

#define MAIN_WINDOW_CLASS L"VideoMigratorMainWindow"

enum ControlId {
    IDC_ACCOUNT_LABEL = 101,  // 标签1
    IDC_ACCOUNTS,             // 组合框1
    IDC_CUT_OPTION,           // 选择框1
    IDC_DESTINATION,          // 标签3
    IDC_VIDEO_LIST,           // 列表框1
    IDC_REFRESH,              // 按钮3
    IDC_MIGRATE,              // 按钮1
    IDC_PROGRESS,             // 进度条1
};
