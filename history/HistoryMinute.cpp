#include "history/HistoryMinute.h"

#include <bit>

void THistoryMinute::AddEcho(std::uint32_t tripUs)
{
    if (Echoes == UINT16_MAX)
        return; // the minute is full; its figures stay consistent
    if (Echoes == 0) {
        MinTrip = MaxTrip = FirstTrip = tripUs;
    } else {
        ChangeSum += tripUs > LastTrip ? tripUs - LastTrip : LastTrip - tripUs;
        MinTrip = tripUs < MinTrip ? tripUs : MinTrip;
        MaxTrip = tripUs > MaxTrip ? tripUs : MaxTrip;
    }
    LastTrip = tripUs;
    TripSum += tripUs;
    ++Echoes;
    std::uint8_t& bucket = Histogram[static_cast<std::size_t>(BucketOf(tripUs))];
    if (bucket < UINT8_MAX)
        ++bucket;
}

void THistoryMinute::AddFailure(TReplyStatusKind kind)
{
    switch (kind) {
    case rsTimeOut: return Bump(TimeOuts);
    case rsErrorUnreachable: return Bump(Unreachable);
    case rsErrorTTLExceeded: return Bump(TtlExceeded);
    default: return Bump(OtherFailures);
    }
}

int THistoryMinute::BucketOf(std::uint32_t tripUs)
{
    if (tripUs < 128)
        return 0;
    const int octave = std::bit_width(tripUs) - 1; // 7 .. 31
    const int upperHalf = static_cast<int>(tripUs >> (octave - 1)) & 1;
    const int bucket = 1 + 2 * (octave - 7) + upperHalf;
    return bucket < Buckets ? bucket : Buckets - 1;
}

std::uint32_t THistoryMinute::BucketFloor(int bucket)
{
    if (bucket <= 0)
        return 0;
    const int octave = 7 + (bucket - 1) / 2;
    const std::uint32_t floor = std::uint32_t{1} << octave;
    return (bucket - 1) % 2 ? floor + floor / 2 : floor;
}
