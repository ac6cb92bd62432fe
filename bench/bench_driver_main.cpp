// Benchmark driver: runs one timed action of the real program and prints its
// figures as key=value lines for bench/run.sh.
//   bench_driver refresh LINES
//   bench_driver migrate DESTINATION copy|cut FILES
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "program_session.h"

namespace {

int Fail(const std::wstring& why) {
    std::fwprintf(stdout, L"error=%ls\n", why.c_str());
    return 1;
}

void PrintRun(const TimedRun& run) {
    std::fwprintf(stdout, L"seconds=%.4f\nlatency_max_ms=%.2f\nlatency_p99_ms=%.2f\nlatency_samples=%zu\n",
                  run.seconds, run.latency.maxMs, run.latency.p99Ms, run.latency.samples);
}

bool EndsWith(const std::wstring& text, const std::wstring& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

int RunRefresh(int lines) {
    ProgramSession program;
    std::wstring error;
    if (!program.Start(&error)) return Fail(error);
    std::fwprintf(stdout, L"idle_peak_bytes=%zu\n", static_cast<size_t>(program.PeakWorkingSet()));
    const TimedRun run = program.Refresh(lines);
    if (!run.ok) return Fail(run.error);
    PrintRun(run);
    std::fwprintf(stdout, L"peak_bytes=%zu\n", static_cast<size_t>(program.PeakWorkingSet()));
    // Every line carries its time: "name|yyyy-MM-dd HH:mm:ss".
    const std::wstring last = program.Line(lines - 1);
    const size_t bar = last.find(L'|');
    if (bar == std::wstring::npos || last.size() - bar - 1 != 19) return Fail(L"unexpected last line " + last);
    program.Close();
    return 0;
}

int RunMigration(const std::wstring& destination, bool cut, int files) {
    ProgramSession program;
    std::wstring error;
    if (!program.Start(&error)) return Fail(error);
    if (!program.SetDestination(destination)) return Fail(L"cannot set the destination");
    if (cut && !program.TickCutOption(&error)) return Fail(error);
    const TimedRun run = program.Migrate(files);
    if (!run.ok) return Fail(run.error);
    PrintRun(run);
    if (program.LineCount() != files) return Fail(L"the list holds " + std::to_wstring(program.LineCount()) + L" lines");
    for (int index : {0, files / 2, files - 1}) {
        if (!EndsWith(program.Line(index), L"|已复制")) return Fail(L"line " + program.Line(index));
    }
    std::fwprintf(stdout, L"peak_bytes=%zu\n", static_cast<size_t>(program.PeakWorkingSet()));
    program.Close();
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    // bench/run.sh reads a pipe; unbuffered output survives a killed driver.
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const std::wstring command = argc > 1 ? argv[1] : L"";
    if (command == L"refresh" && argc == 3) return RunRefresh(_wtoi(argv[2]));
    if (command == L"migrate" && argc == 5) {
        const std::wstring mode = argv[3];
        if (mode == L"copy" || mode == L"cut") return RunMigration(argv[2], mode == L"cut", _wtoi(argv[4]));
    }
    std::fwprintf(stderr, L"usage: bench_driver refresh LINES | migrate DESTINATION copy|cut FILES\n");
    return 2;
}
