// The main window: registration, creation, the window procedure that routes
// each event to its handler, and the message loop.
#include <windows.h>
#include <commctrl.h>

#include <atomic>

#include "migration/handlers.h"
#include "ui/control_ids.h"
#include "ui/main_window.h"
#include "ui/window_internal_win32.h"

namespace {

std::atomic<HWND> mainWindow{nullptr};
DWORD windowThreadId = 0;
constexpr int kAppIconId = 1;

int SystemDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

void OnCommand(HWND window, int id, int code) {
    switch (id) {
    case IDC_ACCOUNTS:
        // Queued behind what is pending, so the handler sees the new selection.
        if (code == CBN_SELENDOK) PostMessageW(window, WM_APP_ACCOUNT_SELECTED, 0, 0);
        break;
    case IDC_REFRESH:
        if (code == BN_CLICKED) OnRefreshClicked();
        break;
    case IDC_MIGRATE:
        if (code == BN_CLICKED) OnMigrateClicked();
        break;
    case IDC_CUT_OPTION:
        if (code == BN_CLICKED) OnCutOptionClicked();
        break;
    case IDC_DESTINATION:
        if (code == STN_DBLCLK) OnDestinationDoubleClicked();
        break;
    case IDCANCEL:  // Esc, through the dialog navigation of the message loop
        DestroyWindow(window);
        break;
    default:
        break;
    }
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        mainWindow = window;
        CreateControls(window, SystemDpi());
        return 0;
    case WM_COMMAND:
        OnCommand(window, LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_APP_CALL:
        (*reinterpret_cast<const std::function<void()>*>(lParam))();
        return 0;
    case WM_APP_ROUTINE:
        reinterpret_cast<void (*)()>(lParam)();
        return 0;
    case WM_APP_ACCOUNT_SELECTED:
        OnAccountSelected();
        return 0;
    case WM_DESTROY:
        mainWindow = nullptr;
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

bool RegisterWindowClass(HINSTANCE instance) {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(kAppIconId));
    windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kAppIconId), IMAGE_ICON,
        GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = MAIN_WINDOW_CLASS;
    return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

HWND MainWindowHandle() {
    return mainWindow;
}

HWND ControlHandle(int id) {
    HWND window = mainWindow;
    return window ? GetDlgItem(window, id) : nullptr;
}

void OnWindowThread(const std::function<void()>& action) {
    HWND window = mainWindow;
    if (window == nullptr) return;
    if (GetCurrentThreadId() == windowThreadId) {
        action();
        return;
    }
    SendMessageW(window, WM_APP_CALL, 0, reinterpret_cast<LPARAM>(&action));
}

bool LoadMainWindow() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    if (!RegisterWindowClass(instance)) return false;
    windowThreadId = GetCurrentThreadId();

    const int dpi = SystemDpi();
    const int width = MulDiv(kWindowWidth, dpi, 96);
    const int height = MulDiv(kWindowHeight, dpi, 96);
    const int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_THICKFRAME;
    HWND window = CreateWindowExW(WS_EX_APPWINDOW, MAIN_WINDOW_CLASS, L"", style, left, top, width, height,
                                  nullptr, nullptr, instance, nullptr);
    if (window == nullptr) return false;

    OnWindowCreated();
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    return true;
}

int RunMessageLoop() {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        HWND window = mainWindow;
        // Gives Tab navigation among the controls and turns Esc into IDCANCEL.
        if (window != nullptr && IsDialogMessageW(window, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
