#include "program_session.h"

#include <psapi.h>

#include "ui/control_ids.h"
#include "window_probe.h"

namespace {

constexpr DWORD kCountPollMs = 20;
// Looking for a top-level window does not disturb the program's threads, so
// it can be polled often for a sharper end time.
constexpr DWORD kBoxPollMs = 2;
constexpr double kRunTimeoutSeconds = 1800;

struct BoxSearch {
    DWORD processId;
    const wchar_t* caption;
    HWND found;
};

BOOL CALLBACK MatchBox(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<BoxSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !IsWindowVisible(window) || ClassNameOf(window) != L"#32770") return TRUE;
    wchar_t caption[256] = {};
    GetWindowTextW(window, caption, 256);
    if (std::wstring(caption) != search->caption) return TRUE;
    search->found = window;
    return FALSE;
}

// The visible message box of the process with this caption, or null.
HWND FindBox(DWORD processId, const wchar_t* caption) {
    // FindWindowW is a cheap first test; the walk makes sure the box is the program's.
    if (!FindWindowW(L"#32770", caption)) return nullptr;
    BoxSearch search{processId, caption, nullptr};
    EnumWindows(MatchBox, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

BOOL CALLBACK CollectStaticText(HWND child, LPARAM param) {
    if (ClassNameOf(child) == L"Static") {
        const std::wstring text = TextOf(child);
        if (!text.empty()) *reinterpret_cast<std::wstring*>(param) += text;
    }
    return TRUE;
}

std::wstring BoxText(HWND box) {
    std::wstring text;
    EnumChildWindows(box, CollectStaticText, reinterpret_cast<LPARAM>(&text));
    return text;
}

bool AnswerOk(HWND box) {
    HWND ok = GetDlgItem(box, IDOK);
    if (!ok) return false;
    PostMessageW(ok, BM_CLICK, 0, 0);
    return WaitUntil([&] { return !IsWindow(box) || !IsWindowVisible(box); }, 10000);
}

}  // namespace

bool ProgramSession::Start(std::wstring* error) {
    window_ = StartAndFindWindow(process_, error);
    if (!window_) return false;
    // The account list is filled while the window is created; the fixture has one account.
    if (!WaitUntil([&] { return Query(Control(IDC_ACCOUNTS), CB_GETCOUNT) >= 1; }, 20000)) {
        if (error) *error = L"the account list stayed empty";
        return false;
    }
    return true;
}

bool ProgramSession::SetDestination(const std::wstring& folder) {
    std::wstring caption = folder;
    if (caption.empty() || caption.back() != L'\\') caption += L'\\';
    HWND label = Control(IDC_DESTINATION);
    Query(label, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(caption.c_str()));
    return TextOf(label) == caption;
}

bool ProgramSession::TickCutOption(std::wstring* error) {
    HWND option = Control(IDC_CUT_OPTION);
    PostMessageW(option, BM_CLICK, 0, 0);
    HWND box = nullptr;
    if (!WaitUntil([&] { return (box = FindBox(process_.Id(), L"确认操作")) != nullptr; }, 10000)) {
        if (error) *error = L"no cut confirmation appeared";
        return false;
    }
    if (!AnswerOk(box) || !WaitUntil([&] { return Query(option, BM_GETCHECK) == BST_CHECKED; }, 5000)) {
        if (error) *error = L"the cut option did not stay ticked";
        return false;
    }
    return true;
}

TimedRun ProgramSession::Refresh(int expectedLines) {
    TimedRun run;
    HWND list = Control(IDC_VIDEO_LIST);
    LatencyProbe probe(window_);
    probe.Start();
    const double start = Now();
    PostMessageW(Control(IDC_REFRESH), BM_CLICK, 0, 0);
    for (;;) {
        // A short timeout: a count that cannot be read now is read next time.
        DWORD_PTR count = 0;
        if (SendMessageTimeoutW(list, LB_GETCOUNT, 0, 0, SMTO_NORMAL, 1000, &count) &&
            static_cast<int>(count) >= expectedLines) {
            run.seconds = Now() - start;
            run.ok = static_cast<int>(count) == expectedLines;
            if (!run.ok) run.error = L"the list holds " + std::to_wstring(count) + L" lines";
            break;
        }
        if (Now() - start > kRunTimeoutSeconds || !process_.IsRunning()) {
            run.error = L"the list never held all lines";
            break;
        }
        Sleep(kCountPollMs);
    }
    run.latency = probe.Stop();
    return run;
}

TimedRun ProgramSession::Migrate(int expectedFiles) {
    TimedRun run;
    LatencyProbe probe(window_);
    probe.Start();
    const double start = Now();
    PostMessageW(Control(IDC_MIGRATE), BM_CLICK, 0, 0);
    HWND box = nullptr;
    for (;;) {
        box = FindBox(process_.Id(), L"迁移完成");
        if (box) {
            run.seconds = Now() - start;
            break;
        }
        if (Now() - start > kRunTimeoutSeconds || !process_.IsRunning()) {
            run.error = L"no final message box appeared";
            break;
        }
        Sleep(kBoxPollMs);
    }
    run.latency = probe.Stop();
    if (!box) return run;
    const std::wstring expected = L"共迁移视频文件 【" + std::to_wstring(expectedFiles) + L"】";
    // The box may show before its text is read back.
    std::wstring text;
    WaitUntil([&] { return (text = BoxText(box)) == expected; }, 5000);
    if (text != expected) run.error = L"the final box says \"" + text + L"\"";
    if (!AnswerOk(box) && run.error.empty()) run.error = L"the final box did not close";
    run.ok = run.error.empty();
    return run;
}

int ProgramSession::LineCount() const {
    return static_cast<int>(Query(Control(IDC_VIDEO_LIST), LB_GETCOUNT));
}

std::wstring ProgramSession::Line(int index) const {
    HWND list = Control(IDC_VIDEO_LIST);
    const LRESULT length = Query(list, LB_GETTEXTLEN, index);
    if (length < 0) return std::wstring();
    std::wstring line(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied = Query(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(line.data()));
    line.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return line;
}

SIZE_T ProgramSession::PeakWorkingSet() const {
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, process_.Id());
    if (!process) return 0;
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    const SIZE_T peak = GetProcessMemoryInfo(process, &counters, sizeof(counters)) ? counters.PeakWorkingSetSize : 0;
    CloseHandle(process);
    return peak;
}

void ProgramSession::Close() {
    if (window_ && IsWindow(window_)) PostMessageW(window_, WM_CLOSE, 0, 0);
    if (!process_.WaitForExit(30000)) process_.Kill();
    window_ = nullptr;
}
