// The destination label and the real folder picker: the chosen folder becomes
// the caption, the window is blocked while the picker is open, and cancelling
// keeps what the caption held.
#include <windows.h>

#include <gtest/gtest.h>

#include "driven_program.h"
#include "fixture.h"
#include "folder_picker.h"
#include "program_at_start.h"
#include "program_dialogs.h"
#include "scratch_files.h"
#include "ui/control_ids.h"
#include "window_probe.h"

namespace {

const wchar_t kPrompt[] = L"双击此处选择存储位置";
const wchar_t kPickerTitle[] = L"选择要报文视频的文件位置";

BOOL CALLBACK FindText(HWND child, LPARAM param) {
    auto* wanted = reinterpret_cast<std::pair<const wchar_t*, bool>*>(param);
    if (TextOf(child) == wanted->first) {
        wanted->second = true;
        return FALSE;
    }
    return TRUE;
}

bool ShowsText(HWND dialog, const wchar_t* text) {
    std::pair<const wchar_t*, bool> wanted{text, false};
    EnumChildWindows(dialog, FindText, reinterpret_cast<LPARAM>(&wanted));
    return wanted.second;
}

class Destination : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(tree_.ok()) << Narrow(tree_.error());
        ASSERT_TRUE(scratch_.ok()) << Narrow(scratch_.path());
        std::wstring error;
        ASSERT_TRUE(program_.Start(&error)) << Narrow(error);
    }
    HWND OpenPicker() {
        EXPECT_TRUE(program_.DoubleClickDestination());
        return WaitForFolderPicker(program_.Id());
    }
    AccountsTree tree_{{Account(L"acct1", {})}};
    ScratchFolder scratch_{L"C:", L"dest"};
    DrivenProgram program_;
};

struct FolderCase {
    const char* name;
    const wchar_t* folder;  // below the scratch folder
};

void PrintTo(const FolderCase& row, std::ostream* out) { *out << row.name; }

class ChosenDestination : public Destination, public testing::WithParamInterface<FolderCase> {};

TEST_P(ChosenDestination, PickerBlocksTheWindowAndTheFolderBecomesTheCaption) {
    const std::wstring folder = scratch_.path() + L"\\" + GetParam().folder;
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    HWND picker = OpenPicker();
    ASSERT_NE(picker, nullptr) << "no folder picker appeared";
    const std::wstring children = DescribeChildren(picker);
    RecordProperty("picker_children", Narrow(children));
    EXPECT_TRUE(ShowsText(picker, kPickerTitle)) << "the picker does not show its title";
    EXPECT_FALSE(IsWindowEnabled(program_.Window())) << "the main window is usable while the picker is open";

    std::wstring error;
    ASSERT_TRUE(ChooseFolderInPicker(picker, folder, &error)) << Narrow(error);
    EXPECT_TRUE(WaitUntil([&] { return program_.Destination() == folder + L"\\"; }, 10000))
        << "caption " << Narrow(program_.Destination()) << ", expected " << Narrow(folder) << "\\";
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(program_.Window()) != FALSE; }, 5000));
}

INSTANTIATE_TEST_SUITE_P(Destination, ChosenDestination,
                         testing::Values(FolderCase{"PlainName", L"videos"},
                                         FolderCase{"NameWithAmpersand", L"Tom & Jerry&co"}),
                         [](const testing::TestParamInfo<FolderCase>& info) { return std::string(info.param.name); });

TEST_F(Destination, CancellingThePickerKeepsTheCaption) {
    HWND picker = OpenPicker();
    ASSERT_NE(picker, nullptr);
    ASSERT_TRUE(PressDialogButton(picker, IDCANCEL));
    ASSERT_TRUE(program_.WaitForPostedMessages());
    EXPECT_EQ(program_.Destination(), kPrompt);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(program_.Window()) != FALSE; }, 5000));

    std::wstring error;
    ASSERT_TRUE(program_.ChooseDestination(scratch_.path(), &error)) << Narrow(error);
    picker = OpenPicker();
    ASSERT_NE(picker, nullptr);
    ASSERT_TRUE(PressDialogButton(picker, IDCANCEL));
    ASSERT_TRUE(program_.WaitForPostedMessages());
    EXPECT_EQ(program_.Destination(), scratch_.path() + L"\\");
}

}  // namespace
