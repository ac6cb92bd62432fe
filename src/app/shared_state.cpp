#include "app/shared_state.h"

#include "ui/window_ops.h"

namespace {
SharedState* state = nullptr;
}

void CreateSharedState() {
    if (state == nullptr) state = new SharedState();
}

SharedState& Shared() {
    return *state;
}

void ReleaseSharedState() {
    if (state == nullptr || RunningWorkerCount() > 0) return;
    SharedState* released = state;
    state = nullptr;
    released->videoFolder.clear();
    released->videoFiles.clear();
    released->accountFolders.clear();
    delete released;
}
