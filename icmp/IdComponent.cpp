#include "icmp/IdComponent.h"

#include <mutex>

TIdStackWindows* GStack = nullptr;

namespace {

std::mutex& InstanceLock()
{
    // Kept until the process ends.
    static std::mutex* lock = new std::mutex;
    return *lock;
}

std::int32_t instanceCount = 0;

} // namespace

TIdComponent::TIdComponent(tk::Component* owner) : TIdBaseComponent(owner)
{
    std::lock_guard<std::mutex> guard(InstanceLock());
    if (instanceCount == 0)
        GStack = new TIdStackWindows; // a failure leaves the count untouched
    ++instanceCount;
}

TIdComponent::~TIdComponent()
{
    std::lock_guard<std::mutex> guard(InstanceLock());
    if (--instanceCount == 0) {
        delete GStack;
        GStack = nullptr;
    }
}

std::int32_t TIdComponent::InstanceCount()
{
    std::lock_guard<std::mutex> guard(InstanceLock());
    return instanceCount;
}
