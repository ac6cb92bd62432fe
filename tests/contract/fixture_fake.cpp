// The contract's world natively: the in-memory double, and a window queue
// that is just a count of posted and dispatched events.
#include "fixture.h"

#include <ctime>

#include "fake_fs.h"
#include "fs/folder_listing.h"

namespace {
int pendingEvents = 0;
int dispatchedEvents = 0;
int pumpCalls = 0;
}  // namespace

// The window thread's queue as far as the file-system routines see it.
void PumpPendingEvents() {
    ++pumpCalls;
    dispatchedEvents += pendingEvents;
    pendingEvents = 0;
}

namespace fixture {

Text MakeRoot() {
    fakefs::Reset();
    pendingEvents = dispatchedEvents = pumpCalls = 0;
    const Text root = "C:\\Users\\User\\AppData\\Local\\Temp\\fs_contract";
    fakefs::AddFolder(root);
    return root;
}

void RemoveRoot() { fakefs::Reset(); }

void MakeFolder(const Text& path, unsigned attributes) { fakefs::AddFolder(path, attributes); }

void MakeFile(const Text& path, const Text& content, std::int64_t utcUnixSeconds, unsigned attributes) {
    fakefs::AddFile(path, content, utcUnixSeconds, attributes);
}

void SetTimes(const Text& path, std::int64_t creation, std::int64_t lastWrite, std::int64_t lastAccess) {
    fakefs::SetTimes(path, creation, lastWrite, lastAccess);
}

bool CreationFollowsLastWrite() { return false; }

int LocalZoneMinutes() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return static_cast<int>((timegm(&local) - now) / 60);
}

void HoldOpen(const Text& path) { fakefs::SetLocked(path, true); }
void Release(const Text& path) { fakefs::SetLocked(path, false); }

bool Exists(const Text& path) { return fakefs::Exists(path); }
Text ReadContent(const Text& path) { return fakefs::Content(path); }

void PostPendingEvent() { ++pendingEvents; }
int DispatchedEvents() { return dispatchedEvents; }
void DropPendingEvents() { pendingEvents = 0; }

// Native only: how often PumpPendingEvents ran since MakeRoot.
int PumpCalls() { return pumpCalls; }

}  // namespace fixture
