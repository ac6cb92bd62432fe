// Builds and removes the accounts tree in the Wine user's profile.
#include "fixture.h"

namespace {

std::wstring UserName() {
    wchar_t name[256] = {};
    DWORD size = 256;
    return GetUserNameW(name, &size) ? std::wstring(name) : std::wstring();
}

bool EnsureFolder(const std::wstring& folder) {
    return CreateDirectoryW(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

// Sets both stamps: Wine reports the last-write time as the creation time.
bool SetStamps(HANDLE handle, const SYSTEMTIME& local) {
    FILETIME localTime{}, utc{};
    return SystemTimeToFileTime(&local, &localTime) && LocalFileTimeToFileTime(&localTime, &utc) &&
           SetFileTime(handle, &utc, nullptr, &utc);
}

bool WriteVideo(const std::wstring& path, const FixtureVideo& video) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    std::string bytes = video.content;
    if (bytes.empty()) bytes = "video " + std::string(video.name.begin(), video.name.end());
    DWORD written = 0;
    bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
              written == bytes.size();
    ok = SetStamps(file, video.created) && ok;
    CloseHandle(file);
    return ok;
}

bool MakeVideoFolderEntry(const std::wstring& path, const FixtureVideo& video) {
    if (!video.isFolder) return WriteVideo(path, video);
    if (!EnsureFolder(path)) return false;
    HANDLE folder = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (folder == INVALID_HANDLE_VALUE) return false;
    const bool ok = SetStamps(folder, video.created);
    CloseHandle(folder);
    return ok;
}

}  // namespace

FixtureVideo VideoFile(const std::wstring& name, const SYSTEMTIME& created, const std::string& content) {
    FixtureVideo video;
    video.name = name;
    video.created = created;
    video.content = content;
    return video;
}

FixtureVideo FolderNamed(const std::wstring& name, const SYSTEMTIME& created) {
    FixtureVideo folder = VideoFile(name, created);
    folder.isFolder = true;
    return folder;
}

FixtureAccount Account(const std::wstring& name, const std::vector<FixtureVideo>& videos) {
    FixtureAccount account;
    account.name = name;
    account.videos = videos;
    return account;
}

FixtureAccount AccountWithoutVideoFolder(const std::wstring& name) {
    FixtureAccount account = Account(name, {});
    account.hasVideoFolder = false;
    return account;
}

std::wstring AccountsRoot() { return L"C:\\Users\\" + UserName() + L"\\Documents\\WeChat Files"; }

std::wstring VideoFolderOf(const std::wstring& account) { return AccountsRoot() + L"\\" + account + L"\\Video"; }

SYSTEMTIME LocalTime(int year, int month, int day, int hour, int minute, int second) {
    SYSTEMTIME time{};
    time.wYear = static_cast<WORD>(year);
    time.wMonth = static_cast<WORD>(month);
    time.wDay = static_cast<WORD>(day);
    time.wHour = static_cast<WORD>(hour);
    time.wMinute = static_cast<WORD>(minute);
    time.wSecond = static_cast<WORD>(second);
    return time;
}

bool PathExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring path = folder + L"\\" + name;
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path);
            } else {
                DeleteFileW(path.c_str());
            }
        } while (FindNextFileW(search, &entry));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
    return !PathExists(folder);
}

AccountsTree::AccountsTree(const std::vector<FixtureAccount>& accounts) {
    const std::wstring root = AccountsRoot();
    const std::wstring documents = root.substr(0, root.find_last_of(L'\\'));
    auto fail = [&](const std::wstring& what) {
        if (ok_) error_ = what + L", error " + std::to_wstring(GetLastError());
        ok_ = false;
    };
    if (!RemoveTree(root)) fail(L"cannot clear " + root);
    if (!EnsureFolder(documents) || !EnsureFolder(root)) fail(L"cannot create " + root);
    for (const FixtureAccount& account : accounts) {
        const std::wstring accountFolder = root + L"\\" + account.name;
        if (!EnsureFolder(accountFolder)) fail(L"cannot create " + accountFolder);
        if (!account.hasVideoFolder) continue;
        const std::wstring videoFolder = accountFolder + L"\\Video";
        if (!EnsureFolder(videoFolder)) fail(L"cannot create " + videoFolder);
        for (const FixtureVideo& video : account.videos) {
            const std::wstring path = videoFolder + L"\\" + video.name;
            if (!MakeVideoFolderEntry(path, video)) fail(L"cannot create " + path);
        }
    }
}

AccountsTree::~AccountsTree() { RemoveTree(AccountsRoot()); }
