// The window double. All state sits behind one mutex so that workers and the
// test thread can use it at once, as they use the real window through its
// thread.
#include "fake_ui.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <deque>
#include <mutex>
#include <thread>

#include "fs/folder_listing.h"

namespace {

struct Window {
    TextList lines;
    int selectedLine = -1;
    int topLine = 0;
    TextList accounts;
    int selectedAccount = -1;
    Text caption = "双击此处选择存储位置";
    bool cutTicked = false;
    int progressMaximum = 100;
    int progressPosition = 0;
    bool progressVisible = false;
    std::vector<fakeui::ShownMessage> messages;
    Text pickedFolder;
    TextList pickerTitles;
    Text runDirectory = "C:\\Tools";
    std::deque<std::function<void()>> events;
};

std::mutex mutex;
Window window;
std::function<MessageResult(const fakeui::ShownMessage&)> answerer;
std::function<void(int, const Text&)> lineAddedHook;
std::thread::id windowThread;
std::atomic<int> runningWorkers{0};
std::vector<std::thread> workers;

constexpr int kProgressLimit = 32767;

bool OnWindowThread() { return std::this_thread::get_id() == windowThread; }

void JoinWorkers() {
    std::vector<std::thread> finished;
    {
        std::lock_guard<std::mutex> lock(mutex);
        finished.swap(workers);
    }
    for (std::thread& worker : finished) worker.join();
}

}  // namespace

// --- the window operations ---

void ClearLines() {
    std::lock_guard<std::mutex> lock(mutex);
    window.lines.clear();
    window.selectedLine = -1;
    window.topLine = 0;
}

int AddLine(const Text& line) {
    int index;
    std::function<void(int, const Text&)> hook;
    {
        std::lock_guard<std::mutex> lock(mutex);
        window.lines.push_back(line);
        index = static_cast<int>(window.lines.size()) - 1;
        hook = lineAddedHook;
    }
    if (hook) hook(index, line);
    return index;
}

void SetLineText(int index, const Text& line) {
    std::lock_guard<std::mutex> lock(mutex);
    if (index < 0 || index >= static_cast<int>(window.lines.size())) return;
    window.lines[static_cast<size_t>(index)] = line;
}

void AddAccount(const Text& name) {
    std::lock_guard<std::mutex> lock(mutex);
    window.accounts.push_back(name);
}

void SelectAccount(int index) {
    std::lock_guard<std::mutex> lock(mutex);
    const int count = static_cast<int>(window.accounts.size());
    window.selectedAccount = index < -1 ? -1 : std::min(index, count - 1);
}

int SelectedAccount() {
    std::lock_guard<std::mutex> lock(mutex);
    return window.selectedAccount;
}

Text AccountText(int index) {
    std::lock_guard<std::mutex> lock(mutex);
    if (index < 0 || index >= static_cast<int>(window.accounts.size())) return Text();
    return window.accounts[static_cast<size_t>(index)];
}

Text DestinationCaption() {
    std::lock_guard<std::mutex> lock(mutex);
    return window.caption;
}

void SetDestinationCaption(const Text& caption) {
    std::lock_guard<std::mutex> lock(mutex);
    window.caption = caption;
}

bool IsCutOptionTicked() {
    std::lock_guard<std::mutex> lock(mutex);
    return window.cutTicked;
}

void SetCutOptionTicked(bool ticked) {
    std::lock_guard<std::mutex> lock(mutex);
    window.cutTicked = ticked;
}

void SetProgressMaximum(int maximum) {
    std::lock_guard<std::mutex> lock(mutex);
    window.progressMaximum = std::clamp(maximum, 0, kProgressLimit);
    window.progressPosition = std::min(window.progressPosition, window.progressMaximum);
}

void SetProgressPosition(int position) {
    std::lock_guard<std::mutex> lock(mutex);
    window.progressPosition = std::min(std::clamp(position, 0, kProgressLimit), window.progressMaximum);
}

void ShowProgress(bool visible) {
    std::lock_guard<std::mutex> lock(mutex);
    window.progressVisible = visible;
}

MessageResult ShowMessage(const Text& message, ButtonSet buttons, const Text& caption) {
    fakeui::ShownMessage shown{message, buttons, caption.empty() ? Text("信息：") : caption, OnWindowThread()};
    std::function<MessageResult(const fakeui::ShownMessage&)> answer;
    {
        std::lock_guard<std::mutex> lock(mutex);
        window.messages.push_back(shown);
        answer = answerer;
    }
    const MessageResult result = answer ? answer(shown) : MessageResult::Ok;
    return buttons == ButtonSet::OkOnly ? MessageResult::Ok : result;
}

Text PickFolder(const Text& title) {
    std::lock_guard<std::mutex> lock(mutex);
    window.pickerTitles.push_back(title);
    return window.pickedFolder;
}

void StartWorker(void (*routine)()) {
    ++runningWorkers;
    std::lock_guard<std::mutex> lock(mutex);
    workers.emplace_back([routine] {
        routine();
        --runningWorkers;
    });
}

int RunningWorkerCount() {
    return runningWorkers;
}

void RunOnWindowThread(void (*routine)()) {
    fakeui::PostEvent(routine);
}

Text RunDirectory() {
    std::lock_guard<std::mutex> lock(mutex);
    return window.runDirectory;
}

// The window thread's pending messages are the queued events.
void PumpPendingEvents() {
    if (OnWindowThread()) fakeui::PumpWindowThread();
}

// --- what the tests see and arrange ---

namespace fakeui {

void Reset() {
    JoinWorkers();
    std::lock_guard<std::mutex> lock(mutex);
    window = Window();
    answerer = nullptr;
    lineAddedHook = nullptr;
    windowThread = std::this_thread::get_id();
}

TextList Lines() {
    std::lock_guard<std::mutex> lock(mutex);
    return window.lines;
}

int SelectedLine() {
    std::lock_guard<std::mutex> lock(mutex);
    return window.selectedLine;
}

void SelectLine(int index) {
    std::lock_guard<std::mutex> lock(mutex);
    window.selectedLine = index;
}

int TopLine() {
    std::lock_guard<std::mutex> lock(mutex);
    return window.topLine;
}

void SetTopLine(int index) {
    std::lock_guard<std::mutex> lock(mutex);
    window.topLine = index;
}

TextList Accounts() {
    std::lock_guard<std::mutex> lock(mutex);
    return window.accounts;
}

Text Caption() {
    return DestinationCaption();
}

bool CutTicked() {
    return IsCutOptionTicked();
}

int ProgressMaximum() {
    std::lock_guard<std::mutex> lock(mutex);
    return window.progressMaximum;
}

int ProgressPosition() {
    std::lock_guard<std::mutex> lock(mutex);
    return window.progressPosition;
}

bool ProgressVisible() {
    std::lock_guard<std::mutex> lock(mutex);
    return window.progressVisible;
}

std::vector<ShownMessage> Messages() {
    std::lock_guard<std::mutex> lock(mutex);
    return window.messages;
}

void SetMessageAnswerer(std::function<MessageResult(const ShownMessage&)> newAnswerer) {
    std::lock_guard<std::mutex> lock(mutex);
    answerer = std::move(newAnswerer);
}

void SetLineAddedHook(std::function<void(int index, const Text& line)> hook) {
    std::lock_guard<std::mutex> lock(mutex);
    lineAddedHook = std::move(hook);
}

void SetPickedFolder(const Text& folder) {
    std::lock_guard<std::mutex> lock(mutex);
    window.pickedFolder = folder;
}

TextList PickerTitles() {
    std::lock_guard<std::mutex> lock(mutex);
    return window.pickerTitles;
}

void SetRunDirectory(const Text& folder) {
    std::lock_guard<std::mutex> lock(mutex);
    window.runDirectory = folder;
}

void PostEvent(std::function<void()> event) {
    std::lock_guard<std::mutex> lock(mutex);
    window.events.push_back(std::move(event));
}

void PumpWindowThread() {
    for (;;) {
        std::function<void()> event;
        {
            std::lock_guard<std::mutex> lock(mutex);
            if (window.events.empty()) return;
            event = std::move(window.events.front());
            window.events.pop_front();
        }
        event();
    }
}

void WaitForWorkers() {
    for (;;) {
        PumpWindowThread();
        bool idle;
        {
            std::lock_guard<std::mutex> lock(mutex);
            idle = runningWorkers == 0 && window.events.empty();
        }
        if (idle) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    JoinWorkers();
    PumpWindowThread();
}

}  // namespace fakeui
