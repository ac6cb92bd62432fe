#include "videos.h"

#include <set>

#include "scratch.h"

std::string DistinctContent(const std::wstring& name, size_t size, unsigned seed) {
    std::string bytes = Utf8(name) + "#" + std::to_string(seed) + "#";
    // xorshift from a hash of the head, so two videos never share a byte run
    unsigned long long state = 1469598103934665603ull;
    for (unsigned char c : bytes) state = (state ^ c) * 1099511628211ull;
    bytes.reserve(size);
    while (bytes.size() < size) {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        for (int i = 0; i < 8 && bytes.size() < size; ++i) bytes.push_back(static_cast<char>(state >> (8 * i)));
    }
    bytes.resize(size);
    return bytes;
}

std::vector<Video> NumberedVideos(const std::wstring& prefix, int count, size_t size, unsigned seed) {
    std::vector<Video> videos;
    for (int i = 0; i < count; ++i) {
        Video video;
        video.name = prefix + std::to_wstring(i) + L".mp4";
        video.created = LocalTime(2018, 9 + i % 3, 1 + i % 28, 10, i % 60, 7);
        video.content = DistinctContent(video.name, size, seed);
        videos.push_back(video);
    }
    return videos;
}

std::wstring MonthOf(const Video& video) {
    wchar_t month[16] = {};
    swprintf(month, 16, L"%04u-%02u", video.created.wYear, video.created.wMonth);
    return month;
}

namespace {

// Empties a file the fixture wrote and puts its times back.
bool MakeEmpty(const std::wstring& path, const SYSTEMTIME& created) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    FILETIME local{}, utc{};
    const bool ok = SystemTimeToFileTime(&created, &local) && LocalFileTimeToFileTime(&local, &utc) &&
                    SetFileTime(file, &utc, nullptr, &utc);
    CloseHandle(file);
    return ok;
}

}  // namespace

VideoTree::VideoTree(const std::wstring& account, const std::vector<Video>& videos,
                     const std::vector<FixtureAccount>& otherAccounts)
    : account_(account) {
    std::vector<FixtureVideo> files;
    for (const Video& video : videos) {
        // The fixture fills an empty content with bytes of its own.
        files.push_back(VideoFile(video.name, video.created, video.content.empty() ? std::string("x") : video.content));
    }
    std::vector<FixtureAccount> accounts = {Account(account, files)};
    accounts.insert(accounts.end(), otherAccounts.begin(), otherAccounts.end());
    tree_ = std::make_unique<AccountsTree>(accounts);
    if (!tree_->ok()) {
        error_ = Utf8(tree_->error());
        return;
    }
    for (const Video& video : videos) {
        const std::wstring path = source() + L"\\" + video.name;
        if (video.content.empty() && !MakeEmpty(path, video.created)) {
            error_ = "cannot empty " + Utf8(path);
            return;
        }
        if (video.attributes && !SetFileAttributesW(path.c_str(), video.attributes)) {
            error_ = "cannot set the attributes of " + Utf8(path);
            return;
        }
    }
    ok_ = true;
}

std::wstring TargetOf(const Video& video, const std::wstring& destination) {
    return destination + L"\\" + MonthOf(video) + L"\\" + video.name;
}

Census TakeCensus(const std::vector<Video>& videos, const std::wstring& source, const std::wstring& destination) {
    Census census;
    std::set<std::wstring> months;
    for (const Video& video : videos) {
        months.insert(MonthOf(video));
        const std::wstring sourcePath = source + L"\\" + video.name;
        const std::wstring targetPath = TargetOf(video, destination);
        const bool sourceThere = PathExists(sourcePath);
        const bool targetThere = PathExists(targetPath);
        const auto sourceBytes = sourceThere ? ReadWholeFile(sourcePath) : std::nullopt;
        const auto targetBytes = targetThere ? ReadWholeFile(targetPath) : std::nullopt;
        const bool sourceGood = sourceBytes && *sourceBytes == video.content;
        const bool targetGood = targetBytes && *targetBytes == video.content;
        const std::string name = Utf8(video.name);
        if (sourceThere && !sourceGood) census.problems.push_back(name + ": the source differs from the original");
        if (targetThere && !targetGood) {
            census.problems.push_back(name + ": the target " + Utf8(targetPath) + " is incomplete or differs (" +
                                      std::to_string(targetBytes ? targetBytes->size() : 0) + " of " +
                                      std::to_string(video.content.size()) + " bytes)");
        }
        if (!sourceThere && !targetThere) census.problems.push_back(name + ": LOST, neither in the source nor at " +
                                                                    Utf8(targetPath));
        if (sourceGood && targetGood) ++census.both;
        else if (sourceGood && !targetThere) ++census.sourceOnly;
        else if (targetGood && !sourceThere) ++census.targetOnly;
    }
    for (const std::wstring& month : months) {
        WIN32_FIND_DATAW entry;
        HANDLE search = FindFirstFileW((destination + L"\\" + month + L"\\*~moving").c_str(), &entry);
        if (search == INVALID_HANDLE_VALUE) continue;
        do ++census.strays;
        while (FindNextFileW(search, &entry));
        FindClose(search);
    }
    return census;
}

std::string Census::Summary() const {
    return "in source only " + std::to_string(sourceOnly) + ", at target only " + std::to_string(targetOnly) +
           ", in both " + std::to_string(both) + ", stray ~moving files " + std::to_string(strays) +
           ", problems " + std::to_string(problems.size());
}

std::vector<std::wstring> SplitLine(const std::wstring& line) {
    std::vector<std::wstring> parts;
    size_t start = 0;
    for (;;) {
        const size_t bar = line.find(L'|', start);
        parts.push_back(line.substr(start, bar == std::wstring::npos ? std::wstring::npos : bar - start));
        if (bar == std::wstring::npos) return parts;
        start = bar + 1;
    }
}
