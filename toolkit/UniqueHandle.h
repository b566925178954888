// UniqueHandle: owns one handle of the kind its Traits describe and closes it
// once, when it goes. Move-only. Traits give the handle Type, the Invalid()
// value and Close(). Portable: the Win32 traits live in toolkit/Handles.h.
#pragma once

#include <utility>

namespace tk {

template <class Traits>
class UniqueHandle {
public:
    using Type = typename Traits::Type;

    UniqueHandle() noexcept = default;
    explicit UniqueHandle(Type handle) noexcept : handle_(handle) {}
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept
    {
        Reset(other.Release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { Reset(); }

    Type Get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != Traits::Invalid(); }

    // Gives the handle away (e.g. a region handed to SetWindowRgn): no longer closed here.
    Type Release() noexcept { return std::exchange(handle_, Traits::Invalid()); }

    void Reset(Type handle = Traits::Invalid()) noexcept
    {
        Type old = std::exchange(handle_, handle);
        if (old != Traits::Invalid() && old != handle)
            Traits::Close(old);
    }

private:
    Type handle_ = Traits::Invalid();
};

} // namespace tk
