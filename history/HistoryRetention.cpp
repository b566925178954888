#include "history/HistoryRetention.h"

#include "history/HistoryCalendar.h"

namespace {

constexpr std::string_view kPrefix = "zentvorlumo-";
constexpr std::string_view kSuffix = ".csv";

template <class Char>
int Digits(std::basic_string_view<Char> text, std::size_t at, std::size_t count)
{
    int value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (text[i] < Char('0') || text[i] > Char('9'))
            return -1;
        value = value * 10 + static_cast<int>(text[i] - Char('0'));
    }
    return value;
}

template <class Char>
bool Matches(std::basic_string_view<Char> text, std::size_t at, std::string_view ascii)
{
    for (std::size_t i = 0; i < ascii.size(); ++i)
        if (text[at + i] != static_cast<Char>(ascii[i]))
            return false;
    return true;
}

// "zentvorlumo-" 12, "YYYY-MM-DD" 10, ".csv" 4.
template <class Char>
std::optional<TCivilTime> DateOf(std::basic_string_view<Char> name)
{
    if (name.size() != 26 || !Matches(name, 0, kPrefix) || !Matches(name, 22, kSuffix) || name[16] != Char('-') ||
        name[19] != Char('-'))
        return std::nullopt;
    TCivilTime day;
    day.Year = Digits(name, 12, 4);
    day.Month = Digits(name, 17, 2);
    day.Day = Digits(name, 20, 2);
    if (!ValidDate(day.Year, day.Month, day.Day))
        return std::nullopt;
    return day;
}

template <class Char>
bool Expired(std::basic_string_view<Char> name, const TCivilTime& today, int keepDays)
{
    // Today's file always stays, whatever the caller passes.
    const std::optional<TCivilTime> day = DateOf(name);
    return day && DaysSince1970(today) - DaysSince1970(*day) >= (keepDays < 1 ? 1 : keepDays);
}

} // namespace

std::optional<TCivilTime> HistoryFileDate(std::string_view name)
{
    return DateOf(name);
}

std::optional<TCivilTime> HistoryFileDate(std::wstring_view name)
{
    return DateOf(name);
}

bool HistoryFileExpired(std::string_view name, const TCivilTime& today, int keepDays)
{
    return Expired(name, today, keepDays);
}

bool HistoryFileExpired(std::wstring_view name, const TCivilTime& today, int keepDays)
{
    return Expired(name, today, keepDays);
}

std::vector<std::wstring> ExpiredHistoryFiles(const std::vector<std::wstring>& names, const TCivilTime& today,
                                              int keepDays)
{
    std::vector<std::wstring> expired;
    for (const std::wstring& name : names)
        if (Expired(std::wstring_view(name), today, keepDays))
            expired.push_back(name);
    return expired;
}
