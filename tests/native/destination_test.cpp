#include <gtest/gtest.h>

#include "fake_ui.h"
#include "migration/destination.h"
#include "migration/handlers.h"
#include "world.h"

TEST(Destination, PickedFolderBecomesTheCaptionWithABackslash) {
    struct Case {
        Text picked, caption;
    };
    const Case cases[] = {
        {"D:\\Backup", "D:\\Backup\\"},
        {"E:\\", "E:\\\\"},
        {"D:\\A&B 视频", "D:\\A&B 视频\\"},
    };
    for (const Case& c : cases) {
        ResetWorld();
        fakeui::SetPickedFolder(c.picked);
        OnDestinationDoubleClicked();
        EXPECT_EQ(fakeui::Caption(), c.caption);
        EXPECT_EQ(fakeui::PickerTitles(), TextList{"选择要报文视频的文件位置"});
    }
}

TEST(Destination, CancelledPickerKeepsTheCaption) {
    ResetWorld();
    OnDestinationDoubleClicked();
    EXPECT_EQ(fakeui::Caption(), "双击此处选择存储位置");

    fakeui::SetPickedFolder("D:\\Backup");
    OnDestinationDoubleClicked();
    fakeui::SetPickedFolder("");
    OnDestinationDoubleClicked();
    EXPECT_EQ(fakeui::Caption(), "D:\\Backup\\");
}

TEST(CutOption, TickingAsksAndTheAnswerDecides) {
    struct Case {
        const char* title;
        MessageResult answer;
        bool ticked;
    };
    // A closed box answers Cancel.
    for (const Case& c : {Case{"ok", MessageResult::Ok, true}, Case{"cancel", MessageResult::Cancel, false}}) {
        ResetWorld();
        fakeui::SetMessageAnswerer([&](const fakeui::ShownMessage&) { return c.answer; });
        SetCutOptionTicked(true);  // the box toggles itself before the handler runs
        OnCutOptionClicked();
        EXPECT_EQ(fakeui::CutTicked(), c.ticked) << c.title;
        const auto messages = fakeui::Messages();
        ASSERT_EQ(messages.size(), 1u) << c.title;
        EXPECT_EQ(messages[0].message,
                  "选中此选项则直接剪切微信PC端的视频，剪切后将导致微信PC端中无法播放之前接收的视频，是否确认？");
        EXPECT_EQ(messages[0].buttons, ButtonSet::OkCancel);
        EXPECT_EQ(messages[0].caption, "确认操作");
    }
}

TEST(CutOption, UntickingAsksNothingAndEveryTickAsksAgain) {
    ResetWorld();
    SetCutOptionTicked(true);
    OnCutOptionClicked();
    SetCutOptionTicked(false);
    OnCutOptionClicked();
    EXPECT_FALSE(fakeui::CutTicked());
    SetCutOptionTicked(true);
    OnCutOptionClicked();
    EXPECT_EQ(fakeui::Messages().size(), 2u);
    EXPECT_TRUE(fakeui::CutTicked());
}

TEST(CutOption, ATickIsNotConfirmedWhileTheQuestionIsOpen) {
    ResetWorld();
    bool confirmedDuringQuestion = true;
    fakeui::SetMessageAnswerer([&](const fakeui::ShownMessage&) {
        confirmedDuringQuestion = IsCutConfirmed();
        return MessageResult::Ok;
    });
    EXPECT_FALSE(IsCutConfirmed());
    SetCutOptionTicked(true);
    OnCutOptionClicked();
    EXPECT_FALSE(confirmedDuringQuestion);
    EXPECT_TRUE(IsCutConfirmed());
}
