// The shared program instance for read-only window tests.
#include "program_at_start.h"

#include "fixture.h"

std::unique_ptr<AppProcess> ProgramAtStart::process_;
HWND ProgramAtStart::window_ = nullptr;
std::wstring ProgramAtStart::error_;

void ProgramAtStart::Start() {
    Stop();
    error_.clear();
    if (!RemoveTree(AccountsRoot())) {
        error_ = L"cannot remove " + AccountsRoot();
        return;
    }
    process_ = std::make_unique<AppProcess>();
    window_ = StartAndFindWindow(*process_, &error_);
}

void ProgramAtStart::Stop() {
    if (process_) {
        if (window_) PostMessageW(window_, WM_CLOSE, 0, 0);
        if (!process_->WaitForExit(5000)) process_->Kill();
    }
    process_.reset();
    window_ = nullptr;
}

std::string ProgramAtStart::StartError() { return Narrow(error_); }

std::string Narrow(const std::wstring& text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                         nullptr);
    std::string result(static_cast<size_t>(size > 0 ? size : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), size, nullptr, nullptr);
    return result;
}
