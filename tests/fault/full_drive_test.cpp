// A destination on a small drive that fills up in the middle of a run: the
// files that no longer fit fail, the run goes on to its final message, and no
// source is lost, whether the run copies or moves.
#include <windows.h>

#include <set>

#include <gtest/gtest.h>

#include "program_copy.h"
#include "scratch.h"
#include "session.h"
#include "videos.h"

namespace {

constexpr size_t kVideoBytes = 2u << 20;
constexpr DWORD kRunTimeoutMs = 120000;

class FullDrive : public testing::TestWithParam<bool> {};

TEST_P(FullDrive, FailsTheFilesThatDoNotFitAndKeepsTheirSources) {
    const bool cut = GetParam();
    const auto drive = DriveFromEnvironment(L"VM_SMALL_DRIVE");
    if (!drive) {
        GTEST_SKIP() << "VM_SMALL_DRIVE is unset or names no drive: it must be a Wine drive on a small tmpfs "
                        "(mount -t tmpfs -o size=8m, as root; see scripts/test.sh)";
    }
    ProgramCopy copy(*drive, cut ? L"fault-full-cut" : L"fault-full-copy");
    ASSERT_TRUE(copy.ok()) << copy.error();
    ULARGE_INTEGER freeBytes{};
    ASSERT_TRUE(GetDiskFreeSpaceExW((*drive + L"\\").c_str(), &freeBytes, nullptr, nullptr));
    ASSERT_LT(freeBytes.QuadPart, 64ull << 20) << "the small drive has " << freeBytes.QuadPart << " bytes free";
    // Enough videos for the drive to fill up about half way through.
    const int count = static_cast<int>(freeBytes.QuadPart / kVideoBytes) * 2 + 2;
    const std::vector<Video> videos = NumberedVideos(L"full_", count, kVideoBytes, cut ? 7 : 8);
    VideoTree tree(L"wxid_full", videos);
    ASSERT_TRUE(tree.ok()) << tree.error();

    Session session(copy);
    std::string error;
    ASSERT_TRUE(session.Start(&error)) << error;
    ASSERT_TRUE(session.SetCut(cut, &error)) << error;
    ASSERT_TRUE(session.StartFirstRun(&error)) << error;
    const auto end = session.WaitForRunEnd(kRunTimeoutMs);
    ASSERT_TRUE(end.has_value()) << session.State();
    EXPECT_EQ(*end, RunDoneText(videos.size()));

    std::set<std::wstring> failed, done;
    for (const std::wstring& line : session.Lines()) {
        const auto parts = SplitLine(line);
        ASSERT_EQ(parts.size(), 3u) << Utf8(line);
        ASSERT_TRUE(parts[2] == L"失败" || parts[2] == L"已复制") << Utf8(line);
        EXPECT_TRUE(failed.count(parts[0]) == 0 && done.count(parts[0]) == 0) << "twice: " << Utf8(parts[0]);
        (parts[2] == L"失败" ? failed : done).insert(parts[0]);
    }
    EXPECT_EQ(failed.size() + done.size(), videos.size());
    EXPECT_FALSE(failed.empty()) << "nothing failed although " << count << " videos of " << kVideoBytes
                                 << " bytes went onto " << freeBytes.QuadPart << " free bytes";
    EXPECT_FALSE(done.empty());
    EXPECT_EQ(session.Close(), std::optional<DWORD>(0));

    const Census census = TakeCensus(videos, tree.source(), copy.folder());
    int partialTargets = 0;
    for (const std::string& problem : census.problems) {
        // A failed copy may leave a partial file under the video's name; the
        // source is what must survive.
        if (problem.find("the target") != std::string::npos) ++partialTargets;
        else ADD_FAILURE() << problem;
    }
    for (const Video& video : videos) {
        const bool sourceThere = PathExists(tree.source() + L"\\" + video.name);
        if (failed.count(video.name)) EXPECT_TRUE(sourceThere) << "failed but gone: " << Utf8(video.name);
        if (done.count(video.name)) {
            EXPECT_EQ(ReadWholeFile(TargetOf(video, copy.folder())), video.content) << Utf8(video.name);
            EXPECT_EQ(sourceThere, !cut) << Utf8(video.name);
        }
    }
    std::printf("%s onto %llu free bytes: %zu done, %zu failed, %d partial target files, %d stray ~moving\n",
                cut ? "cut" : "copy", static_cast<unsigned long long>(freeBytes.QuadPart), done.size(),
                failed.size(), partialTargets, census.strays);
}

INSTANTIATE_TEST_SUITE_P(Destination, FullDrive, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "Cut" : "Copy");
                         });

}  // namespace
