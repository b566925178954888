// bench_history: opening the History window on a week of history files at
// a ping a second (604,800 rows, about 50 MB): the files are made in a
// scratch folder, then read whole and parsed into the minute bins, against
// reading the same bytes whole and parsing nothing, in five rounds that take
// both in turn (the target under Wine: at most 1.0 s). Also printed: the
// cost of making one row as it is appended, and the bytes the bins hold
// for the week and for the most they keep (31 days, target 4 MB), with the
// private bytes (or heap) that making the latter grew by. Under
// Wine also the History window opened on the same files, from its creation
// to its first paint after the last file (target: at most 1.0 s), and a
// row appended to its file as the program appends it. Run by hand:
//   ZV_BUILD_DIR=$PWD/build/win32 tools/wine-run.sh build/win32/tools/bench/bench_history.exe </dev/null
//   build/native/tools/bench/bench_history   (a sanitizer build: compare ratios only)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
// The kernel32 entry point: no psapi.dll to link.
#define PSAPI_VERSION 2
#include <psapi.h>

#include "console/SystemClock.h"
#include "history/FormHistory.h"
#include "history/HistoryFeed.h"
#include "history/HistoryFileWriter.h"
#include "toolkit/Application.h"
#include "toolkit/WinFileSystem.h"
#else
#include <malloc.h>
#include <unistd.h>
#ifdef __SANITIZE_ADDRESS__
// The sanitizer runtime's own count; its header is not always installed.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif
#endif

#include "history/HistoryBins.h"
#include "history/HistoryFile.h"
#include "history/HistoryReader.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono;

constexpr int kDays = 7;
constexpr int kRounds = 5;
constexpr std::int64_t kFirstDay = 1796083200000; // 2026-12-01T00:00Z
constexpr int kOffset = 60;

std::string ScratchFolder()
{
#ifdef _WIN32
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string folder = std::string(temp) + "zv-bench-history-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder + "\\";
#else
    char folder[] = "/tmp/zv-bench-history-XXXXXX";
    if (!mkdtemp(folder))
        std::abort();
    return std::string(folder) + "/";
#endif
}

// One read of the whole file, as the window will make it.
bool ReadWhole(const std::string& path, std::string& bytes)
{
#ifdef _WIN32
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size{};
    GetFileSizeEx(file, &size);
    bytes.resize(static_cast<std::size_t>(size.QuadPart));
    DWORD read = 0;
    const BOOL ok = ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    return ok && read == bytes.size();
#else
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    std::fseek(file, 0, SEEK_END);
    bytes.resize(static_cast<std::size_t>(std::ftell(file)));
    std::fseek(file, 0, SEEK_SET);
    const std::size_t read = std::fread(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    return read == bytes.size();
#endif
}

// A day of a ping a second: trip times about 20 ms with jitter and spikes,
// one in a hundred a time-out; the files of the week, and the seconds one
// row took to make.
double MakeFiles(const std::vector<std::string>& paths)
{
    std::mt19937 random(34);
    THistoryWriter writer([](std::string_view text) { return std::string(text); });
    TPingRecord r;
    r.Host = "now.example";
    double makeSeconds = 0;
    for (int day = 0; day < kDays; ++day) {
        std::string text = HistoryFileStart();
        text.reserve(8 << 20);
        const auto start = Clock::now();
        for (int second = 0; second < 86400; ++second) {
            const std::int64_t ms = kFirstDay - kOffset * 60000 + (day * 86400LL + second) * 1000 + random() % 50;
            const bool lost = random() % 100 == 0;
            r.Outcome = lost ? TPingOutcome::Failure : TPingOutcome::Echo;
            r.Reply.Kind = lost ? rsTimeOut : rsEcho;
            r.Reply.AddressFrom = lost ? "" : "198.51.100.20";
            r.Reply.Bytes = lost ? 0 : 72;
            r.Reply.TimeToLive = lost ? 0 : 57;
            r.Reply.SeqId = static_cast<std::uint16_t>(second);
            r.TripUs = lost ? 1000000 : 18000 + random() % 4000 + (random() % 200 == 0 ? 300000 : 0);
            r.Filed = {ms, kOffset};
            writer.AddPing(r);
            writer.HandOn([&](std::string_view row) { text += row; });
        }
        makeSeconds += duration<double>(Clock::now() - start).count();
        std::FILE* file = std::fopen(paths[static_cast<std::size_t>(day)].c_str(), "wb");
        if (!file || std::fwrite(text.data(), 1, text.size(), file) != text.size())
            std::abort();
        std::fclose(file);
    }
    return makeSeconds / (kDays * 86400.0);
}

struct TToBins : THistoryVisitor {
    THistoryBins& Bins;
    explicit TToBins(THistoryBins& bins) : Bins(bins) {}
    void PingRead(const TPingRecord& record) override { Bins.AddPing(record); }
    void SleepRead(const TSleep& sleep) override { Bins.AddSleep(sleep); }
};

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

#ifdef _WIN32
// The window made, shown and read to the last file over a run that starts a
// minute after the week, as the program would open it the next morning.
double OpenWindow(const std::string& folder)
{
    const TClockReading real = ReadSystemClock();
    const TDuration shift = TDuration(real.Mono.time_since_epoch()) - milliseconds(kFirstDay + kDays * 86400000LL);
    TRunClock clock = [shift] {
        TClockReading now = ReadSystemClock();
        now.Wall = {(now.Mono.time_since_epoch() - shift).count() / 1000 - kOffset * 60000, kOffset};
        return now;
    };
    TMonitorRun run(clock);
    THistoryFeed feed(run, tk::Utf8Text);
    const auto start = Clock::now();
    ShowHistoryWindow({&feed.Bins(), clock, feed.Started(), tk::WideText(folder), {}, nullptr});
    while (FormHistory->Reading())
        tk::TheApplication->HandleMessage();
    UpdateWindow(FormHistory->Handle());
    const double seconds = duration<double>(Clock::now() - start).count();
    const THistoryBins& bins = feed.Bins();
    if (bins.Figures(bins.StartOf(bins.FirstMinute()), bins.Latest()).Pings() != kDays * 86400ULL)
        std::abort();
    tk::Form::Free(FormHistory);
    FormHistory = nullptr;
    return seconds;
}
#endif

// What the process holds for itself: its private bytes under Windows, the
// heap in use elsewhere.
std::size_t PrivateBytes()
{
#ifdef _WIN32
    // The commit charge, which Windows also gives as PrivateUsage; Wine
    // fills in only this one.
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.PagefileUsage;
#elif defined(__SANITIZE_ADDRESS__)
    // The sanitizer's allocator keeps its own books: malloc's are empty.
    return __sanitizer_get_current_allocated_bytes();
#else
    return mallinfo2().uordblks;
#endif
}

#ifdef _WIN32
// A row appended as the program appends it: one WriteFile each, to a file
// opened for appending, flushed at the end.
double AppendRow(const std::string& folder)
{
    constexpr int kRows = 20000;
    const std::string row = "2026-12-07T14:02:11.042+01:00,now.example,198.51.100.20,rsEcho,20311,57,72,4711,0\r\n";
    const auto start = Clock::now();
    {
        THistoryFileWriter writer(tk::WideText(folder), nullptr);
        for (int i = 0; i < kRows; ++i)
            writer.Append({2026, 12, 7}, row);
    }
    const double seconds = duration<double>(Clock::now() - start).count();
    std::remove((folder + HistoryFileName({2026, 12, 7})).c_str());
    return seconds / kRows;
}
#endif

} // namespace

int main()
{
    const std::string folder = ScratchFolder();
    std::vector<std::string> paths;
    for (int day = 0; day < kDays; ++day)
        paths.push_back(folder + HistoryFileName(CivilTimeOf(kFirstDay + day * 86400000LL)));
    const double perRow = MakeFiles(paths);

    std::string bytes;
    std::uint64_t fileBytes = 0, rows = 0, skipped = 0;
    std::size_t heldBytes = 0;
    std::vector<double> plain, parsed, ratios;
    for (int round = 0; round < kRounds; ++round) {
        auto start = Clock::now();
        fileBytes = 0;
        for (const std::string& path : paths) {
            if (!ReadWhole(path, bytes))
                std::abort();
            fileBytes += bytes.size();
        }
        plain.push_back(duration<double>(Clock::now() - start).count());

        start = Clock::now();
        // A minute early: the first ping was sent before its row was filed.
        THistoryBins bins(HistoryReplayReading({kFirstDay - kOffset * 60000 - 60000, kOffset}));
        TToBins toBins(bins);
        THistoryReader reader;
        rows = skipped = 0;
        for (const std::string& path : paths) {
            if (!ReadWhole(path, bytes))
                std::abort();
            const THistoryReadCounts counts = reader.Read(bytes, toBins);
            rows += counts.Rows;
            skipped += counts.Skipped;
        }
        const THistoryFigures week = bins.Figures(bins.StartOf(bins.FirstMinute()), bins.Latest() + minutes(1));
        parsed.push_back(duration<double>(Clock::now() - start).count());
        ratios.push_back(parsed.back() / plain.back());
        heldBytes = bins.HeldBytes();
        if (week.Pings() != rows)
            std::abort();
    }
#ifdef _WIN32
    tk::Application application;
    // The main form stays, as the compact window does; the History window is made anew each round.
    tk::Form* mainForm = nullptr;
    application.CreateForm(mainForm, "TBenchMain");
    std::vector<double> opened, openRatios;
    for (int round = 0; round < kRounds; ++round) {
        const auto start = Clock::now();
        for (const std::string& path : paths)
            if (!ReadWhole(path, bytes))
                std::abort();
        const double read = duration<double>(Clock::now() - start).count();
        opened.push_back(OpenWindow(folder));
        openRatios.push_back(opened.back() / read);
    }
    const double perAppend = AppendRow(folder);
#endif
    for (const std::string& path : paths)
        std::remove(path.c_str());
#ifdef _WIN32
    RemoveDirectoryA(folder.c_str());
#else
    rmdir(folder.c_str());
#endif

    // The most the bins keep: a ping every second of 31 days and an hour.
    const std::size_t privateBefore = PrivateBytes();
    THistoryBins full(HistoryReplayReading({kFirstDay, 0}));
    TPingRecord r;
    r.TripUs = 20000;
    for (std::int64_t second = 0; second < (THistoryBins::MaxMinutes + 60) * 60; second += 20) {
        r.Sent = full.StartOf(0) + seconds(second);
        r.Filed = {kFirstDay + second * 1000 + 20, 0};
        full.AddPing(r);
    }
    const std::size_t privateGrown = PrivateBytes() - privateBefore;

    std::printf("%-44s %10llu rows, %llu skipped, %.1f MB in %d files\n", "week of history files",
                static_cast<unsigned long long>(rows), static_cast<unsigned long long>(skipped), fileBytes / 1e6, kDays);
    std::printf("%-44s %10.3f s  (rounds %.3f .. %.3f)\n", "read whole, no parsing", Median(plain),
                *std::min_element(plain.begin(), plain.end()), *std::max_element(plain.begin(), plain.end()));
    std::printf("%-44s %10.3f s  (rounds %.3f .. %.3f; target under Wine: <= 1.0 s)\n", "read and parsed into minute bins",
                Median(parsed), *std::min_element(parsed.begin(), parsed.end()),
                *std::max_element(parsed.begin(), parsed.end()));
    std::printf("%-44s %10.2f    (rounds %.2f .. %.2f)\n", "ratio, parsed / read", Median(ratios),
                *std::min_element(ratios.begin(), ratios.end()), *std::max_element(ratios.begin(), ratios.end()));
#ifdef _WIN32
    std::printf("%-44s %10.3f s  (rounds %.3f .. %.3f; target under Wine: <= 1.0 s)\n", "History window opened on them",
                Median(opened), *std::min_element(opened.begin(), opened.end()),
                *std::max_element(opened.begin(), opened.end()));
    std::printf("%-44s %10.2f    (rounds %.2f .. %.2f)\n", "ratio, window opened / read", Median(openRatios),
                *std::min_element(openRatios.begin(), openRatios.end()),
                *std::max_element(openRatios.begin(), openRatios.end()));
#endif
    std::printf("%-44s %10.0f ns per row parsed and binned\n", "", 1e9 * Median(parsed) / static_cast<double>(rows));
    std::printf("%-44s %10.0f ns\n", "one row made for appending", perRow * 1e9);
#ifdef _WIN32
    std::printf("%-44s %10.0f ns (one WriteFile, appending)\n", "one row appended to its file", perAppend * 1e9);
#endif
    std::printf("%-44s %10.2f MB (a minute: %zu bytes)\n", "bins held for the week", heldBytes / 1e6,
                sizeof(THistoryMinute));
    std::printf("%-44s %10.2f MB (target: 4 MB)\n", "bins held for 31 days and an hour", full.HeldBytes() / 1e6);
#ifdef _WIN32
    std::printf("%-44s %10.2f MB (private bytes grown by making them)\n", "", privateGrown / 1e6);
#else
    std::printf("%-44s %10.2f MB (heap grown by making them)\n", "", privateGrown / 1e6);
#endif
    return 0;
}
