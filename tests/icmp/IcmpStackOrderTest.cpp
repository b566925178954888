// Process-wide binding of WS2_32, checked in the order a process goes
// through it: nothing bound before the service starts, then each function
// looked up on its first call only. The cases share one process and must run
// in the order written.
#include <gtest/gtest.h>

#include <cstdlib>

#include "icmp/IdComponent.h"
#include "icmp/IdIcmpClient.h"
#include "icmp/IdWinSock2.h"

namespace {

TEST(Winsock2Binding, CallBeforeTheLibraryIsLoadedRaises)
{
    ASSERT_FALSE(idwinsock2::Winsock2Loaded());
    try {
        idwinsock2::socket(AF_INET, SOCK_RAW, IPPROTO_ICMP);
        ADD_FAILURE();
    } catch (const EIdWS2StubError& e) {
        EXPECT_EQ(e.OsErrorCode(), 10093);
        EXPECT_EQ(e.Context(), "Error on call Winsock2 library function socket");
        EXPECT_EQ(std::string(e.what()), e.Context() + ": " + e.OsErrorText());
    }
}

TEST(Winsock2Binding, LocalhostAndLiteralsNeedNoLookUp)
{
    TIdIcmpClient client;
    ASSERT_TRUE(idwinsock2::Winsock2Loaded());
    EXPECT_TRUE(idwinsock2::FunctionBound("WSAStartup"));
    EXPECT_FALSE(idwinsock2::FunctionBound("socket"));
    for (const char* host : {"LocalHost", "LOCALHOST", "localhost"})
        EXPECT_EQ(GStack->ResolveHostAddress(host), "127.0.0.1");
    for (const char* host : {"10.1", "10.1.2", "1..2.3", "1.2..4", "010.001.002.003"})
        EXPECT_EQ(GStack->ResolveHostAddress(host), host);

    client.SetHost("LocalHost");
    client.SetReceiveTimeout(2000);
    client.Ping();
    EXPECT_EQ(client.ReplyStatus().Kind, rsEcho);
    EXPECT_EQ(client.ReplyStatus().AddressFrom, "127.0.0.1");
    EXPECT_TRUE(idwinsock2::FunctionBound("sendto"));
    EXPECT_TRUE(idwinsock2::FunctionBound("recv"));
    EXPECT_FALSE(idwinsock2::FunctionBound("gethostbyname")) << "a name was looked up";
}

} // namespace

namespace {

// Run by ws2-missing.sh with WS2_32 disabled for this process.
TEST(Winsock2Missing, StartingTheServiceRaisesTheLoadErrorEveryTime)
{
    if (!std::getenv("ZV_EXPECT_WS2_MISSING"))
        GTEST_SKIP() << "needs WS2_32 disabled (ws2-missing.sh)";
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            TIdIcmpClient client;
            ADD_FAILURE() << "the socket service started";
        } catch (const EIdWS2StubError& e) {
            EXPECT_EQ(e.Context(), "Error on loading Winsock2 library (WS2_32.DLL)");
            EXPECT_EQ(e.OsErrorCode(), 126); // ERROR_MOD_NOT_FOUND
            EXPECT_FALSE(e.OsErrorText().empty());
            EXPECT_EQ(std::string(e.what()), e.Context() + ": " + e.OsErrorText());
        }
        EXPECT_EQ(TIdComponent::InstanceCount(), 0) << "the failed component is not counted";
        EXPECT_EQ(GStack, nullptr);
    }
}

} // namespace
