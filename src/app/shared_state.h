#pragma once
// The state shared by the window's handlers and the migration worker.
#include "app/text.h"

struct SharedState {
    Text videoFolder;         // the selected account's Video folder, no trailing backslash
    TextList videoFiles;      // bare names of the latest listing of videoFolder
    TextList accountFolders;  // account folder names found at start-up
};

// Created once at start-up. It is heap-allocated and never destroyed by static
// destruction, so a worker still running while the process ends cannot touch
// released memory.
void CreateSharedState();
SharedState& Shared();

// The exit clean-up. It releases the state only when no worker can still use
// it; otherwise the memory is left for the system to reclaim with the process.
void ReleaseSharedState();
