// 33,000 videos, more than the progress bar can count: the bar stops at its
// limit, the run still handles every file and reports them all.
#include <windows.h>

#include <gtest/gtest.h>

#include "program_copy.h"
#include "scratch.h"
#include "session.h"
#include "ui/control_ids.h"
#include "unix_side.h"
#include "videos.h"
#include "window_probe.h"

namespace {

constexpr int kVideos = 33000;
// Wine looks a new file's name up case-insensitively by reading the whole
// folder, so creating files slows down with the folder's size: 36 month
// folders of about 900 files keep the run to minutes.
constexpr int kMonths = 36;
constexpr int kProgressLimit = 32767;
constexpr DWORD kRunTimeoutMs = 480000;

int MonthIndexOf(int i) { return i % kMonths; }

std::wstring NameOf(int i) {
    wchar_t name[32] = {};
    swprintf(name, 32, L"m%02d_%d.mp4", MonthIndexOf(i), i);
    return name;
}

SYSTEMTIME CreatedOf(int monthIndex) { return LocalTime(2015 + monthIndex / 12, 1 + monthIndex % 12, 15, 12, 0, 0); }

// Seconds since 1970 of a local time, converted as the fixture converts it.
long long UnixSecondsOf(const SYSTEMTIME& local) {
    FILETIME localTime{}, utc{};
    SystemTimeToFileTime(&local, &localTime);
    LocalFileTimeToFileTime(&localTime, &utc);
    const long long ticks = (static_cast<long long>(utc.dwHighDateTime) << 32) | utc.dwLowDateTime;
    return (ticks - 116444736000000000LL) / 10000000LL;
}

// Files written one by one through Wine would take minutes for the same
// reason; a Unix shell writes them in about a second.
bool WriteVideosFromUnix(const std::wstring& folder, std::string* why) {
    const auto unixFolder = UnixPathOf(folder);
    if (!unixFolder) {
        *why = "no Unix side";
        return false;
    }
    // One loop per month with its name prefix written out: no command
    // substitution, so no process per file.
    std::string script = "cd " + ShellQuoted(*unixFolder) + " || exit 1\n";
    for (int month = 0; month < kMonths; ++month) {
        char lines[256];
        std::snprintf(lines, sizeof(lines),
                      "i=%d; while [ $i -lt %d ]; do printf '%%s' $i > m%02d_$i.mp4; i=$((i+%d)); done\n"
                      "touch -d @%lld m%02d_*.mp4\n",
                      month, kVideos, month, kMonths, UnixSecondsOf(CreatedOf(month)), month);
        script += lines;
    }
    const std::wstring scriptFile = TempFolder() + L"\\" + UniqueName(L"fault-many") + L".sh";
    const auto unixScript = UnixPathOf(scriptFile);
    const bool ok = unixScript && WriteWholeFile(scriptFile, script) && RunUnixShell("sh " + ShellQuoted(*unixScript), 120000);
    DeleteFileW(scriptFile.c_str());
    if (!ok) *why = "the Unix shell did not write the videos";
    return ok;
}

void RemoveFromUnix(const std::vector<std::wstring>& folders) {
    std::string script = "rm -rf";
    for (const std::wstring& folder : folders) {
        if (const auto unixFolder = UnixPathOf(folder)) script += " " + ShellQuoted(*unixFolder);
    }
    RunUnixShell(script, 120000);
}

std::wstring ReadLine(HWND list, int index) {
    const LRESULT length = Query(list, LB_GETTEXTLEN, index);
    if (length <= 0) return std::wstring();
    std::wstring line(static_cast<size_t>(length) + 1, L'\0');
    line.resize(static_cast<size_t>(std::max<LRESULT>(0, Query(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(line.data())))));
    return line;
}

TEST(ManyVideos, AllAreCopiedAndCountedThoughTheProgressBarStopsAtItsLimit) {
    ProgramCopy copy(DestinationParent(), L"fault-many");
    ASSERT_TRUE(copy.ok()) << copy.error();
    VideoTree tree(L"wxid_many", {});
    ASSERT_TRUE(tree.ok()) << tree.error();
    ULONGLONG clock = GetTickCount64();
    std::string why;
    if (!WriteVideosFromUnix(tree.source(), &why)) GTEST_SKIP() << "cannot write " << kVideos << " videos: " << why;
    std::printf("%d videos written in %llu ms\n", kVideos, GetTickCount64() - clock);
    struct Cleanup {
        std::wstring source, destination;
        ~Cleanup() {
            std::vector<std::wstring> folders = {source};
            for (int month = 0; month < kMonths; ++month) {
                Video video;
                video.created = CreatedOf(month);
                folders.push_back(destination + L"\\" + MonthOf(video));
            }
            RemoveFromUnix(folders);
        }
    } cleanup{tree.source(), copy.folder()};

    Session session(copy);
    std::string error;
    ASSERT_TRUE(session.Start(&error)) << error;
    ASSERT_TRUE(session.StartFirstRun(&error)) << error;
    clock = GetTickCount64();
    HWND progress = session.control(IDC_PROGRESS);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(progress) != 0; }, 120000, 50)) << session.State();
    const ProgressState running = ProgressOf(progress);
    EXPECT_EQ(running.low, 0);
    EXPECT_EQ(running.high, kProgressLimit);
    const auto end = session.WaitForRunEnd(kRunTimeoutMs, false);
    ASSERT_TRUE(end.has_value()) << session.State();
    EXPECT_EQ(*end, RunDoneText(kVideos));
    std::printf("run of %d videos took %llu ms\n", kVideos, GetTickCount64() - clock);
    EXPECT_EQ(ProgressOf(progress).position, kProgressLimit);
    EXPECT_FALSE(IsWindowVisible(progress)) << "the progress bar is still shown at the end";

    HWND list = session.control(IDC_VIDEO_LIST);
    EXPECT_EQ(Query(list, LB_GETCOUNT), kVideos);
    // A sample of lines, the last one included.
    std::vector<int> sample;
    for (int index = 0; index < kVideos; index += 997) sample.push_back(index);
    sample.push_back(kVideos - 1);
    for (int index : sample) {
        const std::wstring line = ReadLine(list, index);
        const auto parts = SplitLine(line);
        ASSERT_EQ(parts.size(), 3u) << "line " << index << ": " << Utf8(line);
        EXPECT_EQ(parts[2], L"已复制") << Utf8(line);
        const int number = std::stoi(parts[0].substr(parts[0].find(L'_') + 1));
        EXPECT_EQ(parts[0], NameOf(number));
        Video video;
        video.created = CreatedOf(MonthIndexOf(number));
        EXPECT_EQ(parts[1], MonthOf(video)) << Utf8(line);
    }
    EXPECT_TRUE(session.AnswerRunEnd());
    EXPECT_EQ(session.Close(), std::optional<DWORD>(0));

    // Every target, by name and content.
    clock = GetTickCount64();
    int complete = 0;
    std::string firstWrong;
    for (int i = 0; i < kVideos; ++i) {
        Video video;
        video.name = NameOf(i);
        video.created = CreatedOf(MonthIndexOf(i));
        if (ReadWholeFile(TargetOf(video, copy.folder())) == std::to_string(i)) ++complete;
        else if (firstWrong.empty()) firstWrong = Utf8(video.name);
    }
    EXPECT_EQ(complete, kVideos) << "missing or wrong, for example " << firstWrong;
    std::printf("targets checked in %llu ms\n", GetTickCount64() - clock);
}

}  // namespace
