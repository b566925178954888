#include "history/HistoryReader.h"

#include <cstring>

#include "history/HistoryCalendar.h"
#include "history/HistoryFile.h"
#include "monitor/ReplyText.h"

namespace {

enum TColumn { cTime, cHost, cAddress, cStatus, cTrip, cTtl, cBytes, cSeq, cHeldUp };

// Longer than any sleep a file of ours can hold.
constexpr std::uint64_t kMaxSleepUs = 400ull * 86400 * 1000000;

bool IsDigit(char c)
{
    return static_cast<unsigned char>(c - '0') < 10;
}

// Plain decimal digits only (no sign, no blanks), at most `max`.
bool ParseUnsigned(std::string_view text, std::uint64_t max, std::uint64_t& value)
{
    if (text.empty() || text.size() > 20)
        return false;
    value = 0;
    for (char c : text) {
        if (!IsDigit(c))
            return false;
        const unsigned digit = static_cast<unsigned>(c - '0');
        if (digit > max || value > (max - digit) / 10)
            return false;
        value = value * 10 + digit;
    }
    return true;
}

// `count` digits at `at`, which the caller has checked are there.
int Digits(const char* at, int count)
{
    int value = 0;
    for (int i = 0; i < count; ++i) {
        if (!IsDigit(at[i]))
            return -1;
        value = value * 10 + (at[i] - '0');
    }
    return value;
}

std::uint8_t IcmpTypeOf(TReplyStatusKind kind)
{
    switch (kind) {
    case rsErrorUnreachable: return 3;
    case rsErrorTTLExceeded: return 11;
    default: return 0;
    }
}

} // namespace

TClockReading HistoryReplayReading(const TWallStamp& wall)
{
    return {TInstant(std::chrono::milliseconds(wall.UtcMs)), wall};
}

THistoryReader::THistoryReader()
{
    for (int kind = rsEcho; kind <= rsErrorTTLExceeded; ++kind)
        statusNames_[static_cast<std::size_t>(kind)] = StatusText(static_cast<TReplyStatusKind>(kind));
}

THistoryReadCounts THistoryReader::Read(std::string_view bytes, THistoryVisitor& visitor)
{
    THistoryReadCounts counts;
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        bytes.remove_prefix(3);
    while (!bytes.empty()) {
        const auto* lf = static_cast<const char*>(std::memchr(bytes.data(), '\n', bytes.size()));
        const std::size_t length = lf ? static_cast<std::size_t>(lf - bytes.data()) : bytes.size();
        std::string_view line = bytes.substr(0, length);
        bytes.remove_prefix(lf ? length + 1 : length);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        switch (ReadLine(line, visitor)) {
        case TLine::Row: ++counts.Rows; break;
        case TLine::Bad: ++counts.Skipped; break;
        case TLine::Later: ++counts.Later; break;
        case TLine::Blank: break;
        }
    }
    return counts;
}

THistoryReader::TLine THistoryReader::ReadLine(std::string_view line, THistoryVisitor& visitor)
{
    if (line.empty() || line == HistoryCaptions())
        return TLine::Blank;
    TWallStamp filed;
    if (!Split(line) || !ParseTime(fields_[cTime], filed))
        return TLine::Bad;
    return fields_[cStatus] == kAsleepStatus ? ReadSleep(filed, visitor) : ReadPing(filed, visitor);
}

THistoryReader::TLine THistoryReader::ReadSleep(const TWallStamp& filed, THistoryVisitor& visitor)
{
    std::uint64_t length = 0;
    if (!ParseUnsigned(fields_[cTrip], kMaxSleepUs, length))
        return TLine::Bad;
    if (filed.UtcMs >= endUtcMs_)
        return TLine::Later;
    // It began no earlier than the row before it ended.
    const std::int64_t before = lastUs_;
    TSleep sleep;
    sleep.End = {NextInstant(filed.UtcMs), filed};
    sleep.Begin.Mono = sleep.End.Mono - TDuration(static_cast<std::int64_t>(length));
    if (before != INT64_MIN && sleep.Begin.Mono < TInstant(TDuration(before)))
        sleep.Begin.Mono = TInstant(TDuration(before));
    sleep.Begin.Wall = filed.Before(sleep.End.Mono - sleep.Begin.Mono);
    visitor.SleepRead(sleep);
    return TLine::Row;
}

THistoryReader::TLine THistoryReader::ReadPing(const TWallStamp& filed, THistoryVisitor& visitor)
{
    std::size_t kind = 0;
    while (kind < statusNames_.size() && fields_[cStatus] != statusNames_[kind])
        ++kind;
    std::uint64_t trip = 0, ttl = 0, bytes = 0, seq = 0, heldUp = 0;
    if (kind == statusNames_.size() || !ParseUnsigned(fields_[cTrip], UINT32_MAX, trip) ||
        !ParseUnsigned(fields_[cTtl], UINT8_MAX, ttl) || !ParseUnsigned(fields_[cBytes], INT32_MAX, bytes) ||
        !ParseUnsigned(fields_[cSeq], UINT16_MAX, seq) || !ParseUnsigned(fields_[cHeldUp], 1, heldUp))
        return TLine::Bad;
    if (filed.UtcMs >= endUtcMs_)
        return TLine::Later;
    TPingRecord& r = record_;
    r.Reply.Kind = static_cast<TReplyStatusKind>(kind);
    r.Outcome = r.Reply.Kind == rsEcho ? TPingOutcome::Echo : TPingOutcome::Failure;
    r.Reply.Bytes = static_cast<std::int32_t>(bytes);
    r.Reply.AddressFrom.assign(fields_[cAddress]);
    r.Reply.IcmpType = IcmpTypeOf(r.Reply.Kind);
    r.Reply.SeqId = static_cast<std::uint16_t>(seq);
    r.Reply.TripTime = static_cast<std::uint32_t>(trip / 1000);
    r.Reply.TimeToLive = static_cast<std::uint8_t>(ttl);
    r.TripUs = static_cast<std::uint32_t>(trip);
    r.Filed = filed;
    r.Sent = NextInstant(filed.UtcMs) - TDuration(static_cast<std::int64_t>(trip));
    r.Host.assign(fields_[cHost]);
    r.Message.clear();
    r.HeldUp = heldUp != 0;
    visitor.PingRead(r);
    return TLine::Row;
}

// Exactly kHistoryColumns fields, quoted ones undone into their own buffers.
bool THistoryReader::Split(std::string_view line)
{
    const char* at = line.data();
    const char* const end = at + line.size();
    std::size_t count = 0;
    for (;;) {
        if (count == fields_.size())
            return false;
        if (at < end && *at == '"') {
            std::string& text = unquoted_[count];
            text.clear();
            for (++at;; ++at) {
                if (at == end)
                    return false; // the closing quote is missing
                if (*at == '"') {
                    if (at + 1 == end || at[1] != '"')
                        break;
                    ++at;
                }
                text += *at;
            }
            fields_[count++] = text;
            if (++at == end)
                break;
            if (*at++ != ',')
                return false;
        } else {
            const void* comma = std::memchr(at, ',', static_cast<std::size_t>(end - at));
            const char* fieldEnd = comma ? static_cast<const char*>(comma) : end;
            fields_[count++] = {at, static_cast<std::size_t>(fieldEnd - at)};
            if (!comma)
                break;
            at = fieldEnd + 1;
        }
    }
    return count == fields_.size();
}

// "YYYY-MM-DDTHH:MM:SS", a fraction of up to 9 digits (milliseconds kept),
// then "Z" or an offset "+HH:MM" / "-HH:MM".
bool THistoryReader::ParseTime(std::string_view text, TWallStamp& stamp)
{
    if (text.size() < 20 || text.size() > 35)
        return false;
    const char* t = text.data();
    if (t[4] != '-' || t[7] != '-' || t[10] != 'T' || t[13] != ':' || t[16] != ':')
        return false;
    if (std::memcmp(t, lastDate_, 10) != 0) {
        const int year = Digits(t, 4), month = Digits(t + 5, 2), day = Digits(t + 8, 2);
        if (year < 0 || month < 0 || day < 0 || !ValidDate(year, month, day))
            return false;
        lastDays_ = DaysSince1970(year, month, day);
        std::memcpy(lastDate_, t, 10);
    }
    const int hour = Digits(t + 11, 2), minute = Digits(t + 14, 2), second = Digits(t + 17, 2);
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59)
        return false;
    std::size_t at = 19;
    int ms = 0;
    if (text[at] == '.') {
        const std::size_t first = ++at;
        while (at < text.size() && IsDigit(text[at]) && at - first < 9) {
            if (at - first < 3)
                ms = ms * 10 + (text[at] - '0');
            ++at;
        }
        if (at == first)
            return false;
        for (std::size_t digits = at - first; digits < 3; ++digits)
            ms *= 10;
    }
    int offset = 0;
    const std::string_view zone = text.substr(at);
    if (zone != "Z") {
        if (zone.size() != 6 || (zone[0] != '+' && zone[0] != '-') || zone[3] != ':')
            return false;
        const int hours = Digits(zone.data() + 1, 2), minutes = Digits(zone.data() + 4, 2);
        if (hours < 0 || hours > 23 || minutes < 0 || minutes > 59)
            return false;
        offset = (zone[0] == '-' ? -1 : 1) * (hours * 60 + minutes);
    }
    const std::int64_t localSeconds = std::int64_t{lastDays_} * 86400 + hour * 3600 + minute * 60 + second;
    stamp.UtcMs = (localSeconds - offset * 60) * 1000 + ms;
    stamp.OffsetMinutes = offset;
    return true;
}

TInstant THistoryReader::NextInstant(std::int64_t utcMs)
{
    const std::int64_t us = utcMs * 1000;
    if (us > lastUs_)
        lastUs_ = us;
    return TInstant(TDuration(lastUs_));
}
