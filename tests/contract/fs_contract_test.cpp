// One suite for the file-system routines, run against the in-memory double
// natively and against the Win32 routines on real files under Wine, so the two
// cannot drift apart. Directory order differs (NTFS sorts, Wine and the double
// do not), so listings are compared as sets.
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <cstdint>
#include <tuple>
#include <vector>

#include "fixture.h"
#include "fs/file_ops.h"
#include "fs/file_times.h"
#include "fs/folder_listing.h"

namespace {

const Text kOutsideCodePage = "视频 🎬 a&b c.mp4";  // emoji: not in code page 936

class FsContract : public testing::Test {
protected:
    void SetUp() override { root_ = fixture::MakeRoot(); }
    void TearDown() override { fixture::RemoveRoot(); }
    Text At(const Text& relative) const { return relative.empty() ? root_ : root_ + "\\" + relative; }
    Text root_;
};

TextList Sorted(TextList names) {
    std::sort(names.begin(), names.end());
    return names;
}

// ---- Folder listing -------------------------------------------------------

struct Entry {
    const char* path;  // relative to the test's root
    bool folder;
    unsigned attributes;
};

struct ListingCase {
    const char* label;
    std::vector<Entry> entries;
    const char* listed;   // folder to list, relative to the root
    const char* pattern;  // nullptr: ListSubfolders
    TextList expected;
};
void PrintTo(const ListingCase& c, std::ostream* out) { *out << c.label; }


const std::vector<ListingCase> kListingCases = {
    {"Mp4FilesIgnoringCase",
     {{"a.mp4", false, 0}, {"B.MP4", false, 0}, {"c.txt", false, 0}, {"a.mp4.txt", false, 0},
      {"x.mp4", true, 0}, {"sub", true, 0}},
     "", "*.mp4", {"B.MP4", "a.mp4"}},
    {"HiddenSystemReadOnlyFilesListed",
     {{"hidden.mp4", false, fixture::kHidden}, {"system.mp4", false, fixture::kSystem},
      {"readonly.mp4", false, fixture::kReadOnly},
      {"all.mp4", false, fixture::kHidden | fixture::kSystem | fixture::kReadOnly}},
     "", "*.mp4", {"all.mp4", "hidden.mp4", "readonly.mp4", "system.mp4"}},
    {"OnlySubfoldersGiveNoFiles", {{"a", true, 0}, {"b.mp4", true, 0}}, "", "*", {}},
    {"OnlyFilesGiveNoSubfolders", {{"a.mp4", false, 0}, {"b", false, 0}}, "", nullptr, {}},
    {"SubfoldersWithoutDotNames",
     {{".cache", true, 0}, {"cache", true, fixture::kHidden}, {"sys", true, fixture::kSystem},
      {"ro", true, fixture::kReadOnly}, {"wxid_a1", true, 0}, {"f.txt", false, 0}},
     "", nullptr, {"cache", "ro", "sys", "wxid_a1"}},
    {"FileNamesOutsideCodePage", {{kOutsideCodePage.c_str(), false, 0}, {"x y.mp4", false, 0}}, "", "*.mp4",
     {"x y.mp4", kOutsideCodePage}},
    {"FolderNamesOutsideCodePage", {{"账号 😀 & co", true, 0}}, "", nullptr, {"账号 😀 & co"}},
    {"StarDotStarMatchesEveryFile",
     {{"noext", false, 0}, {"a.b.c", false, 0}, {"a.mp4", false, 0}, {"d", true, 0}}, "", "*.*",
     {"a.b.c", "a.mp4", "noext"}},
    {"QuestionMarkIsOneCharacter", {{"a1.mp4", false, 0}, {"a12.mp4", false, 0}, {"b1.mp4", false, 0}}, "",
     "a?.mp4", {"a1.mp4"}},
    {"NoDescentIntoSubfolders", {{"outer", true, 0}, {"outer\\a.mp4", false, 0}, {"outer\\inner", true, 0},
      {"outer\\inner\\b.mp4", false, 0}}, "outer", "*.mp4", {"a.mp4"}},
    {"MissingFolderListsNoFiles", {}, "missing", "*.mp4", {}},
    {"MissingFolderListsNoSubfolders", {}, "missing", nullptr, {}},
};

class Listing : public FsContract, public testing::WithParamInterface<std::tuple<ListingCase, bool>> {};

// Every case runs with and without a trailing "\" and on a list that already
// holds a name: ListFiles replaces it, ListSubfolders keeps it first.
TEST_P(Listing, ListsTheExpectedNames) {
    const ListingCase& c = std::get<0>(GetParam());
    const bool trailing = std::get<1>(GetParam());
    for (const Entry& entry : c.entries) {
        if (entry.folder)
            fixture::MakeFolder(At(entry.path), entry.attributes);
        else
            fixture::MakeFile(At(entry.path), "x", 1542675903, entry.attributes);
    }
    const Text folder = At(c.listed) + (trailing ? "\\" : "");
    TextList names = {"earlier"};
    if (c.pattern != nullptr) {
        const int count = ListFiles(folder, c.pattern, names);
        EXPECT_EQ(count, static_cast<int>(names.size()));
        EXPECT_EQ(Sorted(names), Sorted(c.expected));
    } else {
        const int count = ListSubfolders(folder, names);
        EXPECT_EQ(count, static_cast<int>(names.size()));
        ASSERT_FALSE(names.empty());
        EXPECT_EQ(names.front(), "earlier");
        EXPECT_EQ(Sorted(TextList(names.begin() + 1, names.end())), Sorted(c.expected));
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, Listing, testing::Combine(testing::ValuesIn(kListingCases), testing::Bool()),
                         [](const testing::TestParamInfo<Listing::ParamType>& info) {
                             return std::string(std::get<0>(info.param).label) +
                                    (std::get<1>(info.param) ? "_TrailingBackslash" : "");
                         });

TEST_F(FsContract, EmptyFolderTextListsTheCurrentDriveRoot) {
    TextList fromEmpty, fromRoot;
    ListSubfolders("", fromEmpty);
    ListSubfolders("\\", fromRoot);
    EXPECT_FALSE(fromEmpty.empty());
    EXPECT_EQ(Sorted(fromEmpty), Sorted(fromRoot));
}

TEST_F(FsContract, ListFilesDispatchesPendingEventsButListSubfoldersDoesNot) {
    fixture::MakeFile(At("a.mp4"), "x");
    fixture::MakeFolder(At("sub"));
    TextList names;
    fixture::PostPendingEvent();
    ListSubfolders(root_, names);
    EXPECT_EQ(fixture::DispatchedEvents(), 0);
    ListFiles(root_, "*.mp4", names);
    EXPECT_EQ(fixture::DispatchedEvents(), 1);
}

// ---- File time texts ------------------------------------------------------

// Seconds since 1970 (UTC) of local times in Asia/Shanghai (UTC+8, no DST).
constexpr std::int64_t kKnown = 1542675903;            // 2018-11-20 09:05:03
constexpr std::int64_t kMidnight = 1542643200;         // 2018-11-20 00:00:00
constexpr std::int64_t kBeforeMidnight = 1542729599;   // 2018-11-20 23:59:59
constexpr std::int64_t kSmallDigits = 1230836645;      // 2009-01-02 03:04:05
constexpr std::int64_t kYearEnd = 1577807999;          // 2019-12-31 23:59:59
constexpr std::int64_t kPreviousUtcDay = 1542657600;   // 2018-11-20 04:00:00, UTC still on the 19th

struct TimeCase {
    const char* label;
    std::int64_t creation, lastWrite, lastAccess;
    const char* creationText;
    const char* lastWriteText;
    const char* lastAccessText;
};
void PrintTo(const TimeCase& c, std::ostream* out) { *out << c.label; }


const std::vector<TimeCase> kTimeCases = {
    {"KnownLocalTime", kKnown, kKnown, kKnown, "2018-11-20 09:05:03", "2018-11-20 09:05:03", "2018-11-20 09:05:03"},
    {"LastAccessMidnightDropsItsTime", kMidnight, kMidnight, kMidnight, "2018-11-20 00:00:00",
     "2018-11-20 00:00:00", "2018-11-20 "},
    {"LastAccessBeforeMidnightKeepsItsTime", kKnown, kKnown, kBeforeMidnight, "2018-11-20 09:05:03",
     "2018-11-20 09:05:03", "2018-11-20 23:59:59"},
    {"EachStampRenderedOnItsOwn", kSmallDigits, kKnown, kYearEnd, "2009-01-02 03:04:05", "2018-11-20 09:05:03",
     "2019-12-31 23:59:59"},
    {"LocalDateAheadOfUtcDate", kPreviousUtcDay, kPreviousUtcDay, kPreviousUtcDay, "2018-11-20 04:00:00",
     "2018-11-20 04:00:00", "2018-11-20 04:00:00"},
};

class TimeTexts : public FsContract, public testing::WithParamInterface<TimeCase> {};

TEST_P(TimeTexts, RendersLocalTimes) {
    ASSERT_EQ(fixture::LocalZoneMinutes(), 8 * 60) << "run the tests with TZ=Asia/Shanghai";
    const TimeCase& c = GetParam();
    const Text path = At("v.mp4");
    fixture::MakeFile(path, "x");
    fixture::SetTimes(path, c.creation, c.lastWrite, c.lastAccess);
    Text creation = "earlier", lastWrite = "earlier", lastAccess = "earlier";
    EXPECT_EQ(GetFileTimeTexts(path, creation, lastWrite, lastAccess), 1);
    EXPECT_EQ(creation, fixture::CreationFollowsLastWrite() ? c.lastWriteText : c.creationText);
    EXPECT_EQ(lastWrite, c.lastWriteText);
    EXPECT_EQ(lastAccess, c.lastAccessText);
}

INSTANTIATE_TEST_SUITE_P(Cases, TimeTexts, testing::ValuesIn(kTimeCases),
                         [](const testing::TestParamInfo<TimeCase>& info) { return std::string(info.param.label); });

// The outputs are stored creation, last access, last write: one text passed
// for all three ends up with the last-write text.
TEST_F(FsContract, TimeTextsStoredWithLastWriteLast) {
    const Text path = At("v.mp4");
    fixture::MakeFile(path, "x");
    fixture::SetTimes(path, kKnown, kSmallDigits, kYearEnd);
    Text all = "earlier";
    EXPECT_EQ(GetFileTimeTexts(path, all, all, all), 1);
    EXPECT_EQ(all, "2009-01-02 03:04:05");
}

struct UnreadableCase {
    const char* label;
    const char* path;
};
void PrintTo(const UnreadableCase& c, std::ostream* out) { *out << c.label; }


class UnreadableTimes : public FsContract, public testing::WithParamInterface<UnreadableCase> {};

TEST_P(UnreadableTimes, LeaveTheOutputsAsTheyWere) {
    fixture::MakeFile(At("locked.mp4"), "x", kKnown);
    fixture::MakeFolder(At("folder"));
    fixture::HoldOpen(At("locked.mp4"));
    Text creation = "2001-01-01 01:01:01", lastWrite = "2002-02-02 02:02:02", lastAccess = "2003-03-03 ";
    EXPECT_EQ(GetFileTimeTexts(At(GetParam().path), creation, lastWrite, lastAccess), 0);
    EXPECT_EQ(creation, "2001-01-01 01:01:01");
    EXPECT_EQ(lastWrite, "2002-02-02 02:02:02");
    EXPECT_EQ(lastAccess, "2003-03-03 ");
    fixture::Release(At("locked.mp4"));
}

INSTANTIATE_TEST_SUITE_P(Cases, UnreadableTimes,
                         testing::Values(UnreadableCase{"HeldOpenWithoutReadSharing", "locked.mp4"},
                                         UnreadableCase{"Missing", "missing.mp4"},
                                         UnreadableCase{"Folder", "folder"}),
                         [](const testing::TestParamInfo<UnreadableCase>& info) {
                             return std::string(info.param.label);
                         });

// ---- User name, folder test, create, copy and move ------------------------

TEST_F(FsContract, UserNameIsNotEmpty) { EXPECT_FALSE(GetCurrentUserName().empty()); }

struct FolderCase {
    const char* label;
    const char* path;
    bool exists;
};
void PrintTo(const FolderCase& c, std::ostream* out) { *out << c.label; }


class FolderTest : public FsContract, public testing::WithParamInterface<FolderCase> {};

TEST_P(FolderTest, IsTrueOnlyForFolders) {
    fixture::MakeFolder(At("plain"));
    fixture::MakeFolder(At("hidden"), fixture::kHidden | fixture::kSystem);
    fixture::MakeFolder(At(kOutsideCodePage));
    fixture::MakeFile(At("file.mp4"), "x");
    EXPECT_EQ(FolderExists(At(GetParam().path)), GetParam().exists);
}

INSTANTIATE_TEST_SUITE_P(Cases, FolderTest,
                         testing::Values(FolderCase{"Folder", "plain", true},
                                         FolderCase{"FolderWithBackslash", "plain\\", true},
                                         FolderCase{"HiddenSystemFolder", "hidden", true},
                                         FolderCase{"FolderOutsideCodePage", kOutsideCodePage.c_str(), true},
                                         FolderCase{"File", "file.mp4", false},
                                         FolderCase{"Missing", "missing", false},
                                         FolderCase{"InsideMissing", "missing\\plain", false}),
                         [](const testing::TestParamInfo<FolderCase>& info) { return std::string(info.param.label); });

TEST_F(FsContract, CreateFolderMakesOneLevel) {
    EXPECT_EQ(CreateFolder(At("2018-11")), 1);
    EXPECT_TRUE(FolderExists(At("2018-11")));
    EXPECT_EQ(CreateFolder(At("2018-11")), 0);
    EXPECT_EQ(CreateFolder(At("missing\\2018-11")), 0);
    EXPECT_FALSE(fixture::Exists(At("missing")));
    EXPECT_EQ(CreateFolder(At(kOutsideCodePage)), 1);
    TextList names;
    ListSubfolders(root_, names);
    EXPECT_EQ(Sorted(names), Sorted({"2018-11", kOutsideCodePage}));
}

enum class Op { Copy, Move };

struct TransferCase {
    const char* label;
    Op op;
    Text name;
    bool sourceExists;
    bool targetExists;      // an older file of the same name is there already
    bool holdSource;        // open elsewhere without read sharing
    bool targetFolderExists;
    int result;
    bool sourceAfter;
    const char* targetAfter;  // nullptr: absent
};
void PrintTo(const TransferCase& c, std::ostream* out) { *out << c.label; }


const char* const kNew = "new video";
const char* const kOld = "old video";

const std::vector<TransferCase> kTransferCases = {
    {"CopyToNewTarget", Op::Copy, "a.mp4", true, false, false, true, 1, true, kNew},
    {"CopyReplacesTarget", Op::Copy, "a.mp4", true, true, false, true, 1, true, kNew},
    {"CopyOutsideCodePage", Op::Copy, kOutsideCodePage, true, false, false, true, 1, true, kNew},
    {"CopyHeldSourceFails", Op::Copy, "a.mp4", true, true, true, true, 0, true, kOld},
    {"CopyMissingSourceFails", Op::Copy, "a.mp4", false, false, false, true, 0, false, nullptr},
    {"CopyIntoMissingFolderFails", Op::Copy, "a.mp4", true, false, false, false, 0, true, nullptr},
    {"MoveToNewTarget", Op::Move, "a.mp4", true, false, false, true, 1, false, kNew},
    {"MoveOutsideCodePage", Op::Move, kOutsideCodePage, true, false, false, true, 1, false, kNew},
    {"MoveOntoExistingFails", Op::Move, "a.mp4", true, true, false, true, 0, true, kOld},
    {"MoveHeldSourceFails", Op::Move, "a.mp4", true, false, true, true, 0, true, nullptr},
    {"MoveMissingSourceFails", Op::Move, "a.mp4", false, false, false, true, 0, false, nullptr},
    {"MoveIntoMissingFolderFails", Op::Move, "a.mp4", true, false, false, false, 0, true, nullptr},
};

class Transfer : public FsContract, public testing::WithParamInterface<TransferCase> {};

TEST_P(Transfer, GivesTheExpectedFiles) {
    const TransferCase& c = GetParam();
    fixture::MakeFolder(At("in"));
    if (c.targetFolderExists) fixture::MakeFolder(At("out"));
    const Text source = At("in\\" + c.name), target = At("out\\" + c.name);
    if (c.sourceExists) fixture::MakeFile(source, kNew, kKnown);
    if (c.targetExists) fixture::MakeFile(target, kOld, kSmallDigits);
    if (c.holdSource) fixture::HoldOpen(source);
    const int result = c.op == Op::Copy ? CopyFileOver(source, target) : MoveFileTo(source, target);
    fixture::Release(source);
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(fixture::Exists(source), c.sourceAfter);
    if (c.sourceAfter) {
        EXPECT_EQ(fixture::ReadContent(source), kNew);
    }
    EXPECT_EQ(fixture::Exists(target), c.targetAfter != nullptr);
    if (c.targetAfter != nullptr) {
        EXPECT_EQ(fixture::ReadContent(target), c.targetAfter);
    }
    if (c.result == 1) {
        TextList names;
        ListFiles(At("out"), "*.mp4", names);
        EXPECT_EQ(names, TextList{c.name});
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, Transfer, testing::ValuesIn(kTransferCases),
                         [](const testing::TestParamInfo<TransferCase>& info) {
                             return std::string(info.param.label);
                         });

TEST_F(FsContract, MovedFileKeepsItsCreationText) {
    fixture::MakeFile(At("a.mp4"), kNew, kKnown);
    ASSERT_EQ(MoveFileTo(At("a.mp4"), At("b.mp4")), 1);
    Text creation, lastWrite, lastAccess;
    EXPECT_EQ(GetFileTimeTexts(At("b.mp4"), creation, lastWrite, lastAccess), 1);
    EXPECT_EQ(creation, "2018-11-20 09:05:03");
}

}  // namespace
