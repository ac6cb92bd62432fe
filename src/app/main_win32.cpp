// Start-up and shut-down of the program.
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>

#include "app/shared_state.h"
#include "app/wide_text_win32.h"
#include "ui/main_window.h"
#include "ui/window_ops.h"

namespace {

void MakeRunDirectoryCurrent() {
    Text folder = RunDirectory();
    // "C:" alone names the drive's current folder, not its root.
    if (!folder.empty() && folder.back() == ':') folder += '\\';
    SetCurrentDirectoryW(ToWide(folder).c_str());
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    MakeRunDirectoryCurrent();

    CreateSharedState();
    std::atexit(ReleaseSharedState);

    if (!LoadMainWindow()) return 1;
    const int exitCode = RunMessageLoop();

    // A migration still running is not waited for. Ending the process here
    // stops it before anything it uses is released: the clean-up and the
    // run-time's own shut-down would otherwise race with it.
    if (RunningWorkerCount() > 0) TerminateProcess(GetCurrentProcess(), static_cast<UINT>(exitCode));
    return exitCode;
}
