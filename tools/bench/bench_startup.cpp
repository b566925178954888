// bench_startup: from process start until the compact window has painted,
// for ZentVorlumo.exe and, in turns, for the same windows made by hand
// (bench_plain_windows), for those windows plus the design's other start-up
// work (bench_plain_design: Windows Sockets 1.1 imported and asked for the
// local address, the version resource, the settings files looked for) and
// for a minimal Win32 window program.
//   toolkit ratio: ZentVorlumo / plain windows (target 1.10 or less)
//   toolkit's own share: ZentVorlumo / plain windows with the design's work
//   start-up ratio: ZentVorlumo / minimal window
// "Painted" is the moment the program first waits for input with its window
// visible: the first paint has then been handled. Run under Wine:
//   ZV_BUILD_DIR=$PWD/build/win32 tools/wine-run.sh build/win32/app/bench_startup.exe [runs [program.exe]]
// It first checks that the plain program's windows still match the
// program's, and stops if not; `bench_startup --dump` writes the program's
// windows as the plain program's table (tools/bench/PlainWindows.inc).
// All four run from copies in one scratch folder, so the settings files
// stay out of the build tree.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tools/bench/WindowTree.h"

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

// Milliseconds until the program idles with a visible window, and the
// processor time it had used by then (less open to other load on the
// machine, but without the window server's share).
struct Start {
    double wallMs, cpuMs;
};

double CpuMs(HANDLE process)
{
    FILETIME created, ended, kernel, user;
    if (!GetProcessTimes(process, &created, &ended, &kernel, &user))
        return 0;
    auto ms = [](FILETIME t) { return (static_cast<double>(t.dwHighDateTime) * 4294967296.0 + t.dwLowDateTime) / 1e4; };
    return ms(kernel) + ms(user);
}

// Starts the program and waits until it has painted; then hands the process
// to `painted` and closes the window.
template <typename Painted>
Start TimeToPaint(const std::string& exe, Painted painted)
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
    const Start figures{std::chrono::duration<double, std::milli>(Clock::now() - start).count(), CpuMs(pi.hProcess)};
    if (!f.window) {
        std::fprintf(stderr, "%s showed no window\n", exe.c_str());
        TerminateProcess(pi.hProcess, 1);
    } else {
        painted(pi.dwProcessId);
        PostMessageA(f.window, WM_CLOSE, 0, 0);
    }
    if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0)
        TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return figures;
}

// Each start of the program finds the files of a first start: none.
void ForgetFiles(const std::string& exe)
{
    for (const char* file : {"zentvorlumo.ini", "host.txt"})
        DeleteFileA((Folder(exe) + file).c_str());
}

Start TimeToPaint(const std::string& exe)
{
    ForgetFiles(exe);
    return TimeToPaint(exe, [](DWORD) {});
}

std::vector<bench::WindowInfo> TreeAfterStart(const std::string& exe)
{
    std::vector<bench::WindowInfo> tree;
    ForgetFiles(exe);
    TimeToPaint(exe, [&](DWORD pid) { tree = bench::TreeOf(pid); });
    return tree;
}

struct Figures {
    double min, median, max;
};

Figures Of(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return {v.front(), v[v.size() / 2], v.back()};
}

} // namespace

int main(int argc, char** argv)
{
    const bool dump = argc > 1 && std::string(argv[1]) == "--dump";
    const int runs = argc > 1 && !dump ? std::max(1, std::atoi(argv[1])) : 15;
    // Off every window: the program's window opens under the screen's centre,
    // and a tip shown there would be one more window in its tree.
    SetCursorPos(0, 0);
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string here = Folder(self);

    // A scratch folder for the program and its settings files. The others
    // start from there too: the folder a program starts from is part of its
    // start's cost under Wine.
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string scratch = std::string(temp) + "zv-bench-startup\\";
    CreateDirectoryA(scratch.c_str(), nullptr);
    auto copyIn = [&](const std::string& source, const char* name) {
        if (!CopyFileA(source.c_str(), (scratch + name).c_str(), FALSE)) {
            std::fprintf(stderr, "cannot copy %s to %s\n", source.c_str(), scratch.c_str());
            std::exit(1);
        }
        return scratch + name;
    };
    // Another build of the program may be named, to compare before and after.
    const std::string program = copyIn(argc > 2 ? argv[2] : here + "ZentVorlumo.exe", "ZentVorlumo.exe");
    const std::string minimal = copyIn(here + "bench_minimal_window.exe", "bench_minimal_window.exe");
    const std::string plain = copyIn(here + "bench_plain_windows.exe", "bench_plain_windows.exe");
    const std::string design = copyIn(here + "bench_plain_design.exe", "bench_plain_design.exe");

    const std::vector<bench::WindowInfo> tree = TreeAfterStart(program);
    if (dump) {
        std::printf("// The windows of ZentVorlumo.exe after start-up, as bench_plain_windows makes them.\n"
                    "// Written by `bench_startup --dump`; write it again when the windows change.\n");
        for (const bench::WindowInfo& w : tree)
            std::printf("%s,\n", bench::Describe(w).c_str());
        return 0;
    }
    for (const std::string& baseline : {plain, design}) {
        const std::string difference = bench::FirstDifference(tree, TreeAfterStart(baseline));
        if (!difference.empty()) {
            std::fprintf(stderr, "The plain program's windows no longer match the program's (write the table again "
                                 "with bench_startup --dump):\n%s\n", difference.c_str());
            return 1;
        }
    }
    std::printf("window trees match: %zu windows\n", tree.size());

    // One run of each first: Wine maps the DLLs they need.
    TimeToPaint(minimal);
    TimeToPaint(plain);
    TimeToPaint(design);
    TimeToPaint(program);
    std::vector<double> a, b, c, d, toolkit, own, startup, cpuA, cpuB, cpuToolkit;
    for (int i = 0; i < runs; ++i) {
        // Each in every place of the order in turn: a start just after
        // another program has closed finds Wine still tidying up after it.
        const std::string* order[] = {&minimal, &plain, &design, &program};
        Start started[4];
        for (int k = 0; k < 4; ++k)
            started[(i + k) % 4] = TimeToPaint(*order[(i + k) % 4]);
        const Start m = started[0], p = started[1], w = started[2], z = started[3];
        c.push_back(m.wallMs);
        b.push_back(p.wallMs);
        d.push_back(w.wallMs);
        a.push_back(z.wallMs);
        toolkit.push_back(z.wallMs / p.wallMs);
        own.push_back(z.wallMs / w.wallMs);
        startup.push_back(z.wallMs / m.wallMs);
        cpuB.push_back(p.cpuMs);
        cpuA.push_back(z.cpuMs);
        cpuToolkit.push_back(p.cpuMs > 0 ? z.cpuMs / p.cpuMs : 0);
    }
    auto row = [](const char* what, Figures f) {
        std::printf("%-44s %9.2f %9.2f %9.2f\n", what, f.min, f.median, f.max);
    };
    std::printf("%d interleaved runs each%-22s %9s %9s %9s\n", runs, "", "min", "median", "max");
    row("minimal window, ms until painted", Of(c));
    row("plain windows by hand, ms until painted", Of(b));
    row("plain windows + the design's work, ms", Of(d));
    row("ZentVorlumo, ms until painted", Of(a));
    row("toolkit ratio ZentVorlumo / plain (<= 1.10)", Of(toolkit));
    row("toolkit's own share ZentVorlumo / plain + work", Of(own));
    row("start-up ratio ZentVorlumo / minimal", Of(startup));
    row("plain windows by hand, CPU ms until painted", Of(cpuB));
    row("ZentVorlumo, CPU ms until painted", Of(cpuA));
    row("CPU ratio ZentVorlumo / plain", Of(cpuToolkit));
    return 0;
}
