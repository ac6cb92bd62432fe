// The migrate button and the worker that copies or moves every video into a
// folder named after its month.
#include "migration/migration_run.h"

#include <string>

#include "app/shared_state.h"
#include "fs/file_ops.h"
#include "fs/file_times.h"
#include "fs/folder_listing.h"
#include "migration/activity.h"
#include "migration/destination.h"
#include "migration/handlers.h"
#include "ui/window_ops.h"

namespace {

// The video folder as it was when the run started; written on the window's
// thread only while no run is going on.
Text runFolder;

// Asks for the run directory when no destination was chosen; false when the
// user declines.
bool SettleDestination() {
    if (DestinationCaption() != kDestinationPrompt) return true;
    const Text question = "不选择迁移视频保存位置将直接迁移至程序运行目录\r\n当前运行目录【" + RunDirectory() +
                          "\\】 确认继续？";
    if (ShowMessage(question, ButtonSet::OkCancel, "异常提醒") == MessageResult::Cancel) return false;
    SetDestinationCaption(RunDirectory() + "\\");
    return true;
}

int MigrateOne(const Text& source, const Text& target) {
    return IsCutConfirmed() ? MoveFileTo(source, target) : CopyFileOver(source, target);
}

void RunFinished() {
    EndActivity();
}

}  // namespace

void OnMigrateClicked() {
    // The open question already stands for the click that raised it.
    static bool asking = false;
    if (asking) return;
    asking = true;
    const bool settled = SettleDestination();
    asking = false;
    if (!settled) return;

    // A click during a run is kept and served once the run has ended.
    if (BeginOrQueue(Activity::Migration)) StartMigrationRun();
}

void StartMigrationRun() {
    runFolder = Shared().videoFolder;
    StartWorker(RunMigration);
}

void RunMigration() {
    SharedState& state = Shared();
    ClearLines();
    const Text destination = DestinationCaption();
    const int count = ListFiles(runFolder, "*.mp4", state.videoFiles);
    SetProgressMaximum(count);
    if (count <= 0) {
        ShowMessage("暂无视频迁移...", ButtonSet::OkOnly);
        RunOnWindowThread(RunFinished);
        return;
    }

    ShowProgress(true);
    Text month;
    for (int i = 1; i <= count; ++i) {
        const Text& name = state.videoFiles[static_cast<size_t>(i - 1)];
        const Text source = runFolder + "\\" + name;
        Text lastWrite, lastAccess;
        GetFileTimeTexts(source, month, lastWrite, lastAccess);
        month = month.substr(0, 7);
        const Text monthFolder = destination + month;
        const Text line = name + "|" + month;
        const int index = AddLine(line);
        if (!FolderExists(monthFolder)) CreateFolder(monthFolder);
        const int ok = MigrateOne(source, monthFolder + "\\" + name);
        SetLineText(index, line + (ok == 1 ? "|已复制" : "|失败"));
        SetProgressPosition(i);
    }
    ShowProgress(false);
    ShowMessage("共迁移视频文件 【" + std::to_string(count) + "】", ButtonSet::OkOnly, "迁移完成");
    RunOnWindowThread(RunFinished);
}
