// Feeds arbitrary bytes to the decoder, once as a single datagram in an
// allocation of exactly its length, and once as a run of datagrams through
// the wait loop sharing one receive buffer (short after long included).
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "icmp/EchoWait.h"
#include "icmp/IcmpPacket.h"
#include "icmp/IdException.h"

namespace {

// Input after the first two bytes (the sequence): datagrams, each a 2-byte
// length then its bytes; lengths beyond the receive buffer fail as the
// platform's receive call does for them.
class FuzzedIo : public TEchoWaitIo {
public:
    FuzzedIo(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::int32_t Receive(std::span<std::uint8_t> buffer, std::int32_t) override
    {
        if (size_ < 2)
            return 0;
        std::size_t length = data_[0] | data_[1] << 8;
        data_ += 2;
        size_ -= 2;
        if (length > buffer.size())
            throw EIdSocketError(10040, "too long");
        length = length < size_ ? length : size_;
        std::memcpy(buffer.data(), data_, length);
        data_ += length;
        size_ -= length;
        now_ += 1;
        return static_cast<std::int32_t>(length);
    }
    std::uint32_t ReadMillisecondCounter() override { return now_; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::uint32_t now_ = 0;
};

} // namespace

// The identifier the kept corpus carries (bytes 0x11 0x22 of each echo message).
constexpr std::uint16_t Identifier = 0x2211;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const std::uint16_t sequence = static_cast<std::uint16_t>(data[0] | data[1] << 8);

    auto exact = std::make_unique<std::uint8_t[]>(size - 2);
    std::memcpy(exact.get(), data + 2, size - 2);
    TReplyStatus status;
    try {
        if (DecodeEchoReply({exact.get(), size - 2}, Identifier, sequence, status) && status.Bytes != int(size - 2))
            __builtin_trap();
    } catch (const EIdIcmpException&) {
    }

    FuzzedIo io(data + 2, size - 2);
    std::uint8_t buffer[ReceiveBufferSize];
    try {
        TReplyStatus s = AwaitEchoReply(io, buffer, Identifier, sequence, 1000);
        // rsError is never delivered, and only a time-out comes without bytes.
        if (s.Kind == rsError || (s.Kind == rsTimeOut) != (s.Bytes == 0) ||
            (s.Kind == rsTimeOut && s.SeqId != sequence))
            __builtin_trap();
    } catch (const EIdException&) {
    }
    return 0;
}
