// The refresh button: one line per video of the selected account.
#include <chrono>

#include "app/shared_state.h"
#include "fs/file_times.h"
#include "fs/folder_listing.h"
#include "migration/activity.h"
#include "migration/handlers.h"
#include "ui/window_ops.h"

void OnRefreshClicked() {
    // A refresh while a run or another refresh is under way would replace the
    // list it reads and mix their lines; it waits its turn instead.
    if (!BeginOrQueue(Activity::Refresh)) return;

    SharedState& state = Shared();
    // The listing lets other handlers run; an account chosen meanwhile must not
    // pair these names with another account's folder.
    const Text folder = state.videoFolder;
    ClearLines();
    const int count = ListFiles(folder, "*.mp4", state.videoFiles);
    if (count <= 0) {
        ShowMessage("暂无视频文件...", ButtonSet::OkOnly);
    } else {
        Text creation;
        // Reading thousands of time stamps must not freeze the window either;
        // a few milliseconds between dispatches keeps it answering at little cost.
        constexpr auto kDispatchInterval = std::chrono::milliseconds(5);
        auto lastDispatch = std::chrono::steady_clock::now();
        for (const Text& name : state.videoFiles) {
            Text lastWrite, lastAccess;
            GetFileTimeTexts(folder + "\\" + name, creation, lastWrite, lastAccess);
            if (AddLine(name + "|" + creation) < 0) break;  // the window is gone
            const auto now = std::chrono::steady_clock::now();
            if (now - lastDispatch >= kDispatchInterval) {
                PumpPendingEvents();
                lastDispatch = now;
            }
        }
    }
    EndActivity();
}
