#include "fs/file_times.h"

#include <windows.h>

#include "app/wide_text_win32.h"

namespace {

constexpr int kBufferChars = 255;

// "yyyy-MM-dd HH:mm:ss" of a UTC stamp in local time; the time part is left
// out when dropMidnight is set and it is exactly "00:00:00".
Text LocalText(const FILETIME& utc, bool dropMidnight) {
    FILETIME local{};
    SYSTEMTIME parts{};
    FileTimeToLocalFileTime(&utc, &local);
    FileTimeToSystemTime(&local, &parts);
    wchar_t date[kBufferChars] = L"";
    wchar_t time[kBufferChars] = L"";
    GetDateFormatW(0, 0, &parts, L"yyyy-MM-dd", date, kBufferChars);
    GetTimeFormatW(0, 0, &parts, L"HH:mm:ss", time, kBufferChars);
    Text timeText = ToUtf8(time);
    if (dropMidnight && timeText == "00:00:00") timeText.clear();
    return ToUtf8(date) + " " + timeText;
}

}  // namespace

int GetFileTimeTexts(const Text& path, Text& creation, Text& lastWrite, Text& lastAccess) {
    HANDLE file = CreateFileW(ToWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    FILETIME created{}, accessed{}, written{};
    const BOOL read = GetFileTime(file, &created, &accessed, &written);
    // Rendered first and stored in this order, so one text passed for several
    // outputs ends up holding the last-write text.
    Text creationText = LocalText(created, false);
    Text accessText = LocalText(accessed, true);
    Text writeText = LocalText(written, false);
    creation = std::move(creationText);
    lastAccess = std::move(accessText);
    lastWrite = std::move(writeText);
    CloseHandle(file);
    return read ? 1 : 0;
}
