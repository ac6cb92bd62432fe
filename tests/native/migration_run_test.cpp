#include <gtest/gtest.h>

#include "app/shared_state.h"
#include "fake_fs.h"
#include "fake_ui.h"
#include "migration/handlers.h"
#include "world.h"

namespace {

constexpr const char* kDestination = "D:\\Backup\\";

// Two videos of different months in acct1 and a chosen destination.
void PrepareTwoVideos() {
    ResetWorld();
    AddVideo("acct1", "a.mp4", kNov2018, "content of a");
    AddVideo("acct1", "b.mp4", kJan2019, "content of b");
    fakefs::AddFolder("D:\\Backup");
    fakefs::AddFolder("D:\\Backup");
    OpenWindow();
    SetDestinationCaption(kDestination);
}

void Migrate() {
    OnMigrateClicked();
    fakeui::WaitForWorkers();
}

// The cut option as the user leaves it after confirming.
void TickCut() {
    SetCutOptionTicked(true);
    OnCutOptionClicked();
}

fakeui::ShownMessage LastMessage() {
    const auto messages = fakeui::Messages();
    return messages.empty() ? fakeui::ShownMessage{} : messages.back();
}

}  // namespace

TEST(MigrationRun, CopiesEveryVideoIntoItsMonthFolder) {
    PrepareTwoVideos();
    Migrate();

    EXPECT_EQ(fakefs::Content("D:\\Backup\\2018-11\\a.mp4"), "content of a");
    EXPECT_EQ(fakefs::Content("D:\\Backup\\2019-01\\b.mp4"), "content of b");
    EXPECT_TRUE(fakefs::Exists(VideoFolder("acct1") + "\\a.mp4"));
    EXPECT_EQ(fakeui::Lines(), (TextList{"a.mp4|2018-11|已复制", "b.mp4|2019-01|已复制"}));
    const auto message = LastMessage();
    EXPECT_EQ(message.message, "共迁移视频文件 【2】");
    EXPECT_EQ(message.caption, "迁移完成");
    EXPECT_EQ(message.buttons, ButtonSet::OkOnly);
    EXPECT_FALSE(message.onWindowThread);
    EXPECT_FALSE(fakeui::ProgressVisible());
    EXPECT_EQ(fakeui::ProgressMaximum(), 2);
    EXPECT_EQ(fakeui::ProgressPosition(), 2);
}

TEST(MigrationRun, MonthFollowsLocalTime) {
    ResetWorld();
    AddVideo("acct1", "midnight.mp4", 1543593600);  // 2018-11-30 16:00 UTC
    AddVideo("acct1", "newyear.mp4", 1546273800);   // 2018-12-31 16:30 UTC
    fakefs::AddFolder("D:\\Backup");
    OpenWindow();
    SetDestinationCaption(kDestination);
    Migrate();
    EXPECT_EQ(fakeui::Lines(), (TextList{"midnight.mp4|2018-12|已复制", "newyear.mp4|2019-01|已复制"}));
}

TEST(MigrationRun, CutMovesTheVideosAndStillSaysCopied) {
    PrepareTwoVideos();
    TickCut();
    Migrate();

    EXPECT_FALSE(fakefs::Exists(VideoFolder("acct1") + "\\a.mp4"));
    EXPECT_FALSE(fakefs::Exists(VideoFolder("acct1") + "\\b.mp4"));
    EXPECT_EQ(fakefs::Content("D:\\Backup\\2018-11\\a.mp4"), "content of a");
    EXPECT_EQ(fakefs::Content("D:\\Backup\\2019-01\\b.mp4"), "content of b");
    EXPECT_EQ(fakeui::Lines(), (TextList{"a.mp4|2018-11|已复制", "b.mp4|2019-01|已复制"}));

    // A second cut run finds nothing left.
    Migrate();
    EXPECT_EQ(LastMessage().message, "暂无视频迁移...");
    EXPECT_EQ(LastMessage().caption, "信息：");
}

TEST(MigrationRun, TheCutOptionIsReadForEveryFile) {
    ResetWorld();
    for (const char* name : {"1.mp4", "2.mp4", "3.mp4"}) AddVideo("acct1", name, kNov2018);
    fakefs::AddFolder("D:\\Backup");
    OpenWindow();
    SetDestinationCaption(kDestination);
    TickCut();
    // Unticked while the second file is under way.
    fakeui::SetLineAddedHook([](int index, const Text&) {
        if (index == 1) SetCutOptionTicked(false);
    });
    Migrate();

    EXPECT_FALSE(fakefs::Exists(VideoFolder("acct1") + "\\1.mp4"));
    EXPECT_TRUE(fakefs::Exists(VideoFolder("acct1") + "\\2.mp4"));
    EXPECT_TRUE(fakefs::Exists(VideoFolder("acct1") + "\\3.mp4"));
    for (const char* name : {"1.mp4", "2.mp4", "3.mp4"})
        EXPECT_TRUE(fakefs::Exists(Text("D:\\Backup\\2018-11\\") + name)) << name;
}

TEST(MigrationRun, UnreadableTimesTakeThePreviousMonthOrNone) {
    PrepareTwoVideos();
    AddVideo("acct1", "c.mp4", kNov2018);
    fakefs::SetLocked(VideoFolder("acct1") + "\\a.mp4", true);
    fakefs::SetLocked(VideoFolder("acct1") + "\\c.mp4", true);
    Migrate();
    EXPECT_EQ(fakeui::Lines(), (TextList{"a.mp4||失败", "b.mp4|2019-01|已复制", "c.mp4|2019-01|失败"}));
    EXPECT_EQ(LastMessage().message, "共迁移视频文件 【3】");
}

TEST(MigrationRun, CopyReplacesAnExistingTargetAndMoveRefusesOne) {
    struct Case {
        const char* title;
        bool cut;
        Text line;
        Text targetContent;
        bool sourceKept;
    };
    const Case cases[] = {
        {"copy", false, "a.mp4|2018-11|已复制", "content of a", true},
        {"move", true, "a.mp4|2018-11|失败", "older copy", true},
    };
    for (const Case& c : cases) {
        PrepareTwoVideos();
        fakefs::AddFile("D:\\Backup\\2018-11\\a.mp4", "older copy", kNov2018);
        if (c.cut) TickCut();
        Migrate();
        EXPECT_EQ(fakeui::Lines().front(), c.line) << c.title;
        EXPECT_EQ(fakefs::Content("D:\\Backup\\2018-11\\a.mp4"), c.targetContent) << c.title;
        EXPECT_EQ(fakefs::Exists(VideoFolder("acct1") + "\\a.mp4"), c.sourceKept) << c.title;
        EXPECT_EQ(fakeui::Lines().back(), "b.mp4|2019-01|已复制") << c.title;
    }
}

TEST(MigrationRun, RunningTwiceWithCopyOverwritesAndSucceedsAgain) {
    PrepareTwoVideos();
    Migrate();
    Migrate();
    EXPECT_EQ(fakeui::Lines(), (TextList{"a.mp4|2018-11|已复制", "b.mp4|2019-01|已复制"}));
    EXPECT_EQ(LastMessage().message, "共迁移视频文件 【2】");
}

TEST(MigrationRun, NoVideosShowsTheNoticeAndLeavesTheBarHidden) {
    ResetWorld();
    fakefs::AddFolder(VideoFolder("acct1"));
    fakefs::AddFolder("D:\\Backup");
    OpenWindow();
    SetDestinationCaption(kDestination);
    AddLine("old line");
    Migrate();
    EXPECT_TRUE(fakeui::Lines().empty());
    EXPECT_EQ(LastMessage().message, "暂无视频迁移...");
    EXPECT_EQ(LastMessage().buttons, ButtonSet::OkOnly);
    EXPECT_FALSE(fakeui::ProgressVisible());
    EXPECT_EQ(fakeui::ProgressMaximum(), 0);
}

TEST(MigrationRun, WithoutADestinationTheRunDirectoryIsOfferedFirst) {
    const Text question = "不选择迁移视频保存位置将直接迁移至程序运行目录\r\n当前运行目录【C:\\Tools\\】 确认继续？";
    for (MessageResult answer : {MessageResult::Ok, MessageResult::Cancel}) {
        ResetWorld();
        AddVideo("acct1", "a.mp4", kNov2018, "content of a");
        fakefs::AddFolder("C:\\Tools");
        OpenWindow();
        fakeui::SetMessageAnswerer([&](const fakeui::ShownMessage& shown) {
            return shown.caption == "异常提醒" ? answer : MessageResult::Ok;
        });
        AddLine("kept");
        Migrate();

        const auto messages = fakeui::Messages();
        ASSERT_FALSE(messages.empty());
        EXPECT_EQ(messages[0].message, question);
        EXPECT_EQ(messages[0].caption, "异常提醒");
        EXPECT_EQ(messages[0].buttons, ButtonSet::OkCancel);
        EXPECT_TRUE(messages[0].onWindowThread);
        if (answer == MessageResult::Ok) {
            EXPECT_EQ(fakeui::Caption(), "C:\\Tools\\");
            EXPECT_EQ(fakefs::Content("C:\\Tools\\2018-11\\a.mp4"), "content of a");
            EXPECT_EQ(messages.back().message, "共迁移视频文件 【1】");
        } else {
            EXPECT_EQ(fakeui::Caption(), "双击此处选择存储位置");
            EXPECT_EQ(messages.size(), 1u);
            EXPECT_EQ(fakeui::Lines(), TextList{"kept"});
            EXPECT_FALSE(fakefs::Exists("C:\\Tools\\2018-11"));
        }
    }
}

TEST(MigrationRun, FailuresOnlyMarkTheirLinesAndTheRunGoesOn) {
    struct Case {
        const char* title;
        void (*arrange)();
        TextList lines;
    };
    const Case cases[] = {
        {"disk full after the first file", [] { fakefs::SetFreeSpace(14); },
         {"a.mp4|2018-11|已复制", "b.mp4|2019-01|失败"}},
        {"read-only destination", [] { fakefs::SetReadOnlyFolder("D:\\Backup", true); },
         {"a.mp4|2018-11|失败", "b.mp4|2019-01|失败"}},
        {"missing destination drive", [] { SetDestinationCaption("Q:\\nowhere\\"); },
         {"a.mp4|2018-11|失败", "b.mp4|2019-01|失败"}},
        {"source locked", [] { fakefs::SetLocked(VideoFolder("acct1") + "\\b.mp4", true); },
         {"a.mp4|2018-11|已复制", "b.mp4|2018-11|失败"}},
    };
    for (const Case& c : cases) {
        PrepareTwoVideos();
        c.arrange();
        Migrate();
        EXPECT_EQ(fakeui::Lines(), c.lines) << c.title;
        EXPECT_EQ(LastMessage().message, "共迁移视频文件 【2】") << c.title;
        EXPECT_EQ(fakefs::Content(VideoFolder("acct1") + "\\a.mp4"), "content of a") << c.title;
        EXPECT_EQ(fakefs::Content(VideoFolder("acct1") + "\\b.mp4"), "content of b") << c.title;
    }
}

TEST(MigrationRun, AFailedCutLeavesTheSourceWhereItWas) {
    PrepareTwoVideos();
    TickCut();
    fakefs::SetFreeSpace(0);
    fakefs::AddFolder("E:\\Backup");
    SetDestinationCaption("E:\\Backup\\");
    Migrate();
    for (const char* name : {"a.mp4", "b.mp4"}) {
        const bool inSource = fakefs::Exists(VideoFolder("acct1") + "\\" + name);
        const bool inTarget = fakefs::Exists(Text("E:\\Backup\\") + (name[0] == 'a' ? "2018-11\\" : "2019-01\\") + name);
        EXPECT_TRUE(inSource != inTarget) << name;
    }
}

TEST(MigrationRun, AnAccountChosenDuringTheRunDoesNotRedirectIt) {
    PrepareTwoVideos();
    AddVideo("acct2", "b.mp4", kJan2019, "other account");
    fakeui::SetLineAddedHook([](int index, const Text&) {
        if (index == 0) Shared().videoFolder = VideoFolder("acct2");
    });
    Migrate();
    EXPECT_EQ(fakefs::Content("D:\\Backup\\2019-01\\b.mp4"), "content of b");
}

TEST(MigrationRun, MoreVideosThanTheBarCountsStillAllMigrate) {
    ResetWorld();
    for (int i = 0; i < 33000; ++i) AddVideo("acct1", "v" + std::to_string(i) + ".mp4", kNov2018, "");
    fakefs::AddFolder("D:\\Backup");
    OpenWindow();
    SetDestinationCaption(kDestination);
    Migrate();
    EXPECT_EQ(fakeui::ProgressMaximum(), 32767);
    EXPECT_EQ(LastMessage().message, "共迁移视频文件 【33000】");
    EXPECT_EQ(fakeui::Lines().back(), "v32999.mp4|2018-11|已复制");
    EXPECT_EQ(fakefs::Children("D:\\Backup\\2018-11").size(), 33000u);
}
