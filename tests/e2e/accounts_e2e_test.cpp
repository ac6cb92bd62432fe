// The account list as the program fills it from the accounts folder, and
// choosing another account for the next refresh.
#include <windows.h>

#include <set>

#include <gtest/gtest.h>

#include "driven_program.h"
#include "fixture.h"
#include "linux_side.h"
#include "program_at_start.h"
#include "program_dialogs.h"
#include "scratch_files.h"
#include "ui/control_ids.h"
#include "window_probe.h"

namespace {

const SYSTEMTIME kNovember = LocalTime(2018, 11, 20, 9, 5, 3);
const SYSTEMTIME kJanuary = LocalTime(2019, 1, 2, 23, 59, 58);

int IndexOf(const std::vector<std::wstring>& entries, const std::wstring& name) {
    for (size_t i = 0; i < entries.size(); ++i) {
        if (entries[i] == name) return static_cast<int>(i);
    }
    return -1;
}

TEST(Accounts, ListsTheAccountFoldersInSearchOrderWithoutAllUsersAndHiddenOnes) {
    AccountsTree tree({Account(L"All Users", {}), Account(L"acct1", {}), Account(L"acct2", {}),
                       Account(L".hidden", {})});
    ASSERT_TRUE(tree.ok()) << Narrow(tree.error());
    // The Linux file system keeps both spellings apart, but Wine finds
    // "All Users" when asked to create "all users".
    ASSERT_TRUE(MakeFolderThroughLinux(AccountsRoot(), L"all users")) << "cannot create the folder all users";
    ASSERT_TRUE(WriteBytes(AccountsRoot() + L"\\notes.txt", "not an account"));
    std::vector<std::wstring> expected;
    for (const std::wstring& name : SearchOrder(AccountsRoot(), L"*.*", true)) {
        if (name[0] != L'.' && name != L"All Users") expected.push_back(name);
    }
    ASSERT_EQ(std::set<std::wstring>(expected.begin(), expected.end()),
              (std::set<std::wstring>{L"acct1", L"acct2", L"all users"}));

    DrivenProgram program;
    std::wstring error;
    ASSERT_TRUE(program.Start(&error)) << Narrow(error);
    HWND accounts = program.Control(IDC_ACCOUNTS);
    EXPECT_EQ(ComboEntries(accounts), expected);
    EXPECT_EQ(Query(accounts, CB_GETCURSEL), 0);
}

TEST(Accounts, ChoosingAnotherAccountShowsItsVideosAtTheNextRefresh) {
    AccountsTree tree({Account(L"acct1", {VideoFile(L"one.mp4", kNovember)}),
                       Account(L"acct2", {VideoFile(L"two.mp4", kJanuary)})});
    ASSERT_TRUE(tree.ok()) << Narrow(tree.error());
    DrivenProgram program;
    std::wstring error;
    ASSERT_TRUE(program.Start(&error)) << Narrow(error);
    const std::vector<std::wstring> entries = ComboEntries(program.Control(IDC_ACCOUNTS));
    const int first = IndexOf(entries, L"acct1");
    const int second = IndexOf(entries, L"acct2");
    ASSERT_TRUE(first >= 0 && second >= 0) << "accounts " << entries.size();
    const std::wstring oneLine = L"one.mp4|2018-11-20 09:05:03";
    const std::wstring twoLine = L"two.mp4|2019-01-02 23:59:58";

    ASSERT_TRUE(program.ChooseAccount(first));
    ASSERT_TRUE(program.Click(IDC_REFRESH));
    ASSERT_TRUE(program.WaitForLines({oneLine}));

    ASSERT_TRUE(program.ChooseAccount(second));
    EXPECT_EQ(program.Lines(), std::vector<std::wstring>{oneLine}) << "the list changed before a refresh";
    ASSERT_TRUE(program.Click(IDC_REFRESH));
    EXPECT_TRUE(program.WaitForLines({twoLine})) << "lines: " << program.Lines().size();

    ASSERT_TRUE(program.ChooseAccount(first));
    ASSERT_TRUE(program.Click(IDC_REFRESH));
    EXPECT_TRUE(program.WaitForLines({oneLine}));
    EXPECT_FALSE(HasMessageBox(program.Id()));
}

}  // namespace
