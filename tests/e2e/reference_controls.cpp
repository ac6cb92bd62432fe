// Builds controls in the driver's own process to compare the program's with.
#include "reference_controls.h"

#include "screenshot.h"
#include "window_probe.h"

namespace {

constexpr wchar_t kHostClass[] = L"E2EReferenceHost";

HWND CreateHost(int width, int height, bool visible) {
    static const ATOM registered = [] {
        WNDCLASSEXW host{};
        host.cbSize = sizeof(host);
        host.lpfnWndProc = DefWindowProcW;
        host.hInstance = GetModuleHandleW(nullptr);
        host.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        host.lpszClassName = kHostClass;
        return RegisterClassExW(&host);
    }();
    (void)registered;
    return CreateWindowExW(WS_EX_TOOLWINDOW, kHostClass, L"", WS_POPUP | (visible ? WS_VISIBLE : 0), 0, 0, width,
                           height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

HWND CreateFontedChild(HWND parent, const wchar_t* className, DWORD style, DWORD exStyle, int width, int height,
                       const wchar_t* text = L"") {
    HWND child = CreateWindowExW(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, 0, 0, width, height, parent,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return child;
}

}  // namespace

ReferenceMeasures MeasureReferenceControls() {
    HWND host = CreateHost(500, 500, false);
    HWND list = CreateFontedChild(host, L"ListBox", LBS_NOINTEGRALHEIGHT | WS_VSCROLL, 0, ScaleFrom96(424),
                                  ScaleFrom96(280));
    HWND combo = CreateFontedChild(host, L"ComboBox", CBS_DROPDOWNLIST | WS_VSCROLL, 0, ScaleFrom96(96),
                                   ScaleFrom96(160));
    ReferenceMeasures measures{};
    measures.listBoxItemHeight = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
    measures.comboItemHeight = static_cast<int>(SendMessageW(combo, CB_GETITEMHEIGHT, 0, 0));
    measures.comboFieldItemHeight = static_cast<int>(SendMessageW(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
    measures.comboFieldHeight = ScreenGeometry(combo).height;
    RECT dropped{};
    SendMessageW(combo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
    measures.comboDroppedHeight = dropped.bottom - dropped.top;
    DestroyWindow(host);
    return measures;
}

RgbImage RenderReferenceControl(const wchar_t* className, DWORD style, DWORD exStyle, int width, int height,
                                const wchar_t* text) {
    HWND host = CreateHost(width, height, true);
    HWND control = CreateFontedChild(host, className, style, exStyle, width, height, text);
    SetWindowPos(host, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    UpdateWindow(host);
    const RgbImage picture = CaptureStableArea(ScreenGeometry(control));
    DestroyWindow(host);
    return picture;
}
