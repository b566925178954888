#include "icmp/IdStack.h"

#include <optional>
#include <string_view>

#include "icmp/IdException.h"
#include "text/AsciiCase.h"

namespace {

// A whole decimal number no greater than max; digits only, leading zeros allowed.
std::optional<std::uint32_t> ParseLiteralPart(std::string_view text, std::uint32_t max)
{
    if (text.empty())
        return std::nullopt;
    std::uint64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
        if (value > max)
            return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
}

// Cuts at "." three times: three parts and the rest, which keeps any further ".".
std::array<std::string_view, 4> CutLiteral(std::string_view text)
{
    std::array<std::string_view, 4> parts{};
    for (int i = 0; i < 3; ++i) {
        auto dot = text.find('.');
        if (dot == std::string_view::npos) {
            parts[i] = text;
            text = {};
            break;
        }
        parts[i] = text.substr(0, dot);
        text.remove_prefix(dot + 1);
    }
    parts[3] = text;
    return parts;
}

std::optional<TIPv4Address> ParseLiteral(std::string_view text)
{
    auto p = CutLiteral(text);
    // The form is chosen by the first empty part; parts after it are ignored.
    int used = p[1].empty() ? 1 : p[2].empty() ? 2 : p[3].empty() ? 3 : 4;
    std::uint32_t lastMax = used == 1 ? 0xFFFFFFFFu : used == 2 ? 0xFFFFFFu : used == 3 ? 0xFFFFu : 0xFFu;
    std::uint32_t leading[3] = {};
    for (int i = 0; i < used - 1; ++i) {
        auto v = ParseLiteralPart(p[i], 255);
        if (!v)
            return std::nullopt;
        leading[i] = *v;
    }
    auto last = ParseLiteralPart(p[used - 1], lastMax);
    if (!last)
        return std::nullopt;
    std::uint32_t value = *last;
    for (int i = 0; i < used - 1; ++i)
        value |= leading[i] << (24 - 8 * i);
    return TIPv4Address{static_cast<std::uint8_t>(value >> 24), static_cast<std::uint8_t>(value >> 16),
                        static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)};
}

const char* CommonSocketErrorText(std::int32_t code)
{
    switch (code) {
    case 10004: return "Interrupted system call.";
    case 10009: return "Bad file number.";
    case 10013: return "Access denied.";
    case 10014: return "Bad address.";
    case 10022: return "Invalid argument.";
    case 10024: return "Too many open files.";
    case 10035: return "Operation would block. ";
    case 10036: return "Operation now in progress.";
    case 10037: return "Operation already in progress.";
    case 10038: return "Socket operation on non-socket.";
    case 10039: return "Destination address required.";
    case 10040: return "Message too long.";
    case 10041: return "Protocol wrong type for socket.";
    case 10042: return "Bad protocol option.";
    case 10043: return "Protocol not supported.";
    case 10044: return "Socket type not supported.";
    case 10045: return "Operation not supported on socket.";
    case 10046: return "Protocol family not supported.";
    case 10047: return "Address family not supported by protocol family.";
    case 10048: return "Address already in use.";
    case 10049: return "Cannot assign requested address.";
    case 10050: return "Network is down.";
    case 10051: return "Network is unreachable.";
    case 10052: return "Net dropped connection or reset.";
    case 10053: return "Software caused connection abort.";
    case 10054: return "Connection reset by peer.";
    case 10055: return "No buffer space available.";
    case 10056: return "Socket is already connected.";
    case 10057: return "Socket is not connected.";
    case 10058: return "Cannot send or receive after socket is closed.";
    case 10059: return "Too many references, cannot splice.";
    case 10060: return "Connection timed out.";
    case 10061: return "Connection refused.";
    case 10062: return "Too many levels of symbolic links.";
    case 10063: return "File name too long.";
    case 10064: return "Host is down.";
    case 10065: return "No route to host.";
    case 10066: return "Directory not empty";
    default: return "";
    }
}

} // namespace

std::string TIdStack::ResolveHostAddress(const std::string& host)
{
    if (txt::EqualsIgnoringCase(host, "LOCALHOST"))
        return "127.0.0.1";
    if (IsIPv4Literal(host))
        return host;
    TIPv4Address address{};
    if (!LookupHostName(host, address))
        RaiseIfSocketError(-1);
    return AddressToText(address);
}

bool TIdStack::IsIPv4Literal(const std::string& text)
{
    return ParseLiteral(text).has_value();
}

TIPv4Address TIdStack::TextToAddress(const std::string& text)
{
    auto address = ParseLiteral(text);
    if (!address)
        throw EIdInvalidIPAddress(text);
    return *address;
}

std::string TIdStack::AddressToText(const TIPv4Address& address)
{
    return std::to_string(address[0]) + "." + std::to_string(address[1]) + "." + std::to_string(address[2]) +
           "." + std::to_string(address[3]);
}

void TIdStack::RaiseIfSocketError(std::int32_t result)
{
    if (result != -1)
        return;
    lastError_ = WSGetLastError();
    throw EIdSocketError(lastError_, TranslateSocketError(lastError_));
}

std::string TIdStack::TranslateSocketError(std::int32_t errorCode) const
{
    return FormatSocketError(errorCode, CommonSocketErrorText(errorCode));
}

std::string TIdStack::FormatSocketError(std::int32_t errorCode, const char* text)
{
    return "Socket Error # " + std::to_string(errorCode) + "\r\n" + text;
}
