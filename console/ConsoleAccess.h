// TConsoleAccess: what the compact window may ask of the console: switch it
// to one of its pages, give its host box the focus, show it, and work its
// repeat toggle as a click would. The console knows its own page numbers.
// GUI thread only.
#pragma once

namespace tk {
class Component;
}

enum class TConsolePage { PingInformation, Setings, About };

class TConsoleAccess {
public:
    virtual void SelectPage(TConsolePage page) = 0;
    virtual bool HostBoxEnabled() const = 0;
    // Makes the host box the control that has the focus when the console shows.
    virtual void FocusHostBox() = 0;
    // Visible if hidden, and in front.
    virtual void ShowConsole() = 0;
    virtual bool RepeatDown() const = 0;
    virtual void SetRepeatDown(bool down) = 0;
    // The toggle's handler, run after its down state has changed.
    virtual void spbRepPingClick(tk::Component* Sender) = 0;

protected:
    ~TConsoleAccess() = default;
};
