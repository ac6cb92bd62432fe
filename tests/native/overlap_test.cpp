// Clicks, refreshes and option changes while a migration runs on its worker.
// Also built with ThreadSanitizer.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <set>
#include <thread>

#include "app/shared_state.h"
#include "fake_fs.h"
#include "fake_ui.h"
#include "migration/handlers.h"
#include "world.h"

namespace {

constexpr int kVideos = 6;

// Holds the worker at its first line until released, so the test can act
// while a run is certainly under way.
class RunGate {
public:
    RunGate() {
        fakeui::SetLineAddedHook([this](int index, const Text&) {
            if (index != 0 || released_) return;
            reached_ = true;
            while (!released_) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        });
    }
    void WaitUntilReached() {
        while (!reached_) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    void Release() { released_ = true; }

private:
    std::atomic<bool> reached_{false};
    std::atomic<bool> released_{false};
};

void PrepareVideos() {
    ResetWorld();
    for (int i = 0; i < kVideos; ++i) AddVideo("acct1", "v" + std::to_string(i) + ".mp4", kNov2018, "data");
    AddVideo("acct2", "other.mp4", kJan2019, "other");
    fakefs::AddFolder("D:\\Backup");
    OpenWindow();
    SetDestinationCaption("D:\\Backup\\");
}

int CountMessages(const Text& text) {
    int count = 0;
    for (const auto& shown : fakeui::Messages()) count += shown.message == text;
    return count;
}

// Every video is in exactly one place, whole.
void ExpectNothingLost() {
    for (int i = 0; i < kVideos; ++i) {
        const Text name = "v" + std::to_string(i) + ".mp4";
        const bool inSource = fakefs::Exists(VideoFolder("acct1") + "\\" + name);
        const Text target = "D:\\Backup\\2018-11\\" + name;
        EXPECT_TRUE(inSource || fakefs::Content(target) == "data") << name;
    }
}

}  // namespace

TEST(Overlap, ClicksDuringARunAreServedOnceAfterIt) {
    for (bool cut : {false, true}) {
        PrepareVideos();
        if (cut) {
            SetCutOptionTicked(true);
            OnCutOptionClicked();
        }
        RunGate gate;
        OnMigrateClicked();
        gate.WaitUntilReached();
        for (int i = 0; i < 4; ++i) OnMigrateClicked();
        gate.Release();
        fakeui::WaitForWorkers();

        const Text done = "共迁移视频文件 【" + std::to_string(kVideos) + "】";
        if (cut) {
            // The queued run found every video already moved.
            EXPECT_EQ(CountMessages(done), 1);
            EXPECT_EQ(CountMessages("暂无视频迁移..."), 1);
            EXPECT_TRUE(fakeui::Lines().empty());
        } else {
            EXPECT_EQ(CountMessages(done), 2);
            EXPECT_EQ(fakeui::Lines().size(), static_cast<size_t>(kVideos));
        }
        ExpectNothingLost();
    }
}

TEST(Overlap, RefreshDuringARunWaitsAndNeverMixesLines) {
    PrepareVideos();
    RunGate gate;
    OnMigrateClicked();
    gate.WaitUntilReached();
    OnRefreshClicked();
    // The running worker's list and lines are untouched.
    EXPECT_EQ(Shared().videoFiles.size(), static_cast<size_t>(kVideos));
    EXPECT_EQ(fakeui::Lines().size(), 1u);
    gate.Release();
    fakeui::WaitForWorkers();

    const TextList lines = fakeui::Lines();
    ASSERT_EQ(lines.size(), static_cast<size_t>(kVideos));
    std::set<Text> names;
    for (const Text& line : lines) {
        EXPECT_EQ(line.substr(line.find('|')), "|2018-11-20 09:05:03") << line;
        names.insert(line.substr(0, line.find('|')));
    }
    EXPECT_EQ(names.size(), static_cast<size_t>(kVideos));
}

TEST(Overlap, RunAfterARefreshAndRefreshAfterARunKeepClickOrder) {
    PrepareVideos();
    RunGate gate;
    OnMigrateClicked();
    gate.WaitUntilReached();
    OnRefreshClicked();
    OnMigrateClicked();
    gate.Release();
    fakeui::WaitForWorkers();
    // The refresh came first, then the second run, whose lines remain.
    EXPECT_EQ(fakeui::Lines().front(), "v0.mp4|2018-11|已复制");
    EXPECT_EQ(CountMessages("共迁移视频文件 【6】"), 2);
}

TEST(Overlap, OptionAndAccountChangesDuringARunLoseNothing) {
    PrepareVideos();
    SetCutOptionTicked(true);
    OnCutOptionClicked();
    std::atomic<int> changes{0};
    fakeui::SetLineAddedHook([&](int, const Text&) {
        // The user's clicks arrive on the window's thread.
        fakeui::PostEvent([&] {
            const bool tick = changes % 2 == 1;
            SetCutOptionTicked(tick);
            OnCutOptionClicked();
            SelectAccount(changes % 2);
            OnAccountSelected();
            ++changes;
        });
    });
    OnMigrateClicked();
    fakeui::WaitForWorkers();
    EXPECT_GT(changes.load(), 0);
    EXPECT_EQ(CountMessages("共迁移视频文件 【6】"), 1);
    ExpectNothingLost();
    EXPECT_TRUE(fakefs::Exists(VideoFolder("acct2") + "\\other.mp4"));
}
