// bench_console: what the console's logs cost, in one run under Wine:
//   reply ratio: one reply (row, chart point, average, both labels, the
//     repaint) at 10001 rows / at 101 rows, limits 10000 and 100 (target 2)
//   private bytes after 10001 echo rows and 10001 error rows, less those at
//     start (target 8 MB or less); the echo rows come from real pings of
//     127.0.0.1, the error rows are time-outs handed to the reply handler
//   GDI and USER objects before and after 10^4 replies (target: flat)
// Run by hand, as root (raw socket), with the tree's Wine prefix set up:
//   ZV_BUILD_DIR=$PWD/build/win32 tools/wine-run.sh build/win32/app/bench_console.exe </dev/null
// The console reads and writes its settings files beside this program.
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "app/uMain.h"
#include "console/uSetings.h"
#include "toolkit/Application.h"

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
    FormSetings->IdIcmpClientReply(nullptr, r);
}

// The reply list cleared and refilled to limit + 1 rows.
void Settle(int limit)
{
    FormSetings->speMaxLine->SetValue(limit);
    FormSetings->BitBtnClearDataClick(nullptr);
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

SIZE_T PrivateBytes()
{
    PROCESS_MEMORY_COUNTERS_EX pmc{};
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc), sizeof pmc);
    return pmc.PrivateUsage;
}

struct GuiObjects {
    DWORD gdi, user;
};

GuiObjects Objects()
{
    return {GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)};
}

} // namespace

int main()
{
    tk::Application application;
    application.CreateForm(FormMain);
    application.CreateForm(FormSetings);
    // As while repeat pinging: the compact window shown, the console hidden.
    FormMain->Show();
    application.ProcessMessages();
    FormSetings->chbIgnoreFirst->SetChecked(false);
    FormSetings->chbErrLines->SetChecked(true);

    // Rounds in turns, so that a busy machine slows both sides alike.
    std::vector<double> small, large;
    for (int round = 0; round < 5; ++round) {
        Settle(100);
        small.push_back(MicrosPerReply(300));
        Settle(10000);
        large.push_back(MicrosPerReply(300));
    }
    const double s = Median(small), l = Median(large);
    std::printf("%-44s %12s %12s\n", "", "101 rows", "10001 rows");
    std::printf("%-44s %12.1f %12.1f   reply ratio %.2f (target <= 2)\n", "one reply, us (median of 5 x 300)", s, l,
                l / s);

    FormSetings->BitBtnClearDataClick(nullptr);
    FormSetings->BitBtn1Click(nullptr);
    FormSetings->speMaxLine->SetValue(10000);
    FormSetings->cbHost->SetText("127.0.0.1");
    const SIZE_T before = PrivateBytes();
    const GuiObjects start = Objects();
    for (int i = 0; i < 10001; ++i) {
        FormSetings->BitBtnPingClick(nullptr);
        Reply(TimeOut());
    }
    const SIZE_T after = PrivateBytes();
    const GuiObjects end = Objects();
    std::printf("%-44s %12s %12s\n", "", "start", "after");
    std::printf("%-44s %12.1f %12.1f   growth %.1f MB (target <= 8); rows %d + %d\n",
                "private bytes, MB (10001 echo + 10001 error)", before / 1048576.0, after / 1048576.0,
                (after - before) / 1048576.0, FormSetings->ListView1->RowCount(),
                FormSetings->ListViewError->RowCount());
    std::printf("%-44s %12lu %12lu\n", "GDI objects over 2 x 10001 replies", start.gdi, end.gdi);
    std::printf("%-44s %12lu %12lu\n", "USER objects over 2 x 10001 replies", start.user, end.user);
    return 0;
}
