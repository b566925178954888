// THistoryReader: history files read back as the records and sleeps they
// hold, in the files' order, for the minute bins and the link model's
// replay. Tolerant: a line that is not one of our rows (cut short, edited
// by hand, another program's, junk) is skipped and counted, and no bytes
// can make it fail. The instants it makes are the rows' UTC times in µs
// since 1970 (see HistoryReplayReading), never going back: a clock set back
// reads as time standing still. No heap block per row once warm. Portable.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "monitor/PingRecord.h"

// Takes what a history file holds; the record is valid during the call only.
class THistoryVisitor {
public:
    virtual void PingRead(const TPingRecord& record) = 0;
    virtual void SleepRead(const TSleep& sleep) = 0;

protected:
    ~THistoryVisitor() = default;
};

struct THistoryReadCounts {
    std::uint64_t Rows = 0; // pings and sleeps handed on
    std::uint64_t Skipped = 0; // lines that were no row of ours
    std::uint64_t Later = 0; // rows left out by SetEnd
};

// The clock reading a replay starts from: its instants are the wall clock's
// UTC, so bins made with it label and range replayed rows consistently.
TClockReading HistoryReplayReading(const TWallStamp& wall);

class THistoryReader {
public:
    THistoryReader();
    // A whole file's bytes (with or without the byte-order mark and caption
    // line). Files read one after the other continue one timeline, as a
    // replay through the link model needs: days read newest first (for the
    // bins alone) take a reader each.
    THistoryReadCounts Read(std::string_view bytes, THistoryVisitor& visitor);
    // Rows filed at or after `utcMs` are left out: today's file also holds
    // the rows of the run now going on, which its own bins have already.
    void SetEnd(std::int64_t utcMs) { endUtcMs_ = utcMs; }

private:
    enum class TLine { Row, Blank, Bad, Later };
    TLine ReadLine(std::string_view line, THistoryVisitor& visitor);
    TLine ReadSleep(const TWallStamp& filed, THistoryVisitor& visitor);
    TLine ReadPing(const TWallStamp& filed, THistoryVisitor& visitor);
    bool Split(std::string_view line);
    bool ParseTime(std::string_view text, TWallStamp& stamp);
    TInstant NextInstant(std::int64_t utcMs);

    std::array<std::string_view, 9> fields_;
    std::array<std::string, 9> unquoted_; // quoted fields, their quotes undone
    std::array<std::string, 5> statusNames_; // by TReplyStatusKind
    TPingRecord record_;
    std::int64_t lastUs_ = INT64_MIN;
    std::int64_t endUtcMs_ = INT64_MAX;
    // Rows of a file mostly share a date: its day number is worked out once.
    char lastDate_[10] = {};
    std::int32_t lastDays_ = 0;
};
