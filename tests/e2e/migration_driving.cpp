#include "migration_driving.h"

#include <algorithm>
#include <cstdio>

#include "scratch_files.h"
#include "ui/control_ids.h"

namespace {

bool Contains(const std::vector<std::wstring>& names, const std::wstring& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

}  // namespace

std::wstring MonthOf(const SYSTEMTIME& local) {
    wchar_t text[16] = {};
    std::swprintf(text, 16, L"%04u-%02u", local.wYear, local.wMonth);
    return text;
}

bool WriteVideoAt(const std::wstring& path, const std::string& bytes, const SYSTEMTIME& local) {
    if (!WriteBytes(path, bytes)) return false;
    HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    FILETIME localTime{}, utc{};
    const bool ok = SystemTimeToFileTime(&local, &localTime) && LocalFileTimeToFileTime(&localTime, &utc) &&
                    SetFileTime(file, &utc, nullptr, &utc);
    CloseHandle(file);
    return ok;
}

std::vector<std::wstring> ExpectedRunLines(const std::wstring& videoFolder,
                                           const std::map<std::wstring, SYSTEMTIME>& times,
                                           const std::vector<std::wstring>& failed,
                                           const std::vector<std::wstring>& unreadable) {
    std::vector<std::wstring> lines;
    std::wstring month;
    for (const std::wstring& name : SearchOrder(videoFolder, L"*.mp4", false)) {
        const auto time = times.find(name);
        if (!Contains(unreadable, name) && time != times.end()) month = MonthOf(time->second);
        lines.push_back(name + L"|" + month + (Contains(failed, name) ? L"|失败" : L"|已复制"));
    }
    return lines;
}

MessageBoxSeen RunToFinalBox(DrivenProgram& program, DWORD timeoutMs) {
    if (!program.Click(IDC_MIGRATE)) return MessageBoxSeen{};
    return WaitForMessageBox(program.Id(), timeoutMs);
}
