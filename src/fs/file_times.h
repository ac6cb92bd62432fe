#pragma once
#include "app/text.h"

// Renders the creation, last-write and last-access times of path in local time
// as "yyyy-MM-dd HH:mm:ss" (last access without its time part at midnight).
// Returns nonzero when the stamps were read; when the file cannot be opened
// the outputs are left exactly as they were and 0 is returned.
int GetFileTimeTexts(const Text& path, Text& creation, Text& lastWrite, Text& lastAccess);
