// The export texts: CSV quoting and encoding, tab-separated copies, ISO 8601
// moments, the proposed file names and the saved logs.
#include <gtest/gtest.h>

#include "console/ExportText.h"
#include "console/RunCsv.h"

namespace {

// Windows-1252 as far as the tests need it: Latin-1 letters to UTF-8.
std::string Latin1ToUtf8(std::string_view text)
{
    std::string out;
    for (unsigned char c : text) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
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
    struct Case {
        TMoment moment;
        const char* text;
    } cases[] = {
        {{{2026, 12, 7, 14, 2, 11}, 60}, "2026-12-07T14:02:11+01:00"},
        {{{2026, 12, 7, 8, 2, 11}, -300}, "2026-12-07T08:02:11-05:00"},
        {{{2026, 1, 1, 0, 0, 0}, 0}, "2026-01-01T00:00:00+00:00"},
        {{{2026, 6, 30, 23, 59, 59}, 330}, "2026-06-30T23:59:59+05:30"},
        {{{2026, 6, 30, 23, 59, 59}, -570}, "2026-06-30T23:59:59-09:30"},
        {{{2026, 3, 29, 3, 0, 0}, 825}, "2026-03-29T03:00:00+13:45"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsoMoment(c.moment), c.text);
}

TEST(ExportText, ProposedNamesCarryTheDay)
{
    EXPECT_EQ(ExportFileName("errors", {2026, 12, 7, 23, 59, 59}), "zentvorlumo-errors-2026-12-07.csv");
    EXPECT_EQ(ExportFileName("replies", {2027, 1, 31}), "zentvorlumo-replies-2027-01-31.csv");
}

// A saved log is the list as shown, newest row first, each row with its
// moment; a typed host comes out as typed, however odd. The lines follow the
// run: a trimmed or cleared list is saved as it now is.
TEST(ExportText, RunLogsAreSavedAsTheListsShowThem)
{
    TMonitorRun run([] { return TMoment{{2026, 12, 7, 14, 5, 9}, -90}; });
    run.AddEcho({72, "127.0.0.1", 0, 6, 5, 128, rsEcho}, 100, false);
    TRunCsv lines(run, Latin1ToUtf8);
    run.AddEcho({72, "127.0.0.1", 0, 7, 21, 128, rsEcho}, 100, false);
    run.AddEcho({72, "127.0.0.2", 0, 8, 1000000, 64, rsEcho}, 1, false);
    run.AddError({{0, "", 0, 9, 1000, 0, rsTimeOut}, " Z\xFCrich, \"a\"", "07.12.2026 14:05:10", {{2026, 1, 2, 3, 4, 5}, 60}},
                 100, false);
    const std::vector<std::string> echoCaptions{"Adress From", "Bytes", "Type", "Seq.ID", "Trip time [ms]", "Time to Live"};
    const std::vector<std::string> errorCaptions{"Adress", "Bytes", "Type", "Seq.ID", "Trip time [ms]", "Date/Time", "Status"};
    auto csv = [&](TRunLog log, const std::vector<std::string>& captions) {
        std::string file;
        lines.Write(log, captions, [&](std::string_view block) { file += block; });
        return file;
    };
    EXPECT_EQ(csv(TRunLog::Echoes, echoCaptions),
              "\xEF\xBB\xBF"
              "Adress From,Bytes,Type,Seq.ID,Trip time [ms],Time to Live,Time\r\n"
              "127.0.0.2,72,0,8,1000000,64,2026-12-07T14:05:09-01:30\r\n"
              "127.0.0.1,72,0,7,21,128,2026-12-07T14:05:09-01:30\r\n");
    EXPECT_EQ(csv(TRunLog::Errors, errorCaptions),
              "\xEF\xBB\xBF"
              "Adress,Bytes,Type,Seq.ID,Trip time [ms],Date/Time,Status,Time\r\n"
              "\" Z\xC3\xBCrich, \"\"a\"\"\",0,0,9,1000,07.12.2026 14:05:10,rsTimeOut,2026-01-02T03:04:05+01:00\r\n");
    run.ClearData();
    EXPECT_EQ(csv(TRunLog::Echoes, echoCaptions), "\xEF\xBB\xBF"
                                                  "Adress From,Bytes,Type,Seq.ID,Trip time [ms],Time to Live,Time\r\n");
    run.ClearErrors();
    EXPECT_EQ(csv(TRunLog::Errors, {"Adress"}), "\xEF\xBB\xBF" "Adress,Time\r\n");
}

// A log that keeps its length while rows come and go moves its lines now
// and then; what it holds is still the newest rows, newest first.
TEST(ExportText, ATrimmedLogKeepsTheNewestLinesInOrder)
{
    TMonitorRun run([] { return TMoment{{2026, 12, 7, 14, 5, 9}, 0}; });
    TRunCsv lines(run, Latin1ToUtf8);
    const int limit = 300;
    std::string expected;
    auto file = [&] {
        std::string text;
        lines.Write(TRunLog::Echoes, {"Adress From"}, [&](std::string_view piece) { text += piece; });
        return text;
    };
    for (int round = 0; round < 2; ++round) {
        for (int i = 0; i < 5000; ++i) {
            run.AddEcho({72, "127.0.0.1", 0, static_cast<std::uint16_t>(i), 21, 128, rsEcho}, limit, false);
            if (i == 4000)
                run.AddError({{0, "", 0, 1, 1000, 0, rsTimeOut}, "h", "d", {}}, limit, false);
        }
        expected = "\xEF\xBB\xBF" "Adress From,Time\r\n";
        for (int i = 4999; i >= 5000 - (limit + 1); --i)
            expected += "127.0.0.1,72,0," + std::to_string(i) + ",21,128,2026-12-07T14:05:09+00:00\r\n";
        EXPECT_EQ(file(), expected);
        run.ClearData();
        EXPECT_EQ(file(), "\xEF\xBB\xBF" "Adress From,Time\r\n");
    }
}
