// The History window and the history files' appender end to end, hosted
// by HistoryHost.exe (copied into a folder of its own for each case): the
// window opened on a generated week of files (a screenshot), its range
// keys, a day from the calendar, the outage list's double click, a
// column's tip, what a screen reader hears, a range saved as CSV, live
// updates; the appender killed while writing, and a history folder it
// cannot write. Also run at 144 dpi.
#include <windows.h>

#include <oleacc.h>

#include <gtest/gtest.h>

#include <chrono>
#include <regex>
#include <string>

#include "console/SystemClock.h"
#include "history/HistoryFile.h"
#include "history/HistoryReader.h"
#include "tests/driver/Driver.h"
#include "tests/driver/DriverAccessible.h"
#include "tests/driver/DriverControls.h"

using namespace std::chrono_literals;
using namespace zvdrive;

namespace {

constexpr std::int64_t kSlotMs = 5000;
constexpr std::int64_t kDayMs = 86400000;
constexpr int kOutageSlots = 15 * 12; // 15 minutes of time-outs

// Every file the cases write lies under this folder (a Linux path), and
// only here is it named.
// The folders above it are made (WorkFile), as the runtime's folder starts
// empty.
std::string UnixCaseFile(const std::string& relative)
{
    WorkFile("tests/e2e/history/" + relative);
    return WorkDir() + "/tests/e2e/history/" + relative;
}

std::string CaseFile(const std::string& relative)
{
    return WindowsPath(UnixCaseFile(relative));
}

std::string ReadAll(const std::string& path)
{
    return ReadFileBytes(path).value_or("");
}

void WriteAll(const std::string& path, const std::string& text)
{
    ASSERT_TRUE(WriteFileBytes(path, text)) << path;
}

// A folder of its own for a case, with the host in it and nothing else.
std::string HostFolder(const std::string& name)
{
    RunShell("chattr -R -i '" + UnixCaseFile(name) + "' 2>/dev/null; rm -rf '" + UnixCaseFile(name) + "'", 20s);
    CreateDirectoryA(CaseFile("").c_str(), nullptr);
    CreateDirectoryA(CaseFile(name).c_str(), nullptr);
    const std::string host = CaseFile(name + "/HistoryHost.exe");
    EXPECT_TRUE(CopyFileA(BuildFile("tests/e2e/HistoryHost.exe").c_str(), host.c_str(), FALSE));
    return host;
}

struct TWeek {
    std::uint64_t Pings = 0;
    std::int64_t OutageUtcMs = 0; // its first minute
    std::string DamagedFile;
    TWallStamp Now;
};

// A week up to two minutes ago, a ping every 5 s at about 20 ms: 15 minutes
// of time-outs three days ago, two hours asleep five days ago, and a line
// of junk in the file of four days ago.
TWeek WriteWeek(const std::string& folder)
{
    TWeek week;
    week.Now = ReadSystemClock().Wall;
    const std::int64_t first = (week.Now.UtcMs - 7 * kDayMs) / 60000 * 60000 + 600000;
    const std::int64_t last = week.Now.UtcMs - 120000;
    week.OutageUtcMs = (week.Now.UtcMs - 3 * kDayMs) / 60000 * 60000;
    const std::int64_t sleepFrom = week.Now.UtcMs - 5 * kDayMs;
    const std::int64_t damagedDay = (week.Now.UtcMs - 4 * kDayMs + week.Now.OffsetMinutes * 60000LL) / kDayMs;
    THistoryWriter writer([](std::string_view text) { return std::string(text); });
    TPingRecord r;
    r.Host = "now.example.com";
    std::string text;
    TCivilTime day{};
    const auto flush = [&] {
        if (!text.empty())
            WriteAll(folder + "\\" + HistoryFileName(day), text);
        text.clear();
    };
    for (std::int64_t at = first; at < last; at += kSlotMs) {
        const TWallStamp filed{at + 2500, week.Now.OffsetMinutes};
        const TCivilTime fileDay = HistoryFileDay(filed);
        if (fileDay.Day != day.Day || fileDay.Month != day.Month) {
            flush();
            day = fileDay;
            text = HistoryFileStart();
        }
        if (at >= sleepFrom && at < sleepFrom + 7200000) {
            if (at + kSlotMs >= sleepFrom + 7200000)
                writer.AddSleep({{TInstant(), {sleepFrom, filed.OffsetMinutes}}, {TInstant(7200000000LL * 1us), filed}},
                                r.Host);
        } else {
            const bool lost = at >= week.OutageUtcMs && at < week.OutageUtcMs + kOutageSlots * kSlotMs;
            r.Outcome = lost ? TPingOutcome::Failure : TPingOutcome::Echo;
            r.Reply.Kind = lost ? rsTimeOut : rsEcho;
            r.Reply.AddressFrom = lost ? "" : "198.51.100.20";
            r.Reply.Bytes = lost ? 0 : 32;
            r.Reply.TimeToLive = lost ? 0 : 57;
            r.TripUs = lost ? 1000000 : 18000 + static_cast<std::uint32_t>(at / kSlotMs % 40) * 100 +
                                            (at / kSlotMs % 500 == 0 ? 250000 : 0);
            r.Filed = filed;
            writer.AddPing(r);
            ++week.Pings;
        }
        writer.HandOn([&](std::string_view row) { text += row; });
        if ((filed.UtcMs + filed.OffsetMinutes * 60000LL) / kDayMs == damagedDay && week.DamagedFile.empty()) {
            text += "Another,program's,row\r\n";
            week.DamagedFile = HistoryFileName(day);
        }
    }
    flush();
    return week;
}

std::string Wall(std::int64_t utcMs, int offsetMinutes)
{
    const TCivilTime t = TWallStamp{utcMs, offsetMinutes}.Local();
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d", t.Year, t.Month, t.Day, t.Hour, t.Minute);
    return text;
}

std::string ChartCaption(HWND window)
{
    const auto chart = FindGraphic(window, "chHistory");
    return chart ? chart->text : "";
}

std::string FiguresText(HWND window)
{
    const auto figures = FindGraphic(window, "lbFigures");
    return figures ? figures->text : "";
}

// "Chart from A to B, …": A and B.
std::pair<std::string, std::string> Span(const std::string& caption)
{
    std::smatch m;
    static const std::regex span("Chart from (.{16}) to (.{16})");
    if (!std::regex_search(caption, m, span))
        return {};
    return {m[1], m[2]};
}

std::string Shifted(const std::string& wall, std::int64_t ms, int offsetMinutes)
{
    TCivilTime t{};
    std::sscanf(wall.c_str(), "%d-%d-%d %d:%d", &t.Year, &t.Month, &t.Day, &t.Hour, &t.Minute);
    // Back to UTC through the days since 1970 of the date shown.
    const std::int64_t y = t.Month <= 2 ? t.Year - 1 : t.Year;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (t.Month + (t.Month > 2 ? -3 : 9)) + 2) / 5 + t.Day - 1;
    const std::int64_t days = era * 146097 + yoe * 365 + yoe / 4 - yoe / 100 + doy - 719468;
    const std::int64_t utc = ((days * 24 + t.Hour) * 60 + t.Minute - offsetMinutes) * 60000;
    return Wall(utc + ms, offsetMinutes);
}

class HistoryWindow : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        // Our own view of its windows, unscaled: Wine 10 scales what a
        // DPI-unaware process reads of another's windows.
        SetProcessDPIAware();
        host_ = HostFolder("window");
        CreateDirectoryA(CaseFile("window/history").c_str(), nullptr);
        week_ = WriteWeek(CaseFile("window/history"));
        program_ = new Program(host_);
        window_ = WaitForWindow(program_->Pid(), "TFormHistory", 20s);
    }
    static void TearDownTestSuite()
    {
        delete program_;
        program_ = nullptr;
    }
    void SetUp() override
    {
        ASSERT_NE(window_, nullptr);
        // Read once the progress bar has gone and the status names the skipped rows.
        ASSERT_TRUE(WaitUntil([] { return FiguresText(window_).find("Pings: ") != std::string::npos &&
                                          FindGraphic(window_, "lbStatus")->text.find("Reading") == std::string::npos; },
                              60s));
    }

    static inline std::string host_;
    static inline TWeek week_;
    static inline Program* program_ = nullptr;
    static inline HWND window_ = nullptr;
};

TEST_F(HistoryWindow, ShowsTheWeekOfFilesWithTheirFiguresAndSkippedRows)
{
    Click(FindNamedControl(window_, "btn7Days"));
    ASSERT_TRUE(WaitUntil([] { return FiguresText(window_).find("Pings: " + std::to_string(week_.Pings)) == 0; }, 10s))
        << FiguresText(window_);
    const std::string figures = FiguresText(window_);
    EXPECT_NE(figures.find("Outages: 1, 15 min 00 s in all, longest 15 min 00 s"), std::string::npos) << figures;
    EXPECT_NE(figures.find("p95: \xE2\x89\x88"), std::string::npos) << figures;
    EXPECT_EQ(FindGraphic(window_, "lbStatus")->text, "1 rows skipped in " + week_.DamagedFile);
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    EXPECT_FALSE(Screenshot("history-7days-" + std::to_string(dpi)).empty());
    Click(FindNamedControl(window_, "cbLogarithmic"));
    ASSERT_TRUE(WaitUntil([] { return ChartCaption(window_).find(", logarithmic") != std::string::npos; }, 5s));
    EXPECT_FALSE(Screenshot("history-7days-log-" + std::to_string(dpi)).empty());
    Click(FindNamedControl(window_, "cbLogarithmic"));
}

// A day picked from the calendar: its midnight to the next.
TEST_F(HistoryWindow, ADayFromTheCalendar)
{
    HWND picker = FindNamedControl(window_, "dtpDay");
    RECT r{};
    GetClientRect(picker, &r);
    SendClick(picker, {r.left + 6, (r.top + r.bottom) / 2});
    SendKeys({VK_DOWN});
    ASSERT_TRUE(WaitUntil([] { return Span(ChartCaption(window_)).first.substr(11) == "00:00"; }, 5s))
        << ChartCaption(window_);
    const auto [from, to] = Span(ChartCaption(window_));
    EXPECT_EQ(to, Shifted(from, 24 * 3600000LL, week_.Now.OffsetMinutes));
    EXPECT_LT(from, Wall(week_.Now.UtcMs, week_.Now.OffsetMinutes));
    Click(FindNamedControl(window_, "btn24Hours"));
}

// A column's tip, and the windowless parts as a screen reader hears them.
TEST_F(HistoryWindow, ColumnTipsAndNamesForAReader)
{
    Click(FindNamedControl(window_, "btn7Days"));
    const auto chart = FindGraphic(window_, "chHistory");
    ASSERT_TRUE(chart);
    const RECT b = chart->bounds;
    const std::string tip = HoverTip(window_, (b.left + b.right) / 2 + 30, (b.top + b.bottom) / 2, 5s);
    ParkPointer();
    EXPECT_NE(tip.find("Pings: "), std::string::npos) << tip;
    EXPECT_NE(tip.find("Min/avg/max: "), std::string::npos) << tip;
    const auto children = AccessibleChildren(window_);
    ASSERT_TRUE(children);
    bool chartHeard = false, figuresHeard = false;
    for (const AccessibleInfo& child : *children) {
        chartHeard = chartHeard || (child.name == "Chart" && child.role == ROLE_SYSTEM_GRAPHIC);
        figuresHeard = figuresHeard || (child.name.rfind("Pings: ", 0) == 0 && child.role == ROLE_SYSTEM_STATICTEXT);
    }
    EXPECT_TRUE(chartHeard);
    EXPECT_TRUE(figuresHeard);
}

// Left and Right move by half the width, + and - zoom around the middle,
// Home goes back to now.
TEST_F(HistoryWindow, RangeKeys)
{
    Click(FindNamedControl(window_, "btn24Hours"));
    PressKey(window_, VK_LEFT);
    ASSERT_TRUE(WaitUntil([] { return !Span(ChartCaption(window_)).first.empty(); }, 5s));
    Sleep(300);
    const auto [from, to] = Span(ChartCaption(window_));
    const int offset = week_.Now.OffsetMinutes;
    PressKey(window_, VK_LEFT);
    ASSERT_TRUE(WaitUntil([&] { return Span(ChartCaption(window_)).first == Shifted(from, -12 * 3600000LL, offset); },
                          5s))
        << ChartCaption(window_);
    PressKey(window_, VK_RIGHT);
    PressKey(window_, VK_ADD);
    ASSERT_TRUE(WaitUntil([&] { return Span(ChartCaption(window_)).first == Shifted(from, 6 * 3600000LL, offset); }, 5s))
        << ChartCaption(window_);
    EXPECT_EQ(Span(ChartCaption(window_)).second, Shifted(to, -6 * 3600000LL, offset));
    PressKey(window_, VK_SUBTRACT);
    ASSERT_TRUE(WaitUntil([&] { return Span(ChartCaption(window_)).first == from; }, 5s)) << ChartCaption(window_);
    PressKey(window_, VK_HOME);
    const std::string now = Wall(ReadSystemClock().Wall.UtcMs, offset);
    ASSERT_TRUE(WaitUntil([&] { return Span(ChartCaption(window_)).second >= now; }, 5s)) << ChartCaption(window_);
}

TEST_F(HistoryWindow, ADoubleClickOnAnOutageCentresTheChartOnIt)
{
    Click(FindNamedControl(window_, "btn7Days"));
    HWND list = FindNamedControl(window_, "lvOutages");
    ASSERT_TRUE(WaitUntil([&] { return ListViewRowCount(list) == 1; }, 10s));
    const auto row = ListViewRows(list, 5).at(0);
    EXPECT_EQ(row[0], Wall(week_.OutageUtcMs, week_.Now.OffsetMinutes));
    EXPECT_EQ(row[2], "15 min 00 s");
    EXPECT_EQ(row[3], std::to_string(kOutageSlots));
    EXPECT_EQ(row[4], "time-out");
    RECT r{};
    ASSERT_TRUE(ListViewRowRect(list, 0, r));
    POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(list, &p);
    RunShell(PointerTo(p) + "; xdotool click --repeat 2 --delay 80 1 sleep 0.2", 10s);
    const std::int64_t middle = week_.OutageUtcMs + kOutageSlots * kSlotMs / 2;
    const std::string from = Wall(middle - 84 * 3600000LL, week_.Now.OffsetMinutes);
    EXPECT_TRUE(WaitUntil([&] { return Span(ChartCaption(window_)).first == from; }, 5s))
        << ChartCaption(window_) << " expected from " << from;
}

TEST_F(HistoryWindow, SavesTheRangeAsCsv)
{
    Click(FindNamedControl(window_, "btn6Hours"));
    const std::string path = CaseFile("window/range.csv");
    DeleteFileA(path.c_str());
    Click(FindNamedControl(window_, "btnSaveCsv"));
    HWND dialog = WaitForSaveDialog(program_->Pid(), 10s);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(SaveDialogFileName(dialog).rfind("zentvorlumo-history-", 0), 0u);
    ASSERT_TRUE(SaveDialogChoose(dialog, path, 10s));
    ASSERT_TRUE(WaitUntil([&] { return ReadAll(path).size() > 100; }, 10s));
    const std::string csv = ReadAll(path);
    const std::string head = "\xEF\xBB\xBFTime,Pings,Lost,Min [\xC2\xB5s],Avg [\xC2\xB5s],Max [\xC2\xB5s],Held up,"
                             "Asleep [s],Down [s]\r\n";
    ASSERT_EQ(csv.substr(0, head.size()), head);
    static const std::regex row(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:00[+-]\d\d:\d\d,12,0,\d+,\d+,\d+,0,0\.000,0\.000)");
    int rows = 0;
    for (std::size_t at = head.size(); at < csv.size();) {
        const std::size_t end = csv.find("\r\n", at);
        ASSERT_NE(end, std::string::npos);
        const std::string line = csv.substr(at, end - at);
        // The oldest and newest minutes may be cut by the range or the run's start.
        if (rows > 0 && end + 2 < csv.size()) {
            EXPECT_TRUE(std::regex_match(line, row)) << line;
        }
        ++rows;
        at = end + 2;
    }
    EXPECT_GE(rows, 6 * 60 - 4);
}

// While open, the window follows the run: the last hour's pings grow.
TEST(HistoryLive, TheWindowFollowsTheRunWhileOpen)
{
    const std::string host = HostFolder("live");
    StartOptions options;
    options.environment = {{"ZV_HISTORY_LIVE", "1"}};
    Program program(host, options);
    HWND window = WaitForWindow(program.Pid(), "TFormHistory", 20s);
    ASSERT_NE(window, nullptr);
    Click(FindNamedControl(window, "btnHour"));
    const auto pings = [&] {
        const std::string text = FiguresText(window);
        return text.rfind("Pings: ", 0) == 0 ? std::atoi(text.c_str() + 7) : -1;
    };
    ASSERT_TRUE(WaitUntil([&] { return pings() > 0; }, 10s)) << FiguresText(window);
    const int first = pings();
    EXPECT_TRUE(WaitUntil([&] { return pings() >= first + 10; }, 10s)) << FiguresText(window);
    EXPECT_EQ(GetFileAttributesA(CaseFile("live/history").c_str()), INVALID_FILE_ATTRIBUTES)
        << "history off: no folder";
}

// How a history file reads back: rows, and lines that were no row.
THistoryReadCounts ReadBack(const std::string& path)
{
    struct : THistoryVisitor {
        void PingRead(const TPingRecord&) override {}
        void SleepRead(const TSleep&) override {}
    } none;
    return THistoryReader().Read(ReadAll(path), none);
}

StartOptions Writing(const char* rows)
{
    StartOptions options;
    options.environment = {{"ZV_HISTORY_WRITE", rows}};
    return options;
}

std::string TodaysFile(const std::string& name)
{
    return CaseFile(name + "/history/" + HistoryFileName(HistoryFileDay(ReadSystemClock().Wall)));
}

TEST(HistoryFiles, AKillWhileWritingLeavesWholeRowsButTheLast)
{
    const std::string host = HostFolder("kill");
    const std::string file = TodaysFile("kill");
    // Retention at the start deletes only the old files of ours.
    CreateDirectoryA(CaseFile("kill/history").c_str(), nullptr);
    for (const char* name : {"zentvorlumo-2020-01-01.csv", "zentvorlumo-2020-01-01.csv.bak", "notes.csv"})
        WriteAll(CaseFile(std::string("kill/history/") + name), "kept?");
    {
        Program writer(host, Writing("1000000"));
        ASSERT_TRUE(WaitUntil([&] { return ReadAll(file).size() > 40000; }, 20s));
        writer.Kill();
    }
    const THistoryReadCounts killed = ReadBack(file);
    EXPECT_GT(killed.Rows, 300u);
    EXPECT_LE(killed.Skipped, 1u);
    // The next run goes on after a line end of its own: the cut row stays the only loss.
    Program again(host, Writing("20"));
    ASSERT_EQ(again.WaitForExit(20s), std::optional<DWORD>(0));
    const THistoryReadCounts after = ReadBack(file);
    EXPECT_EQ(after.Rows, killed.Rows + 20);
    EXPECT_EQ(after.Skipped, killed.Skipped);
    EXPECT_EQ(ReadAll(file).rfind("\xEF\xBB\xBF", 0), 0u);
    EXPECT_EQ(GetFileAttributesA(CaseFile("kill/history/zentvorlumo-2020-01-01.csv").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(ReadAll(CaseFile("kill/history/zentvorlumo-2020-01-01.csv.bak")), "kept?");
    EXPECT_EQ(ReadAll(CaseFile("kill/history/notes.csv")), "kept?");
}

TEST(HistoryFiles, AFolderThatCannotBeWrittenIsReportedOnceWithoutABox)
{
    const std::string host = HostFolder("readonly");
    CreateDirectoryA(CaseFile("readonly/history").c_str(), nullptr);
    if (!RunShell("chattr +i '" + UnixCaseFile("readonly/history") + "'", 10s) ||
        CreateDirectoryA(CaseFile("readonly/history/probe").c_str(), nullptr)) {
        RemoveDirectoryA(CaseFile("readonly/history/probe").c_str());
        GTEST_SKIP() << "no immutable folders on this file system";
    }
    Program writer(host, Writing("200"));
    bool boxSeen = false;
    const bool ended = WaitUntil(
        [&] {
            boxSeen = boxSeen || !MessageBoxes(writer.Pid()).empty();
            return !writer.Running();
        },
        30s);
    RunShell("chattr -i '" + UnixCaseFile("readonly/history") + "'", 10s);
    ASSERT_TRUE(ended);
    EXPECT_FALSE(boxSeen);
    EXPECT_EQ(writer.WaitForExit(1s), std::optional<DWORD>(2));
    const std::string reports = ReadAll(CaseFile("readonly/reports.txt"));
    EXPECT_EQ(std::count(reports.begin(), reports.end(), '\n'), 1) << reports;
    EXPECT_NE(reports.find("readonly\\history\\: "), std::string::npos) << reports;
}

} // namespace
