#include "history/HistoryBins.h"

#include <algorithm>

namespace {

constexpr std::int64_t kMinuteUs = 60'000'000;
constexpr std::int64_t kMinuteMs = 60'000;
// A label moves only when the wall clock strays further than this from the
// minutes counted since the last anchor: the two clocks drift apart by a
// second or so a day, a clock set or daylight-saving change by far more.
constexpr std::int64_t kLabelSlackMs = 2000;
// Bounds the anchors of a clock set every minute for days.
constexpr std::size_t kMaxAnchors = 4096;
// No query walks more minutes than the bins can hold, whatever its range
// (the latest instant may run ahead of the minutes held).
constexpr std::int64_t kMostMinutes = THistoryBins::MaxBlocks * THistoryBins::MinutesPerBlock;

std::int64_t FloorDiv(std::int64_t a, std::int64_t b)
{
    const std::int64_t q = a / b;
    return q * b > a ? q - 1 : q;
}

std::int64_t FloorMod(std::int64_t a, std::int64_t b)
{
    return a - FloorDiv(a, b) * b;
}

// Orders a minute before the anchors that begin after it.
constexpr auto kBeforeAnchor = [](std::int64_t minute, const auto& anchor) { return minute < anchor.Minute; };

// Milliseconds of [from, to) within [low, high), at least 0.
std::int64_t OverlapMs(TInstant from, TInstant to, TInstant low, TInstant high)
{
    const TInstant a = std::max(from, low), b = std::min(to, high);
    return b > a ? (b - a).count() / 1000 : 0;
}

void AddMinute(THistoryColumn& column, const THistoryMinute& minute)
{
    column.AsleepMs += minute.AsleepMs;
    column.DownMs += minute.DownMs;
    column.SlowMs += minute.SlowMs;
    if (!minute.HasData())
        return;
    column.HasData = true;
    column.Pings += minute.Pings();
    column.HeldUp += minute.HeldUp;
    if (minute.Echoes == 0)
        return;
    column.MinTrip = column.Echoes ? std::min(column.MinTrip, minute.MinTrip) : minute.MinTrip;
    column.MaxTrip = column.Echoes ? std::max(column.MaxTrip, minute.MaxTrip) : minute.MaxTrip;
    column.Echoes += minute.Echoes;
    column.TripSum += minute.TripSum;
}

void AddMs(std::uint16_t& field, std::int64_t ms)
{
    field = static_cast<std::uint16_t>(std::min<std::int64_t>(THistoryMinute::FullMs, field + ms));
}

} // namespace

THistoryBins::THistoryBins(TClockReading start, std::int64_t minutesBefore)
    : started_(start.Mono), latest_(start.Mono), openSince_(start.Mono)
{
    const std::int64_t intoMinuteMs = FloorMod(start.Wall.UtcMs, kMinuteMs) + minutesBefore * kMinuteMs;
    origin_ = start.Mono - std::chrono::milliseconds(intoMinuteMs);
    anchors_.push_back({0, {start.Wall.UtcMs - intoMinuteMs, start.Wall.OffsetMinutes}});
}

std::int64_t THistoryBins::MinuteOf(TInstant at) const
{
    return FloorDiv((at - origin_).count(), kMinuteUs);
}

THistoryMinute* THistoryBins::Edit(std::int64_t minute)
{
    if (minute < 0)
        return nullptr;
    const std::int64_t block = minute / MinutesPerBlock;
    if (blocks_.empty())
        firstBlock_ = block;
    const std::int64_t end = firstBlock_ + static_cast<std::int64_t>(blocks_.size());
    if (block < firstBlock_) {
        // Days read back newest first: older hours join in front while the span allows.
        if (end - block > MaxBlocks)
            return nullptr;
        const auto older = static_cast<std::ptrdiff_t>(firstBlock_ - block);
        blocks_.resize(blocks_.size() + static_cast<std::size_t>(older));
        std::rotate(blocks_.begin(), blocks_.end() - older, blocks_.end());
        firstBlock_ = block;
    }
    if (block >= end) {
        // The oldest hours go first; after a gap of more than the whole span, all of them.
        const std::int64_t newFirst = std::max(firstBlock_, block + 1 - MaxBlocks);
        const std::int64_t drop = std::min(newFirst - firstBlock_, static_cast<std::int64_t>(blocks_.size()));
        blocks_.erase(blocks_.begin(), blocks_.begin() + drop);
        firstBlock_ = newFirst;
        blocks_.resize(static_cast<std::size_t>(block + 1 - firstBlock_));
        const auto held = std::upper_bound(anchors_.begin(), anchors_.end(), FirstMinute(), kBeforeAnchor);
        if (held - anchors_.begin() > 1)
            anchors_.erase(anchors_.begin(), held - 1);
    }
    std::unique_ptr<TBlock>& slot = blocks_[static_cast<std::size_t>(block - firstBlock_)];
    if (!slot)
        slot = std::make_unique<TBlock>();
    return &(*slot)[static_cast<std::size_t>(minute % MinutesPerBlock)];
}

const THistoryMinute* THistoryBins::Find(std::int64_t minute) const
{
    if (minute < FirstMinute() || minute >= EndMinute())
        return nullptr;
    const std::unique_ptr<TBlock>& slot = blocks_[static_cast<std::size_t>(minute / MinutesPerBlock - firstBlock_)];
    return slot ? &(*slot)[static_cast<std::size_t>(minute % MinutesPerBlock)] : nullptr;
}

void THistoryBins::AddPing(const TPingRecord& record)
{
    if (record.Outcome == TPingOutcome::NotSent)
        return;
    NoteLatest(record.Ended());
    NoteWall(record.Ended(), record.Filed);
    THistoryMinute* minute = Edit(MinuteOf(record.Sent));
    if (!minute)
        return;
    if (record.HeldUp)
        minute->AddHeldUp();
    else if (record.Outcome == TPingOutcome::Echo)
        minute->AddEcho(record.TripUs);
    else
        minute->AddFailure(record.Reply.Kind);
}

void THistoryBins::AddSleep(const TSleep& sleep)
{
    NoteLatest(sleep.End.Mono);
    NoteWall(sleep.End.Mono, sleep.End.Wall);
    Book(sleep.Begin.Mono, sleep.End.Mono, &THistoryMinute::AsleepMs);
}

void THistoryBins::AddLinkPeriod(TInstant from, TInstant to, THistoryLinkState state)
{
    NoteLatest(to);
    if (state == THistoryLinkState::Down)
        Book(from, to, &THistoryMinute::DownMs);
    else if (state == THistoryLinkState::Slow)
        Book(from, to, &THistoryMinute::SlowMs);
}

void THistoryBins::LinkStateChanged(TInstant at, THistoryLinkState state)
{
    if (at < openSince_)
        at = openSince_;
    AddLinkPeriod(openSince_, at, openState_);
    openState_ = state;
    openSince_ = at;
}

void THistoryBins::AdvanceTo(TInstant now)
{
    NoteLatest(now);
}

void THistoryBins::Book(TInstant from, TInstant to, std::uint16_t THistoryMinute::*field)
{
    if (to <= from)
        return;
    // Only what can still be held: a period longer than the span costs no more than the span.
    const std::int64_t last = MinuteOf(to - TDuration(1));
    const std::int64_t first = std::max(MinuteOf(from), last - MaxMinutes - MinutesPerBlock);
    for (std::int64_t m = first; m <= last; ++m) {
        const TInstant start = StartOf(m);
        const std::int64_t ms = OverlapMs(from, to, start, start + Minute);
        if (THistoryMinute* minute = ms > 0 ? Edit(m) : nullptr)
            AddMs(minute->*field, ms);
    }
}

// Mostly the newest anchor; an older one when days are read back newest first.
void THistoryBins::NoteWall(TInstant at, const TWallStamp& wall)
{
    const std::int64_t minute = MinuteOf(at);
    const std::int64_t wallAtStart = wall.UtcMs - (at - StartOf(minute)).count() / 1000;
    const TWallStamp expected = Label(minute);
    const std::int64_t stray = wallAtStart > expected.UtcMs ? wallAtStart - expected.UtcMs : expected.UtcMs - wallAtStart;
    if (wall.OffsetMinutes == expected.OffsetMinutes && stray <= kLabelSlackMs)
        return;
    const auto after = std::upper_bound(anchors_.begin(), anchors_.end(), minute, kBeforeAnchor);
    if (after != anchors_.begin() && (after - 1)->Minute == minute) {
        (after - 1)->Wall = {wallAtStart, wall.OffsetMinutes};
        return;
    }
    if (anchors_.size() == kMaxAnchors) {
        if (after == anchors_.begin())
            return;
        anchors_.erase(anchors_.begin());
    }
    anchors_.insert(std::upper_bound(anchors_.begin(), anchors_.end(), minute, kBeforeAnchor),
                    {minute, {wallAtStart, wall.OffsetMinutes}});
}

TWallStamp THistoryBins::Label(std::int64_t minute) const
{
    auto after = std::upper_bound(anchors_.begin(), anchors_.end(), minute, kBeforeAnchor);
    const TAnchor& a = after == anchors_.begin() ? *after : *(after - 1);
    return {a.Wall.UtcMs + (minute - a.Minute) * kMinuteMs, a.Wall.OffsetMinutes};
}

TInstant THistoryBins::InstantOfWall(std::int64_t utcMs) const
{
    // Newest first: after a clock set back the same reading came twice.
    for (std::size_t i = anchors_.size(); i-- > 0;) {
        const TAnchor& a = anchors_[i];
        const bool open = i + 1 == anchors_.size();
        const std::int64_t endMs = open ? INT64_MAX : a.Wall.UtcMs + (anchors_[i + 1].Minute - a.Minute) * kMinuteMs;
        if ((utcMs >= a.Wall.UtcMs || i == 0) && utcMs < endMs)
            return StartOf(a.Minute) + std::chrono::milliseconds(utcMs - a.Wall.UtcMs);
    }
    const TAnchor& a = anchors_.back();
    return StartOf(a.Minute) + std::chrono::milliseconds(utcMs - a.Wall.UtcMs);
}

std::int64_t THistoryBins::AwakeMs(std::int64_t minute, const THistoryMinute& kept) const
{
    const TInstant start = StartOf(minute);
    // A minute of an earlier run, read back from the files: awake where it
    // saw anything, since the time between runs is not known.
    if (start + Minute <= started_)
        return kept.HasData() ? std::max<std::int64_t>(0, THistoryMinute::FullMs - kept.AsleepMs) : 0;
    return std::max<std::int64_t>(0, OverlapMs(started_, latest_, start, start + Minute) - kept.AsleepMs);
}

THistoryMinute THistoryBins::At(std::int64_t minute) const
{
    const THistoryMinute* kept = Find(minute);
    THistoryMinute shown = kept ? *kept : THistoryMinute{};
    if (openState_ != THistoryLinkState::Other && minute >= FirstMinute()) {
        const TInstant start = StartOf(minute);
        const std::int64_t ms = OverlapMs(openSince_, latest_, start, start + Minute);
        AddMs(openState_ == THistoryLinkState::Down ? shown.DownMs : shown.SlowMs, ms);
    }
    return shown;
}

THistoryFigures THistoryBins::Figures(TInstant from, TInstant to) const
{
    THistoryFigures figures;
    std::int64_t first = MinuteOf(from);
    if (StartOf(first) < from)
        ++first;
    std::int64_t end = MinuteOf(to);
    if (StartOf(end) < to)
        ++end;
    end = std::min(end, MinuteOf(latest_) + 1);
    first = std::max({first, FirstMinute(), end - kMostMinutes});
    for (std::int64_t m = first; m < end; ++m) {
        const THistoryMinute minute = At(m);
        figures.Add(minute, AwakeMs(m, minute));
    }
    return figures;
}

std::vector<THistoryColumn> THistoryBins::Columns(TInstant from, TInstant to, int count) const
{
    std::vector<THistoryColumn> columns;
    if (count <= 0 || to <= from)
        return columns;
    columns.resize(static_cast<std::size_t>(count));
    const std::int64_t span = (to - from).count();
    const std::int64_t held = std::min(EndMinute(), MinuteOf(latest_) + 1);
    for (int k = 0; k < count; ++k) {
        THistoryColumn& column = columns[static_cast<std::size_t>(k)];
        // In two steps, so that span * k cannot overflow for any range of the held span.
        column.From = from + TDuration(span / count * k + span % count * k / count);
        column.To = from + TDuration(span / count * (k + 1) + span % count * (k + 1) / count);
        if (column.To <= column.From)
            continue;
        const std::int64_t first = std::max({MinuteOf(column.From), FirstMinute(), held - kMostMinutes});
        const std::int64_t last = std::min(MinuteOf(column.To - TDuration(1)), held - 1);
        for (std::int64_t m = first; m <= last; ++m)
            AddMinute(column, At(m));
    }
    return columns;
}

std::size_t THistoryBins::HeldBytes() const
{
    std::size_t bytes = blocks_.capacity() * sizeof(blocks_[0]) + anchors_.capacity() * sizeof(TAnchor);
    for (const auto& block : blocks_)
        bytes += block ? sizeof(TBlock) : 0;
    return bytes;
}
