// Cross-process reads of window and control state.
#include "window_probe.h"

#include <commctrl.h>

namespace {

constexpr UINT kQueryTimeoutMs = 5000;

std::wstring ItemText(HWND control, UINT lengthMessage, UINT textMessage, int index) {
    const LRESULT length = Query(control, lengthMessage, index, 0);
    if (length < 0) return std::wstring();
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied = Query(control, textMessage, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

}  // namespace

LRESULT Query(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT onTimeout) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kQueryTimeoutMs, &result)) {
        return onTimeout;
    }
    return static_cast<LRESULT>(result);
}

std::wstring ClassNameOf(HWND window) {
    wchar_t name[256] = {};
    const int length = GetClassNameW(window, name, 256);
    return std::wstring(name, length > 0 ? length : 0);
}

std::wstring TextOf(HWND window) {
    const LRESULT length = Query(window, WM_GETTEXTLENGTH);
    if (length <= 0) return std::wstring();
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied = Query(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

DWORD StyleOf(HWND window) { return static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)); }
DWORD ExStyleOf(HWND window) { return static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE)); }
bool HasVisibleStyle(HWND window) { return (StyleOf(window) & WS_VISIBLE) != 0; }

Geometry ScreenGeometry(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

Geometry GeometryInParent(HWND child) {
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

std::vector<std::wstring> ListBoxLines(HWND listBox) {
    std::vector<std::wstring> lines;
    const LRESULT count = Query(listBox, LB_GETCOUNT);
    for (int i = 0; i < count; ++i) lines.push_back(ItemText(listBox, LB_GETTEXTLEN, LB_GETTEXT, i));
    return lines;
}

std::vector<std::wstring> ComboEntries(HWND comboBox) {
    std::vector<std::wstring> entries;
    const LRESULT count = Query(comboBox, CB_GETCOUNT);
    for (int i = 0; i < count; ++i) entries.push_back(ItemText(comboBox, CB_GETLBTEXTLEN, CB_GETLBTEXT, i));
    return entries;
}

ProgressState ProgressOf(HWND progressBar) {
    return {static_cast<int>(Query(progressBar, PBM_GETRANGE, TRUE)),
            static_cast<int>(Query(progressBar, PBM_GETRANGE, FALSE)),
            static_cast<int>(Query(progressBar, PBM_GETPOS))};
}

HWND FocusedWindowOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}

int ScreenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

int ScaleFrom96(int value) { return MulDiv(value, ScreenDpi(), 96); }
