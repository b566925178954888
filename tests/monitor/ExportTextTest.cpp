// The export texts: CSV quoting and encoding, tab-separated copies, ISO 8601
// moments, the proposed file names and the saved logs.
#include <gtest/gtest.h>

#include "monitor/ExportText.h"
#include "monitor/RunExport.h"
#include "tests/text/Latin1ToUtf8.h"

namespace {

// A list's whole CSV file in one text.
std::string RunCsvText(const TMonitorRun& run, TRunLog log, std::string_view timeSeparator,
                       const TUtf8Converter& toUtf8)
{
    std::string text;
    WriteRunCsv(run, log, timeSeparator, toUtf8, [&](std::string_view block) { text += block; });
    return text;
}

TExportTable OneCell(const std::string& text)
{
    return {{"Adress"}, {{text}}};
}

} // namespace

TEST(ExportText, CsvQuotesOnlyWhatNeedsItAndDoublesQuotes)
{
    struct Case {
        std::string cell, field;
    } cases[] = {
        {"127.0.0.1", "127.0.0.1"},
        {"", ""},
        {"  leading blanks ", "  leading blanks "},
        {"a,b", "\"a,b\""},
        {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"\"", "\"\"\"\""},
        {"two\r\nlines", "\"two\r\nlines\""},
        {"cr\ronly", "\"cr\ronly\""},
        {"lf\nonly", "\"lf\nonly\""},
        {"tab\there", "tab\there"},
        {"semi;colon", "semi;colon"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CsvText(OneCell(c.cell), Latin1ToUtf8), "\xEF\xBB\xBF" "Adress\r\n" + c.field + "\r\n") << c.cell;
}

TEST(ExportText, CsvIsUtf8WithAByteOrderMarkAndCrLfLines)
{
    TExportTable table{{"Adress", "Bytes", "Time"},
                       {{"Z\xFCrich, \xC9tage 2", "72", "2026-12-07T14:02:11+01:00"}, {"a.example", "", ""}}};
    EXPECT_EQ(CsvText(table, Latin1ToUtf8),
              "\xEF\xBB\xBF"
              "Adress,Bytes,Time\r\n"
              "\"Z\xC3\xBCrich, \xC3\x89tage 2\",72,2026-12-07T14:02:11+01:00\r\n"
              "a.example,,\r\n");
    int calls = 0;
    CsvText(table, [&](std::string_view text) {
        ++calls;
        return std::string(text);
    });
    EXPECT_EQ(calls, 1) << "ASCII cells need no conversion";
    EXPECT_EQ(CsvText({{"Adress"}, {}}, Latin1ToUtf8), "\xEF\xBB\xBF" "Adress\r\n");
}

// Cells gather in blocks before they reach the file: quoting and conversion
// must find a cell wherever it falls, across a block's end or longer than one.
TEST(ExportText, CsvCellsOfEveryLengthComeOutWhole)
{
    TExportTable table{{"Adress"}, {}};
    std::string expected = "\xEF\xBB\xBF" "Adress\r\n";
    for (int n = 0; n < 400; ++n) {
        std::string cell(static_cast<std::size_t>(n * 7 % 61), 'x');
        if (n % 3 == 0)
            cell += ",\"";
        if (n % 5 == 0)
            cell += "\xFC";
        if (n == 200)
            cell = std::string(1500, 'y') + ",";
        table.Rows.push_back({cell});
        const std::string utf8 = Latin1ToUtf8(cell);
        if (n % 3 == 0 || n == 200) {
            std::string quoted;
            for (char c : utf8)
                quoted += c == '"' ? std::string(2, c) : std::string(1, c);
            expected += '"' + quoted + "\"\r\n";
        } else {
            expected += utf8 + "\r\n";
        }
    }
    EXPECT_EQ(CsvText(table, Latin1ToUtf8), expected);
}

TEST(ExportText, TabTextHasCaptionsFirstAndKeepsEveryCellWhole)
{
    TExportTable table{{"Adress", "Seq.ID"}, {{"a,b", "1"}, {"tab\there", "2"}, {"say \"hi\"", "3"}, {" \xFC ", ""}}};
    EXPECT_EQ(TabText(table), "Adress\tSeq.ID\r\n"
                              "a,b\t1\r\n"
                              "\"tab\there\"\t2\r\n"
                              "\"say \"\"hi\"\"\"\t3\r\n"
                              " \xFC \t\r\n");
}

TEST(ExportText, IsoMomentsCarryTheirOffset)
{
    // One UTC moment, 2026-12-07 13:02:11, seen from several offsets, and
    // the edges of a day and a year.
    constexpr std::int64_t utc = 1796648531000LL;
    struct Case {
        TWallStamp stamp;
        const char* text;
    } cases[] = {
        {{utc, 60}, "2026-12-07T14:02:11+01:00"},
        {{utc, -300}, "2026-12-07T08:02:11-05:00"},
        {{utc, 0}, "2026-12-07T13:02:11+00:00"},
        {{utc + 999, 330}, "2026-12-07T18:32:11+05:30"},
        {{utc, -570}, "2026-12-07T03:32:11-09:30"},
        {{utc, 825}, "2026-12-08T02:47:11+13:45"},
        {{1767225599000LL, 0}, "2025-12-31T23:59:59+00:00"},
        {{1767225599000LL, 60}, "2026-01-01T00:59:59+01:00"},
        {{-1000, 0}, "1969-12-31T23:59:59+00:00"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsoMoment(c.stamp), c.text);
}

TEST(ExportText, ProposedNamesCarryTheDay)
{
    EXPECT_EQ(ExportFileName("errors", {2026, 12, 7, 23, 59, 59}), "zentvorlumo-errors-2026-12-07.csv");
    EXPECT_EQ(ExportFileName("replies", {2027, 1, 31}), "zentvorlumo-replies-2027-01-31.csv");
}

// A saved log and a copy are the list as shown, newest row first; the file
// adds the precise trip time after the milliseconds in the reply list, and
// each row's moment in the offset it was filed in (the clock jumped between
// rows here). A typed host comes out as typed, however odd. Both follow the
// run: a trimmed or cleared list is saved as it now is.
TEST(ExportText, RunLogsAreSavedAsTheListsShowThem)
{
    // 2026-12-07 15:35:09 UTC; the second reading has an offset an hour on.
    std::vector<TWallStamp> stamps{{1796657709000LL, -90}, {1796657709000LL, -30}, {1796657710000LL, -30},
                                   {1796657711000LL, 60}};
    std::size_t reading = 0;
    TMonitorRun run([&] { return TClockReading{{}, stamps[std::min(reading++, stamps.size() - 1)]}; });
    run.AddReply({72, "127.0.0.1", 0, 6, 5, 128, rsEcho}, 5123, false, "", {100, false, false});
    run.AddReply({72, "127.0.0.1", 0, 7, 21, 128, rsEcho}, 21004, false, "", {1, false, false});
    run.AddReply({72, "127.0.0.2", 0, 8, 1000000, 64, rsEcho}, 999999999, false, "", {1, false, false});
    run.AddReply({0, "", 0, 9, 1000, 0, rsTimeOut}, 1000201, false, " Z\xFCrich, \"a\"", {100, false, false});
    auto csv = [&](TRunLog log) { return RunCsvText(run, log, ":", Latin1ToUtf8); };
    EXPECT_EQ(csv(TRunLog::Echoes),
              "\xEF\xBB\xBF"
              "Adress From,Bytes,Type,Seq.ID,Trip time [ms],Trip time [\xC2\xB5s],Time to Live,Time\r\n"
              "127.0.0.2,72,0,8,1000000,999999999,64,2026-12-07T15:05:10-00:30\r\n"
              "127.0.0.1,72,0,7,21,21004,128,2026-12-07T15:05:09-00:30\r\n");
    EXPECT_EQ(csv(TRunLog::Errors),
              "\xEF\xBB\xBF"
              "Adress,Bytes,Type,Seq.ID,Trip time [ms],Date/Time,Status,Time\r\n"
              "\" Z\xC3\xBCrich, \"\"a\"\"\",0,0,9,1000,07.12.2026 16:35:11,rsTimeOut,2026-12-07T16:35:11+01:00\r\n");
    const int both[] = {1, 0};
    EXPECT_EQ(TabText(RunRowsTable(run, TRunLog::Echoes, both, ":")),
              "Adress From\tBytes\tType\tSeq.ID\tTrip time [ms]\tTime to Live\r\n"
              "127.0.0.1\t72\t0\t7\t21\t128\r\n"
              "127.0.0.2\t72\t0\t8\t1000000\t64\r\n");
    run.ClearData();
    EXPECT_EQ(csv(TRunLog::Echoes),
              "\xEF\xBB\xBF"
              "Adress From,Bytes,Type,Seq.ID,Trip time [ms],Trip time [\xC2\xB5s],Time to Live,Time\r\n");
    run.ClearErrors();
    EXPECT_EQ(csv(TRunLog::Errors), "\xEF\xBB\xBF"
                                    "Adress,Bytes,Type,Seq.ID,Trip time [ms],Date/Time,Status,Time\r\n");
}

// A long list leaves in blocks of whole lines, each row once and in order,
// across days and offsets.
TEST(RunCsv, ALongListLeavesInBlocksOfWholeLines)
{
    std::int64_t ms = 1796601600000LL; // 2026-12-07 00:00:00 UTC
    int offset = 60;
    TMonitorRun run([&] { return TClockReading{{}, {ms, offset}}; });
    constexpr int kRows = 3000;
    for (int i = 0; i < kRows; ++i) {
        ms += 61001;
        offset = i < kRows / 2 ? 60 : -300;
        run.AddReply({72, "127.0.0.1", 0, static_cast<std::uint16_t>(i), 3, 128, rsTimeOut}, 3000 + i, false,
                     "host" + std::to_string(i), {kRows, true, false});
    }
    std::vector<std::string> blocks;
    WriteRunCsv(run, TRunLog::Errors, ":", Latin1ToUtf8, [&](std::string_view b) { blocks.emplace_back(b); });
    ASSERT_GT(blocks.size(), 2u);
    std::string whole;
    for (const std::string& block : blocks) {
        EXPECT_TRUE(block.ends_with("\r\n"));
        whole += block;
    }
    // Row by row against the cells the list shows and the stamp's own ISO time.
    std::size_t at = whole.find("\r\n") + 2;
    for (int row = 0; row < kRows; ++row) {
        const TPingRecord& record = run.Error(row);
        std::string line;
        for (int column = 0; column < 7; ++column)
            line += (column ? "," : "") + CellText(TRunLog::Errors, record, column, ":");
        line += "," + IsoMoment(record.Filed) + "\r\n";
        ASSERT_EQ(whole.substr(at, line.size()), line) << "row " << row;
        at += line.size();
    }
    EXPECT_EQ(at, whole.size());
}
