// THistoryBins: a run by the minute of the monotonic clock, for the History
// window's ranges, figures and chart: pings, sleeps and the periods the
// link was judged down or slow, and the wall stamps that label the minutes
// (an anchor at each clock set or change of UTC offset, so labels follow the
// wall clock while durations never jump). It owns at most 31 days of minutes
// in blocks of an hour, made when a minute of theirs is first used and
// dropped oldest first (older hours still join in front while the span
// allows, for days read back newest first). A ping costs the same however
// long the run; a sleep or a state period costs its minutes. Portable; GUI
// thread only.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "history/HistoryFigures.h"
#include "history/HistoryMinute.h"
#include "monitor/PingRecord.h"
#include "monitor/RunClock.h"

// What the link was judged to be, as far as the minutes keep it.
enum class THistoryLinkState : std::uint8_t { Other, Down, Slow };

// One column of a chart: the minutes that overlap its span, taken together.
struct THistoryColumn {
    TInstant From, To;
    std::uint32_t Pings = 0, Echoes = 0, HeldUp = 0;
    std::uint32_t MinTrip = 0, MaxTrip = 0; // µs, with echoes
    std::uint64_t TripSum = 0;
    // Of the whole minutes overlapped, so a column narrower than a minute
    // shows its minute's.
    std::uint32_t AsleepMs = 0, DownMs = 0, SlowMs = 0;
    // Some minute of it saw pings or a judged state; else hatch it.
    bool HasData = false;

    std::uint32_t Failures() const { return Pings - Echoes; }
    double AverageUs() const { return Echoes ? static_cast<double>(TripSum) / Echoes : 0.0; }
};

class THistoryBins {
public:
    static constexpr TDuration Minute = std::chrono::minutes(1);
    static constexpr std::int64_t MinutesPerBlock = 60;
    static constexpr std::int64_t MaxMinutes = 31 * 24 * 60;
    // 31 days in whole hours and the hour now being filled.
    static constexpr std::int64_t MaxBlocks = MaxMinutes / MinutesPerBlock + 1;

    // Minute 0 begins at the start of the wall clock's minute that holds
    // `start`, or `minutesBefore` minutes earlier, so that the days of the
    // history files before the run can be read into the same minutes.
    explicit THistoryBins(TClockReading start, std::int64_t minutesBefore = 0);

    // Each ping in the minute it was sent; a ping that sent nothing is none.
    void AddPing(const TPingRecord& record);
    void AddSleep(const TSleep& sleep);
    // The link model's judgement, either as whole periods (a replay) or as
    // changes (the live run: an open down or slow period shows in the
    // figures up to the latest instant, and is booked when it ends).
    void AddLinkPeriod(TInstant from, TInstant to, THistoryLinkState state);
    void LinkStateChanged(TInstant at, THistoryLinkState state);
    // Time goes on without a record: the current minute's awake time and an
    // open period grow to `now`.
    void AdvanceTo(TInstant now);

    // The minutes held are FirstMinute() up to, not including, EndMinute().
    std::int64_t FirstMinute() const { return firstBlock_ * MinutesPerBlock; }
    std::int64_t EndMinute() const { return (firstBlock_ + static_cast<std::int64_t>(blocks_.size())) * MinutesPerBlock; }
    std::int64_t MinuteOf(TInstant at) const;
    TInstant StartOf(std::int64_t minute) const { return origin_ + minute * Minute; }
    TInstant Latest() const { return latest_; }
    // A minute as kept, with an open period's share so far; empty outside those held.
    THistoryMinute At(std::int64_t minute) const;
    // The wall clock's reading at the minute's start, with its UTC offset.
    TWallStamp Label(std::int64_t minute) const;
    // The instant the wall clock read `utcMs` (the latest, after a clock set
    // back), found through the labels: for a day picked from a calendar.
    TInstant InstantOfWall(std::int64_t utcMs) const;

    // The minutes that begin within [from, to).
    THistoryFigures Figures(TInstant from, TInstant to) const;
    // `count` columns of equal span over [from, to).
    std::vector<THistoryColumn> Columns(TInstant from, TInstant to, int count) const;

    // Bytes held, for the memory figure.
    std::size_t HeldBytes() const;

private:
    using TBlock = std::array<THistoryMinute, MinutesPerBlock>;
    struct TAnchor {
        std::int64_t Minute;
        TWallStamp Wall; // at the minute's start
    };

    THistoryMinute* Edit(std::int64_t minute);
    const THistoryMinute* Find(std::int64_t minute) const;
    void Book(TInstant from, TInstant to, std::uint16_t THistoryMinute::*field);
    void NoteWall(TInstant at, const TWallStamp& wall);
    void NoteLatest(TInstant at) { latest_ = at > latest_ ? at : latest_; }
    std::int64_t AwakeMs(std::int64_t minute, const THistoryMinute& kept) const;

    TInstant origin_;
    TInstant started_;
    TInstant latest_;
    std::int64_t firstBlock_ = 0;
    std::vector<std::unique_ptr<TBlock>> blocks_; // null: an hour without data
    std::vector<TAnchor> anchors_; // by minute, never empty
    THistoryLinkState openState_ = THistoryLinkState::Other;
    TInstant openSince_;
};
