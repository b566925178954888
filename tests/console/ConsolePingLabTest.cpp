// The real program pinging from its console inside the network lab, driven
// from outside: the rows of both lists, the error counts on both windows,
// the error box of an unknown name, the pace of repeat pinging and the row
// limit; the notification-area icon and its balloons following a lossy host
// on a virtual desktop's taskbar, and its menu by keyboard; a wait held up by
// a menu or a freeze. Each case runs a fresh copy of the program in a
// scratch folder.
#include <windows.h>

#include <psapi.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <fstream>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "tests/driver/Driver.h"
#include "tests/driver/DriverControls.h"
#include "tests/driver/DriverDesktop.h"
#include "tests/lab/LabAddresses.h"

using namespace std::chrono_literals;
using namespace zvdrive;

namespace {

void WriteText(const std::string& path, const std::string& text)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

// A fresh copy of the program with the settings and history given (none
// when empty), in a folder of this build tree: the Linux side tells its
// process from any other tree's by that path.
std::string ScratchCopy(const std::string& name, const std::string& ini = "", const std::string& hosts = "")
{
    CreateDirectoryA(WorkFile("tests/console").c_str(), nullptr);
    const std::string folder = WorkFile("tests/console/lab-" + name);
    CreateDirectoryA(folder.c_str(), nullptr);
    DeleteFileA((folder + "\\zentvorlumo.ini").c_str());
    DeleteFileA((folder + "\\host.txt").c_str());
    if (!ini.empty())
        WriteText(folder + "\\zentvorlumo.ini", ini);
    if (!hosts.empty())
        WriteText(folder + "\\host.txt", hosts);
    const std::string exe = folder + "\\ZentVorlumo.exe";
    CopyFileA(BuildFile("app/ZentVorlumo.exe").c_str(), exe.c_str(), FALSE);
    return exe;
}

// One running program, its two windows and the console's controls.
struct Console {
    std::string exe;
    Program program;
    HWND main, console, host, ping, repeat, replies, errors;

    explicit Console(const std::string& name, const std::string& ini = "", const std::string& hosts = "")
        : exe(ScratchCopy(name, ini, hosts)), program(exe)
    {
        main = WaitForWindow(program.Pid(), "TFormMain", 15s);
        console = WaitForWindow(program.Pid(), "TFormSetings", 5s);
        // The console's window exists before its constructor has made the
        // controls: wait for the last of them (the lists come after the host bar).
        WaitUntil([&] { return console && FindNamedControl(console, "ListViewError"); }, 5s);
        host = FindNamedControl(console, "cbHost");
        ping = FindNamedControl(console, "BitBtnPing");
        repeat = FindNamedControl(console, "spbRepPing");
        replies = FindNamedControl(console, "ListView1");
        errors = FindNamedControl(console, "ListViewError");
    }
    bool Ready() const { return main && console && host && ping && repeat && replies && errors; }

    void Set(const char* control, const std::string& text)
    {
        SendMessageA(FindNamedControl(console, control), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    // A single ping through "...", done when `list` has a row more, or, at
    // its line limit (`grows` false), a new row at its top. The top alone
    // cannot tell a new row: the cells come from the run, which may hold the
    // row before the list has its count (a query served while the program
    // waits on the shell for its icon). The list changes just before the
    // previous ping returns, and a click while a ping is under way is
    // ignored: so click again after a while.
    bool Ping(const std::string& target, HWND list, bool grows = true)
    {
        Set("cbHost", target);
        const int rows = ListViewRowCount(list);
        const std::string top = rows ? ListViewCell(list, 0, 3) + ListViewCell(list, 0, 5) : "";
        auto changed = [&] {
            if (grows)
                return ListViewRowCount(list) != rows;
            return ListViewCell(list, 0, 3) + ListViewCell(list, 0, 5) != top;
        };
        for (int attempt = 0; attempt < 3; ++attempt) {
            Click(ping);
            if (WaitUntil(changed, 2s))
                return true;
        }
        return false;
    }
    std::string Graphic(HWND window, const char* name) const
    {
        auto g = FindGraphic(window, name);
        return g ? g->text : "(none)";
    }
};

int LoggedRequests(const char* destination)
{
    const char* log = std::getenv(lab::ResponderLogEnv);
    std::ifstream in(std::string("Z:") + (log ? log : ""));
    int n = 0;
    for (std::string line; std::getline(in, line);)
        n += line.rfind(std::string("dst=") + destination + " ", 0) == 0;
    return n;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line.substr(0, line.find('\r')));
    return lines;
}

// Hundredths of n / d, rounded half up, with the locale's decimal point.
std::string Hundredths(unsigned long long n, unsigned long long d, const std::string& point, int decimals = 2)
{
    const unsigned long long scale = decimals == 2 ? 100 : 10;
    const unsigned long long r = (2 * n * scale + d) / (2 * d);
    std::string fraction = std::to_string(r % scale);
    fraction.insert(0, static_cast<std::size_t>(decimals) - fraction.size(), '0');
    return std::to_string(r / scale) + point + fraction;
}

// A trip time the tip shows, in milliseconds: three decimals below 1 ms, two
// below 10, one below 100, none above; nullopt when it breaks that rule.
std::optional<double> PreciseMs(const std::string& text, const std::string& point)
{
    const std::size_t at = text.find(point);
    const std::string whole = text.substr(0, at);
    const std::size_t decimals = at == std::string::npos ? 0 : text.size() - at - point.size();
    if (whole.empty() || whole.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    const double value = std::stod(whole + (decimals ? "." + text.substr(at + point.size()) : ""));
    const std::size_t expected = value < 1 ? 3 : value < 10 ? 2 : value < 100 ? 1 : 0;
    return decimals == expected ? std::optional<double>(value) : std::nullopt;
}

// "min / avg / max a / b / c ms · p95 d ms" with each figure to the
// microsecond: the four values, or none.
std::optional<std::vector<double>> TripFigures(const std::string& line, const std::string& point)
{
    std::smatch m;
    if (!std::regex_match(line, m, std::regex("min / avg / max (\\S+) / (\\S+) / (\\S+) ms \xC2\xB7 p95 (\\S+) ms")))
        return std::nullopt;
    std::vector<double> values;
    for (int i = 1; i <= 4; ++i) {
        const std::optional<double> value = PreciseMs(m[i], point);
        if (!value)
            return std::nullopt;
        values.push_back(*value);
    }
    return values;
}

int SecondOfDay(const std::string& clock) // "hh:nn:ss", any one-character separator
{
    return std::stoi(clock.substr(0, 2)) * 3600 + std::stoi(clock.substr(3, 2)) * 60 + std::stoi(clock.substr(6, 2));
}

} // namespace

TEST(ConsolePingLab, RepliesAndReportsFillTheTwoLists)
{
    Console c("lists");
    ASSERT_TRUE(c.Ready());
    // Written by the console's creation, which may still be under way.
    EXPECT_TRUE(WaitUntil([&] { return c.Graphic(c.main, "lbAVG") == c.Graphic(c.console, "lbAVG") + " / 0 [err]"; },
                          5s))
        << c.Graphic(c.main, "lbAVG");
    const std::string point = c.Graphic(c.console, "lbAVG").substr(1, 1); // the locale's decimal separator

    ASSERT_TRUE(c.Ping(lab::KernelEcho, c.replies));
    const auto rows = ListViewRows(c.replies, 6);
    ASSERT_EQ(rows.size(), 1u);
    // The host's kernel answers with TTL 64; the router takes one.
    EXPECT_EQ(rows[0][0], lab::KernelEcho);
    EXPECT_EQ(rows[0][1], "72");
    EXPECT_EQ(rows[0][2], "0");
    EXPECT_EQ(rows[0][3], "3489");
    EXPECT_LT(std::stoul(rows[0][4]), 1000u);
    EXPECT_EQ(rows[0][5], "63");
    EXPECT_EQ(c.Graphic(c.console, "lbAVG"), rows[0][4] + point + "00 [ms]");

    c.Set("speTimeout", "300");
    struct Case {
        std::string host;
        const char* status;
        const char* type;
    } cases[] = {
        {lab::Silent, "rsTimeOut", "0"},
        {"unreachable.lab.test", "rsErrorUnreachable", "3"},
        {"ttl.lab.test", "rsErrorTTLExceeded", "11"},
    };
    int n = 0;
    for (const Case& k : cases) {
        SCOPED_TRACE(k.host);
        ASSERT_TRUE(c.Ping(k.host, c.errors));
        ++n;
        ASSERT_EQ(ListViewRowCount(c.errors), n);
        const auto row = ListViewRows(c.errors, 7)[0];
        EXPECT_EQ(row[0], TextOf(c.host)) << "the host box's text";
        EXPECT_EQ(row[2], k.type);
        EXPECT_EQ(row[6], k.status);
        EXPECT_EQ(row[5].size(), 19u) << row[5];
        EXPECT_EQ(c.Graphic(c.console, "lbErrorCount"), std::to_string(n));
        EXPECT_EQ(c.Graphic(c.main, "lbAVG"), rows[0][4] + point + "00 [ms] / " + std::to_string(n) + " [err]");
    }
    EXPECT_EQ(ListViewRowCount(c.replies), 1);
}

TEST(ConsolePingLab, AnUnknownNameShowsOneBoxAndRepeatPingingGoesOn)
{
    Console c("unknown");
    ASSERT_TRUE(c.Ready());
    c.Set("cbHost", lab::UnknownName);
    Click(c.ping);
    auto box = WaitForMessageBox(c.program.Pid(), 10s);
    ASSERT_TRUE(box.has_value());
    EXPECT_TRUE(box->text.ends_with("\r\nHost not found.")) << box->text;
    EXPECT_EQ(box->icon, BoxIcon::Error);
    ASSERT_TRUE(PressOk(box->window));
    const std::wstring name(lab::UnknownName, lab::UnknownName + std::strlen(lab::UnknownName));
    EXPECT_GE(SendMessageW(c.host, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(name.c_str())), 0)
        << "the name is in the history";
    EXPECT_EQ(ListViewRowCount(c.replies) + ListViewRowCount(c.errors), 0);

    // Repeat pinging at the shortest interval: one box at a time, and the
    // next tick still comes once it is closed.
    Click(c.repeat);
    for (int i = 0; i < 2; ++i) {
        box = WaitForMessageBox(c.program.Pid(), 10s);
        ASSERT_TRUE(box.has_value()) << "tick " << i;
        EXPECT_TRUE(box->text.ends_with("\r\nHost not found.")) << box->text;
        Sleep(2500);
        EXPECT_EQ(MessageBoxes(c.program.Pid()).size(), 1u) << "no second box while one is open";
        ASSERT_TRUE(PressOk(box->window));
    }
    EXPECT_EQ(ListViewRowCount(c.replies) + ListViewRowCount(c.errors), 0);
}

TEST(ConsolePingLab, RepeatPingingWaitsOneIntervalAfterEachPing)
{
    Console c("repeat");
    ASSERT_TRUE(c.Ready());
    c.Set("cbHost", "delay200.lab.test");
    const int before = LoggedRequests(lab::Reply200Ms);
    Click(c.repeat);
    // Arrival times of the next four requests, polled from the responder's log.
    std::vector<DWORD> at;
    const DWORD start = GetTickCount();
    while (at.size() < 4 && GetTickCount() - start < 10000) {
        if (LoggedRequests(lab::Reply200Ms) - before > static_cast<int>(at.size()))
            at.push_back(GetTickCount());
        Sleep(5);
    }
    ASSERT_EQ(at.size(), 4u);
    EXPECT_GE(at[0] - start, 900u) << "the first request follows one interval after the start";
    for (std::size_t i = 1; i < at.size(); ++i) {
        EXPECT_GE(at[i] - at[i - 1], 1100u) << i;
        EXPECT_LE(at[i] - at[i - 1], 1500u) << i;
    }
    EXPECT_FALSE(IsWindowVisible(c.console)) << "starting hides the console";
}

TEST(ConsolePingLab, ALoweredLineLimitShrinksNothingUntilAClear)
{
    Console c("limit");
    ASSERT_TRUE(c.Ready());
    c.Set("speMaxLine", "12");
    for (int i = 0; i < 15; ++i)
        ASSERT_TRUE(c.Ping(lab::ReplyNow, c.replies, i < 13)) << i;
    EXPECT_EQ(ListViewRowCount(c.replies), 13);
    c.Set("speMaxLine", "10");
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(c.Ping(lab::ReplyNow, c.replies, false)) << i;
    EXPECT_EQ(ListViewRowCount(c.replies), 13);
    // The newest row is at the top: sequence numbers fall down the list.
    EXPECT_EQ(std::stoi(ListViewCell(c.replies, 0, 3)), std::stoi(ListViewCell(c.replies, 12, 3)) + 12);

    Click(FindNamedControl(c.console, "BitBtnClearData"));
    ASSERT_TRUE(WaitUntil([&] { return ListViewRowCount(c.replies) == 0; }, 5s));
    for (int i = 0; i < 12; ++i)
        ASSERT_TRUE(c.Ping(lab::ReplyNow, c.replies, i < 11)) << i;
    EXPECT_EQ(ListViewRowCount(c.replies), 11);
}

// A host that drops requests by sequence number, which starts at 3489 in a
// new program (3489 % 8 == 1): two lost, five answered, three lost, five
// answered, three lost. The tip on both windows shows the run's figures and
// two outages (two losses in a row are loss, three go down), the chart marks
// every failure, and the tip follows the replies while it shows.
TEST(ConsolePingLab, TheFiguresTipAndTheFailureMarksFollowALossyHost)
{
    static_assert(lab::LossyPeriod == 8 && lab::LossyCount == 3);
    ParkPointer();
    Console c("figures");
    ASSERT_TRUE(c.Ready());
    c.Set("speTimeout", "200");
    // "(none)" until the console answers queries: that is no text to read the point from.
    ASSERT_TRUE(WaitUntil([&] { return c.Graphic(c.console, "lbAVG").find(" [ms]") != std::string::npos; }, 5s));
    const std::string point = c.Graphic(c.console, "lbAVG").substr(1, 1); // "0,00 [ms]" at start
    const std::string pattern = "LLEEEEELLLEEEEELLL";
    for (std::size_t i = 0; i < pattern.size(); ++i)
        ASSERT_TRUE(c.Ping(lab::Lossy, pattern[i] == 'E' ? c.replies : c.errors)) << i;
    ASSERT_EQ(ListViewRowCount(c.replies), 10);
    ASSERT_EQ(ListViewRowCount(c.errors), 8);
    EXPECT_FALSE(Screenshot("compact-failure-marks").empty()) << "down: the newest marks against the right edge";

    // The figures as the lists say them; the reply list is newest first.
    std::vector<unsigned long long> trips;
    for (int row = 9; row >= 0; --row)
        trips.push_back(std::stoull(ListViewCell(c.replies, row, 4)));
    unsigned long long sum = 0;
    for (unsigned long long trip : trips)
        sum += trip;
    const auto [low, high] = std::minmax_element(trips.begin(), trips.end());
    const std::string dot = " \xC2\xB7 ";

    ASSERT_TRUE(ClickGraphic(c.main, "lbAVG")); // shows the console
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(c.console) != FALSE; }, 5s));
    const auto count = FindGraphic(c.console, "lbErrorCount");
    ASSERT_TRUE(count.has_value());
    const std::vector<std::string> lines =
        Lines(HoverTip(count->host, (count->bounds.left + count->bounds.right) / 2, count->bounds.top + 6, 5s));
    ASSERT_EQ(lines.size(), 7u) << ::testing::PrintToString(lines);
    EXPECT_TRUE(std::regex_match(lines[0], std::regex("since \\d\\d.\\d\\d.\\d\\d" + dot + "18 pings"))) << lines[0];
    EXPECT_EQ(lines[1], "loss " + Hundredths(800, 18, point, 1) + " % (8 of 18)");
    // To the microsecond, from the send to the receive: never more than the
    // list's whole milliseconds, which also count the name and the decoding.
    const std::optional<std::vector<double>> figures = TripFigures(lines[2], point);
    ASSERT_TRUE(figures.has_value()) << lines[2];
    const double min = (*figures)[0], mean = (*figures)[1], max = (*figures)[2], p95 = (*figures)[3];
    EXPECT_LE(min, mean);
    EXPECT_LE(mean, max);
    EXPECT_EQ(p95, max) << "10 echoes: the 95th percentile is the largest";
    EXPECT_LE(min, *low + 1.0);
    EXPECT_LE(max, *high + 1.0);
    EXPECT_LE(mean, sum / 10.0 + 1.0);
    std::smatch jitter;
    ASSERT_TRUE(std::regex_match(lines[3], jitter, std::regex("jitter \\(mean change\\) (\\S+) ms"))) << lines[3];
    EXPECT_TRUE(PreciseMs(jitter[1], point).has_value()) << lines[3];
    EXPECT_TRUE(std::regex_match(lines[4], std::regex("last 5 min" + dot + "loss " + Hundredths(800, 18, point, 1) + " %" + dot + "avg .* ms" + dot +
                                                      "jitter .* ms" + dot + "MOS \\d.\\d\\d")))
        << lines[4];
    EXPECT_TRUE(std::regex_match(lines[5], std::regex("2 outages, longest \\d.\\d s \\((since )?\\d\\d.*\\)"))) << lines[5];
    // The open outage began with the send of the 16th ping, just before its
    // error row (the third newest) was stamped.
    std::smatch down;
    ASSERT_TRUE(std::regex_match(lines[6], down, std::regex("down since (\\d\\d.\\d\\d.\\d\\d), 3 pings"))) << lines[6];
    const int stamped = SecondOfDay(ListViewCell(c.errors, 2, 5).substr(11));
    EXPECT_LE(stamped - SecondOfDay(down[1]), 1);
    EXPECT_GE(stamped - SecondOfDay(down[1]), 0);

    // The same tip on the compact window's chart, with the marks under it;
    // only the open outage has grown meanwhile.
    Click(FindControl(c.console, "Button", "OK"));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(c.console); }, 5s));
    HWND chart = FindNamedControl(c.main, "Chart1");
    std::vector<std::string> onChart = Lines(HoverTip(chart, 136, 50, 5s));
    ASSERT_EQ(onChart.size(), lines.size());
    onChart[5] = lines[5];
    EXPECT_EQ(onChart, lines);

    // Replies while the tip shows: it updates in place, and two echoes bring
    // the host back up; single pings, so the link itself is idle.
    ASSERT_TRUE(c.Ping(lab::Lossy, c.replies));
    ASSERT_TRUE(c.Ping(lab::Lossy, c.replies));
    EXPECT_TRUE(WaitUntil([&] { return ShownTip(c.main).find("20 pings") != std::string::npos; }, 3s))
        << ShownTip(c.main);
    EXPECT_EQ(Lines(ShownTip(c.main)).back(), "idle");
    EXPECT_FALSE(Screenshot("compact-figures-tip").empty());

    // An error sends nothing: it counts apart.
    c.Set("cbHost", lab::UnknownName);
    Click(c.ping);
    auto box = WaitForMessageBox(c.program.Pid(), 10s);
    ASSERT_TRUE(box.has_value());
    ASSERT_TRUE(PressOk(box->window));
    // Its answer can take longer than one query waits while the box's
    // modal loop ends on a loaded machine: asked again until it comes.
    std::optional<GraphicInfo> average;
    ASSERT_TRUE(WaitUntil([&] { return (average = FindGraphic(c.main, "lbAVG")).has_value(); }, 10s));
    std::string tip = HoverTip(c.main, (average->bounds.left + average->bounds.right) / 2, average->bounds.top + 6, 5s);
    // The chart's tip may still be on its way out.
    WaitUntil([&] { return (tip = ShownTip(c.main)).find("not sent") != std::string::npos; }, 3s);
    EXPECT_EQ(Lines(tip).front().substr(14), dot + "20 pings" + dot + "1 not sent") << tip;
    ParkPointer();
}

// A huge buffer size typed during repeat pinging, the field never left: the
// pings go on without a box and without taking memory of that size.
TEST(ConsolePingLab, AHugeBufferStillBeingTypedIsUsedClamped)
{
    Console c("huge-buffer");
    ASSERT_TRUE(c.Ready());
    c.Set("cbHost", "127.0.0.1");
    Click(c.repeat);
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, c.program.Pid());
    for (const char* typed : {"262601870", "2000000000"}) {
        c.Set("speBuffer", typed);
        const int rows = ListViewRowCount(c.replies);
        EXPECT_TRUE(WaitUntil([&] { return ListViewRowCount(c.replies) >= rows + 2; }, 6s)) << typed;
        EXPECT_FALSE(WaitForMessageBox(c.program.Pid(), 100ms).has_value()) << typed;
        // A buffer of that size would be filled with zeros, so it would show here.
        PROCESS_MEMORY_COUNTERS memory{};
        ASSERT_TRUE(GetProcessMemoryInfo(process, &memory, sizeof memory));
        EXPECT_LT(memory.WorkingSetSize, 100u << 20) << typed;
        EXPECT_EQ(TextOf(FindNamedControl(c.console, "speBuffer")), typed) << "the text stays as typed";
    }
    CloseHandle(process);
    EXPECT_EQ(ListViewRowCount(c.errors), 0);

    // Loopback answers in well under a millisecond on a quiet machine: the
    // tip still tells the replies apart, to the microsecond, never "0 ms".
    // Asked again until the busy window answers.
    std::optional<GraphicInfo> average;
    ASSERT_TRUE(WaitUntil([&] { return (average = FindGraphic(c.main, "lbAVG")).has_value(); }, 10s));
    const std::string point = c.Graphic(c.main, "lbAVG").substr(1, 1);
    const std::vector<std::string> lines =
        Lines(HoverTip(c.main, (average->bounds.left + average->bounds.right) / 2, average->bounds.top + 6, 5s));
    ASSERT_GE(lines.size(), 3u);
    const std::optional<std::vector<double>> figures = TripFigures(lines[2], point);
    ASSERT_TRUE(figures.has_value()) << lines[2];
    // Below 100 ms the rule itself asks for decimals, however busy the machine.
    EXPECT_LT((*figures)[0], 100.0) << lines[2];
    ParkPointer();
}

namespace {

constexpr const char* kOnDesktop = "ZV_CONSOLE_LAB_DESKTOP";

// The fill colours of the state icons (tools/make-state-icons.sh).
constexpr COLORREF kIdleFill = RGB(0xA9, 0xBA, 0xC1);
constexpr COLORREF kUpFill = RGB(0x1F, 0xB5, 0xAE);
constexpr COLORREF kUnstableFill = RGB(0xF5, 0xC0, 0x2A);
constexpr COLORREF kSlowFill = RGB(0x4F, 0x8F, 0xE0);
constexpr COLORREF kDownFill = RGB(0xD0, 0x38, 0x3D);

bool OnTaskbar(COLORREF fill)
{
    return FindOnTaskbar(fill).has_value();
}

// The text of the balloon showing, once it starts with `start`, and a
// screenshot `shot` taken while it still shows; "" when none came.
std::string WaitForBalloon(const std::string& start, std::chrono::milliseconds timeout, const std::string& shot)
{
    std::string text;
    WaitUntil([&] { return (text = ShownBalloonText()).rfind(start, 0) == 0; }, timeout);
    if (text.rfind(start, 0) != 0)
        return std::string();
    EXPECT_FALSE(Screenshot(shot).empty());
    EXPECT_EQ(ShownBalloonText(), text) << "the screenshot " << shot << " missed it";
    return text;
}

} // namespace

// The notification area needs a taskbar: this program starts itself again
// on a virtual desktop for the cases that use it.
TEST(ConsolePingLab, TheNotificationAreaCasesRunOnAVirtualDesktop)
{
    if (std::getenv(kOnDesktop))
        GTEST_SKIP() << "already on the virtual desktop";
    VirtualDesktop desktop(L"ZvConsoleLab");
    ASSERT_TRUE(desktop.WaitForTaskbar(10s)) << "no taskbar on a virtual desktop";
    const std::optional<DWORD> code = desktop.RunSelf("TrayOnDesktop.*", kOnDesktop, 480s);
    ASSERT_TRUE(code.has_value()) << "the cases on the virtual desktop did not end in 480 s";
    EXPECT_EQ(*code, 0u) << "a case on the virtual desktop failed; see its output above";
}

// The lossy host drops sequence numbers 0 to 2 of every 8, from 3489 in a
// new program: two lost, five answered, three lost, five answered. Down
// after 3 failures and up after 3 echoes: the first two losses raise
// nothing, the first echoes go up quietly, the next three losses go down,
// three echoes come back up, unstable until 20 pings pass without a
// failure. Each balloon shows beside its state's icon.
TEST(TrayOnDesktop, ALossyHostGoesDownAndBackUpWithABalloonEachAndTheMenuEndsPinging)
{
    if (!std::getenv(kOnDesktop))
        GTEST_SKIP() << "runs on a virtual desktop, started by TheNotificationAreaCasesRunOnAVirtualDesktop";
    static_assert(lab::LossyPeriod == 8 && lab::LossyCount == 3);
    ParkPointer();
    Console c("tray", "[Ping]\r\nRepeat=1500\r\nTimeOut=200\r\n[Alerts]\r\nSound=0\r\nDownAfter=3\r\nUpAfter=3\r\n",
              std::string(lab::Lossy) + "\r\n");
    ASSERT_TRUE(c.Ready());
    EXPECT_TRUE(WaitUntil([] { return OnTaskbar(kIdleFill); }, 5s)) << "idle before repeat pinging";
    // START on the compact window, which keeps the focus it had at the start.
    ASSERT_TRUE(ClickGraphic(c.main, "Image4"));
    ASSERT_TRUE(WaitUntil([&] { return IsChecked(c.repeat); }, 5s));

    // Wine shows a balloon 2 s after it was asked for; it stays until the next.
    const std::string down = WaitForBalloon("No reply since ", 40s, "tray-down-balloon");
    std::smatch since;
    EXPECT_TRUE(std::regex_match(down, since, std::regex("No reply since (.+) \\(3 failures: time-out\\)"))) << down;
    EXPECT_EQ(ListViewRowCount(c.errors), 5) << "no alert for the first two losses";
    EXPECT_TRUE(OnTaskbar(kDownFill));

    const std::string up = WaitForBalloon("Down ", 20s, "tray-up-balloon");
    std::smatch outage;
    EXPECT_TRUE(std::regex_match(up, outage, std::regex("Down \\d+(.\\d)? s \\((.+) to (.+)\\)"))) << up;
    EXPECT_EQ(outage[2], since[1].str()) << "from the first failure's send";
    // Wine 10 draws a new icon over the old one without clearing it first, so
    // red may linger where the triangle is transparent.
    EXPECT_TRUE(OnTaskbar(kUnstableFill));
    ASSERT_EQ(FocusOf(c.main), c.main) << "an alert took the focus";

    // Shift+F10 opens the icon's menu; its third entry ends repeat pinging.
    // Each is typed while a ping to a silent host waits 1400 ms: the menu
    // opens once the wait is over, and the keys typed into it reach it.
    c.Set("speTimeout", "1400");
    c.Set("cbHost", lab::Silent);
    auto waiting = [&] {
        const int sent = LoggedRequests(lab::Silent);
        return WaitUntil([&] { return LoggedRequests(lab::Silent) > sent; }, 5s);
    };
    ASSERT_TRUE(waiting());
    SendKeys({VK_SHIFT, VK_F10});
    ASSERT_TRUE(WaitUntil([&] { return InMenu(c.main); }, 5s));
    ASSERT_TRUE(waiting());
    for (UINT key : {VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN})
        SendKeys({key});
    EXPECT_TRUE(WaitUntil([&] { return !IsChecked(c.repeat); }, 5s)) << "repeat pinging goes on";
    EXPECT_FALSE(InMenu(c.main));
    EXPECT_TRUE(WaitUntil([] { return OnTaskbar(kIdleFill); }, 5s));
}

// The stepping host answers in 20 ms, and in 800 ms for the last 10 of every
// 40 sequence numbers (from 3489 in a new program: 21 fast ones first). A
// ping a second: after 20 echoes the usual time is known, three slow echoes
// make it slow (800 ms is above 4 x 20 ms and 20 ms + 100 ms), five fast
// ones in a row fast again. Each balloon shows beside its state's icon.
TEST(TrayOnDesktop, ASteppingHostTurnsSlowAndFastAgainWithABalloonEach)
{
    if (!std::getenv(kOnDesktop))
        GTEST_SKIP() << "runs on a virtual desktop, started by TheNotificationAreaCasesRunOnAVirtualDesktop";
    static_assert(lab::SteppingPeriod == 40 && lab::SteppingCount == 10 && lab::SteppingSlowMs == 800);
    ParkPointer();
    Console c("slow", "[Ping]\r\nRepeat=1000\r\nTimeOut=1500\r\n[Alerts]\r\nSound=0\r\n",
              std::string(lab::Stepping) + "\r\n");
    ASSERT_TRUE(c.Ready());
    ASSERT_TRUE(ClickGraphic(c.main, "Image4"));
    ASSERT_TRUE(WaitUntil([&] { return IsChecked(c.repeat); }, 5s));

    const std::string slow = WaitForBalloon("Trip time ", 90s, "tray-slow-balloon");
    std::smatch since;
    ASSERT_TRUE(std::regex_match(slow, since, std::regex("Trip time (\\d+) ms \\(usually (\\d+) ms\\) since (.+)")))
        << slow;
    EXPECT_GE(std::stoi(since[1]), 800);
    EXPECT_LT(std::stoi(since[2]), 100);
    EXPECT_TRUE(OnTaskbar(kSlowFill));

    const std::string fast = WaitForBalloon("Slow ", 30s, "tray-fast-balloon");
    std::smatch period;
    EXPECT_TRUE(std::regex_match(fast, period, std::regex("Slow \\d+(.\\d)? s \\((.+) to (.+)\\)"))) << fast;
    EXPECT_EQ(period[2], since[3].str()) << "from the first slow echo";
    EXPECT_TRUE(OnTaskbar(kUpFill) && !OnTaskbar(kSlowFill));
    ASSERT_TRUE(ClickGraphic(c.main, "Image4"));
    EXPECT_TRUE(WaitUntil([&] { return !IsChecked(c.repeat); }, 5s));
}

// The lossy host at a ping a second with the default alert options, for
// three minutes: it goes down every 8 pings. The first two outages each ask
// for a down and an up balloon; the third makes it flap: one "keeps
// dropping" balloon, when the tip counts those three outages, then quiet,
// while the tip still counts every outage. Wine replaces a balloon asked for
// within 2 s of the one before, so a down balloon may never show: the
// balloons seen are those asked for, less some downs and ups.
TEST(TrayOnDesktop, AFlappingHostRaisesAHandfulOfBalloons)
{
    if (!std::getenv(kOnDesktop))
        GTEST_SKIP() << "runs on a virtual desktop, started by TheNotificationAreaCasesRunOnAVirtualDesktop";
    ParkPointer();
    Console c("flap", "[Ping]\r\nRepeat=1000\r\nTimeOut=200\r\n[Alerts]\r\nSound=0\r\n",
              std::string(lab::Lossy) + "\r\n");
    ASSERT_TRUE(c.Ready());
    ASSERT_TRUE(ClickGraphic(c.main, "Image4"));
    ASSERT_TRUE(WaitUntil([&] { return IsChecked(c.repeat); }, 5s));
    auto outagesInTip = [&] {
        const HWND chart = FindNamedControl(c.main, "Chart1");
        const std::vector<std::string> lines = Lines(HoverTip(chart, 136, 50, 5s));
        ParkPointer();
        for (const std::string& line : lines)
            if (line.find(" outage") != std::string::npos && line.rfind("last 5 min", 0) != 0)
                return line.substr(0, line.find(' '));
        return std::string("?");
    };

    // Wine keeps a balloon until the next: each new text is a new balloon.
    const std::string dropping = "3 outages in 10 min; alerts paused until it holds for 10 min";
    std::vector<std::string> balloons;
    std::string tipAtFlap;
    const auto end = std::chrono::steady_clock::now() + 180s;
    while (std::chrono::steady_clock::now() < end) {
        const std::string text = ShownBalloonText();
        if (!text.empty() && (balloons.empty() || text != balloons.back())) {
            balloons.push_back(text);
            if (text == dropping) {
                tipAtFlap = outagesInTip();
                EXPECT_FALSE(Screenshot("tray-keeps-dropping").empty());
            }
        }
        Sleep(200);
    }
    const std::string outages = outagesInTip();
    // STOP, asked again until the busy window answers.
    EXPECT_TRUE(WaitUntil([&] { return ClickGraphic(c.main, "Image4"); }, 10s));
    EXPECT_TRUE(WaitUntil([&] { return !IsChecked(c.repeat); }, 5s));

    std::printf("balloons seen in 3 minutes: %zu, outages in the tip: %s\n", balloons.size(), outages.c_str());
    ASSERT_FALSE(balloons.empty());
    EXPECT_EQ(balloons.back(), dropping) << "one, and nothing after it";
    EXPECT_LE(balloons.size(), 5u) << ::testing::PrintToString(balloons);
    for (std::size_t i = 0; i + 1 < balloons.size(); ++i)
        EXPECT_TRUE(balloons[i].rfind("No reply since ", 0) == 0 || balloons[i].rfind("Down ", 0) == 0) << balloons[i];
    EXPECT_EQ(tipAtFlap, "3") << "the tip counts the outages the balloons told";
    EXPECT_GE(std::atoi(outages.c_str()), 15) << "every outage still counts";
}

// A reply 700 ms after the request and a wait of 1000 ms, held up just after
// the request reached the responder: by the reply list's menu, which opens
// once the ping has ended, and by a freeze of 5 s (a sleep), after which the
// reply read late is no trip time. Neither books an echo slower than the
// time-out.
TEST(ConsolePingLab, AMenuOrAFreezeMidWaitBooksNoEchoSlowerThanTheTimeOut)
{
    Console c("held-up", "[Ping]\r\nTimeOut=1000\r\n", std::string(lab::Reply700Ms) + "\r\n");
    ASSERT_TRUE(c.Ready());
    const char* log = std::getenv(lab::ResponderLogEnv);
    ASSERT_NE(log, nullptr);
    auto rows = [&] { return ListViewRowCount(c.replies) + ListViewRowCount(c.errors); };
    // The newest ping, made after `echoes` echoes: an echo under the time-out, or a time-out.
    auto bookedRight = [&](int echoes) {
        if (ListViewRowCount(c.replies) > echoes)
            return std::stoi(ListViewCell(c.replies, 0, 4)) < 1000;
        return ListViewCell(c.errors, 0, 6) == "rsTimeOut";
    };

    int requests = LoggedRequests(lab::Reply700Ms);
    Click(c.ping);
    ASSERT_TRUE(WaitUntil([&] { return LoggedRequests(lab::Reply700Ms) > requests; }, 5s));
    Sleep(50);
    PostMessageA(c.replies, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(c.replies), -1);
    int rowsAtMenu = -1;
    ASSERT_TRUE(WaitUntil([&] { return InMenu(c.console) && (rowsAtMenu = rows()) >= 0; }, 5s));
    EXPECT_EQ(rowsAtMenu, 1) << "the menu opened before the ping ended";
    Sleep(3000);
    PressKey(c.replies, VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([&] { return !InMenu(c.console); }, 5s));
    ASSERT_TRUE(WaitUntil([&] { return rows() == 1; }, 3s));
    EXPECT_TRUE(bookedRight(0)) << ListViewCell(c.replies, 0, 4);

    const int echoes = ListViewRowCount(c.replies);
    requests = LoggedRequests(lab::Reply700Ms);
    const std::string arrived =
        "[ $(grep -c 'dst=" + std::string(lab::Reply700Ms) + " ' '" + log + "') -gt " + std::to_string(requests) + " ]";
    ASSERT_TRUE(FreezeProcess(c.exe, 5s, arrived));
    const DWORD start = GetTickCount();
    Click(c.ping);
    ASSERT_TRUE(WaitUntil([&] { return rows() == 2; }, 15s));
    EXPECT_GE(GetTickCount() - start, 4000u) << "the freeze came too late";
    EXPECT_TRUE(bookedRight(echoes)) << ListViewCell(c.replies, 0, 4);
}
