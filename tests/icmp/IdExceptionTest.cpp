// The exception family: fixed messages, fields, and that a handler for
// EIdException catches every member.
#include "icmp/IdException.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

TEST(IdException, FixedMessagesAndFamily)
{
    struct Case {
        std::function<void()> raise;
        const char* message;
    } cases[] = {
        {[] { throw EIdConnClosedGracefully(); }, "Connection Closed Gracefully."},
        {[] { throw EIdInvalidSocket(); }, "Cannot allocate socket."},
        {[] { throw EIdIcmpException(RSIcmpNotEnoughBytes); }, "Not enough bytes received"},
        {[] { throw EIdIcmpException(RSIcmpNonEchoResponse); }, "Non-echo type response received"},
        {[] { throw EIdStackInitializationFailed(); }, "Winsock Initialization Error."},
        {[] { throw EIdStackSetSizeExceeded(); }, "Set Size Exceeded."},
        {[] { throw EIdInvalidIPAddress("1.2.3.4.5"); }, "1.2.3.4.5 is not a valid IP address."},
        {[] { throw EIdPackageSizeTooBig(); }, "Package Size Too Big."},
        {[] { throw EIdNotAllBytesSent(); }, "Not all bytes sent."},
        {[] { throw EIdSocketError(10051, "Socket Error # 10051\r\nNetwork is unreachable."); },
         "Socket Error # 10051\r\nNetwork is unreachable."},
        {[] { throw EIdWS2StubError("Error on call Winsock2 library function sendto", 0, "ignored"); },
         "Error on call Winsock2 library function sendto"},
    };
    for (const auto& c : cases) {
        try {
            c.raise();
            ADD_FAILURE() << c.message;
        } catch (const EIdException& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
    }
}

TEST(IdException, BranchesOfTheFamily)
{
    EXPECT_THROW(throw EIdConnClosedGracefully(), EIdSilentException);
    EXPECT_THROW(throw EIdStackSetSizeExceeded(), EIdStackError);
    EXPECT_THROW(throw EIdInvalidIPAddress("x"), EIdStackError);
    EXPECT_THROW(throw EIdStackInitializationFailed(), EIdStackError);
    EXPECT_THROW(throw EIdPackageSizeTooBig(), EIdSocketHandleError);
    EXPECT_THROW(throw EIdNotAllBytesSent(), EIdSocketHandleError);
    EXPECT_THROW(throw EIdSocketError(1, ""), std::exception);
}

TEST(IdException, WS2StubErrorMessageFromContextAndCode)
{
    EIdWS2StubError silent(FormatMessageText(RSWS2LoadError, "WS2_32.DLL"), 0, "no text");
    EXPECT_STREQ(silent.what(), "Error on loading Winsock2 library (WS2_32.DLL)");
    EXPECT_EQ(silent.OsErrorCode(), 0);
    EXPECT_EQ(silent.OsErrorText(), "");
    EXPECT_EQ(silent.Context(), "Error on loading Winsock2 library (WS2_32.DLL)");

    EIdWS2StubError withCode(FormatMessageText(RSWS2CallError, "recv"), 10093, "Successful WSAStartup not yet performed.");
    EXPECT_STREQ(withCode.what(),
                 "Error on call Winsock2 library function recv: Successful WSAStartup not yet performed.");
    EXPECT_EQ(withCode.OsErrorCode(), 10093);
    EXPECT_EQ(withCode.OsErrorText(), "Successful WSAStartup not yet performed.");
    EXPECT_EQ(withCode.Context(), "Error on call Winsock2 library function recv");
}

} // namespace
