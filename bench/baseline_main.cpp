// The baselines: bare loops of the Windows calls the program makes, over the
// same files, timed with the performance counter.
//   bench_baseline enumerate FOLDER shown|hidden
//                                          list *.mp4 into a list box of its own
//   bench_baseline copy FOLDER TARGET      CopyFileW of every *.mp4
//   bench_baseline move FOLDER TARGET      MoveFileW of every *.mp4
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

double Now() {
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

SIZE_T OwnPeakWorkingSet() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    return GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters)) ? counters.PeakWorkingSetSize : 0;
}

std::vector<std::wstring> VideoNames(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW((folder + L"\\*.mp4").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(entry.cFileName);
    } while (FindNextFileW(search, &entry));
    FindClose(search);
    return names;
}

// A window shaped like the program's, holding a list box of the same class,
// style, size and font.
HWND MakeListWindow(bool shown) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"BenchBaselineWindow";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(WS_EX_APPWINDOW, windowClass.lpszClassName, L"baseline",
                                  WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, 100, 100, 473, 487,
                                  nullptr, nullptr, windowClass.hInstance, nullptr);
    HWND list = CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"",
                                WS_CHILD | WS_VISIBLE | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP,
                                21, 96, 424, 280, window, nullptr, windowClass.hInstance, nullptr);
    SendMessageW(list, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    if (shown) {
        ShowWindow(window, SW_SHOWNORMAL);
        UpdateWindow(window);
    }
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    return list;
}

// "name|yyyy-MM-dd HH:mm:ss", the line the program shows, from the search entry.
std::wstring LineOf(const WIN32_FIND_DATAW& entry) {
    FILETIME local{};
    SYSTEMTIME parts{};
    FileTimeToLocalFileTime(&entry.ftCreationTime, &local);
    FileTimeToSystemTime(&local, &parts);
    wchar_t stamp[32];
    std::swprintf(stamp, 32, L"|%04u-%02u-%02u %02u:%02u:%02u", parts.wYear, parts.wMonth, parts.wDay, parts.wHour,
                  parts.wMinute, parts.wSecond);
    return entry.cFileName + std::wstring(stamp);
}

// A shown list box repaints its scroll bar on every line; hidden, the loop
// costs only the calls themselves.
int Enumerate(const std::wstring& folder, bool shown) {
    HWND list = MakeListWindow(shown);
    const double start = Now();
    int count = 0;
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW((folder + L"\\*.mp4").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
            SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(LineOf(entry).c_str()));
            ++count;
        } while (FindNextFileW(search, &entry));
        FindClose(search);
    }
    const double seconds = Now() - start;
    const int lines = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    std::wprintf(L"seconds=%.4f\ncount=%d\nlines=%d\npeak_bytes=%zu\n", seconds, count, lines,
                 static_cast<size_t>(OwnPeakWorkingSet()));
    return lines == count ? 0 : 1;
}

int Transfer(const std::wstring& folder, const std::wstring& target, bool move) {
    const double start = Now();
    const std::vector<std::wstring> names = VideoNames(folder);
    int failed = 0;
    for (const std::wstring& name : names) {
        const std::wstring from = folder + L"\\" + name;
        const std::wstring to = target + L"\\" + name;
        const BOOL ok = move ? MoveFileW(from.c_str(), to.c_str()) : CopyFileW(from.c_str(), to.c_str(), FALSE);
        if (!ok) ++failed;
    }
    const double seconds = Now() - start;
    std::wprintf(L"seconds=%.4f\ncount=%zu\nfailed=%d\n", seconds, names.size(), failed);
    return failed == 0 ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const std::wstring command = argc > 1 ? argv[1] : L"";
    if (command == L"enumerate" && argc == 4) return Enumerate(argv[2], std::wstring(argv[3]) == L"shown");
    if ((command == L"copy" || command == L"move") && argc == 4) return Transfer(argv[2], argv[3], command == L"move");
    std::fwprintf(stderr, L"usage: bench_baseline enumerate FOLDER shown|hidden | copy FOLDER TARGET | move FOLDER TARGET\n");
    return 2;
}
