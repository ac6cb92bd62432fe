// Clicks that overlap a running migration: migrate clicked again and again,
// refreshes and account changes, the cut option ticked and unticked, the
// window closed. No crash, no lines of two activities mixed, no video lost.
#include <windows.h>

#include <map>
#include <set>

#include <gtest/gtest.h>

#include "message_box.h"
#include "program_copy.h"
#include "scratch.h"
#include "session.h"
#include "ui/control_ids.h"
#include "videos.h"
#include "window_probe.h"

namespace {

constexpr DWORD kRunTimeoutMs = 120000;

int LineCount(const Session& session) { return static_cast<int>(Query(session.control(IDC_VIDEO_LIST), LB_GETCOUNT)); }

std::wstring TimeText(const SYSTEMTIME& time) {
    wchar_t text[32] = {};
    swprintf(text, 32, L"%04u-%02u-%02u %02u:%02u:%02u", time.wYear, time.wMonth, time.wDay, time.wHour,
             time.wMinute, time.wSecond);
    return text;
}

// Empty when the lines are exactly one line per video, each the finished run
// line (refresh false) or the refresh line (refresh true); else what is wrong.
std::string LinesOfOneActivity(const std::vector<std::wstring>& lines, const std::vector<Video>& videos,
                               bool refresh) {
    std::map<std::wstring, std::wstring> expected;
    for (const Video& video : videos) {
        expected[video.name] = video.name + L"|" + (refresh ? TimeText(video.created) : MonthOf(video) + L"|已复制");
    }
    std::set<std::wstring> seen;
    for (const std::wstring& line : lines) {
        const std::wstring name = SplitLine(line).front();
        const auto wanted = expected.find(name);
        if (wanted == expected.end()) return "a line of another account or activity: " + Utf8(line);
        if (line != wanted->second) return "unexpected line " + Utf8(line) + " instead of " + Utf8(wanted->second);
        if (!seen.insert(name).second) return "twice: " + Utf8(name);
    }
    if (seen.size() != videos.size())
        return std::to_string(seen.size()) + " lines for " + std::to_string(videos.size()) + " videos";
    return std::string();
}

std::optional<MessageBoxSeen> NextRunEnd(DWORD processId, DWORD timeoutMs) {
    return WaitForMessageBoxWhere(processId, [](const MessageBoxSeen& box) {
        return box.caption == kRunDoneCaption || box.text == kNothingToMigrate;
    }, timeoutMs);
}

void ExpectAllCopied(const std::vector<Video>& videos, const std::wstring& source, const std::wstring& destination) {
    const Census census = TakeCensus(videos, source, destination);
    for (const std::string& problem : census.problems) ADD_FAILURE() << problem;
    EXPECT_EQ(census.both, static_cast<int>(videos.size())) << census.Summary();
}

TEST(Overlap, FiveMigrateClicksDuringARunGiveExactlyOneMoreRun) {
    ProgramCopy copy(DestinationParent(), L"fault-clicks");
    ASSERT_TRUE(copy.ok()) << copy.error();
    const std::vector<Video> videos = NumberedVideos(L"clicks_", 60, 512u << 10, 70);
    VideoTree tree(L"wxid_clicks", videos);
    ASSERT_TRUE(tree.ok()) << tree.error();
    Session session(copy);
    std::string error;
    ASSERT_TRUE(session.Start(&error)) << error;
    ASSERT_TRUE(session.StartFirstRun(&error)) << error;
    ASSERT_TRUE(WaitUntil([&] { return LineCount(session) >= 1; }, 30000, 2)) << session.State();
    for (int click = 0; click < 5; ++click) session.Click(IDC_MIGRATE);
    const int linesAtClicks = LineCount(session);

    for (int run = 1; run <= 2; ++run) {
        SCOPED_TRACE("run " + std::to_string(run));
        const auto end = NextRunEnd(session.pid(), kRunTimeoutMs);
        ASSERT_TRUE(end.has_value()) << session.State();
        EXPECT_EQ(end->text, RunDoneText(videos.size()));
        EXPECT_EQ(LinesOfOneActivity(session.Lines(), videos, false), "");
        ASSERT_TRUE(AnswerMessageBox(end->window, IDOK));
    }
    EXPECT_FALSE(NextRunEnd(session.pid(), 4000).has_value()) << "a third run followed";
    EXPECT_EQ(LinesOfOneActivity(session.Lines(), videos, false), "");
    EXPECT_LT(linesAtClicks, static_cast<int>(videos.size())) << "the clicks came after the run";
    EXPECT_EQ(session.Close(), std::optional<DWORD>(0));
    ExpectAllCopied(videos, tree.source(), copy.folder());
}

TEST(Overlap, RefreshesAndAccountChangesDuringARunWaitForItsEnd) {
    ProgramCopy copy(DestinationParent(), L"fault-refresh");
    ASSERT_TRUE(copy.ok()) << copy.error();
    const std::vector<Video> first = NumberedVideos(L"first_", 50, 512u << 10, 80);
    const std::vector<Video> second = NumberedVideos(L"second_", 40, 256u << 10, 81);
    std::vector<FixtureVideo> secondFiles;
    for (const Video& video : second) secondFiles.push_back(VideoFile(video.name, video.created, video.content));
    // The program picks the first account the system lists; either may be it.
    VideoTree tree(L"wxid_one", first, {Account(L"wxid_two", secondFiles)});
    ASSERT_TRUE(tree.ok()) << tree.error();
    Session session(copy);
    std::string error;
    ASSERT_TRUE(session.Start(&error)) << error;
    HWND accounts = session.control(IDC_ACCOUNTS);
    const std::vector<std::wstring> entries = ComboEntries(accounts);
    ASSERT_EQ(entries.size(), 2u);
    const bool oneFirst = TextOf(accounts) == L"wxid_one";
    const std::vector<Video>& runVideos = oneFirst ? first : second;
    const std::vector<Video>& otherVideos = oneFirst ? second : first;
    const std::wstring runSource = VideoFolderOf(oneFirst ? L"wxid_one" : L"wxid_two");
    const std::wstring otherSource = VideoFolderOf(oneFirst ? L"wxid_two" : L"wxid_one");
    const int otherIndex = entries[0] == TextOf(accounts) ? 1 : 0;
    auto choose = [&](int index) {
        Query(accounts, CB_SETCURSEL, index);
        PostMessageW(session.window(), WM_COMMAND, MAKEWPARAM(IDC_ACCOUNTS, CBN_SELENDOK),
                     reinterpret_cast<LPARAM>(accounts));
    };

    ASSERT_TRUE(session.StartFirstRun(&error)) << error;
    ASSERT_TRUE(WaitUntil([&] { return LineCount(session) >= 1; }, 30000, 2)) << session.State();
    session.Click(IDC_REFRESH);
    choose(otherIndex);
    session.Click(IDC_REFRESH);
    choose(1 - otherIndex);
    choose(otherIndex);
    session.Click(IDC_REFRESH);
    const int linesAtClicks = LineCount(session);

    const auto end = NextRunEnd(session.pid(), kRunTimeoutMs);
    ASSERT_TRUE(end.has_value()) << session.State();
    EXPECT_EQ(end->text, RunDoneText(runVideos.size()));
    // The run kept its own folder and its own lines.
    EXPECT_EQ(LinesOfOneActivity(session.Lines(), runVideos, false), "");
    ASSERT_TRUE(AnswerMessageBox(end->window, IDOK));
    // Then the queued refresh lists the account chosen meanwhile.
    std::string lines = "never checked";
    EXPECT_TRUE(WaitUntil([&] {
        lines = LinesOfOneActivity(session.Lines(), otherVideos, true);
        return lines.empty();
    }, 20000)) << lines;
    Sleep(500);
    EXPECT_EQ(LinesOfOneActivity(session.Lines(), otherVideos, true), "");
    EXPECT_EQ(DescribeMessageBoxes(session.pid()), "no message box open");
    EXPECT_LT(linesAtClicks, static_cast<int>(runVideos.size())) << "the clicks came after the run";
    EXPECT_EQ(session.Close(), std::optional<DWORD>(0));

    ExpectAllCopied(runVideos, runSource, copy.folder());
    for (const Video& video : otherVideos) {
        EXPECT_EQ(ReadWholeFile(otherSource + L"\\" + video.name), video.content) << Utf8(video.name);
        EXPECT_FALSE(PathExists(TargetOf(video, copy.folder()))) << "migrated from the other account: "
                                                                 << Utf8(video.name);
    }
}

TEST(Overlap, CutOptionTickedAndUntickedDuringARunMovesOnlyWhileConfirmed) {
    ProgramCopy copy(DestinationParent(), L"fault-toggle");
    ASSERT_TRUE(copy.ok()) << copy.error();
    const std::vector<Video> videos = NumberedVideos(L"toggle_", 80, 512u << 10, 90);
    VideoTree tree(L"wxid_toggle", videos);
    ASSERT_TRUE(tree.ok()) << tree.error();
    Session session(copy);
    std::string error;
    ASSERT_TRUE(session.Start(&error)) << error;
    ASSERT_TRUE(session.StartFirstRun(&error)) << error;
    auto waitForMoreLines = [&](int more) {
        const int target = LineCount(session) + more;
        return WaitUntil([&] { return LineCount(session) >= target; }, 30000, 2);
    };
    ASSERT_TRUE(WaitUntil([&] { return LineCount(session) >= 3; }, 30000, 2)) << session.State();

    // Tick: the question stays open for a few files, then OK.
    session.Click(IDC_CUT_OPTION);
    auto question = WaitForMessageBox(session.pid(), L"确认操作", 20000);
    ASSERT_TRUE(question.has_value()) << session.State();
    const int linesAtQuestion = LineCount(session);
    ASSERT_TRUE(waitForMoreLines(4)) << session.State();
    const int linesBeforeOk = LineCount(session);
    ASSERT_TRUE(AnswerMessageBox(question->window, IDOK));
    const int linesAfterOk = LineCount(session);
    ASSERT_TRUE(waitForMoreLines(6)) << session.State();
    // Untick: no question; the next files are copied again.
    const int linesBeforeUntick = LineCount(session);
    session.Click(IDC_CUT_OPTION);
    ASSERT_TRUE(WaitUntil([&] { return !session.IsCutTicked(); }, 10000));
    const int linesAfterUntick = LineCount(session);
    ASSERT_TRUE(waitForMoreLines(3)) << session.State();
    // Tick again and decline.
    session.Click(IDC_CUT_OPTION);
    question = WaitForMessageBox(session.pid(), L"确认操作", 20000);
    ASSERT_TRUE(question.has_value()) << session.State();
    ASSERT_TRUE(AnswerMessageBox(question->window, IDCANCEL));
    EXPECT_TRUE(WaitUntil([&] { return !session.IsCutTicked(); }, 10000));
    const int linesAfterCancel = LineCount(session);
    ASSERT_LT(linesAfterCancel, static_cast<int>(videos.size())) << "the run ended before the last toggle";

    const auto end = session.WaitForRunEnd(kRunTimeoutMs, false);
    ASSERT_TRUE(end.has_value()) << session.State();
    EXPECT_EQ(*end, RunDoneText(videos.size()));
    const std::vector<std::wstring> lines = session.Lines();
    ASSERT_EQ(lines.size(), videos.size());
    session.AnswerRunEnd();
    EXPECT_EQ(session.Close(), std::optional<DWORD>(0));

    const Census census = TakeCensus(videos, tree.source(), copy.folder());
    for (const std::string& problem : census.problems) ADD_FAILURE() << problem;
    EXPECT_EQ(census.sourceOnly, 0) << census.Summary();
    // Line i is added before its file's tick is read: files whose lines came
    // wholly inside one state show that state.
    std::map<std::wstring, const Video*> byName;
    for (const Video& video : videos) byName[video.name] = &video;
    int moved = 0;
    for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
        const auto parts = SplitLine(lines[static_cast<size_t>(i)]);
        ASSERT_EQ(parts.size(), 3u);
        EXPECT_EQ(parts[2], L"已复制") << Utf8(lines[static_cast<size_t>(i)]);
        const Video& video = *byName.at(parts[0]);
        const bool sourceLeft = PathExists(tree.source() + L"\\" + video.name);
        if (!sourceLeft) ++moved;
        const bool copiedForSure = i < linesBeforeOk - 1 || i >= linesAfterUntick;
        const bool movedForSure = i >= linesAfterOk && i < linesBeforeUntick - 1;
        if (copiedForSure) EXPECT_TRUE(sourceLeft) << "line " << i << " moved outside the confirmed tick";
        if (movedForSure) EXPECT_FALSE(sourceLeft) << "line " << i << " copied while the tick was confirmed";
    }
    std::printf("question at line %d, OK at %d-%d, untick at %d-%d, declined by %d; %d of %zu moved\n",
                linesAtQuestion, linesBeforeOk, linesAfterOk, linesBeforeUntick, linesAfterUntick, linesAfterCancel,
                moved, videos.size());
    EXPECT_GT(moved, 0);
}

class ClosedDuringRun : public testing::TestWithParam<bool> {};

TEST_P(ClosedDuringRun, EndsWithExitCodeZeroAndLosesNoVideo) {
    const bool cut = GetParam();
    ProgramCopy copy(DestinationParent(), L"fault-close");
    ASSERT_TRUE(copy.ok()) << copy.error();
    const std::vector<Video> videos = NumberedVideos(L"close_", 40, 1u << 20, cut ? 100 : 101);
    VideoTree tree(L"wxid_close", videos);
    ASSERT_TRUE(tree.ok()) << tree.error();
    Session session(copy);
    std::string error;
    ASSERT_TRUE(session.Start(&error)) << error;
    ASSERT_TRUE(session.SetCut(cut, &error)) << error;
    ASSERT_TRUE(session.StartFirstRun(&error)) << error;
    ASSERT_TRUE(WaitUntil([&] { return LineCount(session) >= 3; }, 30000, 2)) << session.State();
    const int linesAtClose = LineCount(session);
    EXPECT_EQ(session.Close(), std::optional<DWORD>(0));
    EXPECT_LT(linesAtClose, static_cast<int>(videos.size()));

    const Census census = TakeCensus(videos, tree.source(), copy.folder());
    for (const std::string& problem : census.problems) ADD_FAILURE() << problem;
    if (cut) EXPECT_EQ(census.sourceOnly + census.targetOnly + census.both, static_cast<int>(videos.size()));
    else EXPECT_EQ(census.sourceOnly + census.both, static_cast<int>(videos.size())) << census.Summary();
    std::printf("%s closed at line %d: %s\n", cut ? "cut" : "copy", linesAtClose, census.Summary().c_str());
}

INSTANTIATE_TEST_SUITE_P(Overlap, ClosedDuringRun, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "Cut" : "Copy");
                         });

}  // namespace
