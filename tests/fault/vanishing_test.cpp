// Paths that go away or are blocked while a run is under way: the destination
// folder removed, one source deleted or locked, a month folder that cannot
// take files. The run ends with its final message and no video is lost.
#include <windows.h>

#include <set>

#include <gtest/gtest.h>

#include "program_copy.h"
#include "scratch.h"
#include "session.h"
#include "ui/control_ids.h"
#include "unix_side.h"
#include "videos.h"
#include "window_probe.h"

namespace {

constexpr DWORD kRunTimeoutMs = 120000;

struct Outcomes {
    std::set<std::wstring> failed, done;
};

// The lines of a finished run: each name once, each with an outcome.
Outcomes ReadOutcomes(const Session& session) {
    Outcomes outcomes;
    for (const std::wstring& line : session.Lines()) {
        const auto parts = SplitLine(line);
        EXPECT_EQ(parts.size(), 3u) << Utf8(line);
        if (parts.size() != 3) continue;
        EXPECT_TRUE(parts[2] == L"失败" || parts[2] == L"已复制") << Utf8(line);
        EXPECT_TRUE(!outcomes.failed.count(parts[0]) && !outcomes.done.count(parts[0])) << "twice: " << Utf8(line);
        (parts[2] == L"失败" ? outcomes.failed : outcomes.done).insert(parts[0]);
    }
    return outcomes;
}

int LineCount(const Session& session) { return static_cast<int>(Query(session.control(IDC_VIDEO_LIST), LB_GETCOUNT)); }

// ---- the destination folder removed during a run ----------------------------

// Copy runs lose the folder for good; cut runs see it moved away on the same
// file system, so the videos already moved stay countable.
class DestinationRemoved : public testing::TestWithParam<bool> {};

TEST_P(DestinationRemoved, EndsTheRunAndLosesNoVideo) {
    const bool cut = GetParam();
    ProgramCopy copy(DestinationParent(), L"fault-gone");
    ASSERT_TRUE(copy.ok()) << copy.error();
    const auto unixFolder = UnixPathOf(copy.folder());
    if (!unixFolder) GTEST_SKIP() << "needs Wine's Unix side: Windows refuses to remove the folder of a running exe";
    const std::wstring movedAway = copy.folder() + L"-moved";
    const std::vector<Video> videos = NumberedVideos(L"gone_", 40, 1u << 20, cut ? 21 : 22);
    VideoTree tree(L"wxid_gone", videos);
    ASSERT_TRUE(tree.ok()) << tree.error();

    // Wine will not delete or rename the folder of a running exe, Linux will.
    ArmedUnixCommand remove;
    ASSERT_TRUE(remove.Arm(cut ? "mv " + ShellQuoted(*unixFolder) + " " + ShellQuoted(*unixFolder + "-moved")
                               : "rm -rf " + ShellQuoted(*unixFolder)));
    Session session(copy);
    std::string error;
    ASSERT_TRUE(session.Start(&error)) << error;
    ASSERT_TRUE(session.SetCut(cut, &error)) << error;
    ASSERT_TRUE(session.StartFirstRun(&error)) << error;
    ASSERT_TRUE(WaitUntil([&] { return LineCount(session) >= 2; }, 30000, 2)) << session.State();
    ASSERT_TRUE(remove.Fire());
    ASSERT_TRUE(remove.WaitDone(20000)) << "the folder was not removed";
    const int linesWhenRemoved = LineCount(session);
    EXPECT_FALSE(PathExists(copy.folder() + L"\\VideoMigrator.exe")) << "the folder is still there";

    const auto end = session.WaitForRunEnd(kRunTimeoutMs);
    ASSERT_TRUE(end.has_value()) << "no final message: " << session.State();
    EXPECT_EQ(*end, RunDoneText(videos.size()));
    const Outcomes outcomes = ReadOutcomes(session);
    EXPECT_EQ(outcomes.failed.size() + outcomes.done.size(), videos.size());
    EXPECT_EQ(session.Close(), std::optional<DWORD>(0));
    std::printf("%s: folder removed after %d of %zu lines; %zu failed, %zu done; month folders %s\n",
                cut ? "cut" : "copy", linesWhenRemoved, videos.size(), outcomes.failed.size(), outcomes.done.size(),
                PathExists(copy.folder()) ? "re-created" : "not re-created");
    EXPECT_LT(linesWhenRemoved, static_cast<int>(videos.size())) << "the run ended before the folder went away";

    for (const Video& video : videos) {
        const auto source = ReadWholeFile(tree.source() + L"\\" + video.name);
        if (!cut) {
            EXPECT_EQ(source, video.content) << "source of " << Utf8(video.name);
            continue;
        }
        const bool somewhere = source == video.content ||
                               ReadWholeFile(TargetOf(video, movedAway)) == video.content ||
                               ReadWholeFile(TargetOf(video, copy.folder())) == video.content;
        EXPECT_TRUE(somewhere) << Utf8(video.name) << " is complete nowhere";
        if (outcomes.failed.count(video.name)) EXPECT_EQ(source, video.content) << "failed but moved: " << Utf8(video.name);
    }
    RemoveTree(movedAway);
}

INSTANTIATE_TEST_SUITE_P(DuringRun, DestinationRemoved, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "Cut" : "Copy");
                         });

// ---- one source deleted or locked during a run ------------------------------

enum class SourceFault { Deleted, Locked };

struct SourceCase {
    const char* name;
    SourceFault fault;
    bool cut;
};

class SourceGoesAway : public testing::TestWithParam<SourceCase> {};

// The name the system's directory search returns last: the program handles
// the files in that order, so this one comes late in the run.
std::wstring LastListed(const std::wstring& folder) {
    std::wstring last;
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW((folder + L"\\*.mp4").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return last;
    do last = entry.cFileName;
    while (FindNextFileW(search, &entry));
    FindClose(search);
    return last;
}

TEST_P(SourceGoesAway, FailsThatVideoOnlyAndTheRestGoOn) {
    const SourceCase& param = GetParam();
    ProgramCopy copy(DestinationParent(), L"fault-source");
    ASSERT_TRUE(copy.ok()) << copy.error();
    const std::vector<Video> videos = NumberedVideos(L"src_", 30, 512u << 10, 30 + static_cast<int>(param.fault));
    VideoTree tree(L"wxid_source", videos);
    ASSERT_TRUE(tree.ok()) << tree.error();
    const std::wstring victim = LastListed(tree.source());
    ASSERT_FALSE(victim.empty());
    const std::wstring victimPath = tree.source() + L"\\" + victim;

    Session session(copy);
    std::string error;
    ASSERT_TRUE(session.Start(&error)) << error;
    ASSERT_TRUE(session.SetCut(param.cut, &error)) << error;
    ASSERT_TRUE(session.StartFirstRun(&error)) << error;
    ASSERT_TRUE(WaitUntil([&] { return LineCount(session) >= 1; }, 30000, 2)) << session.State();
    HANDLE lock = INVALID_HANDLE_VALUE;
    if (param.fault == SourceFault::Deleted) {
        ASSERT_TRUE(DeleteFileW(victimPath.c_str())) << "error " << GetLastError();
    } else {
        lock = CreateFileW(victimPath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(lock, INVALID_HANDLE_VALUE) << "error " << GetLastError();
    }
    const int linesWhenHit = LineCount(session);
    const auto end = session.WaitForRunEnd(kRunTimeoutMs);
    if (lock != INVALID_HANDLE_VALUE) CloseHandle(lock);
    ASSERT_TRUE(end.has_value()) << "no final message: " << session.State();
    EXPECT_EQ(*end, RunDoneText(videos.size()));
    ASSERT_LT(linesWhenHit, static_cast<int>(videos.size())) << "the run came to the video before it went away";

    const Outcomes outcomes = ReadOutcomes(session);
    EXPECT_EQ(outcomes.failed, std::set<std::wstring>{victim});
    EXPECT_EQ(outcomes.done.size(), videos.size() - 1);
    EXPECT_EQ(session.Close(), std::optional<DWORD>(0));

    for (const Video& video : videos) {
        const auto source = ReadWholeFile(tree.source() + L"\\" + video.name);
        const auto target = ReadWholeFile(TargetOf(video, copy.folder()));
        if (video.name == victim) {
            EXPECT_NE(target, video.content) << "the vanished video arrived anyway";
            if (param.fault == SourceFault::Locked) EXPECT_EQ(source, video.content) << "the locked source changed";
            continue;
        }
        EXPECT_EQ(target, video.content) << Utf8(video.name);
        if (param.cut) EXPECT_FALSE(source.has_value()) << "still in the source: " << Utf8(video.name);
        else EXPECT_EQ(source, video.content) << Utf8(video.name);
    }
}

INSTANTIATE_TEST_SUITE_P(DuringRun, SourceGoesAway,
                         testing::Values(SourceCase{"DeletedWhileCopying", SourceFault::Deleted, false},
                                         SourceCase{"DeletedWhileCutting", SourceFault::Deleted, true},
                                         SourceCase{"LockedWhileCopying", SourceFault::Locked, false},
                                         SourceCase{"LockedWhileCutting", SourceFault::Locked, true}),
                         [](const testing::TestParamInfo<SourceCase>& info) { return std::string(info.param.name); });

// ---- a month folder that cannot take files ----------------------------------

enum class Blocker { ReadOnlyFolder, FileOfThatName };

class MonthFolderBlocked : public testing::TestWithParam<Blocker> {};

// Whether a read-only folder refuses new files here; under Wine as root the
// attribute is not even kept on folders.
bool ReadOnlyFolderRefusesFiles(const std::wstring& parent, std::string* why) {
    ScratchFolder probe(parent, L"fault-readonly-probe");
    if (!SetFileAttributesW(probe.path().c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY) ||
        !(GetFileAttributesW(probe.path().c_str()) & FILE_ATTRIBUTE_READONLY)) {
        *why = "the read-only attribute does not stay on a folder";
        return false;
    }
    const bool written = WriteWholeFile(probe.path() + L"\\probe.txt", "x");
    SetFileAttributesW(probe.path().c_str(), FILE_ATTRIBUTE_DIRECTORY);
    if (written) *why = "a read-only folder still takes new files";
    return !written;
}

TEST_P(MonthFolderBlocked, FailsThatMonthsVideosAndKeepsTheirSources) {
    ProgramCopy copy(DestinationParent(), L"fault-month");
    ASSERT_TRUE(copy.ok()) << copy.error();
    std::vector<Video> videos = NumberedVideos(L"month_", 9, 256u << 10, 40);
    const std::wstring blocked = MonthOf(videos[1]);
    const std::wstring blockedPath = copy.folder() + L"\\" + blocked;
    const std::string squatter = DistinctContent(L"not a folder", 1000, 1);
    if (GetParam() == Blocker::ReadOnlyFolder) {
        std::string why;
        if (!ReadOnlyFolderRefusesFiles(copy.folder(), &why)) {
            GTEST_SKIP() << why << " (Wine, root): the case FileOfThatName blocks the month folder instead";
        }
        ASSERT_TRUE(CreateDirectoryW(blockedPath.c_str(), nullptr));
        ASSERT_TRUE(SetFileAttributesW(blockedPath.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY));
    } else {
        ASSERT_TRUE(WriteWholeFile(blockedPath, squatter));
    }
    VideoTree tree(L"wxid_month", videos);
    ASSERT_TRUE(tree.ok()) << tree.error();

    Session session(copy);
    std::string error;
    ASSERT_TRUE(session.Start(&error)) << error;
    ASSERT_TRUE(session.SetCut(true, &error)) << error;
    ASSERT_TRUE(session.StartFirstRun(&error)) << error;
    const auto end = session.WaitForRunEnd(kRunTimeoutMs);
    ASSERT_TRUE(end.has_value()) << session.State();
    EXPECT_EQ(*end, RunDoneText(videos.size()));
    const Outcomes outcomes = ReadOutcomes(session);
    EXPECT_EQ(session.Close(), std::optional<DWORD>(0));

    for (const Video& video : videos) {
        const auto source = ReadWholeFile(tree.source() + L"\\" + video.name);
        if (MonthOf(video) == blocked) {
            EXPECT_TRUE(outcomes.failed.count(video.name)) << Utf8(video.name) << " did not fail";
            EXPECT_EQ(source, video.content) << "source of " << Utf8(video.name);
        } else {
            EXPECT_TRUE(outcomes.done.count(video.name)) << Utf8(video.name) << " was not moved";
            EXPECT_EQ(ReadWholeFile(TargetOf(video, copy.folder())), video.content) << Utf8(video.name);
            EXPECT_FALSE(source.has_value()) << Utf8(video.name);
        }
    }
    if (GetParam() == Blocker::FileOfThatName) EXPECT_EQ(ReadWholeFile(blockedPath), squatter);
    SetFileAttributesW(blockedPath.c_str(), FILE_ATTRIBUTE_NORMAL);
}

INSTANTIATE_TEST_SUITE_P(Destination, MonthFolderBlocked,
                         testing::Values(Blocker::ReadOnlyFolder, Blocker::FileOfThatName),
                         [](const testing::TestParamInfo<Blocker>& info) {
                             return std::string(info.param == Blocker::ReadOnlyFolder ? "ReadOnlyFolder"
                                                                                       : "FileOfThatName");
                         });

}  // namespace
