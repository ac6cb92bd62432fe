// What only the double offers on top of the shared contract: conditions that
// cannot be arranged on real files under Wine (a read-only folder, a full
// disk, a failing user name), and its use from several threads.
#include <gtest/gtest.h>

#include <thread>

#include "fake_fs.h"
#include "fs/file_ops.h"
#include "fs/file_times.h"
#include "fs/folder_listing.h"

namespace fixture {
int PumpCalls();
Text MakeRoot();
void RemoveRoot();
}  // namespace fixture

namespace {

class FakeFs : public testing::Test {
protected:
    void SetUp() override { fixture::MakeRoot(); }
    void TearDown() override { fixture::RemoveRoot(); }
};

TEST_F(FakeFs, ListFilesPumpsAfterEveryName) {
    fakefs::AddFile("C:\\v\\a.mp4", "x");
    fakefs::AddFile("C:\\v\\b.mp4", "x");
    fakefs::AddFile("C:\\v\\c.txt", "x");
    fakefs::AddFolder("C:\\v\\d.mp4");
    TextList names;
    EXPECT_EQ(ListFiles("C:\\v", "*.mp4", names), 2);
    EXPECT_EQ(fixture::PumpCalls(), 2);
    ListSubfolders("C:\\v", names);
    EXPECT_EQ(fixture::PumpCalls(), 2);
}

TEST_F(FakeFs, KeepsNamesAsCreatedAndFindsThemInAnyCase) {
    fakefs::AddFile("C:\\Videos\\Clip.MP4", "x");
    fakefs::AddFile("c:/videos/second.mp4", "y");
    EXPECT_TRUE(fakefs::Exists("c:\\VIDEOS\\clip.mp4"));
    EXPECT_EQ(fakefs::Children("C:\\videos\\"), (TextList{"Clip.MP4", "second.mp4"}));
    TextList names;
    ListFiles("C:\\VIDEOS", "*.mp4", names);
    EXPECT_EQ(names, (TextList{"Clip.MP4", "second.mp4"}));  // creation order
    EXPECT_FALSE(fakefs::Exists("C:\\Videos\\Clip.MP4\\"));  // a file has no trailing "\"
}

TEST_F(FakeFs, EmptyFolderTextIsTheRootOfTheCurrentDrive) {
    fakefs::AddFolder("D:\\top");
    fakefs::AddFolder("D:\\work\\inner");
    fakefs::SetCurrentFolder("D:\\work");
    TextList names;
    ListSubfolders("", names);
    EXPECT_EQ(names, (TextList{"top", "work"}));
    EXPECT_TRUE(FolderExists("inner"));
}

TEST_F(FakeFs, ReadOnlyFolderTakesNothingInAndGivesNothingOut) {
    fakefs::AddFolder("C:\\locked");
    fakefs::AddFile("C:\\locked\\old.mp4", "o");
    fakefs::AddFile("C:\\in\\a.mp4", "a");
    fakefs::SetReadOnlyFolder("C:\\locked", true);
    EXPECT_EQ(CreateFolder("C:\\locked\\2018-11"), 0);
    EXPECT_EQ(CopyFileOver("C:\\in\\a.mp4", "C:\\locked\\a.mp4"), 0);
    EXPECT_EQ(MoveFileTo("C:\\in\\a.mp4", "C:\\locked\\a.mp4"), 0);
    EXPECT_EQ(MoveFileTo("C:\\locked\\old.mp4", "C:\\in\\old.mp4"), 0);
    EXPECT_EQ(fakefs::Children("C:\\locked"), TextList{"old.mp4"});
    EXPECT_TRUE(fakefs::Exists("C:\\in\\a.mp4"));
    fakefs::SetReadOnlyFolder("C:\\locked", false);
    EXPECT_EQ(CopyFileOver("C:\\in\\a.mp4", "C:\\locked\\a.mp4"), 1);
}

TEST_F(FakeFs, FullDiskFailsTheCopyAndLeavesNoTarget) {
    fakefs::AddFile("C:\\in\\a.mp4", "12345");
    fakefs::AddFile("C:\\in\\b.mp4", "1234567");
    fakefs::AddFile("C:\\out\\b.mp4", "12");
    fakefs::SetFreeSpace(6);
    EXPECT_EQ(CopyFileOver("C:\\in\\a.mp4", "C:\\out\\a.mp4"), 1);
    EXPECT_EQ(fakefs::FreeSpace(), 1);
    EXPECT_EQ(CopyFileOver("C:\\in\\b.mp4", "C:\\out\\b.mp4"), 0);  // needs 5 more
    EXPECT_FALSE(fakefs::Exists("C:\\out\\b.mp4"));
    EXPECT_EQ(CopyFileOver("C:\\in\\a.mp4", "C:\\out\\a.mp4"), 1);  // same size again
    EXPECT_EQ(MoveFileTo("C:\\in\\b.mp4", "C:\\out\\b.mp4"), 1);  // one volume: no space needed
    fakefs::SetFreeSpace(-1);
    EXPECT_EQ(CopyFileOver("C:\\out\\b.mp4", "C:\\out\\c.mp4"), 1);
}

TEST_F(FakeFs, MoveToAnotherDriveNeedsSpaceAndADeletableSource) {
    fakefs::AddFile("C:\\in\\a.mp4", "12345");
    fakefs::AddFile("C:\\in\\ro.mp4", "1", 0, fakefs::kReadOnly);
    fakefs::AddFolder("D:\\out");
    fakefs::SetFreeSpace(4);
    EXPECT_EQ(MoveFileTo("C:\\in\\a.mp4", "D:\\out\\a.mp4"), 0);
    fakefs::SetFreeSpace(5);
    EXPECT_EQ(MoveFileTo("C:\\in\\a.mp4", "D:\\out\\a.mp4"), 1);
    EXPECT_EQ(fakefs::Content("D:\\out\\a.mp4"), "12345");
    EXPECT_FALSE(fakefs::Exists("C:\\in\\a.mp4"));
    EXPECT_EQ(MoveFileTo("C:\\in\\ro.mp4", "D:\\out\\ro.mp4"), 0);
    EXPECT_EQ(MoveFileTo("C:\\in\\ro.mp4", "C:\\ro.mp4"), 1);  // a rename on one volume
}

TEST_F(FakeFs, CopyRefusesAHeldOrReadOnlyTarget) {
    fakefs::AddFile("C:\\in\\a.mp4", "new");
    fakefs::AddFile("C:\\out\\held.mp4", "old");
    fakefs::AddFile("C:\\out\\ro.mp4", "old", 0, fakefs::kReadOnly);
    fakefs::SetLocked("C:\\out\\held.mp4", true);
    EXPECT_EQ(CopyFileOver("C:\\in\\a.mp4", "C:\\out\\held.mp4"), 0);
    EXPECT_EQ(CopyFileOver("C:\\in\\a.mp4", "C:\\out\\ro.mp4"), 0);
    EXPECT_EQ(fakefs::Content("C:\\out\\held.mp4"), "old");
    EXPECT_EQ(fakefs::Content("C:\\out\\ro.mp4"), "old");
}

TEST_F(FakeFs, UserNameAsSetOrEmptyWhenItFails) {
    const Text longName(256, 'n');  // the longest Windows allows
    fakefs::SetUserName(longName);
    EXPECT_EQ(GetCurrentUserName(), longName);
    fakefs::SetUserName("张三", true);
    EXPECT_EQ(GetCurrentUserName(), "");
}

// Built also for ThreadSanitizer: a worker copies while this thread lists.
TEST_F(FakeFs, WorkerAndTestThreadShareTheTree) {
    for (int i = 0; i < 200; ++i) fakefs::AddFile("C:\\in\\" + std::to_string(i) + ".mp4", "x");
    fakefs::AddFolder("C:\\out");
    std::thread worker([] {
        TextList names;
        ListFiles("C:\\in", "*.mp4", names);
        for (const Text& name : names) CopyFileOver("C:\\in\\" + name, "C:\\out\\" + name);
    });
    TextList seen;
    for (int round = 0; round < 50; ++round) ListFiles("C:\\out", "*.mp4", seen);
    worker.join();
    EXPECT_EQ(ListFiles("C:\\out", "*.mp4", seen), 200);
}

TEST_F(FakeFs, HoldsAFolderOfThirtyThreeThousandVideos) {
    for (int i = 0; i < 33000; ++i)
        fakefs::AddFile("C:\\v\\" + std::to_string(i) + ".mp4", "x", 1542675903 + i);
    fakefs::AddFolder("C:\\out");
    TextList names;
    EXPECT_EQ(ListFiles("C:\\v", "*.mp4", names), 33000);
    for (const Text& name : names) ASSERT_EQ(MoveFileTo("C:\\v\\" + name, "C:\\out\\" + name), 1);
    EXPECT_EQ(ListFiles("C:\\v", "*.mp4", names), 0);
    EXPECT_EQ(ListFiles("C:\\out", "*.mp4", names), 33000);
    Text creation, lastWrite, lastAccess;
    EXPECT_EQ(GetFileTimeTexts("C:\\out\\32999.mp4", creation, lastWrite, lastAccess), 1);
    EXPECT_EQ(creation, "2018-11-20 18:15:02");
}

}  // namespace
