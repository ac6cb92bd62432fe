#pragma once
#include "app/text.h"

// Appends the names of the subfolders of folder (those not beginning with ".")
// to names and returns how many names it holds afterwards.
int ListSubfolders(const Text& folder, TextList& names);

// Replaces names by the files of folder that match pattern (the system's
// case-insensitive wildcards) and returns their count. Dispatches the calling
// thread's pending window messages after every name.
int ListFiles(const Text& folder, const Text& pattern, TextList& names);

// Dispatches the calling thread's pending window messages. A quit request met
// on the way is posted again, so the message loop still sees it.
void PumpPendingEvents();
