// Responsive waiting under Wine: the current-instance rules, when messages
// are serviced, and a real socket wait that keeps the message queue moving.
#include "icmp/IdAntiFreeze.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "icmp/IdIcmpClient.h"
#include "icmp/IdException.h"
#include "icmp/IdSocketHandle.h"
#include "icmp/WaitSlices.h"
#include "toolkit/Application.h"

namespace {

tk::Application& App()
{
    static tk::Application* app = new tk::Application; // one per process, kept to the end
    return *app;
}

using Clock = std::chrono::steady_clock;

class CountingAntiFreeze : public TIdAntiFreezeBase {
public:
    int services = 0;
    Clock::time_point firstService;
    void Service() override
    {
        if (services++ == 0)
            firstService = Clock::now();
    }
};

// A window that counts the WM_APP messages it receives and notes whether a
// socket wait was running at the time.
struct Probe {
    static inline std::atomic<bool> waiting{false};
    static inline int handled = 0;
    static inline int handledWhileWaiting = 0;

    static LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp)
    {
        if (msg == WM_APP) {
            ++handled;
            if (waiting)
                ++handledWhileWaiting;
            return 0;
        }
        return DefWindowProcA(w, msg, wp, lp);
    }

    Probe()
    {
        WNDCLASSA wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "ZvAntiFreezeProbe";
        RegisterClassA(&wc);
        window = CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
        handled = handledWhileWaiting = 0;
    }
    ~Probe() { DestroyWindow(window); }

    HWND window;
};

long long MillisecondsSince(Clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

TEST(AntiFreeze, DefaultsAndCurrentInstance)
{
    App();
    EXPECT_EQ(TIdAntiFreezeBase::Current(), nullptr);
    auto* first = new TIdAntiFreeze;
    EXPECT_TRUE(first->Active());
    EXPECT_TRUE(first->ApplicationHasPriority());
    EXPECT_EQ(first->IdleTimeOut(), 250);
    EXPECT_TRUE(first->OnlyWhenIdle());
    EXPECT_EQ(TIdAntiFreezeBase::Current(), first);
    auto* second = new TIdAntiFreeze;
    EXPECT_EQ(TIdAntiFreezeBase::Current(), second);
    delete first; // any destruction leaves none current
    EXPECT_EQ(TIdAntiFreezeBase::Current(), nullptr);
    EXPECT_FALSE(TIdAntiFreezeBase::InUse());
    delete second;
    EXPECT_EQ(TIdAntiFreezeBase::Current(), nullptr);
}

TEST(AntiFreeze, InUseOnlyOnTheMainThreadOfAnActiveInstance)
{
    App();
    EXPECT_TRUE(TIdAntiFreezeBase::IsMainThread());
    EXPECT_FALSE(TIdAntiFreezeBase::InUse()) << "no instance";
    CountingAntiFreeze af;
    EXPECT_TRUE(TIdAntiFreezeBase::InUse());
    bool otherMain = true, otherInUse = true;
    std::thread([&] {
        otherMain = TIdAntiFreezeBase::IsMainThread();
        otherInUse = TIdAntiFreezeBase::InUse();
    }).join();
    EXPECT_FALSE(otherMain);
    EXPECT_FALSE(otherInUse);
    af.SetActive(false);
    EXPECT_FALSE(TIdAntiFreezeBase::InUse());
}

TEST(AntiFreeze, PumpRules)
{
    App();
    struct Case {
        bool active, onlyWhenIdle, idle, force;
        int services;
    } cases[] = {
        {true, true, true, false, 1},   {true, true, false, false, 0}, {true, true, false, true, 1},
        {true, false, false, false, 1}, {true, false, true, false, 1}, {false, true, true, true, 0},
        {false, false, true, false, 0},
    };
    for (const auto& c : cases) {
        CountingAntiFreeze af;
        af.SetActive(c.active);
        af.SetOnlyWhenIdle(c.onlyWhenIdle);
        TIdAntiFreezeBase::Pump(c.idle, c.force);
        EXPECT_EQ(af.services, c.services)
            << c.active << c.onlyWhenIdle << c.idle << c.force;
    }
    CountingAntiFreeze af;
    std::thread([] { TIdAntiFreezeBase::Pump(true, true); }).join();
    EXPECT_EQ(af.services, 0) << "serviced from another thread";
}

TEST(AntiFreeze, ServiceWithAndWithoutPriority)
{
    App();
    Probe probe;
    TIdAntiFreeze af;
    for (int i = 0; i < 3; ++i)
        PostMessageA(probe.window, WM_APP, 0, 0);
    af.Service();
    EXPECT_EQ(Probe::handled, 3) << "all pending messages at once";

    af.SetApplicationHasPriority(false);
    for (int i = 0; i < 3; ++i)
        PostMessageA(probe.window, WM_APP, 0, 0);
    af.Service();
    EXPECT_EQ(Probe::handled, 4) << "at most one";
    af.Service();
    EXPECT_EQ(Probe::handled, 5);
    App().ProcessMessages();
    EXPECT_EQ(Probe::handled, 6);
}

// A wait on a socket that nothing is sent to: an unbound UDP socket, so no
// ICMP of other tests can end it early.
struct QuietSocket {
    TIdIcmpClient stackOwner; // keeps the socket stack alive
    TIdSocketHandle handle;
    QuietSocket() { handle.Open(SOCK_DGRAM, IPPROTO_UDP); }
};

TEST(AntiFreeze, WaitsAreSlicedAndServicedAfterEachEmptySlice)
{
    App();
    QuietSocket quiet;
    // The short slice comes first: 1100 ms is 100 and then four of 250.
    struct Case {
        std::int32_t timeout;
        bool active;
        int services;
        long long firstSlice;
    } cases[] = {
        {1000, true, 4, 250}, {1100, true, 5, 100}, {100, true, 1, 100}, {0, true, 1, 0}, {1000, false, 0, 0},
    };
    for (const auto& c : cases) {
        CountingAntiFreeze af;
        af.SetActive(c.active);
        auto start = Clock::now();
        EXPECT_FALSE(quiet.handle.WaitReadable(c.timeout));
        long long took = MillisecondsSince(start);
        EXPECT_EQ(af.services, c.services) << c.timeout;
        EXPECT_GE(took, c.timeout - 20) << c.timeout;
        EXPECT_LT(took, c.timeout + 400) << c.timeout;
        if (af.services > 0) {
            auto first = std::chrono::duration_cast<std::chrono::milliseconds>(af.firstService - start).count();
            EXPECT_GE(first, c.firstSlice - 20) << c.timeout;
            EXPECT_LT(first, c.firstSlice + 120) << c.timeout;
        }
    }
    CountingAntiFreeze af;
    int services = -1;
    std::thread([&] {
        quiet.handle.WaitReadable(300);
        services = af.services;
    }).join();
    EXPECT_EQ(services, 0) << "another thread waits in one piece";
}

// Every slice of a wait without limit starts by checking the socket: a
// handler that closes it ends the wait instead of leaving it spinning on a
// socket that is gone.
TEST(AntiFreeze, UnlimitedWaitEndsWhenAHandlerClosesTheSocket)
{
    App();
    QuietSocket quiet;
    struct Closer : TIdAntiFreezeBase {
        TIdSocketHandle* handle = nullptr;
        int services = 0;
        void Service() override
        {
            if (++services > 3)
                throw std::runtime_error("the wait went on after its socket was closed");
            handle->Close();
        }
    } closer;
    closer.handle = &quiet.handle;
    closer.SetIdleTimeOut(20);
    EXPECT_THROW(quiet.handle.WaitReadable(WaitForever), EIdConnClosedGracefully);
    EXPECT_EQ(closer.services, 1);
}

// A message posted 100 ms into a 1000 ms wait, from another thread.
int HandledDuringWait(bool active)
{
    Probe probe;
    QuietSocket quiet;
    TIdAntiFreeze af;
    af.SetActive(active);
    Probe::waiting = true;
    std::thread poster([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        PostMessageA(probe.window, WM_APP, 0, 0);
    });
    auto start = Clock::now();
    quiet.handle.WaitReadable(1000);
    long long took = MillisecondsSince(start);
    Probe::waiting = false;
    poster.join();
    EXPECT_GE(took, 980);
    int during = Probe::handledWhileWaiting;
    App().ProcessMessages();
    EXPECT_EQ(Probe::handled, 1);
    return during;
}

TEST(AntiFreeze, MessagePostedDuringAWaitIsHandledBeforeItEnds)
{
    App();
    EXPECT_EQ(HandledDuringWait(true), 1);
}

TEST(AntiFreeze, InactiveWaitHandlesNoMessage)
{
    App();
    EXPECT_EQ(HandledDuringWait(false), 0);
}

} // namespace
