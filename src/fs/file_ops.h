#pragma once
#include "app/text.h"

// The logged-on user's name; empty when it cannot be read.
Text GetCurrentUserName();

// True only when path names an existing folder.
bool FolderExists(const Text& path);

// Creates one folder level; 1 on success.
int CreateFolder(const Text& path);

// Copies source over target, replacing an existing target; 1 on success.
int CopyFileOver(const Text& source, const Text& target);

// Moves source to target; fails when target exists. Across volumes the source
// is deleted only once a complete target is in place. 1 on success.
int MoveFileTo(const Text& source, const Text& target);
