// TIdStack: the process-wide socket stack's platform-neutral half: IPv4
// literal rules, host resolution order, error checks and the error texts.
// The platform half (look-up, last error, the socket calls) is a subclass.
// Portable.
#pragma once

#include <array>
#include <cstdint>
#include <string>

using TIPv4Address = std::array<std::uint8_t, 4>; // network order, most significant first

class TIdStack {
public:
    virtual ~TIdStack() = default;

    // "localhost" in any case, then a literal as given, then the look-up.
    std::string ResolveHostAddress(const std::string& host);

    static bool IsIPv4Literal(const std::string& text);
    // Raises EIdInvalidIPAddress for a text that is no literal.
    static TIPv4Address TextToAddress(const std::string& text);
    static std::string AddressToText(const TIPv4Address& address);

    // For −1 stores the platform's last socket error and raises EIdSocketError.
    void RaiseIfSocketError(std::int32_t result);
    // "Socket Error # <code>\r\n<text>"; the text is empty for unlisted codes.
    virtual std::string TranslateSocketError(std::int32_t errorCode) const;

    std::int32_t LastError() const { return lastError_; }

    // The code of the calling thread's last failed socket call.
    virtual std::int32_t WSGetLastError() = 0;

protected:
    static std::string FormatSocketError(std::int32_t errorCode, const char* text);
    // The first IPv4 address of a name; false when the look-up found none
    // (the reason is then in WSGetLastError).
    virtual bool LookupHostName(const std::string& name, TIPv4Address& address) = 0;

private:
    std::int32_t lastError_ = 0;
};
