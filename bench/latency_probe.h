#pragma once
// Measures how fast a window answers: a thread of its own sends WM_NULL to the
// window every 10 ms and records how long each answer took.
#include <windows.h>

#include <atomic>
#include <thread>
#include <vector>

struct LatencySummary {
    double maxMs = 0;
    double p99Ms = 0;
    size_t samples = 0;
};

class LatencyProbe {
public:
    explicit LatencyProbe(HWND window) : window_(window) {}
    LatencyProbe(const LatencyProbe&) = delete;
    LatencyProbe& operator=(const LatencyProbe&) = delete;
    ~LatencyProbe() { Stop(); }

    void Start();
    // Stops the thread and summarises what it recorded.
    LatencySummary Stop();

private:
    void Run();

    HWND window_;
    std::atomic<bool> running_{false};
    std::thread thread_;
    std::vector<double> latenciesMs_;
};

// Seconds on the performance counter.
double Now();
