// Awkward input that must still be listed and migrated whole: names outside
// code page 936, with "&", spaces and several dots, 0-byte videos, hidden and
// system files, a folder named like a video, an account with a Chinese name,
// and a destination path with "&".
#include <windows.h>

#include <map>

#include <gtest/gtest.h>

#include "program_copy.h"
#include "scratch.h"
#include "session.h"
#include "ui/control_ids.h"
#include "videos.h"
#include "window_probe.h"

namespace {

constexpr DWORD kRunTimeoutMs = 60000;
const wchar_t* const kChineseAccount = L"微信账号一";
const wchar_t* const kFolderLikeVideo = L"x.mp4";

std::wstring TimeText(const SYSTEMTIME& time) {
    wchar_t text[32] = {};
    swprintf(text, 32, L"%04u-%02u-%02u %02u:%02u:%02u", time.wYear, time.wMonth, time.wDay, time.wHour,
             time.wMinute, time.wSecond);
    return text;
}

Video Make(const std::wstring& name, int month, size_t size, DWORD attributes = 0) {
    Video video;
    video.name = name;
    video.created = LocalTime(2019, month, 3, 8, 30, 15);
    video.content = DistinctContent(name, size, 50);
    video.attributes = attributes;
    return video;
}

std::vector<Video> AwkwardVideos() {
    return {
        Make(L"clip😀.mp4", 1, 70000),                   // outside code page 936
        Make(L"笑脸🎬 video.mp4", 2, 1000),
        Make(L"R&D & more.mp4", 1, 5000),
        Make(L"a&b.mp4", 2, 300),
        Make(L"with  two  spaces.mp4", 3, 2000),
        Make(L" leading space.mp4", 3, 2100),
        Make(L"v1.2.3.final.cut.mp4", 1, 4000),
        Make(L"..dots..mp4", 2, 100),
        Make(L"空格 和&符号 视频.mp4", 3, 3000),
        Make(L"empty.mp4", 1, 0),                           // 0 bytes
        Make(L"also empty.mp4", 2, 0),
        Make(L"hidden.mp4", 3, 8000, FILE_ATTRIBUTE_HIDDEN),
        Make(L"system.mp4", 1, 9000, FILE_ATTRIBUTE_SYSTEM),
        Make(L"hidden system.mp4", 2, 10000, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM),
        Make(L"UPPER.MP4", 3, 1100),
    };
}

// name -> the other parts of its line
std::map<std::wstring, std::vector<std::wstring>> LinesByName(const std::vector<std::wstring>& lines) {
    std::map<std::wstring, std::vector<std::wstring>> byName;
    for (const std::wstring& line : lines) {
        auto parts = SplitLine(line);
        const std::wstring name = parts.front();
        parts.erase(parts.begin());
        EXPECT_TRUE(byName.emplace(name, parts).second) << "twice: " << Utf8(name);
    }
    return byName;
}

TEST(AwkwardInput, IsListedCopiedAndMovedWhole) {
    const std::vector<Video> videos = AwkwardVideos();
    ProgramCopy copy(DestinationParent(), L"fault-awkward");
    ASSERT_TRUE(copy.ok()) << copy.error();
    VideoTree tree(kChineseAccount, videos);
    ASSERT_TRUE(tree.ok()) << tree.error();
    // A folder named like a video is neither listed nor migrated.
    const std::wstring folderLikeVideo = tree.source() + L"\\" + kFolderLikeVideo;
    ASSERT_TRUE(CreateDirectoryW(folderLikeVideo.c_str(), nullptr));
    ASSERT_TRUE(WriteWholeFile(folderLikeVideo + L"\\inside.mp4", "inside"));

    Session session(copy);
    std::string error;
    ASSERT_TRUE(session.Start(&error)) << error;
    EXPECT_EQ(ComboEntries(session.control(IDC_ACCOUNTS)), std::vector<std::wstring>{kChineseAccount});
    EXPECT_EQ(TextOf(session.control(IDC_ACCOUNTS)), kChineseAccount);

    // The refresh lists every file with its time, the folder not.
    session.Click(IDC_REFRESH);
    ASSERT_TRUE(WaitUntil([&] { return session.Lines().size() >= videos.size(); }, 20000)) << session.State();
    Sleep(300);  // time for a line too many to show up
    auto listed = LinesByName(session.Lines());
    EXPECT_EQ(listed.size(), videos.size());
    EXPECT_EQ(listed.count(kFolderLikeVideo), 0u);
    for (const Video& video : videos) {
        EXPECT_EQ(listed[video.name], std::vector<std::wstring>{TimeText(video.created)}) << Utf8(video.name);
    }

    // Copy: every video lands whole in its month folder, the sources stay.
    ASSERT_TRUE(session.StartFirstRun(&error)) << error;
    auto end = session.WaitForRunEnd(kRunTimeoutMs);
    ASSERT_TRUE(end.has_value()) << session.State();
    EXPECT_EQ(*end, RunDoneText(videos.size()));
    auto migrated = LinesByName(session.Lines());
    EXPECT_EQ(migrated.size(), videos.size());
    for (const Video& video : videos) {
        EXPECT_EQ(migrated[video.name], (std::vector<std::wstring>{MonthOf(video), L"已复制"})) << Utf8(video.name);
    }
    Census census = TakeCensus(videos, tree.source(), copy.folder());
    for (const std::string& problem : census.problems) ADD_FAILURE() << "copy: " << problem;
    EXPECT_EQ(census.both, static_cast<int>(videos.size())) << census.Summary();
    for (const wchar_t* month : {L"2019-01", L"2019-02", L"2019-03"}) {
        EXPECT_FALSE(PathExists(copy.folder() + L"\\" + month + L"\\" + kFolderLikeVideo));
    }

    // Cut: the copies are cleared first, since a move refuses an existing target.
    for (const wchar_t* month : {L"2019-01", L"2019-02", L"2019-03"}) RemoveTree(copy.folder() + L"\\" + month);
    ASSERT_TRUE(session.SetCut(true, &error)) << error;
    session.Click(IDC_MIGRATE);
    end = session.WaitForRunEnd(kRunTimeoutMs);
    ASSERT_TRUE(end.has_value()) << session.State();
    EXPECT_EQ(*end, RunDoneText(videos.size()));
    migrated = LinesByName(session.Lines());
    for (const Video& video : videos) {
        EXPECT_EQ(migrated[video.name], (std::vector<std::wstring>{MonthOf(video), L"已复制"})) << Utf8(video.name);
    }
    census = TakeCensus(videos, tree.source(), copy.folder());
    for (const std::string& problem : census.problems) ADD_FAILURE() << "cut: " << problem;
    EXPECT_EQ(census.targetOnly, static_cast<int>(videos.size())) << census.Summary();
    EXPECT_TRUE(PathExists(folderLikeVideo + L"\\inside.mp4")) << "the folder named x.mp4 was touched";
    EXPECT_EQ(session.Close(), std::optional<DWORD>(0));
}

TEST(AwkwardInput, DestinationPathWithAmpersandIsShownAndUsedUnchanged) {
    ProgramCopy copy(DestinationParent(), L"fault R&D & co");
    ASSERT_TRUE(copy.ok()) << copy.error();
    ASSERT_NE(copy.folder().find(L"&"), std::wstring::npos);
    const std::vector<Video> videos = NumberedVideos(L"amp_", 4, 4096, 60);
    VideoTree tree(L"wxid_amp", videos);
    ASSERT_TRUE(tree.ok()) << tree.error();

    Session session(copy);
    std::string error;
    ASSERT_TRUE(session.Start(&error)) << error;
    // The question must name the path with "&" and the caption must read it back.
    ASSERT_TRUE(session.StartFirstRun(&error)) << error;
    EXPECT_EQ(session.Destination(), copy.folder() + L"\\");
    const auto end = session.WaitForRunEnd(kRunTimeoutMs);
    ASSERT_TRUE(end.has_value()) << session.State();
    EXPECT_EQ(*end, RunDoneText(videos.size()));
    EXPECT_EQ(session.Close(), std::optional<DWORD>(0));
    const Census census = TakeCensus(videos, tree.source(), copy.folder());
    for (const std::string& problem : census.problems) ADD_FAILURE() << problem;
    EXPECT_EQ(census.both, static_cast<int>(videos.size())) << census.Summary();
}

}  // namespace
