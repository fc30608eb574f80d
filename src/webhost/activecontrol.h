#pragma once

class QWidget;

namespace quorvel {

// The control of a window that holds, or last held, its keyboard focus; for anything inside a
// web pane (the engine's own widgets) that is the pane. Survives the window being inactive and
// the engine replacing the widget that had the focus.
class ActiveControl {
public:
    static QWidget* Of(QWidget* form);
    static void Set(QWidget* form, QWidget* control);
};

} // namespace quorvel
