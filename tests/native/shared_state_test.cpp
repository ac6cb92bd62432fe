#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "app/shared_state.h"
#include "fake_fs.h"
#include "fake_ui.h"
#include "migration/handlers.h"
#include "world.h"

TEST(ExitCleanUp, LeavesTheStateToARunningWorkerAndReleasesItOtherwise) {
    ResetWorld();
    for (int i = 0; i < 3; ++i) AddVideo("acct1", "v" + std::to_string(i) + ".mp4", kNov2018);
    fakefs::AddFolder("D:\\Backup");
    OpenWindow();
    SetDestinationCaption("D:\\Backup\\");

    std::atomic<bool> cleanedUp{false};
    fakeui::SetLineAddedHook([&](int index, const Text&) {
        if (index != 0) return;
        // The window closes while the worker is inside its run.
        ReleaseSharedState();
        cleanedUp = true;
    });
    OnMigrateClicked();
    fakeui::WaitForWorkers();
    ASSERT_TRUE(cleanedUp);
    // The worker went on with the state it was using (ASan would object otherwise).
    EXPECT_EQ(Shared().videoFiles.size(), 3u);
    EXPECT_EQ(fakeui::Lines().back(), "v2.mp4|2018-11|已复制");

    // With no worker left the clean-up releases everything.
    ReleaseSharedState();
    CreateSharedState();
    EXPECT_TRUE(Shared().videoFiles.empty());
    EXPECT_TRUE(Shared().videoFolder.empty());
    EXPECT_TRUE(Shared().accountFolders.empty());
}
