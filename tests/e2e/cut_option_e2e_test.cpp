// The cut option: ticking it asks for confirmation, and only OK keeps the tick.
#include <windows.h>

#include <gtest/gtest.h>

#include "driven_program.h"
#include "fixture.h"
#include "program_at_start.h"
#include "program_dialogs.h"
#include "ui/control_ids.h"
#include "window_probe.h"

namespace {

const wchar_t kQuestion[] =
    L"选中此选项则直接剪切微信PC端的视频，剪切后将导致微信PC端中无法播放之前接收的视频，是否确认？";

enum class Answer { Ok, Cancel, CloseBox };

struct AnswerCase {
    const char* name;
    Answer answer;
    bool tickedAfter;
};

void PrintTo(const AnswerCase& row, std::ostream* out) { *out << row.name; }

class CutOption : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(tree_.ok()) << Narrow(tree_.error());
        std::wstring error;
        ASSERT_TRUE(program_.Start(&error)) << Narrow(error);
    }
    AccountsTree tree_{{Account(L"acct1", {})}};
    DrivenProgram program_;
};

class CutQuestion : public CutOption, public testing::WithParamInterface<AnswerCase> {};

TEST_P(CutQuestion, TickingAsksAndTheAnswerDecidesTheTick) {
    ASSERT_FALSE(program_.IsCutTicked());
    ASSERT_TRUE(program_.Click(IDC_CUT_OPTION));
    const MessageBoxSeen box = WaitForMessageBox(program_.Id());
    ASSERT_NE(box.window, nullptr) << "ticking asked nothing";
    EXPECT_EQ(box.caption, L"确认操作");
    EXPECT_EQ(box.text, kQuestion);
    EXPECT_NE(GetDlgItem(box.window, IDOK), nullptr);
    EXPECT_NE(GetDlgItem(box.window, IDCANCEL), nullptr);
    // The box has toggled itself before the question.
    EXPECT_TRUE(program_.IsCutTicked());

    switch (GetParam().answer) {
    case Answer::Ok: ASSERT_TRUE(PressDialogButton(box.window, IDOK)); break;
    case Answer::Cancel: ASSERT_TRUE(PressDialogButton(box.window, IDCANCEL)); break;
    case Answer::CloseBox: ASSERT_TRUE(CloseDialog(box.window)); break;
    }
    ASSERT_TRUE(program_.WaitForPostedMessages());
    EXPECT_TRUE(WaitUntil([&] { return program_.IsCutTicked() == GetParam().tickedAfter; }, 5000))
        << "ticked: " << program_.IsCutTicked();
    EXPECT_FALSE(HasMessageBox(program_.Id()));
}

INSTANTIATE_TEST_SUITE_P(CutOption, CutQuestion,
                         testing::Values(AnswerCase{"Ok", Answer::Ok, true},
                                         AnswerCase{"Cancel", Answer::Cancel, false},
                                         AnswerCase{"CloseBox", Answer::CloseBox, false}),
                         [](const testing::TestParamInfo<AnswerCase>& info) { return std::string(info.param.name); });

TEST_F(CutOption, UntickingAsksNothingAndTickingAgainAsksAgain) {
    std::wstring error;
    ASSERT_TRUE(program_.TickCutOptionConfirmed(&error)) << Narrow(error);
    ASSERT_TRUE(program_.Click(IDC_CUT_OPTION));
    // A question would be open before a marker posted behind the click arrives.
    ASSERT_TRUE(program_.WaitForPostedMessages());
    EXPECT_FALSE(HasMessageBox(program_.Id())) << "unticking asked a question";
    EXPECT_FALSE(program_.IsCutTicked());
    EXPECT_TRUE(program_.TickCutOptionConfirmed(&error)) << Narrow(error);
}

}  // namespace
