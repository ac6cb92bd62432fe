#include <gtest/gtest.h>

#include "app/shared_state.h"
#include "fake_fs.h"
#include "fake_ui.h"
#include "migration/handlers.h"
#include "world.h"

namespace {

struct AccountsCase {
    const char* title;
    TextList folders;       // created in this order under the accounts root
    TextList files;         // plain files beside them
    TextList offered;       // entries of the account list
    TextList remembered;    // accountFolders
};

class AccountsTest : public testing::TestWithParam<AccountsCase> {};

}  // namespace

TEST_P(AccountsTest, OffersTheAccountFoldersInSearchOrder) {
    ResetWorld();
    const AccountsCase& c = GetParam();
    fakefs::AddFolder(kAccountsRoot);
    for (const Text& folder : c.folders) fakefs::AddFolder(Text(kAccountsRoot) + "\\" + folder);
    for (const Text& file : c.files) fakefs::AddFile(Text(kAccountsRoot) + "\\" + file, "x");

    OpenWindow();

    EXPECT_EQ(fakeui::Accounts(), c.offered);
    EXPECT_EQ(Shared().accountFolders, c.remembered);
    EXPECT_EQ(SelectedAccount(), c.offered.empty() ? -1 : 0);
    const Text first = c.offered.empty() ? Text() : c.offered.front();
    EXPECT_EQ(Shared().videoFolder, Text(kAccountsRoot) + "\\" + first + "\\Video");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AccountsTest,
    testing::Values(
        AccountsCase{"AllUsersLeftOut", {"All Users", "acct1", "acct2"}, {}, {"acct1", "acct2"},
                     {"All Users", "acct1", "acct2"}},
        AccountsCase{"OtherCaseKept", {"all users", "acct1"}, {}, {"all users", "acct1"}, {"all users", "acct1"}},
        AccountsCase{"DotNamesNeverOffered", {".hidden", "wxid_1", ".cache"}, {}, {"wxid_1"}, {"wxid_1"}},
        AccountsCase{"FilesAreNotAccounts", {"acct1"}, {"config.data", "All Users.txt"}, {"acct1"}, {"acct1"}},
        AccountsCase{"ChineseName", {"微信用户", "acct2"}, {}, {"微信用户", "acct2"}, {"微信用户", "acct2"}},
        AccountsCase{"OnlyAllUsers", {"All Users"}, {}, {}, {"All Users"}},
        AccountsCase{"EmptyRoot", {}, {}, {}, {}}),
    [](const testing::TestParamInfo<AccountsCase>& info) { return info.param.title; });

TEST(Accounts, MissingRootGivesNoAccountsAndAnEmptyAccountPart) {
    ResetWorld();
    OpenWindow();
    EXPECT_TRUE(fakeui::Accounts().empty());
    EXPECT_EQ(Shared().videoFolder, "C:\\Users\\tester\\Documents\\WeChat Files\\\\Video");
}

TEST(Accounts, EmptyUserNameGivesAnEmptyNamePart) {
    ResetWorld();
    fakefs::SetUserName("", true);
    fakefs::AddFolder("C:\\Users\\\\Documents\\WeChat Files\\acct1");
    OpenWindow();
    EXPECT_EQ(fakeui::Accounts(), TextList{"acct1"});
    EXPECT_EQ(Shared().videoFolder, "C:\\Users\\\\Documents\\WeChat Files\\acct1\\Video");
}

TEST(Accounts, ChoosingAnotherAccountMovesTheVideoFolderButKeepsTheLines) {
    ResetWorld();
    AddVideo("acct1", "a.mp4", kNov2018);
    AddVideo("acct2", "b.mp4", kJan2019);
    OpenWindow();
    OnRefreshClicked();
    const TextList before = fakeui::Lines();
    ASSERT_EQ(before.size(), 1u);

    SelectAccount(1);
    OnAccountSelected();
    EXPECT_EQ(Shared().videoFolder, VideoFolder("acct2"));
    EXPECT_EQ(fakeui::Lines(), before);

    OnRefreshClicked();
    EXPECT_EQ(fakeui::Lines(), TextList{"b.mp4|2019-01-05 18:30:00"});
}
