// ModalGate: our own menus and dialogs asked for while a wait pumps window
// messages (a ping waiting for its reply) open once that wait has ended, so
// their modal loops never hold the wait up. While a Hold lives, Open keeps
// what it is given; OpenHeld runs it after the wait, Drop forgets it (the
// wait failed: a menu asked for then no longer fits). Portable; GUI thread
// only.
#pragma once

#include <functional>
#include <vector>

namespace tk {

class ModalGate {
public:
    class Hold {
    public:
        Hold() { ++holds_; }
        ~Hold() { --holds_; }
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;
    };

    static bool Held() { return holds_ > 0; }
    // Runs `modal` now, or keeps it while held.
    static void Open(std::function<void()> modal);
    // Once no Hold lives: runs what was kept, in the order asked for.
    static void OpenHeld();
    static void Drop() { kept_.clear(); }

private:
    static inline int holds_ = 0;
    static inline std::vector<std::function<void()>> kept_;
};

} // namespace tk
