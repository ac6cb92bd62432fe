#pragma once
// A fresh file system, window and shared state for each test, with a user
// "tester" whose accounts live under the usual WeChat Files folder.
#include <cstdint>

#include "app/text.h"

constexpr const char* kAccountsRoot = "C:\\Users\\tester\\Documents\\WeChat Files";

// 2018-11-20 09:05:03 and 2019-01-05 18:30:00 in Asia/Shanghai.
constexpr std::int64_t kNov2018 = 1542675903;
constexpr std::int64_t kJan2019 = 1546684200;

void ResetWorld();
Text VideoFolder(const Text& account);
Text AddVideo(const Text& account, const Text& name, std::int64_t utc, const Text& content = "video");
// Starts the program's window as the toolkit does: created event, then shown.
void OpenWindow();
