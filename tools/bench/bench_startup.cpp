// bench_startup: from process start until the compact window has painted,
// for ZentVorlumo.exe and, in turns, for a minimal Win32 window program.
//   start-up ratio: ZentVorlumo / minimal window (target 1.2 or less)
// "Painted" is the moment the program first waits for input with its window
// visible: the first paint has then been handled. Run under Wine:
//   ZV_BUILD_DIR=$PWD/build/win32 tools/wine-run.sh build/win32/app/bench_startup.exe [runs]
// The program runs from a scratch copy, so its settings files stay out of
// the build tree.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

std::string Folder(const std::string& path)
{
    return path.substr(0, path.find_last_of("\\/") + 1);
}

struct Found {
    DWORD pid;
    HWND window;
};

BOOL CALLBACK FindVisible(HWND window, LPARAM lParam)
{
    auto* f = reinterpret_cast<Found*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == f->pid && IsWindowVisible(window)) {
        f->window = window;
        return FALSE;
    }
    return TRUE;
}

// Milliseconds until the program idles with a visible window; closes it then.
double TimeToPaint(const std::string& exe)
{
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::string command = "\"" + exe + "\"";
    const auto start = Clock::now();
    if (!CreateProcessA(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, Folder(exe).c_str(), &si,
                        &pi)) {
        std::fprintf(stderr, "cannot start %s (%lu)\n", exe.c_str(), GetLastError());
        std::exit(1);
    }
    Found f{pi.dwProcessId, nullptr};
    const auto limit = start + std::chrono::seconds(20);
    while (Clock::now() < limit) {
        if (WaitForInputIdle(pi.hProcess, 20) == 0) {
            EnumWindows(FindVisible, reinterpret_cast<LPARAM>(&f));
            if (f.window)
                break;
        }
        Sleep(1);
    }
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    if (!f.window) {
        std::fprintf(stderr, "%s showed no window\n", exe.c_str());
        TerminateProcess(pi.hProcess, 1);
    } else {
        PostMessageA(f.window, WM_CLOSE, 0, 0);
    }
    if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0)
        TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return ms;
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string here = Folder(self);

    // A scratch folder for the program and its settings files.
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string scratch = std::string(temp) + "zv-bench-startup\\";
    CreateDirectoryA(scratch.c_str(), nullptr);
    const std::string program = scratch + "ZentVorlumo.exe";
    if (!CopyFileA((here + "ZentVorlumo.exe").c_str(), program.c_str(), FALSE)) {
        std::fprintf(stderr, "cannot copy ZentVorlumo.exe to %s\n", scratch.c_str());
        return 1;
    }
    const std::string minimal = here + "bench_minimal_window.exe";

    // One run of each first: Wine maps the DLLs both need.
    TimeToPaint(minimal);
    TimeToPaint(program);
    std::vector<double> a, b;
    for (int i = 0; i < runs; ++i) {
        b.push_back(TimeToPaint(minimal));
        a.push_back(TimeToPaint(program));
    }
    const double ma = Median(a), mb = Median(b);
    std::printf("%-40s %12s %12s\n", "", "minimal", "ZentVorlumo");
    std::printf("%-40s %12.1f %12.1f   start-up ratio %.2f (target <= 1.2)\n", "start until painted, ms (median)", mb,
                ma, ma / mb);
    return 0;
}
