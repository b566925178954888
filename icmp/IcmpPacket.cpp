#include "icmp/IcmpPacket.h"

#include <algorithm>

#include "icmp/IdException.h"
#include "icmp/IdStack.h"

namespace {

constexpr std::uint8_t IcmpEchoReply = 0;
constexpr std::uint8_t IcmpUnreachable = 3;
constexpr std::uint8_t IcmpEchoRequest = 8;
constexpr std::uint8_t IcmpTimeExceeded = 11;
constexpr std::size_t IcmpHeaderSize = 8;
constexpr std::size_t IPv4FixedHeaderSize = 20; // the record reads TTL and source from it

void PutLittleEndian16(std::uint8_t* at, std::uint16_t value)
{
    at[0] = static_cast<std::uint8_t>(value);
    at[1] = static_cast<std::uint8_t>(value >> 8);
}

std::uint16_t GetLittleEndian16(std::span<const std::uint8_t> bytes, std::size_t at)
{
    return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

} // namespace

std::uint16_t InternetChecksum(std::span<const std::uint8_t> bytes)
{
    std::uint32_t sum = 0;
    std::size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2)
        sum += static_cast<std::uint32_t>(bytes[i] | bytes[i + 1] << 8);
    if (i < bytes.size())
        sum += bytes[i];
    sum = (sum >> 16) + (sum & 0xFFFF);
    sum += sum >> 16;
    return static_cast<std::uint16_t>(~sum);
}

void BuildEchoRequest(std::span<std::uint8_t, EchoRequestSize> request, std::uint16_t identifier,
                      std::uint16_t sequence, std::uint32_t counter, std::string_view data)
{
    std::fill(request.begin(), request.end(), std::uint8_t{0});
    request[0] = IcmpEchoRequest;
    request[1] = 0;
    PutLittleEndian16(&request[4], identifier);
    PutLittleEndian16(&request[6], sequence);
    for (int i = 0; i < 4; ++i)
        request[8 + i] = static_cast<std::uint8_t>(counter >> (8 * i));
    auto payload = request.subspan<EchoPayloadOffset, EchoPayloadSize>();
    std::size_t used = std::min(data.size(), payload.size());
    std::copy_n(data.begin(), used, payload.begin());
    std::fill(payload.begin() + static_cast<std::ptrdiff_t>(used), payload.end(), std::uint8_t{'E'});
    PutLittleEndian16(&request[2], InternetChecksum(request));
}

void SetTimeOut(TReplyStatus& status, std::uint16_t sequence)
{
    status.Bytes = 0;
    status.AddressFrom = "0.0.0.0";
    status.IcmpType = 0;
    status.SeqId = sequence;
    status.TimeToLive = 0;
    status.Kind = rsTimeOut;
}

namespace {

// Where the identifier of the echo message lies that the datagram answers or
// quotes (its sequence follows 2 bytes later); 0 when it is not inside the
// datagram. An error report quotes the request's IPv4 header, whose length is
// read from that header itself: it need not match the report's own.
std::size_t EchoFieldsAt(std::span<const std::uint8_t> datagram, std::size_t h, bool quoted)
{
    std::size_t at = h + 4;
    if (quoted) {
        const std::size_t q = h + IcmpHeaderSize;
        if (q >= datagram.size())
            return 0;
        const std::size_t quotedHeader = 4u * (datagram[q] & 0x0Fu);
        // Shorter than an IPv4 header: nothing quoted here is our request.
        if (quotedHeader < IPv4FixedHeaderSize)
            return 0;
        at = q + quotedHeader + 4;
    }
    return at + 4 <= datagram.size() ? at : 0;
}

bool CarriesEcho(std::span<const std::uint8_t> datagram, std::size_t h, bool quoted, std::uint16_t identifier,
                 std::uint16_t sequence)
{
    const std::size_t at = EchoFieldsAt(datagram, h, quoted);
    return at != 0 && GetLittleEndian16(datagram, at) == identifier && GetLittleEndian16(datagram, at + 2) == sequence;
}

} // namespace

bool DecodeEchoReply(std::span<const std::uint8_t> datagram, std::uint16_t identifier, std::uint16_t sequence,
                     TReplyStatus& status)
{
    const std::size_t n = datagram.size();
    if (n == 0) {
        SetTimeOut(status, sequence);
        return true;
    }
    status.Kind = rsError;
    const std::size_t h = 4u * (datagram[0] & 0x0Fu);
    // A header length below the fixed 20 bytes is malformed; the record would
    // read TTL and source beyond the datagram, so it counts as too short too.
    if (n < h + IcmpHeaderSize || n < IPv4FixedHeaderSize)
        throw EIdIcmpException(RSIcmpNotEnoughBytes);

    const std::uint8_t type = datagram[h];
    switch (type) {
    case IcmpEchoReply:
    case IcmpEchoRequest:
        status.Kind = rsEcho;
        break;
    case IcmpUnreachable:
        status.Kind = rsErrorUnreachable;
        break;
    case IcmpTimeExceeded:
        status.Kind = rsErrorTTLExceeded;
        break;
    default:
        // The raw socket sees all ICMP of the machine: a message of another
        // type is about our request only when it carries or quotes it.
        if (CarriesEcho(datagram, h, false, identifier, sequence) ||
            CarriesEcho(datagram, h, true, identifier, sequence))
            throw EIdIcmpException(RSIcmpNonEchoResponse);
        return false;
    }
    // An error report too short to quote the request's identifier and
    // sequence cannot be shown to be about this request: the wait goes on.
    if (!CarriesEcho(datagram, h, status.Kind != rsEcho, identifier, sequence))
        return false;

    status.Bytes = static_cast<std::int32_t>(n);
    status.AddressFrom = TIdStack::AddressToText({datagram[12], datagram[13], datagram[14], datagram[15]});
    status.IcmpType = type;
    status.SeqId = sequence;
    status.TimeToLive = datagram[8];
    return true;
}
