#include "fake_fs.h"

#include <cctype>
#include <cstdio>
#include <ctime>
#include <map>
#include <mutex>
#include <optional>
#include <unordered_map>
#include <utility>

#include "fs/file_ops.h"
#include "fs/file_times.h"
#include "fs/folder_listing.h"

namespace fakefs {
namespace {

struct Node {
    Text name;  // as created; "C:" for a drive
    Text parentKey;
    bool folder = false;
    unsigned attributes = 0;
    Text content;
    std::int64_t created = 0, written = 0, accessed = 0;
    bool locked = false;
    bool readOnlyFolder = false;
    std::uint64_t order = 0;
    std::map<std::uint64_t, Text> children;  // keys, in creation order
};

using Parts = std::vector<Text>;  // drive first, then one name per level

struct ParsedPath {
    Parts parts;
    bool trailingSeparator = false;  // then only a folder matches
};

struct State {
    std::mutex mutex;
    std::unordered_map<Text, Node> nodes;  // by upper-cased full path
    std::uint64_t nextOrder = 0;
    Parts currentFolder;
    Text userName;
    bool userNameFails = false;
    std::int64_t freeSpace = -1;
};

Text Upper(Text text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

Text KeyOf(const Parts& parts, size_t count) {
    Text key = Upper(parts[0]);
    for (size_t i = 1; i < count; ++i) key += "\\" + Upper(parts[i]);
    return key;
}
Text KeyOf(const Parts& parts) { return KeyOf(parts, parts.size()); }

bool ValidName(const Text& name) {
    for (unsigned char c : name)
        if (c < 32 || Text("<>:\"|?*").find(static_cast<char>(c)) != Text::npos) return false;
    return true;
}

// Resolves a path the way Windows does: "/" as "\", "." and ".." folded,
// trailing dots and spaces of a name dropped, a leading "\" on the current
// drive, anything else relative to the current folder. UNC paths are not
// modelled.
std::optional<ParsedPath> Parse(const State& s, Text text) {
    for (char& c : text)
        if (c == '/') c = '\\';
    if (text.size() >= 2 && text[0] == '\\' && text[1] == '\\') return std::nullopt;
    ParsedPath path;
    size_t pos = 0;
    if (text.size() >= 2 && text[1] == ':' && std::isalpha(static_cast<unsigned char>(text[0]))) {
        path.parts.push_back(Upper(text.substr(0, 1)) + ":");
        pos = 2;
        if (pos < text.size() && text[pos] != '\\' && path.parts[0] == s.currentFolder[0])
            path.parts = s.currentFolder;
    } else if (!text.empty() && text[0] == '\\') {
        path.parts.push_back(s.currentFolder[0]);
    } else {
        path.parts = s.currentFolder;
    }
    path.trailingSeparator = text.size() > pos && text.back() == '\\';
    while (pos <= text.size()) {
        size_t end = text.find('\\', pos);
        if (end == Text::npos) end = text.size();
        Text name = text.substr(pos, end - pos);
        pos = end + 1;
        if (name == "..") {
            if (path.parts.size() > 1) path.parts.pop_back();
            continue;
        }
        if (name == ".") continue;
        while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.pop_back();
        if (name.empty()) continue;
        if (!ValidName(name)) return std::nullopt;
        path.parts.push_back(name);
    }
    return path;
}

// An empty drive C:, current folder C:\, unlimited space, user "User".
void Clear(State& s) {
    s.nodes.clear();
    s.nextOrder = 0;
    s.currentFolder = {"C:"};
    s.userName = "User";
    s.userNameFails = false;
    s.freeSpace = -1;
    Node drive;
    drive.name = "C:";
    drive.folder = true;
    drive.attributes = kDirectory;
    s.nodes.emplace("C:", std::move(drive));
}

State& Shared() {
    static State* state = [] {
        auto* fresh = new State;  // never destroyed: workers may outlive main
        Clear(*fresh);
        return fresh;
    }();
    return *state;
}

Node* Find(State& s, const ParsedPath& path) {
    auto it = s.nodes.find(KeyOf(path.parts));
    if (it == s.nodes.end()) return nullptr;
    if (path.trailingSeparator && !it->second.folder) return nullptr;
    return &it->second;
}

Node* Find(State& s, const Text& text) {
    auto path = Parse(s, text);
    return path ? Find(s, *path) : nullptr;
}

Node* ParentOf(State& s, const Parts& parts) {
    if (parts.size() < 2) return nullptr;
    auto it = s.nodes.find(KeyOf(parts, parts.size() - 1));
    return it == s.nodes.end() || !it->second.folder ? nullptr : &it->second;
}

Node& Insert(State& s, const Parts& parts, bool folder) {
    Node node;
    node.name = parts.back();
    node.folder = folder;
    node.attributes = folder ? kDirectory : 0;
    node.order = s.nextOrder++;
    const Text key = KeyOf(parts);
    if (parts.size() > 1) {
        node.parentKey = KeyOf(parts, parts.size() - 1);
        s.nodes.at(node.parentKey).children.emplace(node.order, key);
    }
    return s.nodes.emplace(key, std::move(node)).first->second;
}

void Erase(State& s, const Text& key) {
    auto it = s.nodes.find(key);
    if (it == s.nodes.end()) return;
    for (const auto& child : it->second.children) Erase(s, child.second);
    if (!it->second.parentKey.empty()) s.nodes.at(it->second.parentKey).children.erase(it->second.order);
    s.nodes.erase(it);
}

// Creates the missing folders of parts[0 .. count); false when one is a file.
bool EnsureFolders(State& s, const Parts& parts, size_t count) {
    for (size_t i = 1; i <= count; ++i) {
        const Parts prefix(parts.begin(), parts.begin() + static_cast<long>(i));
        auto it = s.nodes.find(KeyOf(prefix));
        if (it == s.nodes.end()) {
            if (i == 1) {
                Node drive;
                drive.name = prefix[0];
                drive.folder = true;
                drive.attributes = kDirectory;
                s.nodes.emplace(KeyOf(prefix), std::move(drive));
            } else {
                Insert(s, prefix, true);
            }
        } else if (!it->second.folder) {
            return false;
        }
    }
    return true;
}

// The system's wildcards: "*" any run, "?" one character, case ignored for
// ASCII letters. Short 8.3 names are not modelled.
bool Glob(const Text& pattern, const Text& name) {
    size_t p = 0, n = 0, starP = Text::npos, starN = 0;
    auto same = [](char a, char b) {
        return std::toupper(static_cast<unsigned char>(a)) == std::toupper(static_cast<unsigned char>(b));
    };
    auto nextChar = [&name](size_t at) {
        ++at;
        while (at < name.size() && (static_cast<unsigned char>(name[at]) & 0xC0) == 0x80) ++at;
        return at;
    };
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() && pattern[p] == '?') {
            ++p;
            n = nextChar(n);
        } else if (p < pattern.size() && same(pattern[p], name[n])) {
            ++p;
            ++n;
        } else if (starP != Text::npos) {
            p = starP + 1;
            n = starN = nextChar(starN);
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

bool Matches(const Text& pattern, const Text& name) {
    if (pattern == "*" || pattern == "*.*") return true;
    if (Glob(pattern, name)) return true;
    const size_t size = pattern.size();
    // "name.*" also finds "name"; "*." finds names without an extension.
    if (size > 2 && pattern.compare(size - 2, 2, ".*") == 0 && Glob(pattern.substr(0, size - 2), name))
        return true;
    if (size > 1 && pattern.back() == '.' && name.find('.') == Text::npos)
        return Glob(pattern.substr(0, size - 1), name);
    return false;
}

struct Entry {
    Text name;
    bool folder;
};

// A directory search over "folder\pattern": "." and ".." first outside a
// drive's root, then the entries in creation order.
std::vector<Entry> Search(State& s, const Text& searchText) {
    const size_t cut = searchText.find_last_of("\\/");
    const Text pattern = cut == Text::npos ? searchText : searchText.substr(cut + 1);
    std::vector<Entry> entries;
    if (pattern.empty()) return entries;
    const Node* folder = nullptr;
    if (cut == Text::npos) {
        auto it = s.nodes.find(KeyOf(s.currentFolder));
        if (it != s.nodes.end()) folder = &it->second;
    } else {
        folder = Find(s, searchText.substr(0, cut + 1));
    }
    if (folder == nullptr || !folder->folder) return entries;
    if (!folder->parentKey.empty()) {
        for (const char* dots : {".", ".."})
            if (Matches(pattern, dots)) entries.push_back({dots, true});
    }
    for (const auto& child : folder->children) {
        const Node& node = s.nodes.at(child.second);
        if (Matches(pattern, node.name)) entries.push_back({node.name, node.folder});
    }
    return entries;
}

Text BaseOf(const Text& folder) {
    if (!folder.empty() && folder.back() == '\\') return folder;
    return folder + "\\";
}

// A UTC stamp in local time as the system renders it: like
// FileTimeToLocalFileTime, with the zone's offset of the present moment.
Text LocalText(std::int64_t utc, bool dropMidnight) {
    tzset();
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const std::int64_t bias = static_cast<std::int64_t>(timegm(&local)) - now;
    const std::time_t shifted = static_cast<std::time_t>(utc + bias);
    std::tm parts{};
    gmtime_r(&shifted, &parts);
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d ", parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday);
    Text result = text;
    if (dropMidnight && parts.tm_hour == 0 && parts.tm_min == 0 && parts.tm_sec == 0) return result;
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", parts.tm_hour, parts.tm_min, parts.tm_sec);
    return result + text;
}

std::int64_t Now() { return static_cast<std::int64_t>(std::time(nullptr)); }

}  // namespace

void Reset() {
    State& s = Shared();
    std::lock_guard<std::mutex> lock(s.mutex);
    Clear(s);
}

void SetUserName(const Text& name, bool fails) {
    State& s = Shared();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.userName = name;
    s.userNameFails = fails;
}

void SetCurrentFolder(const Text& path) {
    State& s = Shared();
    std::lock_guard<std::mutex> lock(s.mutex);
    auto parsed = Parse(s, path);
    if (parsed) s.currentFolder = parsed->parts;
}

bool AddFolder(const Text& path, unsigned attributes) {
    State& s = Shared();
    std::lock_guard<std::mutex> lock(s.mutex);
    auto parsed = Parse(s, path);
    if (!parsed || !EnsureFolders(s, parsed->parts, parsed->parts.size())) return false;
    s.nodes.at(KeyOf(parsed->parts)).attributes = attributes | kDirectory;
    return true;
}

bool AddFile(const Text& path, const Text& content, std::int64_t utcUnixSeconds, unsigned attributes) {
    State& s = Shared();
    std::lock_guard<std::mutex> lock(s.mutex);
    auto parsed = Parse(s, path);
    if (!parsed || parsed->parts.size() < 2 || parsed->trailingSeparator) return false;
    if (!EnsureFolders(s, parsed->parts, parsed->parts.size() - 1)) return false;
    Node* node = Find(s, *parsed);
    if (node != nullptr && node->folder) return false;
    if (node == nullptr) node = &Insert(s, parsed->parts, false);
    node->content = content;
    node->attributes = attributes & ~kDirectory;
    node->created = node->written = node->accessed = utcUnixSeconds;
    return true;
}

bool SetTimes(const Text& path, std::int64_t creation, std::int64_t lastWrite, std::int64_t lastAccess) {
    State& s = Shared();
    std::lock_guard<std::mutex> lock(s.mutex);
    Node* node = Find(s, path);
    if (node == nullptr) return false;
    node->created = creation;
    node->written = lastWrite;
    node->accessed = lastAccess;
    return true;
}

bool SetAttributes(const Text& path, unsigned attributes) {
    State& s = Shared();
    std::lock_guard<std::mutex> lock(s.mutex);
    Node* node = Find(s, path);
    if (node == nullptr) return false;
    node->attributes = node->folder ? (attributes | kDirectory) : (attributes & ~kDirectory);
    return true;
}

bool Remove(const Text& path) {
    State& s = Shared();
    std::lock_guard<std::mutex> lock(s.mutex);
    auto parsed = Parse(s, path);
    if (!parsed || parsed->parts.size() < 2 || Find(s, *parsed) == nullptr) return false;
    Erase(s, KeyOf(parsed->parts));
    return true;
}

void SetLocked(const Text& path, bool locked) {
    State& s = Shared();
    std::lock_guard<std::mutex> lock(s.mutex);
    if (Node* node = Find(s, path)) node->locked = locked;
}

void SetReadOnlyFolder(const Text& path, bool readOnly) {
    State& s = Shared();
    std::lock_guard<std::mutex> lock(s.mutex);
    if (Node* node = Find(s, path); node != nullptr && node->folder) node->readOnlyFolder = readOnly;
}

void SetFreeSpace(std::int64_t bytes) {
    State& s = Shared();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.freeSpace = bytes < 0 ? -1 : bytes;
}

std::int64_t FreeSpace() {
    State& s = Shared();
    std::lock_guard<std::mutex> lock(s.mutex);
    return s.freeSpace;
}

bool Exists(const Text& path) {
    State& s = Shared();
    std::lock_guard<std::mutex> lock(s.mutex);
    return Find(s, path) != nullptr;
}

bool IsFolder(const Text& path) {
    State& s = Shared();
    std::lock_guard<std::mutex> lock(s.mutex);
    const Node* node = Find(s, path);
    return node != nullptr && node->folder;
}

Text Content(const Text& path) {
    State& s = Shared();
    std::lock_guard<std::mutex> lock(s.mutex);
    const Node* node = Find(s, path);
    return node != nullptr && !node->folder ? node->content : Text();
}

unsigned Attributes(const Text& path) {
    State& s = Shared();
    std::lock_guard<std::mutex> lock(s.mutex);
    const Node* node = Find(s, path);
    return node != nullptr ? node->attributes : 0;
}

TextList Children(const Text& folder) {
    State& s = Shared();
    std::lock_guard<std::mutex> lock(s.mutex);
    TextList names;
    const Node* node = Find(s, folder);
    if (node == nullptr) return names;
    for (const auto& child : node->children) names.push_back(s.nodes.at(child.second).name);
    return names;
}

}  // namespace fakefs

// The routines of fs/ over the tree above.

using fakefs::Shared;
using fakefs::State;

int ListSubfolders(const Text& folder, TextList& names) {
    State& s = Shared();
    std::vector<fakefs::Entry> entries;
    {
        std::lock_guard<std::mutex> lock(s.mutex);
        entries = fakefs::Search(s, fakefs::BaseOf(folder) + "*.*");
    }
    for (auto& entry : entries)
        if (entry.folder && entry.name[0] != '.') names.push_back(std::move(entry.name));
    return static_cast<int>(names.size());
}

int ListFiles(const Text& folder, const Text& pattern, TextList& names) {
    names.clear();
    State& s = Shared();
    std::vector<fakefs::Entry> entries;
    {
        std::lock_guard<std::mutex> lock(s.mutex);
        entries = fakefs::Search(s, fakefs::BaseOf(folder) + pattern);
    }
    // Unlocked while pumping: the handlers it runs use this file system too.
    for (auto& entry : entries) {
        if (entry.folder) continue;
        names.push_back(std::move(entry.name));
        PumpPendingEvents();
    }
    return static_cast<int>(names.size());
}

int GetFileTimeTexts(const Text& path, Text& creation, Text& lastWrite, Text& lastAccess) {
    State& s = Shared();
    std::lock_guard<std::mutex> lock(s.mutex);
    const fakefs::Node* node = fakefs::Find(s, path);
    if (node == nullptr || node->folder || node->locked) return 0;
    Text creationText = fakefs::LocalText(node->created, false);
    Text accessText = fakefs::LocalText(node->accessed, true);
    Text writeText = fakefs::LocalText(node->written, false);
    creation = std::move(creationText);
    lastAccess = std::move(accessText);
    lastWrite = std::move(writeText);
    return 1;
}

Text GetCurrentUserName() {
    State& s = Shared();
    std::lock_guard<std::mutex> lock(s.mutex);
    return s.userNameFails ? Text() : s.userName;
}

bool FolderExists(const Text& path) {
    State& s = Shared();
    std::lock_guard<std::mutex> lock(s.mutex);
    const fakefs::Node* node = fakefs::Find(s, path);
    return node != nullptr && node->folder;
}

int CreateFolder(const Text& path) {
    State& s = Shared();
    std::lock_guard<std::mutex> lock(s.mutex);
    auto parsed = fakefs::Parse(s, path);
    if (!parsed) return 0;
    const fakefs::Node* parent = fakefs::ParentOf(s, parsed->parts);
    if (parent == nullptr || parent->readOnlyFolder) return 0;
    if (s.nodes.count(fakefs::KeyOf(parsed->parts)) != 0) return 0;
    fakefs::Insert(s, parsed->parts, true);
    return 1;
}

int CopyFileOver(const Text& source, const Text& target) {
    State& s = Shared();
    std::lock_guard<std::mutex> lock(s.mutex);
    auto from = fakefs::Parse(s, source);
    auto to = fakefs::Parse(s, target);
    if (!from || !to || to->trailingSeparator) return 0;
    const fakefs::Node* original = fakefs::Find(s, *from);
    const fakefs::Node* parent = fakefs::ParentOf(s, to->parts);
    if (original == nullptr || original->folder || original->locked) return 0;
    if (parent == nullptr || parent->readOnlyFolder) return 0;
    const Text targetKey = fakefs::KeyOf(to->parts);
    if (targetKey == fakefs::KeyOf(from->parts)) return 0;  // the open source shares no writing
    auto existing = s.nodes.find(targetKey);
    if (existing != s.nodes.end()) {
        const fakefs::Node& old = existing->second;
        if (old.folder || old.locked || (old.attributes & fakefs::kReadOnly) != 0) return 0;
    }
    const std::int64_t oldSize =
        existing == s.nodes.end() ? 0 : static_cast<std::int64_t>(existing->second.content.size());
    const std::int64_t growth = static_cast<std::int64_t>(original->content.size()) - oldSize;
    if (s.freeSpace >= 0 && growth > s.freeSpace) {
        // The target was truncated before the disk ran full; no partial file stays.
        if (existing != s.nodes.end()) fakefs::Erase(s, targetKey);
        return 0;
    }
    const Text content = original->content;
    const unsigned attributes = original->attributes;
    const std::int64_t written = original->written;
    fakefs::Node* copy = existing != s.nodes.end() ? &existing->second : nullptr;
    if (copy == nullptr) {
        copy = &fakefs::Insert(s, to->parts, false);
        copy->created = fakefs::Now();
    }
    copy->content = content;
    copy->attributes = attributes;
    copy->written = written;
    copy->accessed = fakefs::Now();
    if (s.freeSpace >= 0) s.freeSpace -= growth;
    return 1;
}

int MoveFileTo(const Text& source, const Text& target) {
    State& s = Shared();
    std::lock_guard<std::mutex> lock(s.mutex);
    auto from = fakefs::Parse(s, source);
    auto to = fakefs::Parse(s, target);
    if (!from || !to || to->trailingSeparator) return 0;
    fakefs::Node* original = fakefs::Find(s, *from);
    const fakefs::Node* sourceParent = fakefs::ParentOf(s, from->parts);
    const fakefs::Node* targetParent = fakefs::ParentOf(s, to->parts);
    if (original == nullptr || original->folder || original->locked) return 0;
    if (sourceParent == nullptr || sourceParent->readOnlyFolder) return 0;
    if (targetParent == nullptr || targetParent->readOnlyFolder) return 0;
    const Text sourceKey = fakefs::KeyOf(from->parts);
    const Text targetKey = fakefs::KeyOf(to->parts);
    if (targetKey == sourceKey) {  // a change of case only
        original->name = to->parts.back();
        return 1;
    }
    if (s.nodes.count(targetKey) != 0) return 0;
    if (from->parts[0] != to->parts[0]) {
        // Another volume: copied, then the source deleted, which a read-only
        // file refuses.
        if ((original->attributes & fakefs::kReadOnly) != 0) return 0;
        if (s.freeSpace >= 0 && static_cast<std::int64_t>(original->content.size()) > s.freeSpace) return 0;
    }
    fakefs::Node moved = *original;
    fakefs::Erase(s, sourceKey);
    fakefs::Node& placed = fakefs::Insert(s, to->parts, false);
    placed.content = std::move(moved.content);
    placed.attributes = moved.attributes;
    placed.created = moved.created;
    placed.written = moved.written;
    placed.accessed = moved.accessed;
    return 1;
}
