// Migration runs on real folders: copies and moves into month folders, the
// lines and the final message, a second run, and files that cannot be read
// or written.
#include <windows.h>

#include <algorithm>
#include <map>
#include <memory>
#include <set>

#include <gtest/gtest.h>

#include "driven_program.h"
#include "fixture.h"
#include "migration_driving.h"
#include "program_at_start.h"
#include "program_dialogs.h"
#include "scratch_files.h"
#include "ui/control_ids.h"
#include "window_probe.h"

namespace {

const SYSTEMTIME kNovember = LocalTime(2018, 11, 20, 9, 5, 3);
const SYSTEMTIME kJanuary = LocalTime(2019, 1, 2, 23, 59, 58);
const SYSTEMTIME kMarch = LocalTime(2019, 3, 31, 0, 0, 0);

class MigrationRun : public testing::Test {
protected:
    // Builds acct1 with these videos (distinct bytes each), starts the
    // program and chooses the scratch destination through the picker.
    void Prepare(const std::map<std::wstring, SYSTEMTIME>& videos) {
        times_ = videos;
        std::vector<FixtureVideo> entries;
        unsigned seed = 1;
        for (const auto& [name, time] : videos) {
            originals_[name] = PatternBytes(3000 + seed * 517, seed);
            entries.push_back(VideoFile(name, time, originals_[name]));
            ++seed;
        }
        tree_ = std::make_unique<AccountsTree>(std::vector<FixtureAccount>{Account(L"acct1", entries)});
        ASSERT_TRUE(tree_->ok()) << Narrow(tree_->error());
        ASSERT_TRUE(destination_.ok());
        std::wstring error;
        ASSERT_TRUE(program_.Start(&error)) << Narrow(error);
        ASSERT_TRUE(program_.ChooseDestination(destination_.path(), &error)) << Narrow(error);
    }
    std::wstring Source(const std::wstring& name) const { return VideoFolderOf(L"acct1") + L"\\" + name; }
    std::wstring Target(const std::wstring& name) const {
        return destination_.path() + L"\\" + MonthOf(times_.at(name)) + L"\\" + name;
    }
    // Every video's target holds its original bytes.
    void ExpectTargetsIdentical(const std::vector<std::wstring>& except = {}) {
        for (const auto& [name, bytes] : originals_) {
            if (std::find(except.begin(), except.end(), name) != except.end()) continue;
            const auto copied = ReadBytes(Target(name));
            ASSERT_TRUE(copied.has_value()) << "no " << Narrow(Target(name));
            EXPECT_TRUE(*copied == bytes) << Narrow(Target(name)) << " differs from its source";
        }
    }
    // The box that ends a run with files, checked while it is open.
    void ExpectFinishedBox(const MessageBoxSeen& box, int count) {
        ASSERT_NE(box.window, nullptr) << "no final message";
        EXPECT_EQ(box.caption, L"迁移完成");
        EXPECT_EQ(box.text, L"共迁移视频文件 【" + std::to_wstring(count) + L"】");
        EXPECT_EQ(GetDlgItem(box.window, IDCANCEL), nullptr) << "the final box has a Cancel button";
        // The worker's box leaves the window usable; the bar is hidden and full.
        EXPECT_TRUE(IsWindowEnabled(program_.Window()));
        HWND progress = program_.Control(IDC_PROGRESS);
        EXPECT_FALSE(HasVisibleStyle(progress));
        const ProgressState state = ProgressOf(progress);
        EXPECT_EQ(state.high, count);
        EXPECT_EQ(state.position, count);
    }
    void Answer(const MessageBoxSeen& box) {
        ASSERT_TRUE(PressDialogButton(box.window, IDOK));
        EXPECT_FALSE(HasVisibleStyle(program_.Control(IDC_PROGRESS)));
    }

    std::unique_ptr<AccountsTree> tree_;
    ScratchFolder destination_{L"C:", L"run"};
    std::map<std::wstring, SYSTEMTIME> times_;
    std::map<std::wstring, std::string> originals_;
    DrivenProgram program_;  // last: it ends before the folders go
};

TEST_F(MigrationRun, CopiesEveryVideoIntoTheFolderOfItsMonth) {
    Prepare({{L"a.mp4", kNovember}, {L"b.mp4", kJanuary}});
    const MessageBoxSeen box = RunToFinalBox(program_);
    ExpectFinishedBox(box, 2);
    EXPECT_EQ(program_.Lines(), ExpectedRunLines(VideoFolderOf(L"acct1"), times_));
    ExpectTargetsIdentical();
    for (const auto& [name, bytes] : originals_) {
        const auto source = ReadBytes(Source(name));
        EXPECT_TRUE(source.has_value() && *source == bytes) << "the copy changed its source " << Narrow(name);
    }
    const std::vector<std::wstring> months = SearchOrder(destination_.path(), L"*", true);
    EXPECT_EQ(std::set<std::wstring>(months.begin(), months.end()),
              (std::set<std::wstring>{L".", L"..", L"2018-11", L"2019-01"}));
    EXPECT_TRUE(SearchOrder(destination_.path(), L"*", false).empty());
    Answer(box);
}

TEST_F(MigrationRun, ASecondCopyRunOverwritesTheEarlierCopies) {
    Prepare({{L"a.mp4", kNovember}, {L"b.mp4", kJanuary}});
    MessageBoxSeen box = RunToFinalBox(program_);
    ASSERT_NE(box.window, nullptr);
    Answer(box);
    for (const auto& entry : originals_) ASSERT_TRUE(WriteBytes(Target(entry.first), "stale copy"));

    box = RunToFinalBox(program_);
    ExpectFinishedBox(box, 2);
    EXPECT_EQ(program_.Lines(), ExpectedRunLines(VideoFolderOf(L"acct1"), times_));
    ExpectTargetsIdentical();
    Answer(box);
}

TEST_F(MigrationRun, CutRunMovesTheVideosAndASecondCutRunFindsNone) {
    Prepare({{L"a.mp4", kNovember}, {L"b.mp4", kJanuary}});
    std::wstring error;
    ASSERT_TRUE(program_.TickCutOptionConfirmed(&error)) << Narrow(error);
    const std::vector<std::wstring> expected = ExpectedRunLines(VideoFolderOf(L"acct1"), times_);
    MessageBoxSeen box = RunToFinalBox(program_);
    ExpectFinishedBox(box, 2);
    EXPECT_EQ(program_.Lines(), expected) << "a move reports \"|已复制\" too";
    ExpectTargetsIdentical();
    for (const auto& entry : originals_) EXPECT_FALSE(PathExists(Source(entry.first))) << Narrow(entry.first);
    Answer(box);

    box = RunToFinalBox(program_);
    ASSERT_NE(box.window, nullptr) << "the second run showed no message";
    EXPECT_EQ(box.caption, L"信息：");
    EXPECT_EQ(box.text, L"暂无视频迁移...");
    EXPECT_TRUE(program_.Lines().empty());
    EXPECT_FALSE(HasVisibleStyle(program_.Control(IDC_PROGRESS)));
    EXPECT_EQ(ProgressOf(program_.Control(IDC_PROGRESS)).high, 0);
    Answer(box);
    ExpectTargetsIdentical();
}

TEST_F(MigrationRun, ASourceHeldOpenWithoutSharingFailsAloneAndTakesThePreviousMonth) {
    Prepare({{L"a.mp4", kNovember}, {L"b.mp4", kJanuary}, {L"c.mp4", kMarch}});
    // The second in search order: its time cannot be read, so it is filed
    // under the month of the first.
    const std::wstring locked = SearchOrder(VideoFolderOf(L"acct1"), L"*.mp4", false).at(1);
    HANDLE hold = CreateFileW(Source(locked).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(hold, INVALID_HANDLE_VALUE);
    const MessageBoxSeen box = RunToFinalBox(program_);
    CloseHandle(hold);
    ExpectFinishedBox(box, 3);
    EXPECT_EQ(program_.Lines(), ExpectedRunLines(VideoFolderOf(L"acct1"), times_, {locked}, {locked}));
    ExpectTargetsIdentical({locked});
    const std::wstring first = SearchOrder(VideoFolderOf(L"acct1"), L"*.mp4", false).at(0);
    const std::wstring previousMonth = MonthOf(times_.at(first));
    EXPECT_FALSE(PathExists(destination_.path() + L"\\" + previousMonth + L"\\" + locked));
    EXPECT_FALSE(PathExists(Target(locked)));
    Answer(box);
}

TEST_F(MigrationRun, AMonthFolderBlockedByAFileFailsItsVideosAndTheRunGoesOn) {
    Prepare({{L"a.mp4", kNovember}, {L"b.mp4", kJanuary}});
    const std::wstring blocker = destination_.path() + L"\\2018-11";
    ASSERT_TRUE(WriteBytes(blocker, "a file where the month folder should be"));
    const MessageBoxSeen box = RunToFinalBox(program_);
    ExpectFinishedBox(box, 2);
    EXPECT_EQ(program_.Lines(), ExpectedRunLines(VideoFolderOf(L"acct1"), times_, {L"a.mp4"}));
    ExpectTargetsIdentical({L"a.mp4"});
    EXPECT_EQ(ReadBytes(blocker).value_or(""), "a file where the month folder should be");
    Answer(box);
    EXPECT_TRUE(program_.Process().IsRunning());
    EXPECT_TRUE(PathExists(Source(L"a.mp4")));
}

}  // namespace
