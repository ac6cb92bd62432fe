#include "program_copy.h"

#include "process.h"

ProgramCopy::ProgramCopy(const std::wstring& parent, const std::wstring& prefix) : folder_(parent, prefix) {
    if (!folder_.ok()) {
        error_ = "cannot create " + Utf8(folder_.path()) + ", error " + std::to_string(GetLastError());
        return;
    }
    if (!CopyFileW(ProgramPath().c_str(), exe().c_str(), TRUE)) {
        error_ = "cannot copy " + Utf8(ProgramPath()) + " to " + Utf8(exe()) + ", error " +
                 std::to_string(GetLastError());
        return;
    }
    ok_ = true;
}

bool ProgramInstance::Start(const std::wstring& exe, std::string* error) {
    std::wstring reason;
    if (process_.Start(&reason, std::wstring(), exe)) return true;
    if (error) *error = Utf8(reason);
    return false;
}
