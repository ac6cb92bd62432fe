#pragma once
// What the migration tests share: videos written with a given time, the
// month text the program files them under, the lines a run should show, and
// a run from the click to its final message box.
#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "driven_program.h"
#include "program_dialogs.h"

// "yyyy-MM" of a local time.
std::wstring MonthOf(const SYSTEMTIME& local);
// Writes a video with these bytes and this local time as creation and
// last-write time (Wine reports the last-write time as the creation time).
bool WriteVideoAt(const std::wstring& path, const std::string& bytes, const SYSTEMTIME& local);

// The lines a run over folder shows: in search order, each video's name,
// "|", the month of its time and the outcome ("|已复制" unless failed has
// it). A video whose time cannot be read takes the month before it, as
// unreadable lists the names.
std::vector<std::wstring> ExpectedRunLines(const std::wstring& videoFolder,
                                           const std::map<std::wstring, SYSTEMTIME>& times,
                                           const std::vector<std::wstring>& failed = {},
                                           const std::vector<std::wstring>& unreadable = {});

// Clicks the migrate button and waits for the run's final box ("迁移完成"
// or the default caption); window is null when none appeared in time.
MessageBoxSeen RunToFinalBox(DrivenProgram& program, DWORD timeoutMs = 60000);
