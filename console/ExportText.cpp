#include "console/ExportText.h"

#include <cstdio>
#include <cstdlib>

namespace {

// Quoted when it holds the separator, a quote or a line break; quotes doubled.
void AppendField(std::string& out, std::string_view text, char separator)
{
    const char specials[] = {separator, '"', '\r', '\n', '\0'};
    if (text.find_first_of(specials) == std::string_view::npos) {
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

template <class Cell>
void AppendLine(std::string& out, const std::vector<std::string>& cells, char separator, Cell cell)
{
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0)
            out += separator;
        AppendField(out, cell(cells[i]), separator);
    }
    out += "\r\n";
}

template <class Cell>
std::string TableText(const TExportTable& table, char separator, std::string out, Cell cell)
{
    std::size_t size = out.size();
    for (const auto& row : table.Rows)
        for (const auto& text : row)
            size += text.size() + 1;
    out.reserve(size + 2 * table.Rows.size() + 256);
    AppendLine(out, table.Captions, separator, cell);
    for (const auto& row : table.Rows)
        AppendLine(out, row, separator, cell);
    return out;
}

} // namespace

std::string IsoMoment(const TMoment& moment)
{
    const TLocalTime& t = moment.Local;
    const int offset = std::abs(moment.OffsetMinutes);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02d:%02d:%02d%c%02d:%02d", t.Year, t.Month, t.Day, t.Hour,
                  t.Minute, t.Second, moment.OffsetMinutes < 0 ? '-' : '+', offset / 60, offset % 60);
    return buf;
}

std::string ExportFileName(std::string_view what, const TLocalTime& day)
{
    char date[32];
    std::snprintf(date, sizeof date, "-%04d-%02d-%02d.csv", day.Year, day.Month, day.Day);
    return "zentvorlumo-" + std::string(what) + date;
}

std::string CsvText(const TExportTable& table, const TUtf8Converter& toUtf8)
{
    return TableText(table, ',', "\xEF\xBB\xBF", [&](const std::string& text) {
        // Plain ASCII is the same in every code page: most cells skip the converter.
        for (unsigned char c : text)
            if (c >= 0x80)
                return toUtf8(text);
        return text;
    });
}

std::string TabText(const TExportTable& table)
{
    return TableText(table, '\t', std::string(), [](const std::string& text) -> const std::string& { return text; });
}
