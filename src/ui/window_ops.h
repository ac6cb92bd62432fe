#pragma once
// Operations the handlers and the migration worker perform on the main window.
// Every one is safe to call from a worker thread: a worker's change to a
// control has taken effect when the call returns.
#include "app/text.h"

// 列表框1, the list of videos and their outcomes.
void ClearLines();
int AddLine(const Text& line);                 // index of the new last line, from 0
void SetLineText(int index, const Text& line); // no-op outside the list or for the same text

// 组合框1, the accounts.
void AddAccount(const Text& name);
void SelectAccount(int index);   // past the end selects the last entry, below -1 selects none
int SelectedAccount();           // -1 when nothing is selected
Text AccountText(int index);     // empty outside the list

// 标签3, whose caption is the destination folder.
Text DestinationCaption();
void SetDestinationCaption(const Text& caption);

// 选择框1, the cut option.
bool IsCutOptionTicked();
void SetCutOptionTicked(bool ticked);

// 进度条1.
void SetProgressMaximum(int maximum);   // clamped to 0..32767
void SetProgressPosition(int position); // clamped to 0..32767, then into the range
void ShowProgress(bool visible);

enum class ButtonSet { OkOnly, OkCancel };
enum class MessageResult { Ok, Cancel };

// A message box with no owner, modal for the calling thread, without an icon.
// An empty caption gives the default caption "信息：". Closing an OK/Cancel box
// counts as Cancel.
MessageResult ShowMessage(const Text& message, ButtonSet buttons, const Text& caption = Text());

// Folder picker: the chosen folder's path, or the empty text when cancelled.
Text PickFolder(const Text& title);

// Starts routine on a new thread that nothing waits for.
void StartWorker(void (*routine)());
// Workers started by StartWorker that have not yet returned.
int RunningWorkerCount();

// Queues routine to run on the window's thread once it next handles its
// messages; returns at once and never waits. Dropped when the window is gone.
void RunOnWindowThread(void (*routine)());

// The folder that holds the program file, without a trailing backslash.
Text RunDirectory();
