#pragma once
// The program's only window. Creating it raises the window-created event and
// shows the window afterwards.
bool LoadMainWindow();
// Runs the message loop until the main window has been destroyed.
int RunMessageLoop();
