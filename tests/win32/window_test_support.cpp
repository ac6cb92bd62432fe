#include "window_test_support.h"

#include <thread>

#include "app/shared_state.h"
#include "app/wide_text_win32.h"
#include "ui/main_window.h"

HWND TestWindow() {
    static HWND window = [] {
        CreateSharedState();
        LoadMainWindow();
        return FindWindowW(L"VideoMigratorMainWindow", nullptr);
    }();
    return window;
}

HWND TestControl(int id) {
    return GetDlgItem(TestWindow(), id);
}

void RunOnOtherThread(const std::function<void()>& work) {
    TestWindow();
    HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread worker([&] {
        work();
        SetEvent(done);
    });
    while (MsgWaitForMultipleObjects(1, &done, FALSE, 10000, QS_ALLINPUT) != WAIT_OBJECT_0) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    worker.join();
    CloseHandle(done);
}

namespace {

struct Search {
    const wchar_t* className;
    std::wstring title;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<Search*>(parameter);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    wchar_t className[64] = {};
    GetClassNameW(window, className, 64);
    if (process == GetCurrentProcessId() && wcscmp(className, search->className) == 0 &&
        WindowTextOf(window) == ToUtf8(search->title) && IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND WaitForTopLevelWindow(const wchar_t* className, const Text& title, int timeoutMs) {
    Search search{className, ToWide(title), nullptr};
    for (int waited = 0; waited < timeoutMs && search.found == nullptr; waited += 20) {
        EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found == nullptr) Sleep(20);
    }
    return search.found;
}

HWND WaitForOwnedDialog(HWND owner, int timeoutMs) {
    struct Owned {
        HWND owner;
        HWND found;
    } owned{owner, nullptr};
    for (int waited = 0; waited < timeoutMs && owned.found == nullptr; waited += 20) {
        EnumWindows([](HWND window, LPARAM parameter) -> BOOL {
            auto* search = reinterpret_cast<Owned*>(parameter);
            wchar_t className[64] = {};
            GetClassNameW(window, className, 64);
            if (GetWindow(window, GW_OWNER) == search->owner && wcscmp(className, L"#32770") == 0 &&
                IsWindowVisible(window)) {
                search->found = window;
                return FALSE;
            }
            return TRUE;
        }, reinterpret_cast<LPARAM>(&owned));
        if (owned.found == nullptr) Sleep(20);
    }
    return owned.found;
}

Text WindowTextOf(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    GetWindowTextW(window, text.data(), length + 1);
    return ToUtf8(text.c_str());
}
