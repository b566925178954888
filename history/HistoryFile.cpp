#include "history/HistoryFile.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

#include "monitor/ReplyText.h"

namespace {
constexpr std::string_view kCaptions = "Time,Host,Address,Status,Trip time [\xC2\xB5s],TTL,Bytes,Seq,Held up";
}

std::string HistoryFileName(const TCivilTime& day)
{
    char name[40];
    std::snprintf(name, sizeof name, "zentvorlumo-%04d-%02d-%02d.csv", day.Year % 10000, day.Month % 100, day.Day % 100);
    return name;
}

TCivilTime HistoryFileDay(const TWallStamp& stamp)
{
    TCivilTime day = stamp.Local();
    day.Hour = day.Minute = day.Second = 0;
    return day;
}

std::string_view HistoryCaptions()
{
    return kCaptions;
}

std::string HistoryFileStart()
{
    return "\xEF\xBB\xBF" + std::string(kCaptions) + "\r\n";
}

std::string HistoryAppendPrefix(std::string_view tail)
{
    if (tail.empty())
        return HistoryFileStart();
    return tail.back() == '\n' ? "" : "\r\n";
}

THistoryTimeText HistoryTimeText(const TWallStamp& stamp)
{
    // The export's moment with the milliseconds put in before the offset.
    const TIsoText iso = IsoMomentText(stamp);
    const int ms = static_cast<int>((stamp.UtcMs % 1000 + 1000) % 1000);
    THistoryTimeText text{};
    std::copy(iso.Text, iso.Text + 19, text.Text);
    text.Text[19] = '.';
    text.Text[20] = static_cast<char>('0' + ms / 100);
    text.Text[21] = static_cast<char>('0' + ms / 10 % 10);
    text.Text[22] = static_cast<char>('0' + ms % 10);
    std::copy(iso.Text + 19, iso.Text + 25, text.Text + 23);
    return text;
}

THistoryWriter::THistoryWriter(TUtf8Converter toUtf8) : csv_(std::move(toUtf8), TCsvBuilder::Start::Bare) {}

bool THistoryWriter::AddPing(const TPingRecord& record)
{
    if (record.Outcome == TPingOutcome::NotSent)
        return false;
    csv_.Utf8Field(HistoryTimeText(record.Filed).View());
    csv_.Field(record.Host);
    csv_.Field(record.Reply.AddressFrom);
    csv_.PlainField().AppendPlain(StatusText(record.Reply.Kind));
    csv_.PlainField().AppendDecimal(record.TripUs);
    csv_.PlainField().AppendDecimal(record.Reply.TimeToLive);
    csv_.PlainField().AppendDecimal(record.Reply.Bytes);
    csv_.PlainField().AppendDecimal(record.Reply.SeqId);
    csv_.PlainField().AppendPlain(record.HeldUp ? "1" : "0");
    csv_.EndLine();
    return true;
}

void THistoryWriter::AddSleep(const TSleep& sleep, std::string_view host)
{
    csv_.Utf8Field(HistoryTimeText(sleep.End.Wall).View());
    csv_.Field(host);
    csv_.Utf8Field("");
    csv_.Utf8Field(kAsleepStatus);
    // Longer than the buffer's numbers: a sleep may last days.
    char length[24];
    const auto end = std::to_chars(length, length + sizeof length, sleep.Length().count()).ptr;
    csv_.PlainField().AppendPlain({length, static_cast<std::size_t>(end - length)});
    for (int empty = 5; empty < kHistoryColumns; ++empty)
        csv_.Utf8Field("");
    csv_.EndLine();
}
