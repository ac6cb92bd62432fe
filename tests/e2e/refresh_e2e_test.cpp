// The refresh button: one line per video of the selected account with its
// local creation time, or the message that there are none.
#include <windows.h>

#include <set>

#include <gtest/gtest.h>

#include "driven_program.h"
#include "fixture.h"
#include "keyboard.h"
#include "program_at_start.h"
#include "program_dialogs.h"
#include "scratch_files.h"
#include "screenshot.h"
#include "ui/control_ids.h"
#include "window_probe.h"

namespace {

std::wstring Wide(const std::string& text) {
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
    return wide;
}

TEST(Refresh, ListsTheVideosInSearchOrderWithTheirLocalCreationTimes) {
    struct Expected {
        const wchar_t* name;
        SYSTEMTIME created;
        const char* shown;
    };
    const Expected videos[] = {
        {L"a.mp4", LocalTime(2018, 11, 20, 9, 5, 3), "2018-11-20 09:05:03"},
        {L"b.mp4", LocalTime(2019, 1, 2, 23, 59, 58), "2019-01-02 23:59:58"},
        {L"C.MP4", LocalTime(2020, 2, 29, 0, 0, 0), "2020-02-29 00:00:00"},
    };
    std::vector<FixtureVideo> entries;
    for (const Expected& video : videos) entries.push_back(VideoFile(video.name, video.created));
    entries.push_back(FolderNamed(L"x.mp4", LocalTime(2018, 5, 1, 12, 0, 0)));
    entries.push_back(VideoFile(L"notes.txt", LocalTime(2018, 5, 1, 12, 0, 0)));
    AccountsTree tree({Account(L"acct1", entries)});
    ASSERT_TRUE(tree.ok()) << Narrow(tree.error());

    // The order is the directory search's; the names are the three videos.
    const std::vector<std::wstring> order = SearchOrder(VideoFolderOf(L"acct1"), L"*.mp4", false);
    ASSERT_EQ(std::set<std::wstring>(order.begin(), order.end()),
              (std::set<std::wstring>{L"a.mp4", L"b.mp4", L"C.MP4"}));
    std::vector<std::wstring> expected;
    for (const std::wstring& name : order) {
        for (const Expected& video : videos) {
            if (name == video.name) expected.push_back(name + L"|" + Wide(video.shown));
        }
    }

    DrivenProgram program;
    std::wstring error;
    ASSERT_TRUE(program.Start(&error)) << Narrow(error);
    ASSERT_TRUE(program.Click(IDC_REFRESH));
    ASSERT_TRUE(program.WaitForLines(expected)) << "lines: " << program.Lines().size();
    EXPECT_FALSE(HasMessageBox(program.Id()));

    // A refresh clears the list first, so a second one shows the same lines once.
    ASSERT_TRUE(program.Click(IDC_REFRESH));
    ASSERT_TRUE(program.WaitForPostedMessages());
    EXPECT_TRUE(program.WaitForLines(expected));

    ASSERT_TRUE(BringToFront(program.Window()));
    const RgbImage image = CaptureWindow(program.Window());
    ASSERT_GT(image.width, 0);
    const std::wstring path = ScreenshotFolderPath() + L"\\refresh-three-videos.png";
    ASSERT_TRUE(WritePng(image, path)) << "cannot write " << Narrow(path);
    std::printf("screenshot: %s\n", Narrow(path).c_str());
    RecordProperty("screenshot", Narrow(path));
}

struct EmptyCase {
    const char* name;
    FixtureAccount account;  // named "empty"
};

void PrintTo(const EmptyCase& row, std::ostream* out) { *out << row.name; }

class RefreshWithoutVideos : public testing::TestWithParam<EmptyCase> {};

TEST_P(RefreshWithoutVideos, ClearsTheListAndSaysThereAreNoVideos) {
    AccountsTree tree({Account(L"full", {VideoFile(L"clip.mp4", LocalTime(2018, 11, 20, 9, 5, 3))}),
                       GetParam().account});
    ASSERT_TRUE(tree.ok()) << Narrow(tree.error());
    DrivenProgram program;
    std::wstring error;
    ASSERT_TRUE(program.Start(&error)) << Narrow(error);
    const std::vector<std::wstring> entries = ComboEntries(program.Control(IDC_ACCOUNTS));
    ASSERT_EQ(entries.size(), 2u);
    const int full = entries[0] == L"full" ? 0 : 1;

    ASSERT_TRUE(program.ChooseAccount(full));
    ASSERT_TRUE(program.Click(IDC_REFRESH));
    ASSERT_TRUE(program.WaitForLines({L"clip.mp4|2018-11-20 09:05:03"}));

    ASSERT_TRUE(program.ChooseAccount(1 - full));
    ASSERT_TRUE(program.Click(IDC_REFRESH));
    const MessageBoxSeen box = WaitForMessageBox(program.Id());
    ASSERT_NE(box.window, nullptr) << "no message box";
    EXPECT_EQ(box.caption, L"信息：");
    EXPECT_EQ(box.text, L"暂无视频文件...");
    EXPECT_TRUE(program.Lines().empty());
    // The box belongs to the window's thread and blocks the window.
    EXPECT_FALSE(IsWindowEnabled(program.Window()));
    EXPECT_EQ(GetDlgItem(box.window, IDCANCEL), nullptr) << "the box has a Cancel button";
    ASSERT_TRUE(PressDialogButton(box.window, IDOK));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(program.Window()) != FALSE; }, 5000));
    EXPECT_TRUE(program.Lines().empty());
    EXPECT_TRUE(program.Process().IsRunning());
}

FixtureAccount OnlyNonVideos() {
    return Account(L"empty", {FolderNamed(L"x.mp4", LocalTime(2018, 5, 1, 12, 0, 0)),
                              VideoFile(L"notes.txt", LocalTime(2018, 5, 1, 12, 0, 0))});
}

INSTANTIATE_TEST_SUITE_P(Refresh, RefreshWithoutVideos,
                         testing::Values(EmptyCase{"EmptyVideoFolder", Account(L"empty", {})},
                                         EmptyCase{"OnlyAFolderAndAText", OnlyNonVideos()},
                                         EmptyCase{"NoVideoFolder", AccountWithoutVideoFolder(L"empty")}),
                         [](const testing::TestParamInfo<EmptyCase>& info) { return std::string(info.param.name); });

}  // namespace
