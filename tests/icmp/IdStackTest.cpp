// The stack's platform-neutral rules: which texts are IPv4 literals and what
// they mean, the order of host resolution, and the socket error texts.
#include "icmp/IdStack.h"

#include <gtest/gtest.h>

#include "icmp/IdException.h"

namespace {

// Counts look-ups; answers names from a small table, anything else with a
// chosen error code.
class ScriptedStack : public TIdStack {
public:
    int lookups = 0;
    std::string lastName;
    std::int32_t failureCode = 11001;

protected:
    bool LookupHostName(const std::string& name, TIPv4Address& address) override
    {
        ++lookups;
        lastName = name;
        if (name == "target.lab.test") {
            address = {203, 0, 113, 10};
            return true;
        }
        return false;
    }
    std::int32_t WSGetLastError() override { return failureCode; }
};

TEST(IPv4Literal, FormsAndTheirAddresses)
{
    struct Case {
        const char* text;
        TIPv4Address address;
    } cases[] = {
        {"127.0.0.1", {127, 0, 0, 1}},
        {"10.1", {10, 0, 0, 1}},
        {"10.1.2", {10, 1, 0, 2}},
        {"1..2.3", {0, 0, 0, 1}},  // second part empty: one-part form of "1"
        {"1.2..4", {1, 0, 0, 2}},  // third part empty: two-part form of "1.2"
        {"1.2.3.", {1, 2, 0, 3}},  // rest empty: three-part form
        {"010.001.002.003", {10, 1, 2, 3}},
        {"4294967295", {255, 255, 255, 255}},
        {"3232235777", {192, 168, 1, 1}},
        {"0", {0, 0, 0, 0}},
        {"10.", {0, 0, 0, 10}},
        {"255.16777215", {255, 255, 255, 255}},
        {"1.2.65535", {1, 2, 255, 255}},
        {"255.255.255.255", {255, 255, 255, 255}},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(TIdStack::IsIPv4Literal(c.text)) << c.text;
        EXPECT_EQ(TIdStack::TextToAddress(c.text), c.address) << c.text;
    }
}

TEST(IPv4Literal, TextsThatAreNoLiteral)
{
    for (const char* text : {"", "1.2.3.4.5", "256.1.1.1", "1.2.3.256", "4294967296", "1.16777216",
                             "1.2.65536", "256.1", "a.b.c.d", "localhost", "-1", "+1", "0x7f.1", " 1.2.3.4",
                             "1.2.3.4 ", ".1", "1.2.3.x", "99999999999999999999"}) {
        EXPECT_FALSE(TIdStack::IsIPv4Literal(text)) << text;
        try {
            TIdStack::TextToAddress(text);
            ADD_FAILURE() << text;
        } catch (const EIdInvalidIPAddress& e) {
            EXPECT_EQ(std::string(e.what()), std::string(text) + " is not a valid IP address.");
        }
    }
}

TEST(IPv4Literal, AddressToTextHasNoLeadingZeros)
{
    EXPECT_EQ(TIdStack::AddressToText({10, 1, 2, 3}), "10.1.2.3");
    EXPECT_EQ(TIdStack::AddressToText({0, 0, 0, 0}), "0.0.0.0");
    EXPECT_EQ(TIdStack::AddressToText({255, 100, 9, 10}), "255.100.9.10");
}

TEST(ResolveHostAddress, LocalhostInAnyCaseWithoutLookUp)
{
    ScriptedStack stack;
    for (const char* host : {"localhost", "LOCALHOST", "LocalHost", "lOcAlHoSt"})
        EXPECT_EQ(stack.ResolveHostAddress(host), "127.0.0.1") << host;
    EXPECT_EQ(stack.lookups, 0);
}

TEST(ResolveHostAddress, LiteralsPassUnchangedWithoutLookUp)
{
    ScriptedStack stack;
    for (const char* host : {"10.1", "010.001.002.003", "1..2.3", "127.0.0.1"})
        EXPECT_EQ(stack.ResolveHostAddress(host), host);
    EXPECT_EQ(stack.lookups, 0);
}

TEST(ResolveHostAddress, OtherTextsAreLookedUp)
{
    ScriptedStack stack;
    EXPECT_EQ(stack.ResolveHostAddress("target.lab.test"), "203.0.113.10");
    for (const char* host : {"1.2.3.4.5", "256.1.1.1", "", "localhost."}) {
        EXPECT_THROW(stack.ResolveHostAddress(host), EIdSocketError) << host;
        EXPECT_EQ(stack.lastName, host);
    }
    EXPECT_EQ(stack.lookups, 5);
}

TEST(ResolveHostAddress, FailedLookUpCarriesThePlatformCode)
{
    ScriptedStack stack;
    stack.failureCode = 11004;
    try {
        stack.ResolveHostAddress("nowhere.lab.test");
        ADD_FAILURE();
    } catch (const EIdSocketError& e) {
        EXPECT_EQ(e.ErrorCode(), 11004);
        EXPECT_STREQ(e.what(), "Socket Error # 11004\r\n");
    }
    EXPECT_EQ(stack.LastError(), 11004);
}

TEST(RaiseIfSocketError, OnlyMinusOneRaises)
{
    ScriptedStack stack;
    stack.failureCode = 10040;
    for (std::int32_t result : {0, 1, 52, -2, 1024})
        EXPECT_NO_THROW(stack.RaiseIfSocketError(result)) << result;
    EXPECT_EQ(stack.LastError(), 0);
    try {
        stack.RaiseIfSocketError(-1);
        ADD_FAILURE();
    } catch (const EIdSocketError& e) {
        EXPECT_EQ(e.ErrorCode(), 10040);
        EXPECT_STREQ(e.what(), "Socket Error # 10040\r\nMessage too long.");
    }
    EXPECT_EQ(stack.LastError(), 10040);
}

TEST(TranslateSocketError, TableTexts)
{
    struct Case {
        std::int32_t code;
        const char* text;
    } cases[] = {
        {10004, "Interrupted system call."},
        {10013, "Access denied."},
        {10035, "Operation would block. "}, // the trailing blank is the program's own
        {10040, "Message too long."},
        {10047, "Address family not supported by protocol family."},
        {10051, "Network is unreachable."},
        {10058, "Cannot send or receive after socket is closed."},
        {10065, "No route to host."},
        {10066, "Directory not empty"}, // no full stop
        {11001, ""},  // answered by the Windows stack, not by this table
        {11004, ""},
        {10093, ""},
        {0, ""},
        {-1, ""},
        {10005, ""},
    };
    ScriptedStack stack;
    for (const auto& c : cases)
        EXPECT_EQ(stack.TranslateSocketError(c.code), "Socket Error # " + std::to_string(c.code) + "\r\n" + c.text);
}

} // namespace
