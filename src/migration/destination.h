#pragma once
#include "app/text.h"

// The caption of 标签3 while no destination has been chosen.
extern const char* const kDestinationPrompt;

// Whether a migration may move files now: the cut option is ticked and its
// confirmation is not still open. Safe to call from the worker.
bool IsCutConfirmed();
