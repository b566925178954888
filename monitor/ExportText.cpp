#include "monitor/ExportText.h"

#include <cstdlib>

namespace {

// Quoted when it holds the separator, a quote or a line break; quotes doubled.
void AppendField(std::string& out, std::string_view text, char separator)
{
    // A plain loop: find_first_of calls the C library once per character.
    bool plain = true;
    for (char c : text)
        plain = plain && c != separator && c != '"' && c != '\r' && c != '\n';
    if (plain) {
        out += text;
        return;
    }
    out += '"';
    for (char c : text) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

bool Ascii(std::string_view text)
{
    for (unsigned char c : text)
        if (c >= 0x80)
            return false;
    return true;
}

// The bytes after which a CSV cell is more than a copy of itself.
constexpr TTextBuffer::TByteSet kCsvSpecial = [] {
    TTextBuffer::TByteSet special{};
    for (int c = 0x80; c < 0x100; ++c)
        special[c] = true;
    special[','] = special['"'] = special['\r'] = special['\n'] = true;
    return special;
}();

} // namespace

std::string IsoMoment(const TWallStamp& stamp)
{
    return std::string(IsoMomentText(stamp).View());
}

TIsoText IsoMomentText(const TWallStamp& stamp)
{
    return IsoMomentText(stamp.Local(), stamp.OffsetMinutes);
}

TIsoText IsoMomentText(const TCivilTime& t, int offsetMinutes)
{
    // By hand: a formatted print per row would cost more than the rest of an export.
    const int offset = std::abs(offsetMinutes);
    TIsoText iso{"0000-00-00T00:00:00+00:00"};
    char* text = iso.Text;
    // Two digits at a time from a table: a division per digit is most of the cost.
    static constexpr char kPairs[] = "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
                                     "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
                                     "8081828384858687888990919293949596979899";
    auto put = [&](int at, int value) {
        const char* pair = kPairs + 2 * (static_cast<unsigned>(value) % 100);
        text[at] = pair[0];
        text[at + 1] = pair[1];
    };
    put(0, t.Year / 100 % 100);
    put(2, t.Year % 100);
    put(5, t.Month);
    put(8, t.Day);
    put(11, t.Hour);
    put(14, t.Minute);
    put(17, t.Second);
    text[19] = offsetMinutes < 0 ? '-' : '+';
    put(20, offset / 60);
    put(23, offset % 60);
    return iso;
}

std::string ExportFileName(std::string_view what, const TCivilTime& day)
{
    char date[32];
    std::snprintf(date, sizeof date, "-%04d-%02d-%02d.csv", day.Year, day.Month, day.Day);
    return "zentvorlumo-" + std::string(what) + date;
}

TCsvBuilder::TCsvBuilder(TUtf8Converter toUtf8, Start start) : toUtf8_(std::move(toUtf8))
{
    if (start == Start::ByteOrderMark)
        out_.Append("\xEF\xBB\xBF");
    out_.Watch(kCsvSpecial);
}

void TCsvBuilder::Field(std::string_view cell)
{
    OpenField().Append(cell);
    CloseField();
}

void TCsvBuilder::RedoField()
{
    const std::string cell(out_.From(fieldStart_));
    out_.Truncate(fieldStart_);
    std::string field;
    AppendField(field, Ascii(cell) ? cell : toUtf8_(cell), ',');
    out_.Append(field);
}

void TCsvBuilder::EndLine()
{
    out_.Append("\r\n");
    lineStart_ = true;
}

std::string CsvText(const TExportTable& table, const TUtf8Converter& toUtf8)
{
    TCsvBuilder csv(toUtf8);
    for (const std::string& caption : table.Captions)
        csv.Field(caption);
    csv.EndLine();
    for (const auto& row : table.Rows) {
        for (const std::string& cell : row)
            csv.Field(cell);
        csv.EndLine();
    }
    return csv.Take();
}

std::string TabText(const TExportTable& table)
{
    std::string out;
    auto line = [&](const std::vector<std::string>& cells) {
        for (std::size_t i = 0; i < cells.size(); ++i) {
            if (i > 0)
                out += '\t';
            AppendField(out, cells[i], '\t');
        }
        out += "\r\n";
    };
    line(table.Captions);
    for (const auto& row : table.Rows)
        line(row);
    return out;
}
