// Closing the window in the middle of a cut run across two file systems: the
// program ends at once, and no video is lost on the way.
#include <windows.h>

#include <gtest/gtest.h>

#include "driven_program.h"
#include "fixture.h"
#include "linux_side.h"
#include "migration_driving.h"
#include "program_at_start.h"
#include "scratch_files.h"
#include "ui/control_ids.h"
#include "window_probe.h"

namespace {

constexpr int kVideos = 40;
constexpr size_t kVideoSize = 4u << 20;

std::wstring SecondDrive() {
    wchar_t value[16] = {};
    const DWORD length = GetEnvironmentVariableW(L"VM_SECOND_DRIVE", value, 16);
    return length > 0 && length < 16 ? std::wstring(value, length) : std::wstring();
}

std::wstring NameOf(int index) { return L"clip" + std::to_wstring(100 + index) + L".mp4"; }
SYSTEMTIME TimeOf(int index) { return LocalTime(2017, 1 + index % 12, 1 + index % 28, 10, index % 60, 0); }

bool EndsWith(const std::wstring& text, const std::wstring& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

int DoneLines(const std::vector<std::wstring>& lines) {
    int done = 0;
    for (const std::wstring& line : lines) done += EndsWith(line, L"|已复制") ? 1 : 0;
    return done;
}

TEST(MigrationClose, ClosingDuringACutRunAcrossDrivesEndsAtOnceAndLosesNoVideo) {
    const std::wstring drive = SecondDrive();
    if (drive.empty()) GTEST_SKIP() << "VM_SECOND_DRIVE is not set: no second Wine drive on another file system";
    AccountsTree tree({Account(L"acct1", {})});
    ASSERT_TRUE(tree.ok()) << Narrow(tree.error());
    ASSERT_TRUE(MakeDriveKnownToWine(drive[0])) << "Wine's mount manager does not know " << Narrow(drive);
    ScratchFolder destination(drive, L"close");
    ASSERT_TRUE(destination.ok()) << "cannot create " << Narrow(destination.path());
    const std::wstring videos = VideoFolderOf(L"acct1");
    for (int i = 0; i < kVideos; ++i) {
        ASSERT_TRUE(WriteVideoAt(videos + L"\\" + NameOf(i), PatternBytes(kVideoSize, i), TimeOf(i)));
    }

    DrivenProgram program;
    std::wstring error;
    ASSERT_TRUE(program.Start(&error)) << Narrow(error);
    ASSERT_TRUE(program.ChooseDestination(destination.path(), &error)) << Narrow(error);
    ASSERT_TRUE(program.TickCutOptionConfirmed(&error)) << Narrow(error);
    ASSERT_TRUE(program.Click(IDC_MIGRATE));
    ASSERT_TRUE(WaitUntil([&] { return DoneLines(program.Lines()) >= 1; }, 60000, 5)) << "the run moved nothing";
    const int doneAtClose = DoneLines(program.Lines());
    ASSERT_TRUE(PostMessageW(program.Window(), WM_CLOSE, 0, 0));
    const auto code = program.Process().WaitForExit(5000);
    ASSERT_TRUE(code.has_value()) << "the program still runs 5 s after the close";
    EXPECT_EQ(*code, 0u);
    std::printf("moved before the close: %d of %d\n", doneAtClose, kVideos);

    int inSource = 0;
    for (int i = 0; i < kVideos; ++i) {
        SCOPED_TRACE(Narrow(NameOf(i)));
        const std::string bytes = PatternBytes(kVideoSize, i);
        const auto source = ReadBytes(videos + L"\\" + NameOf(i));
        const auto target = ReadBytes(destination.path() + L"\\" + MonthOf(TimeOf(i)) + L"\\" + NameOf(i));
        EXPECT_TRUE(source || target) << "the video is in neither place";
        if (source) {
            EXPECT_TRUE(*source == bytes) << "the source changed";
        }
        if (target) {
            EXPECT_TRUE(*target == bytes) << "the target is incomplete";
        }
        inSource += source ? 1 : 0;
    }
    EXPECT_GT(inSource, 0) << "the run had finished before the close: use more or larger videos";
}

}  // namespace
