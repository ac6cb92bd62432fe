// The main window itself at start: size, place, title bar, frame and children.
#include <windows.h>

#include <set>

#include <gtest/gtest.h>

#include "program_at_start.h"
#include "ui/control_ids.h"
#include "window_probe.h"

namespace {

class MainWindowAtStart : public testing::Test {
protected:
    static void SetUpTestSuite() { ProgramAtStart::Start(); }
    static void TearDownTestSuite() { ProgramAtStart::Stop(); }
    void SetUp() override {
        window_ = ProgramAtStart::Window();
        ASSERT_NE(window_, nullptr) << ProgramAtStart::StartError();
    }
    HWND window_ = nullptr;
};

TEST_F(MainWindowAtStart, HasItsOuterSizeAndIsCentredOnTheScreen) {
    const Geometry frame = ScreenGeometry(window_);
    EXPECT_EQ(frame.width, ScaleFrom96(473));
    EXPECT_EQ(frame.height, ScaleFrom96(487));
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    // Odd leftovers may be rounded either way.
    EXPECT_NEAR(frame.left, (screenWidth - frame.width) / 2, 1) << "screen " << screenWidth << "x" << screenHeight;
    EXPECT_NEAR(frame.top, (screenHeight - frame.height) / 2, 1) << "screen " << screenWidth << "x" << screenHeight;
}

TEST_F(MainWindowAtStart, HasAnEmptyTitle) {
    EXPECT_EQ(Query(window_, WM_GETTEXTLENGTH), 0);
}

TEST_F(MainWindowAtStart, HasSystemMenuMinimiseBoxResizableFrameAndNoMaximiseBox) {
    const DWORD style = StyleOf(window_);
    EXPECT_EQ(style & WS_CAPTION, static_cast<DWORD>(WS_CAPTION));
    EXPECT_NE(style & WS_SYSMENU, 0u);
    EXPECT_NE(style & WS_MINIMIZEBOX, 0u);
    EXPECT_EQ(style & WS_MAXIMIZEBOX, 0u);
    EXPECT_NE(style & WS_THICKFRAME, 0u);
    EXPECT_EQ(style & WS_CHILD, 0u);
    EXPECT_TRUE(IsWindowEnabled(window_));
}

TEST_F(MainWindowAtStart, IsShownInTheTaskbarAndNotTopmost) {
    const DWORD exStyle = ExStyleOf(window_);
    EXPECT_EQ(exStyle & WS_EX_TOPMOST, 0u);
    EXPECT_EQ(exStyle & WS_EX_TOOLWINDOW, 0u);
    EXPECT_TRUE(GetWindow(window_, GW_OWNER) == nullptr || (exStyle & WS_EX_APPWINDOW) != 0);
}

TEST_F(MainWindowAtStart, HoldsExactlyTheEightControls) {
    std::multiset<int> ids;
    for (HWND child = GetWindow(window_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        ids.insert(GetDlgCtrlID(child));
    }
    const std::multiset<int> expected = {IDC_ACCOUNT_LABEL, IDC_ACCOUNTS, IDC_CUT_OPTION, IDC_DESTINATION,
                                         IDC_VIDEO_LIST,    IDC_REFRESH,  IDC_MIGRATE,    IDC_PROGRESS};
    EXPECT_EQ(ids, expected);
}

}  // namespace
