// TIdAntiFreezeBase: responsive waiting. While an instance is current and
// active, socket waits on the main thread are sliced and window messages are
// serviced between the slices. Not a TIdComponent: it does not keep the
// socket stack alive. Main thread for servicing; the checks work on any thread.
// Win32 layer.
#pragma once

#include <cstdint>

#include "icmp/IdBaseComponent.h"

class TIdAntiFreezeBase : public TIdBaseComponent {
public:
    // The new instance becomes the current one, replacing any earlier one.
    explicit TIdAntiFreezeBase(tk::Component* owner = nullptr);
    // Leaves no current instance, also when this one was not current.
    ~TIdAntiFreezeBase() override;

    static TIdAntiFreezeBase* Current();
    static bool IsMainThread();
    // A current instance exists, the caller is on the main thread, and it is active.
    static bool InUse();
    // Called after every select slice: idle when the slice found no data.
    static void Pump(bool idle, bool force);

    virtual void Service() = 0;

    bool Active() const { return active_; }
    void SetActive(bool value) { active_ = value; }
    bool ApplicationHasPriority() const { return applicationHasPriority_; }
    void SetApplicationHasPriority(bool value) { applicationHasPriority_ = value; }
    std::int32_t IdleTimeOut() const { return idleTimeOut_; }
    void SetIdleTimeOut(std::int32_t value) { idleTimeOut_ = value; }
    bool OnlyWhenIdle() const { return onlyWhenIdle_; }
    void SetOnlyWhenIdle(bool value) { onlyWhenIdle_ = value; }

private:
    bool active_ = true;
    bool applicationHasPriority_ = true;
    std::int32_t idleTimeOut_ = 250;
    bool onlyWhenIdle_ = true;
};
