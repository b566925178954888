// ToolTip: a standard system tooltip over some controls of one window: it
// shows after the system's hover time, on the screen the pointer is on, and
// asks OnText for its text (UTF-8, lines split by CR LF) each time it shows.
// Refresh renews a tip that is showing. The tip is a pop-up window owned by
// the given form; the controls' windows reflect its notifications here.
// GUI thread only.
#pragma once

#include <functional>
#include <string>

#include "toolkit/GraphicControl.h"
#include "toolkit/WinControl.h"

namespace tk {

class ToolTip : public WinControl {
public:
    ToolTip(Component* owner, WinControl* form);

    // A windowless control: its bounds on its parent window, as they are now.
    void AddTool(GraphicControl* control);
    // A child window, wherever it moves.
    void AddTool(WinControl* control);

    std::function<std::string()> OnText;
    bool Showing() const { return Visible(); }
    // Asks OnText again when the tip is showing; nothing otherwise.
    void Refresh();

    LRESULT Notify(NMHDR& header) override;

private:
    void Add(TTTOOLINFOW& tool);

    // What the tip shows, kept while it shows it.
    std::wstring text_;
    std::string ansi_;
    UINT_PTR nextId_ = 1;
};

} // namespace tk
