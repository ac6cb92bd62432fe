#pragma once
// Test double of the file system behind fs/: an in-memory tree of drives,
// folders and files that behaves like Windows for the routines the program
// calls (ListSubfolders, ListFiles, GetFileTimeTexts, GetCurrentUserName,
// FolderExists, CreateFolder, CopyFileOver, MoveFileTo). Paths look like
// C:\a\b; lookups ignore case, names keep the case they were created with.
// Every call is safe from any thread.
#include <cstdint>

#include "app/text.h"

namespace fakefs {

// Windows attribute values.
constexpr unsigned kReadOnly = 1;   // FILE_ATTRIBUTE_READONLY
constexpr unsigned kHidden = 2;     // FILE_ATTRIBUTE_HIDDEN
constexpr unsigned kSystem = 4;     // FILE_ATTRIBUTE_SYSTEM
constexpr unsigned kDirectory = 16; // FILE_ATTRIBUTE_DIRECTORY
constexpr unsigned kArchive = 32;   // FILE_ATTRIBUTE_ARCHIVE

// An empty drive C:, current folder C:\, unlimited space, user name "User".
void Reset();

void SetUserName(const Text& name, bool fails = false);
// Relative paths and paths starting with "\" are taken from here.
void SetCurrentFolder(const Text& path);

// Both create missing parents and return false when path names a file on the
// way or the entry exists already as the other kind. Times are UTC seconds
// since 1970; AddFile gives all three stamps that time.
bool AddFolder(const Text& path, unsigned attributes = 0);
bool AddFile(const Text& path, const Text& content, std::int64_t utcUnixSeconds = 0,
             unsigned attributes = 0);
bool SetTimes(const Text& path, std::int64_t creation, std::int64_t lastWrite, std::int64_t lastAccess);
bool SetAttributes(const Text& path, unsigned attributes);
// Removes a file or a whole folder.
bool Remove(const Text& path);

// A locked file is open elsewhere without read sharing: it cannot be opened,
// copied, moved or replaced.
void SetLocked(const Text& path, bool locked);
// Nothing can be created in, copied into, moved into or out of such a folder.
void SetReadOnlyFolder(const Text& path, bool readOnly);
// Bytes that copies may still write; negative means unlimited. A copy that
// does not fit fails and leaves no target file.
void SetFreeSpace(std::int64_t bytes);
std::int64_t FreeSpace();

bool Exists(const Text& path);
bool IsFolder(const Text& path);
Text Content(const Text& path);        // empty for a folder or a missing path
unsigned Attributes(const Text& path); // 0 for a missing path
// Names of the entries of folder, in the order they were created.
TextList Children(const Text& folder);

}  // namespace fakefs
