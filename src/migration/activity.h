#pragma once
// Keeps refreshes and migration runs apart. One of them runs at a time; a
// request made meanwhile waits in a queue (once per kind, in the order asked)
// and starts when the running one has ended. Used on the window's thread only.

enum class Activity { Refresh, Migration };

// True when nothing runs and the caller may start activity now (it is then
// the running one); otherwise the request is queued and false is returned.
bool BeginOrQueue(Activity activity);

// Ends the running activity and starts the oldest queued request.
void EndActivity();
