// A run without a chosen destination: the program asks whether to use its
// run directory (the folder of VideoMigrator.exe, beside the driver).
#include <windows.h>

#include <gtest/gtest.h>

#include "driven_program.h"
#include "fixture.h"
#include "migration_driving.h"
#include "process.h"
#include "program_at_start.h"
#include "program_dialogs.h"
#include "scratch_files.h"
#include "ui/control_ids.h"
#include "window_probe.h"

namespace {

const wchar_t kPrompt[] = L"双击此处选择存储位置";
// A month nothing else in the run directory is named after.
const SYSTEMTIME kCreated = LocalTime(2016, 3, 7, 8, 9, 10);

// Removes the month folder a run put into the run directory.
class RunDirectoryMonth {
public:
    RunDirectoryMonth() : path_(DriverFolder() + L"\\" + MonthOf(kCreated)) {}
    ~RunDirectoryMonth() { RemoveTree(path_); }
    const std::wstring& path() const { return path_; }

private:
    std::wstring path_;
};

class NoDestination : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(PathExists(month_.path())) << Narrow(month_.path()) << " exists before the run";
        ASSERT_TRUE(tree_.ok()) << Narrow(tree_.error());
        std::wstring error;
        ASSERT_TRUE(program_.Start(&error)) << Narrow(error);
        ASSERT_EQ(program_.Destination(), kPrompt);
    }
    // Clicks migrate and checks the question while it is open.
    MessageBoxSeen Ask() {
        EXPECT_TRUE(program_.Click(IDC_MIGRATE));
        const MessageBoxSeen box = WaitForMessageBox(program_.Id());
        EXPECT_NE(box.window, nullptr) << "no question";
        if (!box.window) return box;
        EXPECT_EQ(box.caption, L"异常提醒");
        EXPECT_EQ(box.text, L"不选择迁移视频保存位置将直接迁移至程序运行目录\r\n当前运行目录【" + DriverFolder() +
                                L"\\】 确认继续？");
        EXPECT_NE(GetDlgItem(box.window, IDCANCEL), nullptr);
        // Asked on the window's thread, so the window is blocked meanwhile.
        EXPECT_FALSE(IsWindowEnabled(program_.Window()));
        return box;
    }
    RunDirectoryMonth month_;
    AccountsTree tree_{{Account(L"acct1", {VideoFile(L"clip.mp4", kCreated, "clip bytes")})}};
    DrivenProgram program_;
};

TEST_F(NoDestination, CancelStartsNothing) {
    const MessageBoxSeen box = Ask();
    ASSERT_NE(box.window, nullptr);
    ASSERT_TRUE(PressDialogButton(box.window, IDCANCEL));
    ASSERT_TRUE(program_.WaitForPostedMessages());
    EXPECT_EQ(program_.Destination(), kPrompt);
    // A run would clear the list, add its line and end with a message.
    EXPECT_FALSE(WaitUntil([&] { return !program_.Lines().empty() || HasMessageBox(program_.Id()); }, 1500));
    EXPECT_FALSE(PathExists(month_.path()));
    EXPECT_TRUE(IsWindowEnabled(program_.Window()));
}

TEST_F(NoDestination, OkMigratesIntoTheRunDirectoryAndKeepsItAsTheCaption) {
    const MessageBoxSeen question = Ask();
    ASSERT_NE(question.window, nullptr);
    ASSERT_TRUE(PressDialogButton(question.window, IDOK));
    const MessageBoxSeen box = WaitForMessageBox(program_.Id(), 60000);
    ASSERT_NE(box.window, nullptr) << "no final message";
    EXPECT_EQ(box.caption, L"迁移完成");
    EXPECT_EQ(box.text, L"共迁移视频文件 【1】");
    EXPECT_EQ(program_.Destination(), DriverFolder() + L"\\");
    EXPECT_EQ(program_.Lines(), std::vector<std::wstring>{L"clip.mp4|2016-03|已复制"});
    EXPECT_EQ(ReadBytes(month_.path() + L"\\clip.mp4").value_or(""), "clip bytes");
    ASSERT_TRUE(PressDialogButton(box.window, IDOK));

    // The caption now names a destination: the next run asks nothing.
    const MessageBoxSeen again = RunToFinalBox(program_);
    ASSERT_NE(again.window, nullptr);
    EXPECT_EQ(again.caption, L"迁移完成");
}

}  // namespace
