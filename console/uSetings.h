// TFormSetings: the console window. Created second at start-up, hidden; it
// only hides when closed and is destroyed at shutdown, before the main
// window. Owned by the application. GUI thread only.
#pragma once

#include "toolkit/Form.h"

class TFormSetings : public tk::Form {
public:
    explicit TFormSetings(tk::Component* owner);

protected:
    void FormCreate() override;
    void FormDestroy() override;
};

extern TFormSetings* FormSetings;
