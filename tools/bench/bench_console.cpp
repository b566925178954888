// bench_console: what the console's logs cost, in one run under Wine:
//   reply ratio: one reply (record, row, chart point, average, both labels,
//     the repaint) at 10001 rows / at 101 rows, limits 10000 and 100
//     (target 1.3)
//   private bytes after 10001 echo rows and 10001 error rows, less those at
//     start (target 8 MB or less); the echo rows come from real pings of
//     127.0.0.1, the error rows are time-outs handed to the reply handler
//   GDI and USER objects before and after 10^4 replies (target: flat)
//   export: both lists' 10001 rows saved as CSV (the text made from the
//     run's records, written beside the target, flushed and moved in place)
//     against one plain write of the same bytes, without and with a flush,
//     and the same bytes saved safely, flushed and moved in place (target:
//     3 times that or less); and the export without its flush
//   figures ratio: one echo reply at 10001 rows with the run figures and
//     their two tips / with the figures unsubscribed and no tips (target 1.05)
// Run by hand, as root (raw socket), with the tree's Wine prefix set up (the
// argument "figures" gives the figures ratio alone, "export" the export
// figure alone, its rows handed to the reply handler instead of pinged):
//   ZV_BUILD_DIR=$PWD/build/win32 tools/wine-run.sh build/win32/tools/bench/bench_console.exe </dev/null
// The console reads and writes its settings files beside this program.
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/uMain.h"
#include "console/SystemClock.h"
#include "console/uSetings.h"
#include "monitor/RunExport.h"
#include "toolkit/Application.h"
#include "toolkit/LocaleText.h"
#include "toolkit/SafeReplace.h"
#include "toolkit/SaveCsv.h"
#include "toolkit/WinFileSystem.h"

// The console's own controls and handlers, as a user would work them.
struct TConsoleBench {
    static void Reply(const TReplyStatus& r) { FormSetings->IdIcmpClientReply(nullptr, r); }
    static void SetLimit(int limit) { FormSetings->speMaxLine->SetValue(limit); }
    static void ClearData() { FormSetings->BitBtnClearDataClick(nullptr); }
    static void SetHost(const char* host) { FormSetings->cbHost->SetText(host); }
    static void Ping() { FormSetings->BitBtnPingClick(nullptr); }
    static void SetOptions(bool ignoreFirst, bool limitErrors)
    {
        FormSetings->chbIgnoreFirst->SetChecked(ignoreFirst);
        FormSetings->chbErrLines->SetChecked(limitErrors);
    }
    static int Rows(TRunLog log)
    {
        return (log == TRunLog::Echoes ? FormSetings->ListView1 : FormSetings->ListViewError)->RowCount();
    }
};

namespace {

using Clock = std::chrono::steady_clock;

TReplyStatus Echo(unsigned n)
{
    const unsigned jitter = n * 2654435761u;
    return {72, "127.0.0.1", 0, static_cast<std::uint16_t>(n), 20 + (jitter >> 27), 128, rsEcho};
}

TReplyStatus TimeOut()
{
    return {0, "", 0, 0, 1000, 0, rsTimeOut};
}

void Reply(const TReplyStatus& r)
{
    TConsoleBench::Reply(r);
}

// The reply list cleared and refilled to limit + 1 rows.
void Settle(int limit)
{
    TConsoleBench::SetLimit(limit);
    TConsoleBench::ClearData();
    for (int i = 0; i <= limit; ++i)
        Reply(Echo(static_cast<unsigned>(i)));
}

double MicrosPerReply(int replies)
{
    const auto start = Clock::now();
    for (int i = 0; i < replies; ++i)
        Reply(Echo(static_cast<unsigned>(i)));
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count() / replies;
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// The Win32 file system with flushes that return at once: what the safe
// save would cost without its flush.
class NoFlushFileSystem : public tk::WinFileSystem {
    class NoFlushFile : public tk::FileSystem::File {
    public:
        explicit NoFlushFile(std::unique_ptr<tk::FileSystem::File> file) : file_(std::move(file)) {}
        tk::FileError Write(std::string_view bytes) override { return file_->Write(bytes); }
        tk::FileError Flush() override { return 0; }

    private:
        std::unique_ptr<tk::FileSystem::File> file_;
    };

public:
    tk::FileError CreateTemp(const tk::FilePath& target, tk::FilePath& temp,
                             std::unique_ptr<tk::FileSystem::File>& file) override
    {
        const tk::FileError error = WinFileSystem::CreateTemp(target, temp, file);
        if (error == 0)
            file = std::make_unique<NoFlushFile>(std::move(file));
        return error;
    }
};

// One CreateFile, WriteFile and CloseHandle; with `flush`, the data also
// reaches the disk first, as a safe save needs.
void PlainWrite(const std::wstring& path, const std::string& bytes, bool flush)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    if (flush)
        FlushFileBuffers(file);
    CloseHandle(file);
}

// Both lists saved as the menu saves them (the text made from the run's
// records, written beside the target, flushed and moved in place), against plain
// writes of the same bytes, without and with a flush, the same bytes saved
// safely and the export without its flush. Rounds take the five in turn,
// so none always follows the same one, and each starts from the same files:
// none (a save under a new name, as the dated name proposed usually is) or
// whole old ones on the disk (a save over an earlier file).
void ExportFigures(const TMonitorRun& run)
{
    wchar_t folder[MAX_PATH] = L"";
    GetTempPathW(MAX_PATH, folder);
    const std::wstring replies = std::wstring(folder) + L"zv-bench-replies.csv";
    const std::wstring errors = std::wstring(folder) + L"zv-bench-errors.csv";
    // As the menu's save makes it.
    auto csv = [&run](TRunLog log) {
        return [&run, log](const TByteSink& sink) {
            WriteRunCsv(run, log, tk::ReadLocaleTimeSeparator(), tk::Utf8Text, sink);
        };
    };
    std::string a, b;
    csv(TRunLog::Echoes)([&](std::string_view block) { a += block; });
    csv(TRunLog::Errors)([&](std::string_view block) { b += block; });
    enum { Export, Plain, Flushed, Safe, Unflushed, Ways };
    const std::function<void()> ways[Ways] = {
        [&] {
            tk::WriteWholeFile(replies, csv(TRunLog::Echoes));
            tk::WriteWholeFile(errors, csv(TRunLog::Errors));
        },
        [&] {
            PlainWrite(replies, a, false);
            PlainWrite(errors, b, false);
        },
        [&] {
            PlainWrite(replies, a, true);
            PlainWrite(errors, b, true);
        },
        [&] {
            tk::WinFileSystem fs;
            tk::SafeReplace(fs, replies, a);
            tk::SafeReplace(fs, errors, b);
        },
        [&] {
            NoFlushFileSystem fs;
            tk::SafeReplace(fs, replies, csv(TRunLog::Echoes));
            tk::SafeReplace(fs, errors, csv(TRunLog::Errors));
        }};
    std::printf("%-44s %12s %12s %12s\n", "10001 + 10001 rows as CSV, ms (median of 9)", "plain write", "with flush",
                "export");
    for (const bool over : {false, true}) {
        std::vector<double> times[Ways];
        for (int round = 0; round < 9; ++round) {
            for (int turn = 0; turn < Ways; ++turn) {
                const int way = (round + turn) % Ways;
                DeleteFileW(replies.c_str());
                DeleteFileW(errors.c_str());
                if (over) {
                    PlainWrite(replies, a, true);
                    PlainWrite(errors, b, true);
                }
                const auto start = Clock::now();
                ways[way]();
                times[way].push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
            }
        }
        double m[Ways];
        for (int way = 0; way < Ways; ++way)
            m[way] = Median(times[way]);
        std::printf("%-44s %12.1f %12.1f %12.1f   export ratio %.2f / %.2f flushed\n",
                    over ? "  over earlier files" : "  as new files", m[Plain], m[Flushed], m[Export],
                    m[Export] / m[Plain], m[Export] / m[Flushed]);
        std::printf("%-44s the same bytes saved safely (flushed) %.1f: export ratio %.2f (target <= 3)\n", "",
                    m[Safe], m[Export] / m[Safe]);
        std::printf("%-44s the export without its flush %.1f (ratio %.2f to a plain write)\n", "", m[Unflushed],
                    m[Unflushed] / m[Plain]);
    }
    DeleteFileW(replies.c_str());
    DeleteFileW(errors.c_str());
    std::printf("%-44s %zu bytes\n", "  of the export", a.size() + b.size());
}

// Committed private memory. Wine 8 leaves PrivateUsage at 0, so the
// address space is walked where it does.
SIZE_T PrivateBytes()
{
    PROCESS_MEMORY_COUNTERS_EX pmc{};
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc), sizeof pmc);
    if (pmc.PrivateUsage)
        return pmc.PrivateUsage;
    SIZE_T total = 0;
    MEMORY_BASIC_INFORMATION m;
    for (const char* p = nullptr; VirtualQuery(p, &m, sizeof m) == sizeof m; p = static_cast<const char*>(m.BaseAddress) + m.RegionSize) {
        if (m.State == MEM_COMMIT && m.Type == MEM_PRIVATE)
            total += m.RegionSize;
        if (static_cast<const char*>(m.BaseAddress) + m.RegionSize < p)
            break;
    }
    return total;
}

BOOL CALLBACK CountChild(HWND, LPARAM count)
{
    ++*reinterpret_cast<DWORD*>(count);
    return TRUE;
}

// A top-level window and all its descendants.
BOOL CALLBACK CountWindow(HWND window, LPARAM count)
{
    ++*reinterpret_cast<DWORD*>(count);
    EnumChildWindows(window, CountChild, count);
    return TRUE;
}

// Wine 8 answers GetGuiResources with 0. There the process's GDI objects
// are counted in the handle table that the PEB points to (24-byte entries;
// byte 14 holds the type while the object lives), and its windows stand for
// its USER objects. The table count is trusted only if 100 new brushes
// raise it by 100.
DWORD TableGdiObjects()
{
    const unsigned char* peb;
    asm("movl %%fs:0x30, %0" : "=r"(peb));
    const auto* table = *reinterpret_cast<const unsigned char* const*>(peb + 0x94);
    if (!table)
        return 0;
    // Only as far as the table is mapped.
    MEMORY_BASIC_INFORMATION m;
    if (VirtualQuery(table, &m, sizeof m) != sizeof m || m.State != MEM_COMMIT)
        return 0;
    const SIZE_T entries = (static_cast<const unsigned char*>(m.BaseAddress) + m.RegionSize - table) / 24;
    DWORD n = 0;
    for (SIZE_T i = 0; i < entries; ++i)
        n += table[24 * i + 14] != 0;
    return n;
}

bool TableCountsGdiObjects()
{
    const DWORD before = TableGdiObjects();
    std::vector<HBRUSH> brushes;
    for (int i = 0; i < 100; ++i)
        brushes.push_back(CreateSolidBrush(RGB(i, 0, 0)));
    const DWORD during = TableGdiObjects();
    for (HBRUSH b : brushes)
        DeleteObject(b);
    return before != 0 && during == before + 100 && TableGdiObjects() == before;
}

struct GuiObjects {
    long gdi, user;
};

GuiObjects Objects()
{
    GuiObjects o{static_cast<long>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)),
                 static_cast<long>(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS))};
    if (o.gdi == 0)
        o.gdi = TableCountsGdiObjects() ? static_cast<long>(TableGdiObjects()) : -1;
    if (o.user == 0) {
        DWORD windows = 0;
        EnumThreadWindows(GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&windows));
        o.user = static_cast<long>(windows);
    }
    return o;
}

// One echo reply at 10001 rows with the figures on and off, in turns.
void FiguresRatio(const std::function<void(bool)>& showFigures);

} // namespace

int main(int argc, char** argv)
{
    // Each figure as soon as it is known: a long run cut short keeps them.
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const std::string only = argc > 1 ? argv[1] : "";
    // Wired as the program wires them (app/main.cpp).
    TMonitorRun run(ReadSystemClock);
    std::optional<TRunFiguresFeed> figures(std::in_place, run);
    tk::Application application;
    application.CreateForm(FormMain);
    FormMain->Watch(run);
    FormMain->ShowFigures(&*figures);
    application.CreateForm(FormSetings, run);
    FormSetings->ShowFigures(&*figures);
    FormMain->SetConsole(*FormSetings);
    auto showFigures = [&](bool on) {
        FormMain->ShowFigures(nullptr);
        FormSetings->ShowFigures(nullptr);
        if (on)
            figures.emplace(run);
        else
            figures.reset();
        FormMain->ShowFigures(on ? &*figures : nullptr);
        FormSetings->ShowFigures(on ? &*figures : nullptr);
    };
    // As while repeat pinging: the compact window shown, the console hidden.
    FormMain->Show();
    application.ProcessMessages();
    // Off every window, once they are shown (Wine puts the pointer back in
    // the screen's centre when the first one is): the compact window opens
    // there, and the figures tip shown under the pointer would be redrawn at
    // every reply handed in.
    SetCursorPos(0, 0);
    application.ProcessMessages();
    TConsoleBench::SetOptions(false, true);

    if (only == "figures") {
        FiguresRatio(showFigures);
        return 0;
    }
    if (only == "export") {
        TConsoleBench::SetHost("127.0.0.1");
        Settle(10000);
        for (int i = 0; i < 10001; ++i)
            Reply(TimeOut());
        ExportFigures(run);
        return 0;
    }

    // Memory first, before any list has ever held a row.
    TConsoleBench::SetLimit(10000);
    TConsoleBench::SetHost("127.0.0.1");
    const SIZE_T before = PrivateBytes();
    const GuiObjects start = Objects();
    std::vector<long> gdiTrace;
    for (int i = 0; i < 10001; ++i) {
        TConsoleBench::Ping();
        if (i % 2000 == 0)
            gdiTrace.push_back(Objects().gdi);
    }
    const SIZE_T echoes = PrivateBytes();
    const GuiObjects middle = Objects();
    for (int i = 0; i < 10001; ++i)
        Reply(TimeOut());
    const SIZE_T after = PrivateBytes();
    const GuiObjects end = Objects();
    std::printf("%-44s %12s %12s\n", "", "start", "after");
    std::printf("%-44s %12.1f %12.1f   growth %.1f MB (target <= 8); rows %d + %d\n",
                "private bytes, MB (10001 echo + 10001 error)", before / 1048576.0, after / 1048576.0,
                (after - before) / 1048576.0, TConsoleBench::Rows(TRunLog::Echoes),
                TConsoleBench::Rows(TRunLog::Errors));
    std::printf("%-44s %12.1f %12.1f\n", "  of which echo rows, error rows, MB", (echoes - before) / 1048576.0,
                (after - echoes) / 1048576.0);
    std::printf("%-44s %12ld %12ld   %ld after the echo rows (-1: not countable here)\n",
                "GDI objects over 2 x 10001 replies", start.gdi, end.gdi, middle.gdi);
    std::printf("%-44s %12ld %12ld   %ld after the echo rows\n", "USER objects over 2 x 10001 replies", start.user,
                end.user, middle.user);
    std::printf("%-44s", "GDI objects every 2000 echo rows");
    for (long n : gdiTrace)
        std::printf(" %ld", n);
    std::printf("\n");
    ExportFigures(run);

    // Rounds in turns, so that a busy machine slows both sides alike.
    std::vector<double> small, large;
    for (int round = 0; round < 6; ++round) {
        for (int limit : round % 2 ? std::vector{10000, 100} : std::vector{100, 10000}) {
            Settle(limit);
            (limit == 100 ? small : large).push_back(MicrosPerReply(300));
        }
    }
    const double s = Median(small), l = Median(large);
    std::printf("%-44s %12s %12s\n", "", "101 rows", "10001 rows");
    std::printf("%-44s %12.1f %12.1f   reply ratio %.2f (target <= 1.3)\n", "one reply, us (median of 6 x 300)", s, l,
                l / s);
    FiguresRatio(showFigures);
    return 0;
}

namespace {

void FiguresRatio(const std::function<void(bool)>& showFigures)
{
    std::vector<double> on, off;
    Settle(10000);
    for (int round = 0; round < 10; ++round) {
        for (bool figures : round % 2 ? std::vector{true, false} : std::vector{false, true}) {
            if (!figures)
                showFigures(false);
            (figures ? on : off).push_back(MicrosPerReply(300));
            if (!figures)
                showFigures(true);
        }
    }
    std::printf("%-44s", "  each round: off / on, us");
    for (std::size_t i = 0; i < on.size(); ++i)
        std::printf(" %.0f/%.0f", off[i], on[i]);
    std::printf("\n");
    const double with = Median(on), without = Median(off);
    std::printf("%-44s %12s %12s\n", "", "figures off", "figures on");
    std::printf("%-44s %12.1f %12.1f   figures ratio %.3f (target <= 1.05)\n", "one reply at 10001 rows, us (10 x 300)",
                without, with, with / without);
}

} // namespace
