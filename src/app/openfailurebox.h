#pragma once

class QString;
class QWidget;

namespace quorvel {

// Tells the viewer that no web browser could be started for an address, shows the address and
// offers to copy it, so it can be pasted into a browser by hand. Does not block the window.
void ShowOpenFailure(QWidget* parent, const QString& address);

} // namespace quorvel
