// The accounts tree the later end-to-end tests rely on: its files carry the
// times they were given, and it is gone again afterwards.
#include <windows.h>

#include <gtest/gtest.h>

#include "fixture.h"

namespace {

SYSTEMTIME LastWriteLocal(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    EXPECT_TRUE(GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data));
    FILETIME local{};
    SYSTEMTIME time{};
    FileTimeToLocalFileTime(&data.ftLastWriteTime, &local);
    FileTimeToSystemTime(&local, &time);
    return time;
}

TEST(AccountsFixture, BuildsVideosWithTheirLocalTimesAndRemovesTheTree) {
    const SYSTEMTIME november = LocalTime(2018, 11, 20, 9, 5, 3);
    const SYSTEMTIME january = LocalTime(2019, 1, 2, 23, 59, 58);
    {
        AccountsTree tree({Account(L"wxid_a", {VideoFile(L"a.mp4", november), FolderNamed(L"sub.mp4", january)}),
                           AccountWithoutVideoFolder(L"账号二")});
        ASSERT_TRUE(tree.ok()) << std::string(tree.error().begin(), tree.error().end());
        const SYSTEMTIME file = LastWriteLocal(VideoFolderOf(L"wxid_a") + L"\\a.mp4");
        EXPECT_EQ(file.wYear, 2018);
        EXPECT_EQ(file.wMonth, 11);
        EXPECT_EQ(file.wDay, 20);
        EXPECT_EQ(file.wHour, 9);
        EXPECT_EQ(file.wMinute, 5);
        EXPECT_EQ(file.wSecond, 3);
        const DWORD folder = GetFileAttributesW((VideoFolderOf(L"wxid_a") + L"\\sub.mp4").c_str());
        EXPECT_TRUE(folder != INVALID_FILE_ATTRIBUTES && (folder & FILE_ATTRIBUTE_DIRECTORY));
        EXPECT_TRUE(PathExists(AccountsRoot() + L"\\账号二"));
        EXPECT_FALSE(PathExists(VideoFolderOf(L"账号二")));
    }
    EXPECT_FALSE(PathExists(AccountsRoot()));
}

}  // namespace
