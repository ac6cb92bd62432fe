#pragma once
// The messaging client's folder tree the program reads: under the Wine user's
// profile, "Documents\WeChat Files\<account>\Video\*.mp4". A tree is built
// before the program starts and removed again when the object goes away.
#include <windows.h>

#include <string>
#include <vector>

struct FixtureVideo {
    std::wstring name;       // file name inside the Video folder (may be a folder, see isFolder)
    SYSTEMTIME created{};    // local time; written as creation and last-write time
    std::string content;     // the file's bytes; empty gives a few bytes made from the name
    bool isFolder = false;   // a folder with this name instead of a file
};

struct FixtureAccount {
    std::wstring name;
    std::vector<FixtureVideo> videos;
    bool hasVideoFolder = true;
};

FixtureVideo VideoFile(const std::wstring& name, const SYSTEMTIME& created, const std::string& content = std::string());
// A folder inside the Video folder, named like a video.
FixtureVideo FolderNamed(const std::wstring& name, const SYSTEMTIME& created);
FixtureAccount Account(const std::wstring& name, const std::vector<FixtureVideo>& videos);
FixtureAccount AccountWithoutVideoFolder(const std::wstring& name);

// "C:\Users\" + user name + "\Documents\WeChat Files", as the program builds it.
std::wstring AccountsRoot();
std::wstring VideoFolderOf(const std::wstring& account);
// A local time as a SYSTEMTIME.
SYSTEMTIME LocalTime(int year, int month, int day, int hour, int minute, int second);

// Removes a folder and everything in it; true when it is gone afterwards.
bool RemoveTree(const std::wstring& folder);
bool PathExists(const std::wstring& path);

class AccountsTree {
public:
    // Builds the tree, replacing whatever was there; ok() tells whether it worked.
    explicit AccountsTree(const std::vector<FixtureAccount>& accounts);
    AccountsTree(const AccountsTree&) = delete;
    AccountsTree& operator=(const AccountsTree&) = delete;
    ~AccountsTree();
    bool ok() const { return ok_; }
    const std::wstring& error() const { return error_; }

private:
    bool ok_ = true;
    std::wstring error_;
};
