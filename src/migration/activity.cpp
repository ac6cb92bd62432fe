#include "migration/activity.h"

#include <algorithm>
#include <deque>

#include "migration/handlers.h"
#include "migration/migration_run.h"

namespace {

bool busy = false;
std::deque<Activity> queued;

}  // namespace

bool BeginOrQueue(Activity activity) {
    if (!busy) {
        busy = true;
        return true;
    }
    // A second request of the same kind would redo exactly what the queued
    // one will do: every run and refresh works on what it finds when it starts.
    if (std::find(queued.begin(), queued.end(), activity) == queued.end()) queued.push_back(activity);
    return false;
}

void EndActivity() {
    busy = false;
    if (queued.empty()) return;
    const Activity next = queued.front();
    queued.pop_front();
    if (next == Activity::Refresh) {
        OnRefreshClicked();
    } else if (BeginOrQueue(Activity::Migration)) {
        StartMigrationRun();
    }
}
