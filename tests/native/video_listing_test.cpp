#include <gtest/gtest.h>

#include "app/shared_state.h"
#include "fake_fs.h"
#include "fake_ui.h"
#include "migration/handlers.h"
#include "world.h"

namespace {

void OpenWithVideos(const std::vector<std::pair<Text, std::int64_t>>& videos) {
    ResetWorld();
    fakefs::AddFolder(VideoFolder("acct1"));
    for (const auto& [name, time] : videos) AddVideo("acct1", name, time);
    OpenWindow();
}

}  // namespace

TEST(VideoListing, OneLinePerVideoInSearchOrderWithItsCreationTime) {
    OpenWithVideos({{"clip.mp4", kNov2018}, {"UPPER.MP4", kJan2019}, {"third.mp4", 1543593600}});
    fakefs::AddFolder(VideoFolder("acct1") + "\\x.mp4");
    fakefs::AddFile(VideoFolder("acct1") + "\\notes.txt", "x", kNov2018);

    OnRefreshClicked();

    EXPECT_EQ(fakeui::Lines(), (TextList{"clip.mp4|2018-11-20 09:05:03", "UPPER.MP4|2019-01-05 18:30:00",
                                         "third.mp4|2018-12-01 00:00:00"}));
    EXPECT_EQ(Shared().videoFiles, (TextList{"clip.mp4", "UPPER.MP4", "third.mp4"}));
    EXPECT_TRUE(fakeui::Messages().empty());
}

TEST(VideoListing, NoVideosShowsTheNoticeWithTheDefaultCaption) {
    OpenWithVideos({});
    fakefs::AddFolder(VideoFolder("acct1") + "\\x.mp4");
    AddLine("left over from before");

    OnRefreshClicked();

    EXPECT_TRUE(fakeui::Lines().empty());
    const auto messages = fakeui::Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].message, "暂无视频文件...");
    EXPECT_EQ(messages[0].buttons, ButtonSet::OkOnly);
    EXPECT_EQ(messages[0].caption, "信息：");
}

TEST(VideoListing, UnreadableTimesCarryThePreviousTextOrNothing) {
    struct Case {
        const char* title;
        int lockedIndex;
        TextList lines;
    };
    const Case cases[] = {
        {"first", 0, {"a.mp4|", "b.mp4|2019-01-05 18:30:00", "c.mp4|2018-11-20 09:05:03"}},
        {"middle", 1, {"a.mp4|2018-11-20 09:05:03", "b.mp4|2018-11-20 09:05:03", "c.mp4|2018-11-20 09:05:03"}},
    };
    for (const Case& c : cases) {
        OpenWithVideos({{"a.mp4", kNov2018}, {"b.mp4", kJan2019}, {"c.mp4", kNov2018}});
        const TextList names{"a.mp4", "b.mp4", "c.mp4"};
        fakefs::SetLocked(VideoFolder("acct1") + "\\" + names[static_cast<size_t>(c.lockedIndex)], true);
        OnRefreshClicked();
        EXPECT_EQ(fakeui::Lines(), c.lines) << c.title;
    }
}

TEST(VideoListing, EveryRefreshStartsWithAnEmptyCarriedText) {
    OpenWithVideos({{"a.mp4", kNov2018}});
    OnRefreshClicked();
    fakefs::SetLocked(VideoFolder("acct1") + "\\a.mp4", true);
    OnRefreshClicked();
    EXPECT_EQ(fakeui::Lines(), TextList{"a.mp4|"});
}

TEST(VideoListing, AccountChosenDuringTheListingDoesNotMixFolders) {
    ResetWorld();
    AddVideo("acct1", "a.mp4", kNov2018);
    AddVideo("acct2", "a.mp4", kJan2019);
    OpenWindow();
    // The user picks acct2 while the listing of acct1 dispatches messages.
    fakeui::PostEvent([] {
        SelectAccount(1);
        OnAccountSelected();
    });
    OnRefreshClicked();
    EXPECT_EQ(fakeui::Lines(), TextList{"a.mp4|2018-11-20 09:05:03"});
    EXPECT_EQ(Shared().videoFolder, VideoFolder("acct2"));
}

TEST(VideoListing, SecondClickDuringTheListingWaitsItsTurn) {
    OpenWithVideos({{"a.mp4", kNov2018}, {"b.mp4", kJan2019}});
    int nestedCalls = 0;
    fakeui::PostEvent([&] {
        ++nestedCalls;
        OnRefreshClicked();
        // Nothing was cleared under the running refresh.
        EXPECT_EQ(Shared().videoFiles.size(), 1u);
    });
    OnRefreshClicked();
    fakeui::PumpWindowThread();
    EXPECT_EQ(nestedCalls, 1);
    EXPECT_EQ(fakeui::Lines(), (TextList{"a.mp4|2018-11-20 09:05:03", "b.mp4|2019-01-05 18:30:00"}));
}
