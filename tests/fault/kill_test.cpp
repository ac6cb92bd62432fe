// A cut run across two file systems killed at random moments: afterwards every
// video is still in its source folder or complete in its month folder, and a
// new run finishes the move.
#include <windows.h>

#include <random>

#include <gtest/gtest.h>

#include "program_copy.h"
#include "scratch.h"
#include "session.h"
#include "unix_side.h"
#include "videos.h"

namespace {

constexpr int kKills = 12;
constexpr int kVideos = 16;
constexpr size_t kVideoBytes = 2u << 20;
constexpr DWORD kRunTimeoutMs = 120000;
const wchar_t* const kAccount = L"wxid_kill";

enum class KillKind { Terminate, UnixKill9 };

struct KillOutcome {
    Census afterKill;
    Census afterSecondRun;
};

// Runs one cut run to its end; the time it took tells where kills can land.
DWORD TimeOneCutRun(const std::wstring& drive) {
    ProgramCopy copy(drive, L"fault-kill-timing");
    EXPECT_TRUE(copy.ok()) << copy.error();
    const std::vector<Video> videos = NumberedVideos(L"timing_", kVideos, kVideoBytes, 1);
    VideoTree tree(kAccount, videos);
    EXPECT_TRUE(tree.ok()) << tree.error();
    Session session(copy);
    std::string error;
    if (!session.Start(&error) || !session.SetCut(true, &error) || !session.StartFirstRun(&error)) {
        ADD_FAILURE() << error;
        return 0;
    }
    const ULONGLONG start = GetTickCount64();
    const auto end = session.WaitForRunEnd(kRunTimeoutMs, false);
    const DWORD elapsed = static_cast<DWORD>(GetTickCount64() - start);
    EXPECT_EQ(end, RunDoneText(kVideos)) << session.State();
    const Census census = TakeCensus(videos, tree.source(), copy.folder());
    EXPECT_TRUE(census.problems.empty()) << census.problems.front();
    EXPECT_EQ(census.targetOnly, kVideos) << census.Summary();
    session.process().Terminate();
    return elapsed;
}

class KilledCutRun : public testing::Test {
protected:
    void SetUp() override {
        const auto drive = DriveFromEnvironment(L"VM_SECOND_DRIVE");
        if (!drive) {
            GTEST_SKIP() << "VM_SECOND_DRIVE is unset or names no drive: set it to a Wine drive on another file "
                            "system than C: (scripts/test.sh maps Y: to a folder under /dev/shm)";
        }
        drive_ = *drive;
    }

    // One kill at delayMs after the run started, then a second run.
    void KillAndResume(int round, KillKind kind, DWORD delayMs, KillOutcome* outcome) {
        ProgramCopy copy(drive_, L"fault-kill");
        ASSERT_TRUE(copy.ok()) << copy.error();
        const std::vector<Video> videos =
            NumberedVideos(L"round" + std::to_wstring(round) + L"_", kVideos, kVideoBytes, 100 + round);
        VideoTree tree(kAccount, videos);
        ASSERT_TRUE(tree.ok()) << tree.error();

        std::string error;
        {
            Session first(copy);
            ASSERT_TRUE(first.Start(&error)) << error;
            ArmedUnixCommand unixKill;
            if (kind == KillKind::UnixKill9) {
                // The copy's unique folder is in the Unix command line of the program only.
                const std::string marker = Utf8(copy.folder().substr(copy.folder().find_last_of(L'\\') + 1));
                const std::vector<int> pids = UnixProcessesMatching(marker);
                ASSERT_EQ(pids.size(), 1u) << "Unix processes with " << marker << " in their command line";
                ASSERT_TRUE(unixKill.Arm("kill -9 " + std::to_string(pids.front()))) << "cannot start the shell that kills " << pids.front();
            }
            ASSERT_TRUE(first.SetCut(true, &error)) << error;
            ASSERT_TRUE(first.StartFirstRun(&error)) << error;
            Sleep(delayMs);
            if (kind == KillKind::UnixKill9) {
                ASSERT_TRUE(unixKill.Fire());
                ASSERT_TRUE(first.process().WaitForExit(15000).has_value()) << "kill -9 did not end the program";
                unixKill.WaitDone(10000);
            } else {
                first.process().Terminate();
                ASSERT_FALSE(first.process().IsRunning());
            }
        }

        outcome->afterKill = TakeCensus(videos, tree.source(), copy.folder());
        for (const std::string& problem : outcome->afterKill.problems) ADD_FAILURE() << "after the kill: " << problem;

        Session second(copy);
        ASSERT_TRUE(second.Start(&error)) << error;
        ASSERT_TRUE(second.SetCut(true, &error)) << error;
        ASSERT_TRUE(second.StartFirstRun(&error)) << error;
        const auto end = second.WaitForRunEnd(kRunTimeoutMs);
        ASSERT_TRUE(end.has_value()) << "the second run did not end: " << second.State();
        const size_t left = static_cast<size_t>(outcome->afterKill.sourceOnly + outcome->afterKill.both);
        EXPECT_EQ(*end, left == 0 ? std::wstring(kNothingToMigrate) : RunDoneText(left));
        // A video left in both places is refused by the move (its target exists);
        // every other one must be moved.
        int refused = 0;
        for (const std::wstring& line : second.Lines()) {
            const auto parts = SplitLine(line);
            ASSERT_EQ(parts.size(), 3u) << Utf8(line);
            if (parts[2] == L"失败") ++refused;
            else EXPECT_EQ(parts[2], L"已复制") << Utf8(line);
        }
        EXPECT_EQ(refused, outcome->afterKill.both);
        EXPECT_EQ(second.Close(), std::optional<DWORD>(0));

        outcome->afterSecondRun = TakeCensus(videos, tree.source(), copy.folder());
        for (const std::string& problem : outcome->afterSecondRun.problems)
            ADD_FAILURE() << "after the second run: " << problem;
        EXPECT_EQ(outcome->afterSecondRun.sourceOnly, 0) << outcome->afterSecondRun.Summary();
        EXPECT_EQ(outcome->afterSecondRun.targetOnly + outcome->afterSecondRun.both, kVideos);
        EXPECT_EQ(outcome->afterSecondRun.both, outcome->afterKill.both);
    }

    std::wstring drive_;
};

TEST_F(KilledCutRun, LeavesEveryVideoInItsSourceOrCompleteAtItsTargetAndASecondRunMovesTheRest) {
    const DWORD runMs = TimeOneCutRun(drive_);
    ASSERT_FALSE(HasFailure());
    const unsigned seed = static_cast<unsigned>(GetTickCount64());
    std::mt19937 random(seed);
    // The timed run ends when its final box is seen, a little after the last
    // file: kills spread over the moving part.
    std::uniform_int_distribution<DWORD> delay(0, runMs * 9 / 10 + 1);
    const bool unixKillWorks = UnixPathOf(L"C:\\").has_value();  // under Wine
    std::printf("one cut run of %d videos of %zu bytes takes %lu ms; seed %u\n", kVideos, kVideoBytes,
                static_cast<unsigned long>(runMs), seed);

    int bothAfterKill = 0;
    for (int round = 0; round < kKills; ++round) {
        const KillKind kind = unixKillWorks && round % 3 == 2 ? KillKind::UnixKill9 : KillKind::Terminate;
        const DWORD at = delay(random);
        KillOutcome outcome;
        SCOPED_TRACE("kill " + std::to_string(round + 1) + " at " + std::to_string(at) + " ms");
        KillAndResume(round, kind, at, &outcome);
        bothAfterKill += outcome.afterKill.both;
        std::printf("kill %2d (%s) at %4lu ms: %s; after the second run: %s\n", round + 1,
                    kind == KillKind::UnixKill9 ? "kill -9" : "TerminateProcess", static_cast<unsigned long>(at),
                    outcome.afterKill.Summary().c_str(), outcome.afterSecondRun.Summary().c_str());
        if (outcome.afterKill.both > 0) {
            std::printf("  kill %d hit between rename and delete: %d video(s) both in the source and complete at "
                        "the target\n", round + 1, outcome.afterKill.both);
        }
        if (HasFatalFailure()) return;
    }
    std::printf("videos left in both places by a kill: %d in %d kills\n", bothAfterKill, kKills);
    if (!unixKillWorks) std::printf("no Unix side reachable: every kill was a TerminateProcess\n");
}

}  // namespace
