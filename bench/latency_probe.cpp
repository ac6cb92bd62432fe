#include "latency_probe.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr DWORD kIntervalMs = 10;
// A window that does not answer within this counts with this latency.
constexpr UINT kGiveUpMs = 5000;

}  // namespace

double Now() {
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / frequency;
}

void LatencyProbe::Start() {
    latenciesMs_.clear();
    running_ = true;
    thread_ = std::thread([this] { Run(); });
}

LatencySummary LatencyProbe::Stop() {
    if (thread_.joinable()) {
        running_ = false;
        thread_.join();
    }
    LatencySummary summary;
    summary.samples = latenciesMs_.size();
    if (latenciesMs_.empty()) return summary;
    std::vector<double> sorted = latenciesMs_;
    std::sort(sorted.begin(), sorted.end());
    summary.maxMs = sorted.back();
    const size_t rank = static_cast<size_t>(std::ceil(0.99 * static_cast<double>(sorted.size())));
    summary.p99Ms = sorted[std::min(sorted.size(), std::max<size_t>(rank, 1)) - 1];
    return summary;
}

void LatencyProbe::Run() {
    // Keeps a steady 10 ms rhythm: a slow answer delays the next ping, it
    // does not add a sleep on top of it.
    double next = Now();
    while (running_) {
        const double sent = Now();
        DWORD_PTR result = 0;
        const bool answered = SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_NORMAL, kGiveUpMs, &result) != 0;
        const double latency = answered ? (Now() - sent) * 1000.0 : kGiveUpMs;
        latenciesMs_.push_back(latency);
        next += kIntervalMs / 1000.0;
        const double wait = next - Now();
        if (wait > 0) {
            Sleep(static_cast<DWORD>(wait * 1000.0));
        } else {
            next = Now();
        }
    }
}
