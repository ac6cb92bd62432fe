#pragma once
// Videos with distinct content in one account's Video folder, and a census
// of where each of them is after a run: in its source folder, complete in its
// month folder, both, or lost.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "fixture.h"

struct Video {
    std::wstring name;
    SYSTEMTIME created{};
    std::string content;   // may be empty: a 0-byte video
    DWORD attributes = 0;  // hidden, system, ... set on top of the content
};

// Bytes that differ from those of every other name and seed.
std::string DistinctContent(const std::wstring& name, size_t size, unsigned seed);
// count videos named prefix + number + ".mp4", spread over three months of 2018.
std::vector<Video> NumberedVideos(const std::wstring& prefix, int count, size_t size, unsigned seed);
// "2018-11": the month folder name a video goes into.
std::wstring MonthOf(const Video& video);

// The accounts tree holding the videos of one account (and optionally more
// accounts); removed when the object goes away.
class VideoTree {
public:
    VideoTree(const std::wstring& account, const std::vector<Video>& videos,
              const std::vector<FixtureAccount>& otherAccounts = {});
    bool ok() const { return ok_; }
    const std::string& error() const { return error_; }
    std::wstring source() const { return VideoFolderOf(account_); }

private:
    std::wstring account_;
    std::unique_ptr<AccountsTree> tree_;
    bool ok_ = false;
    std::string error_;
};

struct Census {
    int sourceOnly = 0;  // still in the source folder, unchanged
    int targetOnly = 0;  // complete in its month folder, gone from the source
    int both = 0;        // unchanged in the source and complete at the target
    int strays = 0;      // "*~moving" files left in month folders
    std::vector<std::string> problems;  // lost, or damaged in either place
    std::string Summary() const;
};

// destination: the folder holding the month folders, no trailing "\".
Census TakeCensus(const std::vector<Video>& videos, const std::wstring& source, const std::wstring& destination);
std::wstring TargetOf(const Video& video, const std::wstring& destination);

// A list line split at "|".
std::vector<std::wstring> SplitLine(const std::wstring& line);
