#pragma once
// Test double of the main window: the window operations, the message boxes,
// the folder picker, workers and the window thread's queue, kept in memory.
// The thread that calls Reset() plays the window's thread.
#include <functional>
#include <vector>

#include "app/text.h"
#include "ui/window_ops.h"

namespace fakeui {

struct ShownMessage {
    Text message;
    ButtonSet buttons;
    Text caption;  // as the box would show it, so "信息：" when none was given
    bool onWindowThread;
};

void Reset();

// What the window shows.
TextList Lines();
int SelectedLine();
void SelectLine(int index);
int TopLine();
void SetTopLine(int index);
TextList Accounts();
Text Caption();
bool CutTicked();
int ProgressMaximum();
int ProgressPosition();
bool ProgressVisible();
std::vector<ShownMessage> Messages();

// Answers for the message boxes: by default every box is answered OK. The
// answerer runs on the thread that shows the box.
void SetMessageAnswerer(std::function<MessageResult(const ShownMessage&)> answerer);
// The folder the next pickers return (empty text: the user cancels), and the
// titles they were shown with.
void SetPickedFolder(const Text& folder);
TextList PickerTitles();
void SetRunDirectory(const Text& folder);

// Runs on the calling thread each time a line is added, after it was added;
// lets a test act in the middle of a run.
void SetLineAddedHook(std::function<void(int index, const Text& line)> hook);

// Queues work for the window's thread, as a posted message would be; runs
// when the window thread pumps its events.
void PostEvent(std::function<void()> event);
// Runs queued events on the window's thread until the queue is empty.
void PumpWindowThread();
// Serves the window thread's queue until every worker has returned.
void WaitForWorkers();

}  // namespace fakeui
