#include "session.h"

#include "message_box.h"
#include "ui/control_ids.h"
#include "window_probe.h"

const wchar_t* const kRunDoneCaption = L"迁移完成";
const wchar_t* const kNothingToMigrate = L"暂无视频迁移...";

namespace {

constexpr DWORD kBoxTimeoutMs = 20000;
const wchar_t* const kNoDestinationCaption = L"异常提醒";
const wchar_t* const kCutQuestionCaption = L"确认操作";

}  // namespace

std::wstring RunDoneText(size_t count) { return L"共迁移视频文件 【" + std::to_wstring(count) + L"】"; }

bool Session::Start(std::string* error) {
    if (!process_.Start(copy_.exe(), error)) return false;
    window_ = process_.WaitForMainWindow();
    if (!window_ && error) *error = process_.IsRunning() ? "no main window appeared" : "the program ended at once";
    return window_ != nullptr;
}

void Session::Click(int controlId) const { PostMessageW(control(controlId), BM_CLICK, 0, 0); }

bool Session::IsCutTicked() const { return Query(control(IDC_CUT_OPTION), BM_GETCHECK) == BST_CHECKED; }

bool Session::SetCut(bool cut, std::string* error) {
    if (IsCutTicked() == cut) return true;
    Click(IDC_CUT_OPTION);
    if (cut) {
        const auto question = WaitForMessageBox(pid(), kCutQuestionCaption, kBoxTimeoutMs);
        if (!question) {
            *error = "no cut question appeared; " + State();
            return false;
        }
        if (!AnswerMessageBox(question->window, IDOK)) {
            *error = "the cut question did not close";
            return false;
        }
    }
    if (!WaitUntil([&] { return IsCutTicked() == cut; }, 10000)) {
        *error = std::string("the cut option did not become ") + (cut ? "ticked" : "unticked");
        return false;
    }
    return true;
}

bool Session::StartFirstRun(std::string* error) {
    Click(IDC_MIGRATE);
    const auto question = WaitForMessageBox(pid(), kNoDestinationCaption, kBoxTimeoutMs);
    if (!question) {
        *error = "no question about the run directory appeared; " + State();
        return false;
    }
    const std::wstring named = L"当前运行目录【" + copy_.folder() + L"\\】";
    if (question->text.find(named) == std::wstring::npos) {
        *error = "the question does not name " + Utf8(named) + ": " + Utf8(question->text);
        return false;
    }
    if (!AnswerMessageBox(question->window, IDOK)) {
        *error = "the question did not close";
        return false;
    }
    if (!WaitUntil([&] { return Destination() == copy_.folder() + L"\\"; }, 10000)) {
        *error = "the destination caption is " + Utf8(Destination()) + ", not the run directory";
        return false;
    }
    return true;
}

std::optional<std::wstring> Session::WaitForRunEnd(DWORD timeoutMs, bool answer) {
    const auto box = WaitForMessageBoxWhere(pid(), [](const MessageBoxSeen& seen) {
        return seen.caption == kRunDoneCaption || seen.text == kNothingToMigrate;
    }, timeoutMs);
    if (!box) return std::nullopt;
    runEndBox_ = box->window;
    if (answer) AnswerRunEnd();
    return box->text;
}

bool Session::AnswerRunEnd() {
    const bool answered = runEndBox_ && AnswerMessageBox(runEndBox_, IDOK);
    runEndBox_ = nullptr;
    return answered;
}

std::vector<std::wstring> Session::Lines() const { return ListBoxLines(control(IDC_VIDEO_LIST)); }

std::wstring Session::Destination() const { return TextOf(control(IDC_DESTINATION)); }

std::optional<DWORD> Session::Close(DWORD timeoutMs) {
    PostMessageW(window_, WM_CLOSE, 0, 0);
    return process_.WaitForExit(timeoutMs);
}

std::string Session::State() const {
    if (!process_.IsRunning()) return "the program has ended";
    const std::vector<std::wstring> lines = Lines();
    std::string state = "the program runs; " + std::to_string(lines.size()) + " lines";
    if (!lines.empty()) state += ", last: " + Utf8(lines.back());
    return state + "; " + DescribeMessageBoxes(pid());
}
