// The real engine under Wine inside the network lab: one case per reply kind
// and per failure, against kernel-made answers and the scripted responder.
#include "icmp/IdIcmpClient.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "icmp/IdAntiFreeze.h"
#include "icmp/IdException.h"
#include "tests/lab/LabAddresses.h"
#include "toolkit/Application.h"

namespace {

// A client with the console's settings and a record of every OnReply call.
struct Pinger {
    TIdIcmpClient client;
    std::vector<TReplyStatus> replies;

    explicit Pinger(const std::string& host, std::int32_t timeout = 1000)
    {
        client.SetHost(host);
        client.SetReceiveTimeout(timeout);
        client.SetOnReply([this](tk::Component*, const TReplyStatus& r) { replies.push_back(r); });
    }
    const TReplyStatus& Ping()
    {
        client.Ping();
        return client.ReplyStatus();
    }
};

TEST(IcmpLab, EchoReplyFromAHostBehindTheRouter)
{
    for (const char* host : {lab::KernelEcho, lab::ReplyNow}) {
        Pinger p(host);
        std::uint16_t sent = p.client.CurrentSequence();
        const TReplyStatus& r = p.Ping();
        EXPECT_EQ(r.Kind, rsEcho) << host;
        EXPECT_EQ(r.IcmpType, 0) << host;
        EXPECT_EQ(r.Bytes, 72) << host;
        EXPECT_EQ(r.AddressFrom, host);
        EXPECT_EQ(r.SeqId, sent) << host;
        EXPECT_GT(r.TimeToLive, 0) << host;
        EXPECT_EQ(p.replies.size(), 1u) << host;
        EXPECT_FALSE(p.client.Binding().HandleAllocated());
    }
}

// Linux answers through an unreachable or prohibit route at most once a
// second per source after a burst of five (net.ipv4.route.error_cost, which
// icmp_ratelimit does not touch), and the lab's self-test may have just used
// the burst up: each such case waits for its second.
constexpr DWORD RouteErrorSpacingMs = 1100;

TEST(IcmpLab, ErrorReportsAboutThisRequest)
{
    struct Case {
        const char* host;
        TReplyStatusKind kind;
        std::uint8_t type;
        std::vector<std::string> from; // the reporting host
        std::int32_t bytes;            // kernels quote the whole request, the responder 8 bytes of it
        bool routeError = false;
    } cases[] = {
        {lab::Unreachable, rsErrorUnreachable, 3, {lab::Reporter}, 56},
        {lab::TimeExceeded, rsErrorTTLExceeded, 11, {lab::Reporter}, 56},
        // The report's own header carries options; the request it quotes does not.
        {lab::UnreachableOptions, rsErrorUnreachable, 3, {lab::Reporter}, 60 + 8 + 28},
        {lab::KernelUnreachable, rsErrorUnreachable, 3, {lab::Router}, 100, true},
        {lab::KernelProhibit, rsErrorUnreachable, 3, {lab::Router}, 100, true},
        {lab::KernelReject, rsErrorUnreachable, 3, {lab::Router}, 100},
        {lab::KernelLoop, rsErrorTTLExceeded, 11, {lab::Router, lab::RouterHostsSide, "203.0.113.3"}, 100},
    };
    for (const auto& c : cases) {
        if (c.routeError)
            Sleep(RouteErrorSpacingMs);
        Pinger p(c.host);
        std::uint16_t sent = p.client.CurrentSequence();
        const TReplyStatus& r = p.Ping();
        EXPECT_EQ(r.Kind, c.kind) << c.host;
        EXPECT_EQ(r.IcmpType, c.type) << c.host;
        EXPECT_EQ(r.SeqId, sent) << c.host;
        EXPECT_EQ(r.Bytes, c.bytes) << c.host;
        EXPECT_NE(std::find(c.from.begin(), c.from.end(), r.AddressFrom), c.from.end())
            << c.host << " reported by " << r.AddressFrom;
        EXPECT_EQ(p.replies.size(), 1u) << c.host;
    }
}

TEST(IcmpLab, ForeignSequenceIsSkippedAndTheRightReplyAccepted)
{
    Pinger p(lab::ForeignSeqFirst);
    std::uint16_t sent = p.client.CurrentSequence();
    const TReplyStatus& r = p.Ping();
    EXPECT_EQ(r.Kind, rsEcho);
    EXPECT_EQ(r.SeqId, sent);
    EXPECT_EQ(r.AddressFrom, lab::ForeignSeqFirst);
    // The right reply comes ForeignSeqGapMs after the foreign one.
    EXPECT_GE(r.TripTime + 2, lab::ForeignSeqGapMs);
}

TEST(IcmpLab, NothingInTimeIsATimeOutOfTheSentSequence)
{
    for (const char* host : {lab::Silent, lab::KernelBlackhole, lab::Reply700Ms}) {
        Pinger p(host, 500);
        std::uint16_t sent = p.client.CurrentSequence();
        const TReplyStatus& r = p.Ping();
        EXPECT_EQ(r.Kind, rsTimeOut) << host;
        EXPECT_EQ(r.Bytes, 0);
        EXPECT_EQ(r.AddressFrom, "0.0.0.0");
        EXPECT_EQ(r.IcmpType, 0);
        EXPECT_EQ(r.TimeToLive, 0);
        EXPECT_EQ(r.SeqId, sent);
        EXPECT_GE(r.TripTime, 499u) << host;
        EXPECT_LT(r.TripTime, 650u) << host;
        EXPECT_EQ(p.replies.size(), 1u);
        EXPECT_EQ(p.client.CurrentSequence(), static_cast<std::uint16_t>(sent + 1));
    }
    // The late answer to the 700 ms host went to a socket that is closed by now.
    Sleep(300);
    Pinger next(lab::ReplyNow);
    EXPECT_EQ(next.Ping().Kind, rsEcho);
}

TEST(IcmpLab, ForeignRepliesNeitherAnswerAPingNorCutItsWaitShort)
{
    // The flood host never answers; its replies carry our sequence under a
    // foreign identifier, or a foreign sequence under ours, about 20 a second.
    Pinger p(lab::ForeignFlood, 1000);
    for (int i = 0; i < 3; ++i) {
        std::uint16_t sent = p.client.CurrentSequence();
        const TReplyStatus& r = p.Ping();
        EXPECT_EQ(r.Kind, rsTimeOut) << i;
        EXPECT_EQ(r.Bytes, 0) << i;
        EXPECT_EQ(r.AddressFrom, "0.0.0.0") << i;
        EXPECT_EQ(r.IcmpType, 0) << i;
        EXPECT_EQ(r.TimeToLive, 0) << i;
        EXPECT_EQ(r.SeqId, sent) << i;
        EXPECT_GE(r.TripTime, 999u) << i;
        EXPECT_LT(r.TripTime, 1150u) << i;
    }
    EXPECT_EQ(p.replies.size(), 3u);
}

TEST(IcmpLab, OtherIcmpAboutOtherTrafficNeitherAnswersNorEndsAPing)
{
    // Before each reply: a source quench, redirect and parameter problem about
    // another program's request, a router advertisement, a timestamp request.
    Pinger p(lab::Unrelated, 1000);
    for (int i = 0; i < 12; ++i) {
        std::uint16_t sent = p.client.CurrentSequence();
        const TReplyStatus& r = p.Ping();
        EXPECT_EQ(r.Kind, rsEcho) << i;
        EXPECT_EQ(r.IcmpType, 0) << i;
        EXPECT_EQ(r.AddressFrom, lab::Unrelated) << i;
        EXPECT_EQ(r.SeqId, sent) << i;
        EXPECT_GE(r.TripTime + 2, lab::UnrelatedCount * lab::UnrelatedGapMs) << i;
    }
    EXPECT_EQ(p.replies.size(), 12u);
}

// Two copies of a pinger at once, both sending the first sequence number: one
// pings the silent host, the other (this program again, in a second process)
// a host that answers at once.
constexpr char PingersStopEvent[] = "ZvLabPingersStop";
constexpr char PingerReadyEvent[] = "ZvLabPingerReady";

// Disabled: run only as the second process of TwoProgramsTakeOnlyTheirOwnReplies.
TEST(IcmpLabSecondProcess, DISABLED_PingsTheAnsweringHostUntilToldToStop)
{
    HANDLE stop = OpenEventA(SYNCHRONIZE, FALSE, PingersStopEvent);
    HANDLE ready = OpenEventA(EVENT_MODIFY_STATE, FALSE, PingerReadyEvent);
    ASSERT_TRUE(stop && ready);
    Pinger p(lab::ReplyNow);
    const DWORD deadline = GetTickCount() + 15000;
    int pings = 0;
    do {
        p.client.Ping("", TIdIcmpClient::FirstSequence);
        const TReplyStatus& r = p.client.ReplyStatus();
        ASSERT_EQ(r.Kind, rsEcho) << pings;
        ASSERT_EQ(r.AddressFrom, lab::ReplyNow) << pings;
        ASSERT_EQ(r.SeqId, TIdIcmpClient::FirstSequence);
        if (++pings == 1)
            SetEvent(ready);
    } while (WaitForSingleObject(stop, 40) == WAIT_TIMEOUT && GetTickCount() < deadline);
    EXPECT_GT(pings, 10);
    CloseHandle(stop);
    CloseHandle(ready);
}

TEST(IcmpLab, TwoProgramsTakeOnlyTheirOwnReplies)
{
    HANDLE stop = CreateEventA(nullptr, TRUE, FALSE, PingersStopEvent);
    HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, PingerReadyEvent);
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string command =
        std::string("\"") + exe + "\" --gtest_also_run_disabled_tests --gtest_filter=IcmpLabSecondProcess.*";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    BOOL started = CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
    ASSERT_TRUE(started);
    EXPECT_EQ(WaitForSingleObject(ready, 10000), WAIT_OBJECT_0);

    Pinger p(lab::Silent, 500);
    for (int i = 0; i < 4; ++i) {
        p.client.Ping("", TIdIcmpClient::FirstSequence);
        const TReplyStatus& r = p.client.ReplyStatus();
        EXPECT_EQ(r.Kind, rsTimeOut) << i << ": " << r.AddressFrom;
        EXPECT_EQ(r.AddressFrom, "0.0.0.0") << i;
    }
    SetEvent(stop);
    DWORD exitCode = 1;
    if (WaitForSingleObject(pi.hProcess, 20000) != WAIT_OBJECT_0) {
        ADD_FAILURE() << "the answered pinger did not stop";
        TerminateProcess(pi.hProcess, 1);
        WaitForSingleObject(pi.hProcess, 5000);
    }
    GetExitCodeProcess(pi.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 0u) << "the answered pinger failed";
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    CloseHandle(stop);
    CloseHandle(ready);
}

TEST(IcmpLab, TripTimeOfADelayedReplyIsItsDelay)
{
    struct Case {
        const char* host;
        std::uint32_t delay;
    } cases[] = {{lab::Reply20Ms, 20}, {lab::Reply200Ms, 200}};
    for (const auto& c : cases) {
        Pinger p(c.host);
        const TReplyStatus& r = p.Ping();
        EXPECT_EQ(r.Kind, rsEcho);
        EXPECT_GE(r.TripTime + 1, c.delay) << c.host;
        EXPECT_LT(r.TripTime, c.delay + 100) << c.host;
    }
}

// Failures leave as exceptions: no OnReply, no new sequence, the last reply
// kept, and the socket left open for the next ping.
TEST(IcmpLab, RedirectEndsThePing)
{
    Pinger p(lab::ReplyNow);
    p.Ping();
    p.client.SetHost(lab::Redirect);
    try {
        p.client.Ping();
        ADD_FAILURE();
    } catch (const EIdIcmpException& e) {
        EXPECT_STREQ(e.what(), "Non-echo type response received");
    }
    EXPECT_EQ(p.replies.size(), 1u);
    EXPECT_EQ(p.client.ReplyStatus().AddressFrom, lab::ReplyNow) << "last reply kept";
    EXPECT_TRUE(p.client.Binding().HandleAllocated()) << "left open after an exception";
    p.client.SetHost(lab::ReplyNow);
    EXPECT_EQ(p.Ping().Kind, rsEcho);
    EXPECT_FALSE(p.client.Binding().HandleAllocated());
}

TEST(IcmpLab, DatagramOver1024BytesEndsThePingWithMessageTooLong)
{
    Pinger p(lab::BigReply);
    std::uint16_t sent = p.client.CurrentSequence();
    try {
        p.client.Ping();
        ADD_FAILURE();
    } catch (const EIdSocketError& e) {
        EXPECT_EQ(e.ErrorCode(), 10040);
        EXPECT_STREQ(e.what(), "Socket Error # 10040\r\nMessage too long.");
    }
    EXPECT_TRUE(p.replies.empty());
    EXPECT_EQ(p.client.CurrentSequence(), sent);
    EXPECT_TRUE(p.client.Binding().HandleAllocated());
    p.client.SetHost(lab::ReplyNow);
    const TReplyStatus& r = p.Ping();
    EXPECT_EQ(r.Kind, rsEcho);
    EXPECT_EQ(r.SeqId, sent);
}

TEST(IcmpLab, NamesFromTheLabsNameServer)
{
    Pinger known("now.lab.test");
    EXPECT_EQ(known.Ping().AddressFrom, lab::ReplyNow);
    EXPECT_EQ(known.client.ReplyStatus().Kind, rsEcho);

    Pinger unknown(lab::UnknownName);
    try {
        unknown.client.Ping();
        ADD_FAILURE();
    } catch (const EIdSocketError& e) {
        EXPECT_EQ(e.ErrorCode(), 11001);
        EXPECT_STREQ(e.what(), "Socket Error # 11001\r\nHost not found.");
    }
    EXPECT_TRUE(unknown.replies.empty());
    EXPECT_FALSE(unknown.client.Binding().HandleAllocated()) << "resolved before the socket is opened";
}

// The request as the responder received it, from its log.
std::vector<std::uint8_t> LastRequestLogged(const std::string& destination, int& ttl)
{
    const char* log = std::getenv(lab::ResponderLogEnv);
    if (!log)
        return {};
    std::ifstream in(std::string("Z:") + log);
    std::string line, last;
    while (std::getline(in, line))
        if (line.rfind("dst=" + destination + " ", 0) == 0)
            last = line;
    std::istringstream fields(last);
    std::string field;
    std::vector<std::uint8_t> bytes;
    while (fields >> field) {
        if (field.rfind("ttl=", 0) == 0)
            ttl = std::stoi(field.substr(4));
        if (field.rfind("icmp=", 0) == 0)
            for (std::size_t i = 5; i + 1 < field.size(); i += 2)
                bytes.push_back(static_cast<std::uint8_t>(std::stoi(field.substr(i, 2), nullptr, 16)));
    }
    return bytes;
}

TEST(IcmpLab, RequestOnTheWire)
{
    Pinger p(lab::ReplyNow);
    std::uint16_t sent = p.client.CurrentSequence();
    p.client.Ping("abc");
    ASSERT_EQ(p.client.ReplyStatus().Kind, rsEcho);
    int ttl = 0;
    std::vector<std::uint8_t> request = LastRequestLogged(lab::ReplyNow, ttl);
    ASSERT_EQ(request.size(), 52u) << "responder log " << (std::getenv(lab::ResponderLogEnv) ? "" : "not set");
    EXPECT_EQ(request[0], 8);
    EXPECT_EQ(request[1], 0);
    EXPECT_EQ(InternetChecksum(request), 0);
    std::uint16_t pid = static_cast<std::uint16_t>(GetCurrentProcessId());
    EXPECT_EQ(request[4], pid & 0xFF);
    EXPECT_EQ(request[5], pid >> 8);
    EXPECT_EQ(request[6], sent & 0xFF);
    EXPECT_EQ(request[7], sent >> 8);
    EXPECT_EQ(std::vector<std::uint8_t>(request.begin() + 12, request.begin() + 20), std::vector<std::uint8_t>(8, 0));
    EXPECT_EQ(std::string(request.begin() + 20, request.end()), "abc" + std::string(29, 'E'));
    EXPECT_TRUE(ttl == 128 || ttl == 127) << "time-to-live 128, less the router's hop: " << ttl;
}

// A message posted 100 ms into a 1000 ms ping of a silent host.
struct WaitProbe {
    static inline std::atomic<bool> pinging{false};
    static inline int handled = 0, handledWhilePinging = 0;
    static LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp)
    {
        if (msg != WM_APP)
            return DefWindowProcA(w, msg, wp, lp);
        ++handled;
        if (pinging)
            ++handledWhilePinging;
        return 0;
    }
};

int HandledDuringPing(bool active)
{
    static tk::Application* app = new tk::Application;
    (void)app;
    WNDCLASSA wc{};
    wc.lpfnWndProc = WaitProbe::Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "ZvLabWaitProbe";
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    WaitProbe::handled = WaitProbe::handledWhilePinging = 0;
    TIdAntiFreeze af;
    af.SetActive(active);
    Pinger p(lab::Silent);
    WaitProbe::pinging = true;
    std::thread poster([&] {
        Sleep(100);
        PostMessageA(window, WM_APP, 0, 0);
    });
    const TReplyStatus& r = p.Ping();
    WaitProbe::pinging = false;
    poster.join();
    EXPECT_EQ(r.Kind, rsTimeOut);
    int during = WaitProbe::handledWhilePinging;
    tk::TheApplication->ProcessMessages();
    EXPECT_EQ(WaitProbe::handled, 1);
    DestroyWindow(window);
    return during;
}

TEST(IcmpLab, WindowMessagesAreHandledWhileAPingWaits)
{
    EXPECT_EQ(HandledDuringPing(true), 1);
    EXPECT_EQ(HandledDuringPing(false), 0);
}

} // namespace
