#include "console/ExportText.h"

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

} // namespace

std::string IsoMoment(const TMoment& moment)
{
    return std::string(IsoMomentText(moment).View());
}

TIsoText IsoMomentText(const TMoment& moment)
{
    // By hand: a formatted print per row would cost more than the rest of an export.
    const TLocalTime& t = moment.Local;
    const int offset = std::abs(moment.OffsetMinutes);
    TIsoText iso{"0000-00-00T00:00:00+00:00"};
    char* text = iso.Text;
    auto put = [&](int at, int value, int digits) {
        for (int i = at + digits - 1; i >= at; --i, value /= 10)
            text[i] = static_cast<char>('0' + value % 10);
    };
    put(0, t.Year % 10000, 4);
    put(5, t.Month % 100, 2);
    put(8, t.Day % 100, 2);
    put(11, t.Hour % 100, 2);
    put(14, t.Minute % 100, 2);
    put(17, t.Second % 100, 2);
    text[19] = moment.OffsetMinutes < 0 ? '-' : '+';
    put(20, offset / 60 % 100, 2);
    put(23, offset % 60, 2);
    return iso;
}

std::string ExportFileName(std::string_view what, const TLocalTime& day)
{
    char date[32];
    std::snprintf(date, sizeof date, "-%04d-%02d-%02d.csv", day.Year, day.Month, day.Day);
    return "zentvorlumo-" + std::string(what) + date;
}

TCsvBuilder::TCsvBuilder(TUtf8Converter toUtf8, std::size_t expectedBytes) : toUtf8_(std::move(toUtf8))
{
    out_.reserve(expectedBytes + 3);
    out_ = "\xEF\xBB\xBF";
}

void TCsvBuilder::Field(std::string_view cell)
{
    if (!lineStart_)
        out_ += ',';
    lineStart_ = false;
    // Plain ASCII is the same in every code page: most cells skip the converter.
    if (Ascii(cell))
        AppendField(out_, cell, ',');
    else
        AppendField(out_, toUtf8_(cell), ',');
}

void TCsvBuilder::EndLine()
{
    out_ += "\r\n";
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
