// The window operations on the real controls of the main window.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "app/wide_text_win32.h"
#include "ui/control_ids.h"
#include "ui/window_ops.h"
#include "window_test_support.h"

namespace {

int ProgressHigh() {
    return static_cast<int>(SendMessageW(TestControl(IDC_PROGRESS), PBM_GETRANGE, FALSE, 0));
}

int ProgressPos() {
    return static_cast<int>(SendMessageW(TestControl(IDC_PROGRESS), PBM_GETPOS, 0, 0));
}

Text ListLine(int index) {
    HWND list = TestControl(IDC_VIDEO_LIST);
    const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, index, 0);
    std::wstring line(static_cast<size_t>(length) + 1, L'\0');
    SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(line.data()));
    return ToUtf8(line.c_str());
}

int ListCount() {
    return static_cast<int>(SendMessageW(TestControl(IDC_VIDEO_LIST), LB_GETCOUNT, 0, 0));
}

void FillLines(int count) {
    ClearLines();
    for (int i = 0; i < count; ++i) AddLine("line" + std::to_string(i));
}

}  // namespace

TEST(ProgressBar, MaximumAndPositionAreClamped) {
    struct Case {
        int maximum, position;
        int expectedHigh, expectedPos;
    };
    const Case cases[] = {
        {100, 50, 100, 50},       {-5, 10, 0, 0},          {0, 0, 0, 0},
        {32767, 32767, 32767, 32767}, {40000, 40000, 32767, 32767}, {50, 70, 50, 50},
        {50, -3, 50, 0},          {33000, 32000, 32767, 32000},
    };
    for (const Case& c : cases) {
        SetProgressMaximum(c.maximum);
        SetProgressPosition(c.position);
        EXPECT_EQ(ProgressHigh(), c.expectedHigh) << "maximum " << c.maximum;
        EXPECT_EQ(ProgressPos(), c.expectedPos) << "maximum " << c.maximum << " position " << c.position;
    }
}

TEST(ProgressBar, ShowAndHide) {
    ShowProgress(true);
    EXPECT_TRUE(IsWindowVisible(TestControl(IDC_PROGRESS)));
    ShowProgress(false);
    EXPECT_FALSE(IsWindowVisible(TestControl(IDC_PROGRESS)));
}

TEST(ListBox, AddLineReturnsIndexFromZero) {
    ClearLines();
    EXPECT_EQ(AddLine("a.mp4|2018-11"), 0);
    EXPECT_EQ(AddLine("b.mp4|2019-01"), 1);
    EXPECT_EQ(ListLine(1), "b.mp4|2019-01");
    ClearLines();
    EXPECT_EQ(ListCount(), 0);
}

TEST(ListBox, SetLineTextOutsideTheListOrToTheSameTextDoesNothing) {
    FillLines(3);
    HWND list = TestControl(IDC_VIDEO_LIST);
    // Item data survives only when the line is not replaced.
    SendMessageW(list, LB_SETITEMDATA, 1, 4242);
    SetLineText(5, "x");
    SetLineText(3, "x");
    SetLineText(-1, "x");
    SetLineText(1, "line1");
    EXPECT_EQ(ListCount(), 3);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(ListLine(i), "line" + std::to_string(i));
    EXPECT_EQ(SendMessageW(list, LB_GETITEMDATA, 1, 0), 4242);
}

TEST(ListBox, ReplacingALineKeepsSelectionTopLineAndCaret) {
    FillLines(60);
    HWND list = TestControl(IDC_VIDEO_LIST);
    SendMessageW(list, LB_SETCURSEL, 25, 0);
    SendMessageW(list, LB_SETTOPINDEX, 20, 0);
    const LRESULT top = SendMessageW(list, LB_GETTOPINDEX, 0, 0);
    const LRESULT caret = SendMessageW(list, LB_GETCARETINDEX, 0, 0);
    for (int index : {25, 20, 0, 59}) {
        SetLineText(index, "clip.mp4|2018-11|已复制");
        EXPECT_EQ(ListLine(index), "clip.mp4|2018-11|已复制");
        EXPECT_EQ(ListCount(), 60);
        EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 25) << "after line " << index;
        EXPECT_EQ(SendMessageW(list, LB_GETTOPINDEX, 0, 0), top) << "after line " << index;
        EXPECT_EQ(SendMessageW(list, LB_GETCARETINDEX, 0, 0), caret) << "after line " << index;
    }
}

TEST(AccountList, SelectionRulesAndEntriesOutsideTheList) {
    HWND combo = TestControl(IDC_ACCOUNTS);
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    EXPECT_EQ(AccountText(0), "");
    EXPECT_EQ(SelectedAccount(), -1);
    SelectAccount(0);
    EXPECT_EQ(SelectedAccount(), -1);

    for (const char* name : {"acct1", "acct2", "帐号三"}) AddAccount(name);
    struct Case {
        int requested, expected;
    };
    for (const Case& c : {Case{0, 0}, Case{2, 2}, Case{7, 2}, Case{-1, -1}, Case{1, 1}, Case{-9, -1}}) {
        SelectAccount(c.requested);
        EXPECT_EQ(SelectedAccount(), c.expected) << "requested " << c.requested;
    }
    EXPECT_EQ(AccountText(2), "帐号三");
    EXPECT_EQ(AccountText(3), "");
    EXPECT_EQ(AccountText(-1), "");
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
}

TEST(DestinationLabel, CaptionWithAmpersandIsReadBackUnchanged) {
    for (const char* caption : {"D:\\A&B\\", "D:\\A&&B 视频\\", "双击此处选择存储位置"}) {
        SetDestinationCaption(caption);
        EXPECT_EQ(DestinationCaption(), caption);
    }
}

TEST(CutOption, TickAndUntick) {
    SetCutOptionTicked(true);
    EXPECT_TRUE(IsCutOptionTicked());
    EXPECT_EQ(SendMessageW(TestControl(IDC_CUT_OPTION), BM_GETCHECK, 0, 0), BST_CHECKED);
    SetCutOptionTicked(false);
    EXPECT_FALSE(IsCutOptionTicked());
}

TEST(WorkerThread, ChangesHaveTakenEffectWhenTheCallReturns) {
    ClearLines();
    SetCutOptionTicked(false);
    RunOnOtherThread([] {
        for (int i = 0; i < 20; ++i) {
            const int index = AddLine("w" + std::to_string(i));
            EXPECT_EQ(index, i);
            EXPECT_EQ(ListCount(), i + 1);
            SetLineText(index, "w" + std::to_string(i) + "|已复制");
            EXPECT_EQ(ListLine(index), "w" + std::to_string(i) + "|已复制");
        }
        SetDestinationCaption("E:\\备份\\");
        EXPECT_EQ(DestinationCaption(), "E:\\备份\\");
        SetCutOptionTicked(true);
        EXPECT_TRUE(IsCutOptionTicked());
        SetProgressMaximum(20);
        SetProgressPosition(7);
        EXPECT_EQ(ProgressPos(), 7);
    });
    EXPECT_EQ(ListCount(), 20);
    SetCutOptionTicked(false);
}

TEST(RunDirectoryTest, IsTheFolderOfTheProgramWithoutTrailingBackslash) {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    Text program = ToUtf8(path);
    EXPECT_EQ(RunDirectory(), program.substr(0, program.rfind('\\')));
    EXPECT_NE(RunDirectory().back(), '\\');
}
