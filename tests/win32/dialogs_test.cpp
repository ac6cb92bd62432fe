// Message boxes and the folder picker on the real system dialogs.
#include <windows.h>

#include <gtest/gtest.h>

#include <thread>

#include "ui/window_ops.h"
#include "window_test_support.h"

namespace {

bool HasVisibleIcon(HWND box) {
    bool found = false;
    EnumChildWindows(box, [](HWND child, LPARAM parameter) -> BOOL {
        const LONG style = GetWindowLongW(child, GWL_STYLE);
        if ((style & SS_TYPEMASK) == SS_ICON && IsWindowVisible(child) &&
            SendMessageW(child, STM_GETICON, 0, 0) != 0) {
            *reinterpret_cast<bool*>(parameter) = true;
        }
        return TRUE;
    }, reinterpret_cast<LPARAM>(&found));
    return found;
}

}  // namespace

TEST(ShowMessageTest, DefaultCaptionNoOwnerNoIconAndClosingIsCancel) {
    MessageResult result = MessageResult::Ok;
    HWND main = TestWindow();
    std::thread closer([&] {
        HWND box = WaitForTopLevelWindow(L"#32770", "信息：");
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr);
        EXPECT_FALSE(HasVisibleIcon(box));
        // A worker's box leaves the main window usable.
        EXPECT_TRUE(IsWindowEnabled(main));
        PostMessageW(box, WM_CLOSE, 0, 0);
    });
    RunOnOtherThread([&] { result = ShowMessage("暂无视频迁移...", ButtonSet::OkCancel); });
    closer.join();
    EXPECT_EQ(result, MessageResult::Cancel);
}

TEST(ShowMessageTest, OkAnswerAndOwnCaption) {
    MessageResult result = MessageResult::Cancel;
    std::thread answerer([&] {
        HWND box = WaitForTopLevelWindow(L"#32770", "确认操作");
        ASSERT_NE(box, nullptr);
        PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    });
    RunOnOtherThread([&] { result = ShowMessage("是否确认？", ButtonSet::OkCancel, "确认操作"); });
    answerer.join();
    EXPECT_EQ(result, MessageResult::Ok);
}

TEST(ShowMessageTest, BoxOnTheWindowThreadBlocksTheWindow) {
    HWND main = TestWindow();
    bool enabledDuringBox = true;
    std::thread closer([&] {
        HWND box = WaitForTopLevelWindow(L"#32770", "迁移完成");
        ASSERT_NE(box, nullptr);
        enabledDuringBox = IsWindowEnabled(main) != FALSE;
        PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    });
    EXPECT_EQ(ShowMessage("共迁移视频文件 【2】", ButtonSet::OkOnly, "迁移完成"), MessageResult::Ok);
    closer.join();
    EXPECT_FALSE(enabledDuringBox);
    EXPECT_TRUE(IsWindowEnabled(main));
}

TEST(PickFolderTest, DisablesTheWindowAndCancelGivesEmptyText) {
    HWND main = TestWindow();
    bool enabledDuringPicker = true;
    std::thread canceller([&] {
        HWND picker = WaitForOwnedDialog(main);
        ASSERT_NE(picker, nullptr);
        enabledDuringPicker = IsWindowEnabled(main) != FALSE;
        PostMessageW(picker, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(PickFolder("选择要报文视频的文件位置"), "");
    canceller.join();
    EXPECT_FALSE(enabledDuringPicker);
    EXPECT_TRUE(IsWindowEnabled(main));
}
