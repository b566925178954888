// TFormSetings: the console window. Created second at start-up, hidden; it
// only hides when closed and is destroyed at shutdown, before the main
// window. Owned by the application. GUI thread only.
#pragma once

#include "toolkit/Form.h"

class TFormSetings : public tk::Form {
public:
    explicit TFormSetings(tk::Component* owner);

    // What the compact window asks of the console.
    void SelectPage(int index);
    bool HostBoxEnabled() const;
    // Makes the host box the control that has the focus when the console shows.
    void FocusHostBox();
    // Visible if hidden, and in front.
    void ShowConsole();
    bool RepeatDown() const;
    void SetRepeatDown(bool down);
    void spbRepPingClick(tk::Component* Sender);

protected:
    void FormCreate() override;
    void FormDestroy() override;

private:
    int page_ = 0;
    bool repeatDown_ = false;
};

extern TFormSetings* FormSetings;
