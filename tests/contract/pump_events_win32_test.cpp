// PumpPendingEvents on a real message queue: it dispatches what is pending
// and leaves a quit request for the message loop.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "fs/folder_listing.h"

namespace {

std::vector<UINT> seen;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= WM_APP) {
        seen.push_back(message);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

class PumpEvents : public testing::Test {
protected:
    void SetUp() override {
        static const ATOM windowClass = [] {
            WNDCLASSW description{};
            description.lpfnWndProc = RecordingProc;
            description.hInstance = GetModuleHandleW(nullptr);
            description.lpszClassName = L"PumpEventsTest";
            return RegisterClassW(&description);
        }();
        window_ = CreateWindowExW(0, MAKEINTATOM(windowClass), L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(window_, nullptr);
        seen.clear();
    }
    void TearDown() override {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        }
        DestroyWindow(window_);
    }
    HWND window_ = nullptr;
};

TEST_F(PumpEvents, DispatchesEveryPendingMessageInOrder) {
    PostMessageW(window_, WM_APP + 1, 0, 0);
    PostMessageW(window_, WM_APP + 2, 0, 0);
    PumpPendingEvents();
    EXPECT_EQ(seen, (std::vector<UINT>{WM_APP + 1, WM_APP + 2}));
    MSG message;
    EXPECT_FALSE(PeekMessageW(&message, window_, WM_APP, 0xBFFF, PM_NOREMOVE));
}

TEST_F(PumpEvents, ReturnsAtOnceOnAnEmptyQueue) {
    PumpPendingEvents();
    EXPECT_TRUE(seen.empty());
}

// Closing the window during a listing: the message loop must still end.
TEST_F(PumpEvents, LeavesTheQuitRequestForTheMessageLoop) {
    PostMessageW(window_, WM_APP + 1, 0, 0);
    PostQuitMessage(7);
    PumpPendingEvents();
    EXPECT_EQ(seen, std::vector<UINT>{WM_APP + 1});
    MSG message;
    // Peek first: a lost quit request would leave GetMessage waiting for ever.
    ASSERT_TRUE(PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE));
    ASSERT_EQ(message.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(GetMessageW(&message, nullptr, 0, 0), 0);
    EXPECT_EQ(message.wParam, 7u);
}

TEST_F(PumpEvents, LeavesAPostedQuitMessageForTheMessageLoop) {
    PostThreadMessageW(GetCurrentThreadId(), WM_QUIT, 3, 0);
    PumpPendingEvents();
    MSG message;
    ASSERT_TRUE(PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE));
    ASSERT_EQ(message.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(GetMessageW(&message, nullptr, 0, 0), 0);
    EXPECT_EQ(message.wParam, 3u);
}

}  // namespace
