// HandlerErrorScope: while one lives, Guarded keeps the first exception that
// leaves a handler instead of showing it, so that work whose failure belongs
// to its caller (building a window, whose creation messages run inside the
// window manager) can throw that error on rather than show it and then fail
// a second time. Scopes nest; the innermost keeps. Portable; GUI thread only.
#pragma once

#include <exception>

namespace tk {

class HandlerErrorScope {
public:
    HandlerErrorScope() noexcept : outer_(current_) { current_ = this; }
    ~HandlerErrorScope() { current_ = outer_; }
    HandlerErrorScope(const HandlerErrorScope&) = delete;
    HandlerErrorScope& operator=(const HandlerErrorScope&) = delete;

    bool Failed() const noexcept { return static_cast<bool>(error_); }
    // Throws the kept exception, if there is one.
    void RethrowIfFailed() const
    {
        if (error_)
            std::rethrow_exception(error_);
    }

    // Call inside a catch block: true if a scope took the current exception.
    // Later errors of the same scope are consequences of the first and dropped.
    static bool KeepCurrent() noexcept
    {
        if (!current_)
            return false;
        if (!current_->error_)
            current_->error_ = std::current_exception();
        return true;
    }

private:
    static inline HandlerErrorScope* current_ = nullptr;
    HandlerErrorScope* outer_;
    std::exception_ptr error_;
};

} // namespace tk
