#pragma once
// What the file-system contract tests need from the world they run in: real
// files in a temporary folder under Windows, the in-memory double natively.
#include <cstdint>

#include "app/text.h"

namespace fixture {

constexpr unsigned kReadOnly = 1;
constexpr unsigned kHidden = 2;
constexpr unsigned kSystem = 4;

// A fresh empty folder for one test (no trailing "\"), and its removal.
Text MakeRoot();
void RemoveRoot();

// Times are UTC seconds since 1970; MakeFile gives all three stamps that time.
void MakeFolder(const Text& path, unsigned attributes = 0);
void MakeFile(const Text& path, const Text& content, std::int64_t utcUnixSeconds = 0,
              unsigned attributes = 0);
void SetTimes(const Text& path, std::int64_t creation, std::int64_t lastWrite, std::int64_t lastAccess);
// Wine reports the creation time as the last-write time.
bool CreationFollowsLastWrite();
// Minutes east of UTC of the local zone, to check the tests' TZ took effect.
int LocalZoneMinutes();

// Holds path open elsewhere without read sharing until Release.
void HoldOpen(const Text& path);
void Release(const Text& path);

bool Exists(const Text& path);
Text ReadContent(const Text& path);

// A pending window event that PumpPendingEvents would dispatch, and how many
// such events have been dispatched since MakeRoot.
void PostPendingEvent();
int DispatchedEvents();
// Discards what was posted and not dispatched.
void DropPendingEvents();

}  // namespace fixture
