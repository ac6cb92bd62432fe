// Keyboard behaviour of the main window: Tab moves among the focusable
// controls, Esc and a close request end the program with exit code 0.
#include <windows.h>

#include <set>
#include <vector>

#include <gtest/gtest.h>

#include "fixture.h"
#include "keyboard.h"
#include "process.h"
#include "program_at_start.h"
#include "ui/control_ids.h"
#include "window_probe.h"

namespace {

constexpr DWORD kExitTimeoutMs = 10000;

class FreshProgram : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(RemoveTree(AccountsRoot()));
        std::wstring error;
        window_ = StartAndFindWindow(process_, &error);
        ASSERT_NE(window_, nullptr) << Narrow(error);
    }
    void ExpectExitCodeZero() {
        const auto code = process_.WaitForExit(kExitTimeoutMs);
        ASSERT_TRUE(code.has_value()) << "the program still runs " << kExitTimeoutMs << " ms later";
        EXPECT_EQ(*code, 0u);
    }
    AppProcess process_;
    HWND window_ = nullptr;
};

TEST_F(FreshProgram, EscFromTheKeyboardEndsTheProgramWithExitCodeZero) {
    ASSERT_TRUE(BringToFront(window_));
    ASSERT_TRUE(PressKey(VK_ESCAPE));
    ExpectExitCodeZero();
}

TEST_F(FreshProgram, CloseRequestEndsTheProgramWithExitCodeZero) {
    ASSERT_TRUE(PostMessageW(window_, WM_CLOSE, 0, 0));
    ExpectExitCodeZero();
}

TEST_F(FreshProgram, TabCyclesThroughTheFiveFocusableControls) {
    ASSERT_TRUE(BringToFront(window_));
    // Activation puts the focus on the window first; Tab starts from there.
    ASSERT_TRUE(WaitUntil([&] {
        HWND focus = FocusedWindowOf(window_);
        return focus == window_ || (focus && GetParent(focus) == window_);
    }, 3000));
    std::vector<int> visited;
    for (int press = 0; press < 10; ++press) {
        const HWND before = FocusedWindowOf(window_);
        ASSERT_TRUE(PressKey(VK_TAB));
        ASSERT_TRUE(WaitUntil([&] { return FocusedWindowOf(window_) != before; }, 3000))
            << "Tab press " << press + 1 << " did not move the focus";
        visited.push_back(GetDlgCtrlID(FocusedWindowOf(window_)));
    }
    const std::set<int> expected = {IDC_CUT_OPTION, IDC_ACCOUNTS, IDC_REFRESH, IDC_MIGRATE, IDC_VIDEO_LIST};
    EXPECT_EQ(std::set<int>(visited.begin(), visited.end()), expected);
    for (size_t i = 5; i < visited.size(); ++i) EXPECT_EQ(visited[i], visited[i - 5]) << "press " << i + 1;
}

// Esc reaching the message loop for the window or for any control that can
// have the focus closes the window.
class EscOnWindow : public FreshProgram, public testing::WithParamInterface<int> {};

TEST_P(EscOnWindow, EndsTheProgramWithExitCodeZero) {
    HWND target = GetParam() == 0 ? window_ : GetDlgItem(window_, GetParam());
    ASSERT_NE(target, nullptr);
    ASSERT_TRUE(PostKey(target, VK_ESCAPE));
    ExpectExitCodeZero();
}

INSTANTIATE_TEST_SUITE_P(MainWindow, EscOnWindow,
                         testing::Values(0, IDC_CUT_OPTION, IDC_ACCOUNTS, IDC_REFRESH, IDC_MIGRATE, IDC_VIDEO_LIST),
                         [](const testing::TestParamInfo<int>& info) {
                             switch (info.param) {
                             case IDC_CUT_OPTION: return std::string("CutOption");
                             case IDC_ACCOUNTS: return std::string("Accounts");
                             case IDC_REFRESH: return std::string("Refresh");
                             case IDC_MIGRATE: return std::string("Migrate");
                             case IDC_VIDEO_LIST: return std::string("VideoList");
                             default: return std::string("Window");
                             }
                         });

}  // namespace
