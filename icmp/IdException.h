// The echo engine's exception family. Every failure of the engine leaves it as
// one of these; the engine itself catches none. Portable: the Windows-only
// part (the system's text for an error code) is filled in by the caller.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

inline constexpr char RSConnectionClosedGracefully[] = "Connection Closed Gracefully.";
inline constexpr char RSCannotAllocateSocket[] = "Cannot allocate socket.";
inline constexpr char RSIcmpNotEnoughBytes[] = "Not enough bytes received";
inline constexpr char RSIcmpNonEchoResponse[] = "Non-echo type response received";
inline constexpr char RSWinsockInitializationError[] = "Winsock Initialization Error.";
inline constexpr char RSSetSizeExceeded[] = "Set Size Exceeded.";
inline constexpr char RSInvalidIPAddress[] = "%s is not a valid IP address.";
inline constexpr char RSPackageSizeTooBig[] = "Package Size Too Big.";
inline constexpr char RSNotAllBytesSent[] = "Not all bytes sent.";
inline constexpr char RSWS2LoadError[] = "Error on loading Winsock2 library (%s)";
inline constexpr char RSWS2CallError[] = "Error on call Winsock2 library function %s";

// Replaces the one "%s" of a fixed message; texts are the program's own, so
// no general formatter is needed.
std::string FormatMessageText(const char* pattern, const std::string& arg);

class EIdException : public std::runtime_error {
public:
    explicit EIdException(const std::string& message) : std::runtime_error(message) {}
};

class EIdSilentException : public EIdException {
public:
    using EIdException::EIdException;
};

class EIdConnClosedGracefully : public EIdSilentException {
public:
    EIdConnClosedGracefully() : EIdSilentException(RSConnectionClosedGracefully) {}
};

class EIdInvalidSocket : public EIdException {
public:
    EIdInvalidSocket() : EIdException(RSCannotAllocateSocket) {}
};

class EIdSocketError : public EIdException {
public:
    EIdSocketError(std::int32_t errorCode, const std::string& message)
        : EIdException(message), errorCode_(errorCode) {}
    std::int32_t ErrorCode() const { return errorCode_; }

private:
    std::int32_t errorCode_;
};

class EIdIcmpException : public EIdException {
public:
    using EIdException::EIdException;
};

class EIdWS2StubError : public EIdException {
public:
    // osErrorText is the system's wording for osErrorCode; it is dropped for
    // code 0, which leaves the context alone as the message.
    EIdWS2StubError(const std::string& context, std::int32_t osErrorCode, const std::string& osErrorText);

    std::int32_t OsErrorCode() const { return osErrorCode_; }
    const std::string& OsErrorText() const { return osErrorText_; }
    const std::string& Context() const { return context_; }

private:
    std::int32_t osErrorCode_;
    std::string osErrorText_;
    std::string context_;
};

class EIdStackError : public EIdException {
public:
    using EIdException::EIdException;
};

class EIdStackInitializationFailed : public EIdStackError {
public:
    EIdStackInitializationFailed() : EIdStackError(RSWinsockInitializationError) {}
};

class EIdStackSetSizeExceeded : public EIdStackError {
public:
    EIdStackSetSizeExceeded() : EIdStackError(RSSetSizeExceeded) {}
};

class EIdInvalidIPAddress : public EIdStackError {
public:
    explicit EIdInvalidIPAddress(const std::string& text)
        : EIdStackError(FormatMessageText(RSInvalidIPAddress, text)) {}
};

class EIdSocketHandleError : public EIdException {
public:
    using EIdException::EIdException;
};

class EIdPackageSizeTooBig : public EIdSocketHandleError {
public:
    EIdPackageSizeTooBig() : EIdSocketHandleError(RSPackageSizeTooBig) {}
};

class EIdNotAllBytesSent : public EIdSocketHandleError {
public:
    EIdNotAllBytesSent() : EIdSocketHandleError(RSNotAllBytesSent) {}
};
